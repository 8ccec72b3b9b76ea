#include "store/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "store/durable_file.h"

namespace norv {

namespace {

// A rename is durable only once the folder entry itself is on the disk.
void SyncParentFolder(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  const std::filesystem::path folder = parent.empty() ? std::filesystem::path(".") : parent;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

// rename() swaps the name over atomically: readers see the old file or the
// new one, and there is never a moment without a data file.
bool ReplaceWithTwin(const std::string& twinPath, const std::string& targetPath) {
  if (std::rename(twinPath.c_str(), targetPath.c_str()) != 0) {
    RemoveFileQuietly(twinPath);
    return false;
  }
  SyncParentFolder(targetPath);
  return true;
}

}  // namespace norv
