#include "store/my_line.h"

#include <algorithm>
#include <array>
#include <functional>

#include "base/text_basics.h"
#include "resources/my_numbers_strings.h"

namespace norv {

namespace {

constexpr int kHighestDraw = 9999;  // the records' draw field is four digits

struct LottoRule {
  int count;
  int highest;
};

constexpr LottoRule LottoRuleOf(Game game) { return game == Game::Loto6 ? LottoRule{6, 43} : LottoRule{5, 31}; }

constexpr bool IsLotto(Game game) { return game == Game::Loto6 || game == Game::MiniLoto; }

std::optional<BuyWay> WayNamed(std::string_view name) {
  if (name.empty()) return BuyWay::None;
  for (BuyWay way : {BuyWay::Straight, BuyWay::Box, BuyWay::Set, BuyWay::Mini}) {
    if (name == WayText(way)) return way;
  }
  return std::nullopt;
}

// Blanks and tabs separate the numbers; runs of them count as one.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t start = text.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    words.push_back(text.substr(start, end - start));
    at = end;
  }
  return words;
}

LineReading ReadLottoNumbers(Game game, std::string_view text, MyLine& line) {
  const LottoRule rule = LottoRuleOf(game);
  for (std::string_view word : Words(text)) {
    const std::optional<int> number = word.size() <= 2 ? ParseDigits(word) : std::nullopt;
    if (!number) return AllDigits(word) ? LineFault::OutOfRange : LineFault::NotANumber;
    if (*number < 1 || *number > rule.highest) return LineFault::OutOfRange;
    line.numbers.push_back(*number);
  }
  std::sort(line.numbers.begin(), line.numbers.end());
  if (std::adjacent_find(line.numbers.begin(), line.numbers.end()) != line.numbers.end()) return LineFault::Twice;
  if (static_cast<int>(line.numbers.size()) != rule.count) return LineFault::WrongCount;
  return line;
}

LineReading ReadDigits(Game game, std::string_view text, MyLine& line) {
  if (text.empty() || !AllDigits(text)) return LineFault::NotANumber;
  for (char digit : text) line.numbers.push_back(digit - '0');
  const std::size_t count = line.way == BuyWay::Mini ? 2 : (game == Game::Numbers4 ? 4 : 3);
  if (line.numbers.size() != count) return LineFault::WrongCount;
  const bool allSame = std::adjacent_find(line.numbers.begin(), line.numbers.end(), std::not_equal_to<>()) ==
                       line.numbers.end();
  if (allSame && (line.way == BuyWay::Box || line.way == BuyWay::Set)) return LineFault::SameDigits;
  return line;
}

std::optional<LineFault> ReadDraws(const LineFields& fields, MyLine& line) {
  const std::string_view first = TrimControls(fields.firstDraw);
  const std::string_view last = TrimControls(fields.lastDraw);
  if (!first.empty()) {
    const std::optional<int> draw = ParseDigits(first);
    if (!draw) return AllDigits(first) ? LineFault::OutOfRange : LineFault::NotANumber;
    line.firstDraw = *draw;
  }
  if (!last.empty()) {
    line.lastDraw = ParseDigits(last);
    if (!line.lastDraw) return AllDigits(last) ? LineFault::OutOfRange : LineFault::NotANumber;
  }
  for (int draw : {line.firstDraw, line.lastDraw.value_or(kHighestDraw)}) {
    if (draw < 1 || draw > kHighestDraw) return LineFault::OutOfRange;
  }
  if (line.lastDraw && *line.lastDraw < line.firstDraw) return LineFault::EndBeforeStart;
  return std::nullopt;
}

std::string TwoDigits(int number) {
  return std::string(1, static_cast<char>('0' + number / 10)) + static_cast<char>('0' + number % 10);
}

}  // namespace

std::string_view LineFaultText(LineFault fault) {
  switch (fault) {
    case LineFault::ColumnCount: return text::kFaultColumnCount;
    case LineFault::UnknownGame: return text::kFaultUnknownGame;
    case LineFault::UnknownWay: return text::kFaultUnknownWay;
    case LineFault::NotANumber: return text::kFaultNotANumber;
    case LineFault::OutOfRange: return text::kFaultOutOfRange;
    case LineFault::Twice: return text::kFaultTwice;
    case LineFault::WrongCount: return text::kFaultWrongCount;
    case LineFault::SameDigits: return text::kFaultSameDigits;
    case LineFault::MiniOutsideNumbers3: return text::kFaultMiniOutsideNumbers3;
    case LineFault::EndBeforeStart: return text::kFaultEndBeforeStart;
    case LineFault::Unreadable: return text::kFaultUnreadable;
  }
  return text::kFaultUnreadable;
}

std::string_view WayText(BuyWay way) {
  switch (way) {
    case BuyWay::None: return {};
    case BuyWay::Straight: return text::kWayStraight;
    case BuyWay::Box: return text::kWayBox;
    case BuyWay::Set: return text::kWaySet;
    case BuyWay::Mini: return text::kWayMini;
  }
  return {};
}

std::optional<Game> GameNamed(std::string_view name) {
  for (Game game : kAllGames) {
    if (name == GameName(game)) return game;
  }
  return std::nullopt;
}

LineReading ReadLine(const LineFields& fields) {
  MyLine line;
  const std::optional<Game> game = GameNamed(TrimControls(fields.game));
  if (!game) return LineFault::UnknownGame;
  line.game = *game;
  const std::optional<BuyWay> way = WayNamed(TrimControls(fields.way));
  if (!way) return LineFault::UnknownWay;
  line.way = *way;
  if (IsLotto(line.game) != (line.way == BuyWay::None)) return LineFault::UnknownWay;
  if (line.way == BuyWay::Mini && line.game != Game::Numbers3) return LineFault::MiniOutsideNumbers3;
  if (const std::optional<LineFault> fault = ReadDraws(fields, line)) return *fault;
  line.memo = fields.memo;
  const std::string_view numbers = TrimControls(fields.numbers);
  return IsLotto(line.game) ? ReadLottoNumbers(line.game, numbers, line) : ReadDigits(line.game, numbers, line);
}

std::string NumbersText(const MyLine& line) {
  std::string text;
  for (int number : line.numbers) {
    if (IsLotto(line.game)) {
      if (!text.empty()) text.push_back(' ');
      text.append(TwoDigits(number));
    } else {
      text.push_back(static_cast<char>('0' + number));
    }
  }
  return text;
}

LineFields FieldsOf(const MyLine& line) {
  return {std::string(GameName(line.game)),
          NumbersText(line),
          std::string(WayText(line.way)),
          std::to_string(line.firstDraw),
          line.lastDraw ? std::to_string(*line.lastDraw) : std::string(),
          line.memo};
}

}  // namespace norv
