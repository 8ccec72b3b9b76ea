#include "store/file_system.h"

#include <windows.h>

#include "base/handles_win.h"
#include "base/unicode_win.h"

namespace norv {

namespace {

class WindowsFile final : public WritableFile {
 public:
  explicit WindowsFile(UniqueKernelHandle file) : file_(std::move(file)) {}

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!file_ || !::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }
  bool Flush() override { return file_ && ::FlushFileBuffers(file_.get()); }
  bool Close() override { return file_ && ::CloseHandle(file_.release()); }

 private:
  UniqueKernelHandle file_;
};

class WindowsFileSystem final : public FileSystem {
 public:
  // No sharing while it is written: nobody should read a file half done.
  std::unique_ptr<WritableFile> Create(const std::string& path) override {
    UniqueKernelHandle file = AdoptFileHandle(::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<WindowsFile>(std::move(file));
  }

  bool Remove(const std::string& path) override {
    if (::DeleteFileW(Widen(path).c_str())) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }

  // One step in place of deleting the target first. It fails, leaving the
  // target as it was, while another program holds the target open without
  // delete sharing.
  bool Rename(const std::string& from, const std::string& to) override {
    return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }

  // Shared for reading and writing, as a reader beside other programs should be.
  std::optional<std::string> ReadWhole(const std::string& path) override {
    const UniqueKernelHandle file =
        AdoptFileHandle(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
      if (got == 0) return content;
      content.append(buffer, got);
    }
  }

  std::optional<std::uint64_t> SizeOf(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return std::nullopt;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
};

}  // namespace

FileSystem& LocalFileSystem() {
  static WindowsFileSystem files;
  return files;
}

}  // namespace norv
