#pragma once
// The one protocol by which every updater changes a file the user relies on:
// new content goes to a temporary twin, is flushed, and then replaces the
// original in one step. The original is never deleted first, so there is no
// moment without it, and a crash at any step leaves it old or new, whole.
// Paths are UTF-8.

#include <string>
#include <string_view>

#include "store/file_system.h"

namespace norv {

enum class ReplaceOutcome {
  Replaced,
  TwinFailed,     // the twin could not be made or written, or nothing may be appended; twin removed
  ReplaceFailed,  // the original could not be replaced (held open); twin removed, original intact
};

// Writes `content` as the whole twin, then replaces `targetPath` with it.
ReplaceOutcome WriteTwinAndReplace(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view content, FileSystem& files = LocalFileSystem());

// The existing `targetPath` with `record` after it, through the twin. The
// target must hold whole records of the same length: a file cut short (by
// another program, a restore or a full disk) would make every later record
// straddle a record boundary, so it is left for a full refresh (TwinFailed).
// A missing target is a TwinFailed too: an append never creates a file.
ReplaceOutcome AppendRecordViaTwin(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view record, FileSystem& files = LocalFileSystem());

// Whether a file of `size` bytes is whole records of `recordBytes` each.
bool HoldsWholeRecords(std::uint64_t size, std::size_t recordBytes);

}  // namespace norv
