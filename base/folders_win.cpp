#include "base/folders_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/unicode_win.h"

namespace norv {

namespace {

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

}  // namespace

std::wstring OwnExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    // A full buffer means the path was cut; zero means failure and gives "".
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ExecutableFolder() {
  std::wstring path = OwnExecutablePath();
  path.resize(path.find_last_of(L'\\') + 1);
  return Narrow(path);
}

std::optional<std::string> RoamingAppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  // The folder is never created here: without it the program refuses to start.
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE) || buffer[0] == L'\0') {
    return std::nullopt;
  }
  return WithBackslash(Narrow(buffer));
}

bool FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace norv
