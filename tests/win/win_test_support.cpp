#include "tests/win/win_test_support.h"

#include <winsock2.h>
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

#include "base/unicode_win.h"

namespace norv::testing {

namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

struct WindowSearch {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* title;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (pid == search->pid && std::wstring(cls) == search->className &&
      (!search->visibleOnly || ::IsWindowVisible(window)) &&
      (!search->title || WindowText(window) == search->title)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring BuildFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FolderOf(path);
}

std::wstring MakerFolder() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE);
  std::wstring folder = std::wstring(appData) + L"\\Pellmark\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring DataFolder() {
  std::wstring folder = MakerFolder() + L"T-NORV\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PrepareEmptyDataFiles() {
  for (const wchar_t* name : {L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan", L"dat_num3.tan"}) {
    WriteFileBytes(DataFolder() + name, "");
  }
}

void RemoveDataFiles() {
  for (const wchar_t* name : {L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan", L"dat_num3.tan", L"tmp_lot6.tan",
                              L"tmp_mini.tan", L"tmp_num4.tan", L"tmp_num3.tan"}) {
    ::DeleteFileW((DataFolder() + name).c_str());
  }
}

void ClearProgramRegistry() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark");
  HKEY run = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                      &run) == ERROR_SUCCESS) {
    ::RegDeleteValueW(run, L"T-NORV");
    ::RegCloseKey(run);
  }
}

void SetProgramSetting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring ReadProgramSetting(const wchar_t* name) {
  wchar_t buffer[256] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
    return L"";
  }
  return buffer;
}

ChildProcess::ChildProcess(const std::wstring& exePath, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!arguments.empty()) {
    commandLine += L" " + arguments;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       FolderOf(exePath).c_str(), &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
  }
}

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  return process_ && ::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) {
    ::GetExitCodeProcess(process_.get(), &code);
  }
  return code;
}

void ChildProcess::Kill() {
  if (process_ && ExitCode() == STILL_ACTIVE) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

HWND WaitForWindow(const std::function<HWND()>& found, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (HWND window = found()) {
      return window;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title) {
  WindowSearch search{pid, className, title, false, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindVisibleProcessWindow(DWORD pid, const wchar_t* className) {
  WindowSearch search{pid, className, nullptr, true, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindMessageBox(DWORD pid, const wchar_t* title) { return FindProcessWindow(pid, L"#32770", title); }

std::wstring MessageBoxText(HWND box) {
  // The message label of a standard message box has the control id 0xFFFF.
  return WindowText(::GetDlgItem(box, 0xFFFF));
}

void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT also reaches controls of other processes, unlike GetWindowTextW.
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
  return std::wstring(text, copied);
}

std::wstring Utf16(const std::string& utf8) { return Widen(utf8); }

HWND FindChildById(HWND parent, int id) {
  std::pair<int, HWND> search{id, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<std::pair<int, HWND>*>(param);
        if (::GetDlgCtrlID(window) == s->first) {
          s->second = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
}  // namespace

ScopedLogPixels::ScopedLogPixels(DWORD dpi) {
  DWORD size = sizeof oldValue_;
  hadValue_ = ::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &oldValue_,
                             &size) == ERROR_SUCCESS;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

ScopedLogPixels::~ScopedLogPixels() {
  if (hadValue_) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &oldValue_, sizeof oldValue_);
  } else {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
  }
}

SIZE TextExtentInOwnFont(HWND control, const std::wstring& text, int wrapWidth) {
  WindowDc dc(control);
  SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  const UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, flags);
  return {r.right - r.left, r.bottom - r.top};
}

std::vector<std::wstring> ClippedChildren(HWND window, const std::function<int(HWND)>& allowance) {
  struct Search {
    HWND window;
    const std::function<int(HWND)>* allowance;
    std::vector<std::wstring> clipped;
  } search{window, &allowance, {}};
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (!::IsWindowVisible(child)) {
          return TRUE;
        }
        const std::wstring name = L"control " + std::to_wstring(::GetDlgCtrlID(child));
        RECT frame{};
        ::GetClientRect(s->window, &frame);
        ::MapWindowPoints(s->window, nullptr, reinterpret_cast<POINT*>(&frame), 2);
        RECT own{};
        ::GetWindowRect(child, &own);
        if (own.left < frame.left || own.top < frame.top || own.right > frame.right || own.bottom > frame.bottom) {
          s->clipped.push_back(name + L" sticks out of the window");
        }
        const std::wstring caption = WindowText(child);
        if (caption.empty()) {
          return TRUE;
        }
        RECT client{};
        ::GetClientRect(child, &client);
        const int room = client.right - (*s->allowance)(child);
        // A control tall enough for two lines may wrap; one line must fit.
        const SIZE line = TextExtentInOwnFont(child, caption);
        const SIZE wrapped = line.cy * 2 <= client.bottom ? TextExtentInOwnFont(child, caption, room) : line;
        if (wrapped.cx > room || wrapped.cy > client.bottom) {
          s->clipped.push_back(name + L" \"" + caption + L"\" needs " + std::to_wstring(wrapped.cx) + L" x " +
                               std::to_wstring(wrapped.cy) + L", has " + std::to_wstring(room) + L" x " +
                               std::to_wstring(client.bottom));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.clipped;
}

SilentServer::SilentServer() {
  WSADATA data{};
  ::WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof address;
  if (listener != INVALID_SOCKET &&
      ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::listen(listener, 16) == 0 &&
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    socket_ = listener;
    port_ = ::ntohs(address.sin_port);
  } else if (listener != INVALID_SOCKET) {
    ::closesocket(listener);
  }
}

SilentServer::~SilentServer() {
  if (socket_ != INVALID_SOCKET) {
    ::closesocket(socket_);
  }
  ::WSACleanup();
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
  wchar_t old[2048] = {};
  had_ = ::GetEnvironmentVariableW(name, old, 2048) > 0;
  old_ = old;
  ::SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
  ::SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SaveWindowScreenshot(HWND window, const std::wstring& path) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  {
    SelectedObject selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD rowBytes = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  std::string pixels(rowBytes * static_cast<DWORD>(height), '\0');
  ::GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes += pixels;
  WriteFileBytes(path, bytes);
}

}  // namespace norv::testing
