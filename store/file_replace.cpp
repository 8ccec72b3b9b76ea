#include "store/file_replace.h"

#include <memory>

namespace norv {

namespace {

// Every step is checked, the close too, before the twin may replace anything.
bool WriteTwin(FileSystem& files, const std::string& twinPath, std::string_view first, std::string_view second) {
  const std::unique_ptr<WritableFile> twin = files.Create(twinPath);
  if (!twin) {
    return false;
  }
  const bool written = twin->Write(first) && (second.empty() || twin->Write(second)) && twin->Flush();
  return twin->Close() && written;
}

// The twin is flushed before the replace, so after a crash the target is
// either the old file or the complete new one, never a torn write.
ReplaceOutcome ReplaceOrDiscard(FileSystem& files, bool twinWritten, const std::string& twinPath,
                                const std::string& targetPath) {
  if (!twinWritten) {
    files.Remove(twinPath);
    return ReplaceOutcome::TwinFailed;
  }
  if (!files.Rename(twinPath, targetPath)) {
    files.Remove(twinPath);
    return ReplaceOutcome::ReplaceFailed;
  }
  return ReplaceOutcome::Replaced;
}

}  // namespace

bool HoldsWholeRecords(std::uint64_t size, std::size_t recordBytes) {
  return recordBytes > 0 && size % recordBytes == 0;
}

ReplaceOutcome WriteTwinAndReplace(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view content, FileSystem& files) {
  return ReplaceOrDiscard(files, WriteTwin(files, twinPath, content, {}), twinPath, targetPath);
}

ReplaceOutcome AppendRecordViaTwin(const std::string& twinPath, const std::string& targetPath,
                                   std::string_view record, FileSystem& files) {
  const std::optional<std::string> original = files.ReadWhole(targetPath);
  const bool appendable = original && HoldsWholeRecords(original->size(), record.size());
  const bool written = appendable && WriteTwin(files, twinPath, *original, record);
  return ReplaceOrDiscard(files, written, twinPath, targetPath);
}

}  // namespace norv
