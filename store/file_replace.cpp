#include "store/file_replace.h"

#include "store/durable_file.h"

namespace norv {

namespace {

// The twin is flushed before the replace, so after a crash the data file is
// either the old one or the complete new one, never a torn write.
ReplaceOutcome ReplaceOrDiscard(bool twinWritten, const std::string& twinPath, const std::string& targetPath) {
  if (!twinWritten) {
    RemoveFileQuietly(twinPath);
    return ReplaceOutcome::TwinFailed;
  }
  return ReplaceWithTwin(twinPath, targetPath) ? ReplaceOutcome::Replaced : ReplaceOutcome::ReplaceFailed;
}

}  // namespace

ReplaceOutcome WriteTwinAndReplace(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view content) {
  return ReplaceOrDiscard(WriteFileDurably(twinPath, content), twinPath, targetPath);
}

ReplaceOutcome AppendViaTwin(const std::string& twinPath, const std::string& targetPath, std::string_view tail) {
  return ReplaceOrDiscard(CopyAppendDurably(targetPath, twinPath, tail), twinPath, targetPath);
}

}  // namespace norv
