#pragma once
// The file steps the store relies on. A file is never rewritten in place: the
// new content goes to a temporary file beside it, is flushed to the disk,
// renamed over the old file in one step, and the folder is flushed too, so
// that after a crash the file holds either its old or its new content whole.
// Every function throws std::system_error naming the path on failure.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "service/unique_fd.h"

namespace norv::service {

// Refuses (EFBIG) a file of more than `maxBytes` before reading it.
std::string ReadWholeFile(const std::filesystem::path& path,
                          std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// The steps of ReplaceFileDurably, each reported to `afterStep` once done, so
// that a test can stop the process between any two of them.
enum class ReplaceStep { Created, Written, Flushed, Closed, Renamed, FolderFlushed };
inline constexpr ReplaceStep kAllReplaceSteps[] = {ReplaceStep::Created, ReplaceStep::Written,
                                                   ReplaceStep::Flushed, ReplaceStep::Closed,
                                                   ReplaceStep::Renamed, ReplaceStep::FolderFlushed};
using ReplaceStepHook = std::function<void(ReplaceStep)>;

void ReplaceFileDurably(const std::filesystem::path& path, std::string_view content,
                        const ReplaceStepHook& afterStep = {});

// Creates a file that must not exist yet, writes it whole and flushes it.
// Making its folder entry durable is the caller's SyncFolder.
void WriteNewFileDurably(const std::filesystem::path& path, std::string_view content);

// Makes the folder's entries (a rename, a new file) durable.
void SyncFolder(const std::filesystem::path& folder);

// Holds an exclusive advisory lock (flock) on `path`, created when missing,
// for the object's lifetime; waits while another process holds it.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& path);

 private:
  UniqueFd fd_;
};

}  // namespace norv::service
