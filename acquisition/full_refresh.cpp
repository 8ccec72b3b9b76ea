#include "acquisition/full_refresh.h"

#include "acquisition/held_draws.h"
#include "base/text_fields.h"
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

// One copy of the full history as the data file it makes; nothing when the
// fetch failed or the copy is unreadable.
std::optional<std::string> FetchHistoryFile(Game game, bool fallback, const AcquisitionContext& context) {
  std::string history;
  try {
    history = context.fetcher.FetchUrlText(context.urls[HistorySlot(game, fallback)], false, context.stop);
  } catch (...) {
    return std::nullopt;
  }
  return BuildHistoryFile(game, history, context.stop);
}

// A history file is written only when it holds more records than the draws
// counted, or when the refresh is forced.
bool Wanted(std::string_view file, std::size_t recordBytes, bool forced, int drawCount) {
  return forced || file.size() / recordBytes > static_cast<std::size_t>(std::max(drawCount, 0));
}

struct RefreshRule {
  Game game;
  bool fallback;  // the run's copy
  bool forced;
  int drawCount;
  std::string_view held;  // the data file as it is now
};

// Whether `copy` may become the data file, with `other` as its witness.
bool Acceptable(const RefreshRule& rule, const std::optional<std::string>& copy, std::string_view other) {
  if (!copy) return false;
  const std::size_t recordBytes = static_cast<std::size_t>(LayoutOf(rule.game).recordBytes);
  return Wanted(*copy, recordBytes, rule.forced, rule.drawCount) &&
         KeepsHeldDraws(*copy, rule.held, other, recordBytes);
}

// The run's copy when it keeps every held draw. Otherwise the other copy is
// fetched too: either may then be taken where it keeps the held draws, or
// where it changes one only as the other copy does.
std::optional<std::string> ChooseHistoryFile(const RefreshRule& rule, const std::optional<std::string>& first,
                                             const AcquisitionContext& context) {
  if (Acceptable(rule, first, {})) return first;
  if (context.stop.stop_requested()) return std::nullopt;
  const std::optional<std::string> second = FetchHistoryFile(rule.game, !rule.fallback, context);
  if (Acceptable(rule, first, second ? std::string_view(*second) : std::string_view())) return first;
  if (Acceptable(rule, second, first ? std::string_view(*first) : std::string_view())) return second;
  return std::nullopt;
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
  const RecordLayout& layout = LayoutOf(game);
  const std::size_t recordBytes = static_cast<std::size_t>(layout.recordBytes);
  const std::optional<std::string> first = FetchHistoryFile(game, fallback, context);
  // A readable history no longer than the data is simply not needed.
  if (first && !Wanted(*first, recordBytes, forced, drawCount)) return std::nullopt;
  if (context.stop.stop_requested()) return std::nullopt;
  const std::string target = context.dataFolder + std::string(layout.dataFile);
  // A file that cannot be read has no draws to witness; nor could it be replaced.
  const std::string held = context.files.ReadWhole(target).value_or(std::string());
  const RefreshRule rule{game, fallback, forced, drawCount, held};
  const std::optional<std::string> chosen = ChooseHistoryFile(rule, first, context);
  if (!chosen || context.stop.stop_requested()) return std::nullopt;
  const std::string file = WithHeldDrawsBeyond(*chosen, held, recordBytes);
  const std::string twin = context.dataFolder + std::string(layout.tempFile);
  if (WriteTwinAndReplace(twin, target, file, context.files) != ReplaceOutcome::Replaced) {
    showMessage(kRefreshFailedMessage, 0);
    return std::nullopt;
  }
  return static_cast<int>(file.size() / recordBytes);
}

}  // namespace norv
