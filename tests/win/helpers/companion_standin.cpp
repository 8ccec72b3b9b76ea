// Test-only stand-in for a companion program or the update tool: appends its
// command-line arguments as one line to "launch.log" in its own folder, then
// exits.

#include <windows.h>

#include <string>

#include "base/unicode_win.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// Two copies may start at once; the open is retried while the other writes.
HANDLE OpenLogForAppend(const std::wstring& path) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    ::Sleep(10);
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring arguments;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) arguments += L' ';
    arguments += argv[i];
  }
  const std::string line = norv::Narrow(arguments) + "\r\n";
  HANDLE log = OpenLogForAppend(OwnFolder() + L"launch.log");
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(log);
  return 0;
}
