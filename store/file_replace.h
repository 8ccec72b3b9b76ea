#pragma once
// The one protocol by which every updater changes a file the user relies on:
// new content goes to a temporary twin, is flushed, and then replaces the
// original in one step. The original is never deleted first, so there is no
// moment without it. Paths are UTF-8.

#include <string>
#include <string_view>

namespace norv {

enum class ReplaceOutcome {
  Replaced,
  TwinFailed,     // the twin could not be created, copied or written; twin removed
  ReplaceFailed,  // the original could not be replaced (held open); twin removed, original intact
};

// Writes `content` as the whole twin, then replaces `targetPath` with it.
ReplaceOutcome WriteTwinAndReplace(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view content);

// Copies the existing `targetPath` to the twin, appends `tail`, then replaces.
// A missing target is a TwinFailed: an append never creates a file.
ReplaceOutcome AppendViaTwin(const std::string& twinPath, const std::string& targetPath, std::string_view tail);

// Platform step: moves the flushed twin over the target in one operation
// (replacing it). On failure the twin is deleted and the target is untouched.
bool ReplaceWithTwin(const std::string& twinPath, const std::string& targetPath);

}  // namespace norv
