#include "acquisition/full_refresh.h"

#include "acquisition/text_fields.h"
#include "store/draw_record.h"
#include "store/file_replace.h"

namespace norv {

namespace {

// A full history runs from draw 1 with no gap, and every record begins with
// its draw number. A byte lost or added in transit moves every later record
// off its place while it still reads as digits; the numbers catch that.
bool EachRecordHoldsItsOwnNumber(std::string_view history, std::size_t records, std::size_t textBytes) {
  constexpr int kNumberWidth = 4;
  for (std::size_t i = 0; i < records; ++i) {
    if (history.substr(i * textBytes, kNumberWidth) != FixedDigits(static_cast<long long>(i) + 1, kNumberWidth)) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> BuildHistoryFile(Game game, std::string_view history, const std::stop_token& stop) {
  const std::size_t textBytes = static_cast<std::size_t>(LayoutOf(game).textBytes);
  const std::size_t records = history.size() / textBytes;
  // An error page or a cut transfer must never become the history, nor one
  // holding a zero byte: where it was dropped, every later record would stand
  // one byte off and still pass for digits.
  if (records == 0 || !AllDigits(history.substr(0, records * textBytes)) ||
      history.find('\0') != std::string_view::npos || !EachRecordHoldsItsOwnNumber(history, records, textBytes)) {
    return std::nullopt;
  }
  std::string file;
  file.reserve(records * (textBytes + 2));
  for (std::size_t i = 0; i < records; ++i) {
    // A shortened file would replace a complete one, so a stop drops it all.
    if (stop.stop_requested()) {
      return std::nullopt;
    }
    file.append(history.substr(i * textBytes, textBytes));
    file.append("\r\n");
  }
  return file;
}

int HistorySlot(Game game, bool fallback) {
  return 2 + 2 * GameIndex(game) + (fallback ? 1 : 0);
}

std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced, int drawCount,
                                   const AcquisitionContext& context, const FailureSink& showMessage) {
  std::string history;
  try {
    history = context.fetcher.FetchUrlText(context.urls[HistorySlot(game, fallback)], false, context.stop);
  } catch (...) {
    return std::nullopt;
  }
  const RecordLayout& layout = LayoutOf(game);
  const std::size_t offered = history.size() / static_cast<std::size_t>(layout.textBytes);
  if (offered == 0 || (!forced && offered <= static_cast<std::size_t>(std::max(drawCount, 0)))) {
    return std::nullopt;
  }
  const std::optional<std::string> file = BuildHistoryFile(game, history, context.stop);
  if (!file || context.stop.stop_requested()) {
    return std::nullopt;
  }
  const std::string twin = context.dataFolder + std::string(layout.tempFile);
  const std::string target = context.dataFolder + std::string(layout.dataFile);
  if (WriteTwinAndReplace(twin, target, *file, context.files) != ReplaceOutcome::Replaced) {
    showMessage(kRefreshFailedMessage, 0);
    return std::nullopt;
  }
  return static_cast<int>(offered);
}

}  // namespace norv
