// Another program's messages to Norvale: posts and sends every application
// message (WM_APP + 0 … WM_APP + 16 and the registered "TaskbarCreated") with
// junk parameters to the main window of the process whose id is the first
// argument. Exit code 0 when the window is still there afterwards, 1 when it
// is gone, 2 when it was never found.

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "tests/win/helpers/process_windows.h"

namespace {

HWND MainWindowOf(DWORD pid) { return norv::testing::WindowOfProcess(pid, L"TForm1"); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const HWND window = MainWindowOf(static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)));
  if (!window) return 2;

  std::vector<UINT> messages;
  for (UINT offset = 0; offset <= 16; ++offset) messages.push_back(WM_APP + offset);
  messages.push_back(::RegisterWindowMessageW(L"TaskbarCreated"));
  // Values a stray sender might pass: nothing, small numbers, addresses that
  // are not mapped, and all bits set.
  const std::uintptr_t junk[] = {0, 1, 0x10000, 0xDEADBEEF, static_cast<std::uintptr_t>(0x7FFE0000),
                                 ~static_cast<std::uintptr_t>(0)};
  for (const UINT message : messages) {
    for (const std::uintptr_t w : junk) {
      for (const std::uintptr_t l : junk) {
        ::PostMessageW(window, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l));
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(window, message, static_cast<WPARAM>(w), static_cast<LPARAM>(l), SMTO_ABORTIFHUNG,
                              2000, &answer);
      }
    }
  }
  ::Sleep(500);  // the posted ones are handled after the sent ones
  return ::IsWindow(window) ? 0 : 1;
}
