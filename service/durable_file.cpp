#include "service/durable_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace norv::service {

namespace {

[[noreturn]] void ThrowErrno(std::string_view step, const std::filesystem::path& path) {
  throw std::system_error(errno, std::generic_category(), std::string(step) + " " + path.string());
}

void WriteAll(int fd, std::string_view content, const std::filesystem::path& path) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) ThrowErrno("cannot write", path);
    content.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Removes the temporary file unless the rename took it.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  void Release() { path_.clear(); }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) ThrowErrno("cannot open", path);
  struct stat facts {};
  if (::fstat(fd.get(), &facts) == 0 && S_ISREG(facts.st_mode) && static_cast<std::size_t>(facts.st_size) > maxBytes) {
    errno = EFBIG;
    ThrowErrno("refusing to read", path);
  }
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowErrno("cannot read", path);
    if (got == 0) return content;
    if (content.size() + static_cast<std::size_t>(got) > maxBytes) {
      errno = EFBIG;
      ThrowErrno("refusing to read", path);
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

void ReplaceFileDurably(const std::filesystem::path& path, std::string_view content,
                        const ReplaceStepHook& afterStep) {
  const auto done = [&afterStep](ReplaceStep step) {
    if (afterStep) afterStep(step);
  };
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
  UniqueFd fd(::mkstemp(pattern.data()));
  if (!fd.valid()) ThrowErrno("cannot create a temporary file beside", path);
  const std::filesystem::path temporary = pattern;
  TemporaryFile cleanup(temporary);
  done(ReplaceStep::Created);
  WriteAll(fd.get(), content, temporary);
  if (::fchmod(fd.get(), 0644) != 0) ThrowErrno("cannot set the mode of", temporary);
  done(ReplaceStep::Written);
  if (::fsync(fd.get()) != 0) ThrowErrno("cannot flush", temporary);
  done(ReplaceStep::Flushed);
  if (fd.Close() != 0) ThrowErrno("cannot close", temporary);
  done(ReplaceStep::Closed);
  if (::rename(temporary.c_str(), path.c_str()) != 0) ThrowErrno("cannot rename a temporary file to", path);
  cleanup.Release();
  done(ReplaceStep::Renamed);
  SyncFolder(folder);
  done(ReplaceStep::FolderFlushed);
}

void WriteNewFileDurably(const std::filesystem::path& path, std::string_view content) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!fd.valid()) ThrowErrno("cannot create", path);
  WriteAll(fd.get(), content, path);
  if (::fsync(fd.get()) != 0) ThrowErrno("cannot flush", path);
  if (fd.Close() != 0) ThrowErrno("cannot close", path);
}

void SyncFolder(const std::filesystem::path& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) ThrowErrno("cannot open the folder", folder);
  if (::fsync(fd.get()) != 0) ThrowErrno("cannot flush the folder", folder);
}

// The lock goes with the descriptor when it closes.
FileLock::FileLock(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
  if (!fd_.valid()) ThrowErrno("cannot open the lock file", path);
  while (::flock(fd_.get(), LOCK_EX) != 0) {
    if (errno != EINTR) ThrowErrno("cannot lock", path);
  }
}

}  // namespace norv::service
