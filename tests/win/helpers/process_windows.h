#pragma once
// The top-level windows another process has, found by class and title, for
// the helper programs that drive the program from outside.

#include <windows.h>

#include <string>
#include <vector>

namespace norv::testing {

inline std::wstring TitleOfWindow(HWND window) {
  wchar_t title[256] = {};
  ::GetWindowTextW(window, title, 256);
  return title;
}

// Every top-level window of `pid` with this class, and this title when one is given.
inline std::vector<HWND> WindowsOfProcess(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* title;
    std::vector<HWND> found;
  } search{pid, className, title, {}};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (owner == s->pid && std::wstring(name) == s->className && (!s->title || TitleOfWindow(window) == s->title)) {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND WindowOfProcess(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr) {
  const std::vector<HWND> found = WindowsOfProcess(pid, className, title);
  return found.empty() ? nullptr : found.front();
}

}  // namespace norv::testing
