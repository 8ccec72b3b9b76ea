#include "acquisition/result_page_parser.h"

#include <charconv>
#include <optional>
#include <span>

#include "acquisition/result_page_rules.h"
#include "base/text_fields.h"

namespace norv {

namespace {

constexpr std::string_view kResultsStart = "回別";
constexpr std::string_view kTitleStart = "第";
constexpr std::string_view kTitleEnd = "回";
constexpr std::string_view kCellStart = "\"><STRONG>";
constexpr std::string_view kCellEnd = "</STRONG></TD>";
constexpr std::string_view kBonusStart = "\"><STRONG>(";
constexpr std::string_view kBonusEnd = ")</STRONG></TD>";
constexpr std::string_view kClosingLabel = "販売実績額";
constexpr std::string_view kNoWinner = "該当なし";
constexpr std::string_view kYen = "円";
// Amount fields are at most 10 digits wide; 18 digits still fit a long long.
constexpr std::size_t kMaxAmountDigits = 18;

std::string_view After(std::string_view text, std::size_t at, std::size_t skip) {
  return text.substr(at + skip);
}

// Whether the occurrence of `label` at `at` is part of a longer label of the
// same game ("ストレート" inside "セット（ストレート）").
bool InsideLongerLabel(std::string_view text, std::size_t at, std::string_view label,
                       std::span<const PrizeClassRule> prizes) {
  for (const PrizeClassRule& other : prizes) {
    if (other.label.size() <= label.size()) {
      continue;
    }
    for (std::size_t inside = other.label.find(label); inside != std::string_view::npos;
         inside = other.label.find(label, inside + 1)) {
      if (at >= inside && text.substr(at - inside, other.label.size()) == other.label) {
        return true;
      }
    }
  }
  return false;
}

// The first occurrence of `label` from `from` on that stands as a label of
// its own: a class whose row is missing must not be found inside another's.
std::size_t FindLabel(std::string_view text, std::string_view label, std::span<const PrizeClassRule> prizes,
                      std::size_t from = 0) {
  for (std::size_t at = text.find(label, from); at != std::string_view::npos; at = text.find(label, at + 1)) {
    if (!InsideLongerLabel(text, at, label, prizes)) {
      return at;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string_view> Between(std::string_view text, std::string_view start, std::string_view end,
                                        std::span<const PrizeClassRule> prizes) {
  const std::size_t startAt = FindLabel(text, start, prizes);
  if (startAt == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t contentAt = startAt + start.size();
  const std::size_t endAt = FindLabel(text, end, prizes, contentAt);
  if (endAt == std::string_view::npos) {
    return std::nullopt;
  }
  return text.substr(contentAt, endAt - contentAt);
}

std::optional<long long> ParseAmount(std::string_view digits) {
  if (digits.empty() || digits.size() > kMaxAmountDigits || !AllDigits(digits)) {
    return std::nullopt;
  }
  long long value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

// Walks the number cells of the upper-cased page from the header on. Each
// cell read, taken or not, is skipped past.
class CellCursor {
 public:
  explicit CellCursor(std::string_view cells) : rest_(cells) {}

  // Nothing when the page has run out of cells.
  std::optional<std::string_view> Next(std::string_view start, std::string_view end) {
    const std::size_t startAt = rest_.find(start);
    if (startAt == std::string_view::npos) {
      return std::nullopt;
    }
    const std::size_t contentAt = startAt + start.size();
    const std::size_t endAt = rest_.find(end, contentAt);
    if (endAt == std::string_view::npos) {
      return std::nullopt;
    }
    const std::string_view cell = rest_.substr(contentAt, endAt - contentAt);
    rest_ = After(rest_, endAt, end.size());
    return cell;
  }

  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Where the next draw's title ("第", digits, "回") begins, or the text's end.
// Everything a draw is read from lies before it, so a draw whose table is not
// complete yet can never take a field from the older draw below it.
std::size_t NextTitleAt(std::string_view text) {
  for (std::size_t at = text.find(kTitleStart); at != std::string_view::npos;
       at = text.find(kTitleStart, at + kTitleStart.size())) {
    const std::size_t digitsAt = at + kTitleStart.size();
    std::size_t end = digitsAt;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
      ++end;
    }
    if (end > digitsAt && text.substr(end, kTitleEnd.size()) == kTitleEnd) {
      return at;
    }
  }
  return text.size();
}

// Takes `count` cells of at most two characters that are numbers. An empty
// cell means the page is not filled in yet: the draw is not read at all.
bool TakeSmallNumbers(CellCursor& cursor, int count, std::string_view start, std::string_view end,
                      std::string& record) {
  for (int taken = 0; taken < count;) {
    const std::optional<std::string_view> cell = cursor.Next(start, end);
    if (!cell || cell->empty()) {
      return false;
    }
    if (cell->size() > 2) {
      continue;
    }
    // Digits only: a cell such as "-5" would make the field wider than its width.
    if (const std::optional<int> number = ParseDigits(*cell)) {
      record += FixedDigits(*number, 2);
      ++taken;
    }
  }
  return true;
}

// The winning number is copied as written so its leading zeros survive.
bool TakeWinningNumber(CellCursor& cursor, std::size_t digits, std::string& record) {
  for (;;) {
    const std::optional<std::string_view> cell = cursor.Next(kCellStart, kCellEnd);
    if (!cell || cell->empty()) {
      return false;
    }
    if (cell->size() == digits && ParseDigits(*cell)) {
      record += *cell;
      return true;
    }
  }
}

// The cell holding the first yen amount of a section, read as a number.
std::optional<long long> FirstYenAmount(std::string_view section) {
  const std::size_t yenAt = section.find(kYen);
  if (yenAt == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t cellAt = section.substr(0, yenAt).rfind(kCellStart);
  if (cellAt == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t contentAt = cellAt + kCellStart.size();
  const std::size_t endAt = section.find(kCellEnd, contentAt);
  if (endAt == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view cell = TrimControls(section.substr(contentAt, endAt - contentAt));
  if (const std::size_t inCell = cell.find(kYen); inCell != std::string_view::npos) {
    cell = cell.substr(0, inCell);
  }
  return ParseAmount(RemoveCommas(cell));
}

std::optional<long long> PrizeAmount(std::string_view cells, const PrizeClassRule& prize,
                                     std::string_view nextLabel, std::span<const PrizeClassRule> prizes) {
  const std::optional<std::string_view> found = Between(cells, prize.label, nextLabel, prizes);
  if (!found) {
    return std::nullopt;
  }
  const std::string_view section = TrimControls(*found);
  if (section.empty()) {
    return std::nullopt;
  }
  if (prize.noWinnerReadsZero && section.find(kNoWinner) != std::string_view::npos) {
    return 0;
  }
  return FirstYenAmount(section);
}

// Every class is looked for from the same place: the text after the numbers.
bool TakePrizes(std::string_view cells, std::span<const PrizeClassRule> prizes, std::string& record) {
  for (std::size_t i = 0; i < prizes.size(); ++i) {
    const std::string_view nextLabel = i + 1 < prizes.size() ? prizes[i + 1].label : kClosingLabel;
    const std::optional<long long> amount = PrizeAmount(cells, prizes[i], nextLabel, prizes);
    if (!amount) {
      return false;
    }
    record += FixedDigits(*amount, prizes[i].width);
  }
  return true;
}

PageReading Failure(int offset) {
  return PageReading{{}, offset};
}

}  // namespace

PageReading ReadResultText(Game game, std::string_view page, int drawNumber) {
  const PageRules& rules = PageRulesOf(game);
  const std::size_t resultsAt = page.find(kResultsStart);
  if (resultsAt == std::string_view::npos) {
    return Failure(kResultsMarkerMissing);
  }
  std::string_view rest = After(page, resultsAt, kResultsStart.size());

  // Not yet published is no failure: the title or its header is simply absent.
  const std::string title = std::string(kTitleStart) + std::to_string(drawNumber) + std::string(kTitleEnd);
  const std::size_t titleAt = rest.find(title);
  if (titleAt == std::string_view::npos) {
    return {};
  }
  rest = After(rest, titleAt, title.size());
  rest = rest.substr(0, NextTitleAt(rest));
  const std::size_t headerAt = rest.find(rules.numbersHeader);
  if (headerAt == std::string_view::npos) {
    return {};
  }
  const std::string cells = UpperAscii(After(rest, headerAt, rules.numbersHeader.size()));
  CellCursor cursor(cells);

  std::string record = FixedDigits(drawNumber, 4);
  if (rules.winningDigits > 0) {
    if (!TakeWinningNumber(cursor, static_cast<std::size_t>(rules.winningDigits), record)) {
      return Failure(rules.cellsRanOutOffset);
    }
  } else {
    if (!TakeSmallNumbers(cursor, rules.mainNumbers, kCellStart, kCellEnd, record)) {
      return Failure(rules.cellsRanOutOffset);
    }
    if (rules.hasBonus && !TakeSmallNumbers(cursor, 1, kBonusStart, kBonusEnd, record)) {
      return Failure(rules.bonusMissingOffset);
    }
  }
  if (!TakePrizes(cursor.Rest(), rules.prizes, record)) {
    return Failure(rules.prizeUnreadableOffset);
  }
  return PageReading{std::move(record), 0};
}

std::string ParseResultPage(Game game, std::string_view address, int base, int drawNumber,
                            const AcquisitionContext& context, const FailureSink& notify) {
  const int eventCode = PageRulesOf(game).eventCode;
  std::string page;
  try {
    page = context.fetcher.FetchUrlText(address, true, context.stop);
  } catch (...) {
    notify(eventCode, base + kResultFetchThrew);
    return {};
  }
  if (page.empty()) {
    notify(eventCode, base + kResultEmpty);
    return {};
  }
  PageReading reading = ReadResultText(game, page, drawNumber);
  if (reading.failureOffset != 0) {
    notify(eventCode, base + reading.failureOffset);
  }
  return std::move(reading.record);
}

}  // namespace norv
