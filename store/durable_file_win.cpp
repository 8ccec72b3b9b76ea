#include "store/durable_file.h"

#include <windows.h>

#include "base/handles_win.h"
#include "base/unicode_win.h"

namespace norv {

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// No sharing while the twin is written: nobody should read it half done.
bool WriteAndFlush(const std::wstring& path, DWORD disposition, std::string_view bytes) {
  const UniqueKernelHandle file = AdoptFileHandle(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return false;
  }
  if (disposition == OPEN_EXISTING && ::SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      ::GetLastError() != NO_ERROR) {
    return false;
  }
  return WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
}

}  // namespace

bool WriteFileDurably(const std::string& path, std::string_view content) {
  return WriteAndFlush(Widen(path), CREATE_ALWAYS, content);
}

// CopyFileW fails on a missing source before it creates anything. The copy
// takes the source's attributes; a read-only one could be neither appended to
// nor removed afterwards.
bool CopyAppendDurably(const std::string& source, const std::string& copy, std::string_view tail) {
  const std::wstring copyPath = Widen(copy);
  if (!::CopyFileW(Widen(source).c_str(), copyPath.c_str(), FALSE)) {
    return false;
  }
  ::SetFileAttributesW(copyPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  return WriteAndFlush(copyPath, OPEN_EXISTING, tail);
}

void RemoveFileQuietly(const std::string& path) {
  ::DeleteFileW(Widen(path).c_str());
}

}  // namespace norv
