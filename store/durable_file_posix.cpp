#include "store/durable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace norv {

namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool ReadAll(int fd, std::string& out) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return false;
    }
    if (got == 0) {
      return true;
    }
    out.append(buffer, static_cast<std::size_t>(got));
  }
}

// Closing is checked too: some file systems report a failed write only there.
bool WriteSyncClose(const std::string& path, std::string_view first, std::string_view second) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  const bool ok = WriteAll(fd, first) && WriteAll(fd, second) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace

bool WriteFileDurably(const std::string& path, std::string_view content) {
  return WriteSyncClose(path, content, {});
}

bool CopyAppendDurably(const std::string& source, const std::string& copy, std::string_view tail) {
  std::string original;
  {
    const UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0 || !ReadAll(in.get(), original)) {
      return false;
    }
  }
  return WriteSyncClose(copy, original, tail);
}

void RemoveFileQuietly(const std::string& path) {
  std::remove(path.c_str());
}

}  // namespace norv
