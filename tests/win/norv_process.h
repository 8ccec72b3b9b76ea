#pragma once
// Starts the program beside the test binary and looks at it from outside. It
// is the test build, norv_probed.exe: norv.exe plus the answers to the probe
// messages of app/app_messages.h.

#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "tests/win/helpers/process_windows.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {

inline std::wstring BesideTestBinary(const wchar_t* file) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder + file;
}

inline std::wstring DataFolderPath() {
  wchar_t appData[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE);
  return std::wstring(appData) + L"\\Pellmark\\T-NORV\\";
}

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// One started copy of the program, always ended with the test.
class NorvProcess {
 public:
  NorvProcess() : NorvProcess(BesideTestBinary(L"norv_probed.exe")) {}
  // A copy of the program elsewhere, for tests that need their own program folder.
  explicit NorvProcess(const std::wstring& exePath) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info_)) {
      ::CloseHandle(info_.hThread);
    }
  }
  NorvProcess(const NorvProcess&) = delete;
  NorvProcess& operator=(const NorvProcess&) = delete;
  ~NorvProcess() {
    if (info_.hProcess) {
      if (Running()) {
        ::TerminateProcess(info_.hProcess, 0);
      }
      ::WaitForSingleObject(info_.hProcess, 5000);
      ::CloseHandle(info_.hProcess);
    }
  }

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool Ended(int timeoutMs = 5000) const { return ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0; }

  // A top-level window of this process with the given class (and title).
  HWND FindOwnWindow(const wchar_t* className, const wchar_t* title = nullptr) const {
    return WindowOfProcess(info_.dwProcessId, className, title);
  }

  HWND MainWindow() const { return FindOwnWindow(L"TForm1"); }
  HWND MessageBoxWindow() const { return FindOwnWindow(L"#32770", L"Norvale"); }

  HWND WaitForMainWindow() const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = MainWindow()) != nullptr; });
    return found;
  }

  HWND WaitForMessageBox() const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = MessageBoxWindow()) != nullptr; });
    return found;
  }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace norv::testing
