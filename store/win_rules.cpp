#include "store/win_rules.h"

#include <algorithm>
#include <array>
#include <bit>

#include "resources/my_numbers_strings.h"

namespace norv {

namespace {

// Where a row keeps a game's drawn numbers and its prizes, in table columns.
struct RowShape {
  int numbers;     // from column 1
  int bonusColumn; // 0: none
  int firstPrize;  // the column of the highest class
};

constexpr RowShape ShapeOf(Game game) {
  switch (game) {
    case Game::Loto6: return {6, 7, 8};
    case Game::MiniLoto: return {5, 6, 7};
    case Game::Numbers4: return {4, 0, 5};
    case Game::Numbers3: return {3, 0, 4};
  }
  return {6, 7, 8};
}

std::int32_t Column(const DrawRow& row, int column) {
  return static_cast<std::size_t>(column) < row.size() ? row[static_cast<std::size_t>(column)] : 0;
}

std::uint64_t Bit(std::int32_t number) {
  return number >= 1 && number < 64 ? std::uint64_t{1} << number : 0;
}

// LOTO6: 6, 5+bonus, 5, 4, 3. MiniLOTO: 5, 4+bonus, 4, 3. The bonus counts
// only between the first and the third class.
std::optional<WinClass> LottoClass(const MyLine& line, const DrawRow& row, const RowShape& shape) {
  std::uint64_t drawn = 0;
  for (int i = 1; i <= shape.numbers; ++i) drawn |= Bit(Column(row, i));
  std::uint64_t mine = 0;
  for (int number : line.numbers) mine |= Bit(number);
  const int hits = std::popcount(drawn & mine);
  const bool bonus = (mine & Bit(Column(row, shape.bonusColumn))) != 0;
  const int missed = shape.numbers - hits;
  if (missed == 0) return WinClass::First;
  if (missed == 1) return bonus ? WinClass::Second : WinClass::Third;
  const int lowest = line.game == Game::Loto6 ? 5 : 4;
  const int classNumber = missed + 2;  // two missed: 4等, three missed: 5等
  if (classNumber > lowest) return std::nullopt;
  return static_cast<WinClass>(classNumber - 1);
}

// Up to four digits, without allocating: the matcher runs for every line
// against every draw.
struct Digits {
  std::array<int, 4> values{-1, -1, -1, -1};  // unused places hold -1
  std::size_t count = 0;
  bool operator==(const Digits& other) const = default;
  Digits Sorted() const {
    Digits sorted = *this;
    std::sort(sorted.values.begin(), sorted.values.end());
    return sorted;
  }
  Digits LastTwo() const {
    Digits last;
    if (count < 2) return last;
    last.values = {values[count - 2], values[count - 1], -1, -1};
    last.count = 2;
    return last;
  }
};

Digits DrawnDigits(const DrawRow& row, const RowShape& shape) {
  Digits digits;
  for (int i = 1; i <= shape.numbers; ++i) digits.values[digits.count++] = Column(row, i);
  return digits;
}

Digits LineDigits(const MyLine& line) {
  Digits digits;
  for (int digit : line.numbers) {
    if (digits.count == digits.values.size()) break;
    digits.values[digits.count++] = digit;
  }
  return digits;
}

std::optional<WinClass> NumbersClass(const MyLine& line, const DrawRow& row, const RowShape& shape) {
  const Digits drawn = DrawnDigits(row, shape);
  const Digits mine = LineDigits(line);
  switch (line.way) {
    case BuyWay::Straight:
      if (mine == drawn) return WinClass::Straight;
      break;
    case BuyWay::Box:
      if (mine.Sorted() == drawn.Sorted()) return WinClass::Box;
      break;
    case BuyWay::Set:
      if (mine == drawn) return WinClass::SetStraight;
      if (mine.Sorted() == drawn.Sorted()) return WinClass::SetBox;
      break;
    case BuyWay::Mini:
      if (mine == drawn.LastTwo()) return WinClass::Mini;
      break;
    case BuyWay::None:
      break;
  }
  return std::nullopt;
}

// The record's prize columns follow the classes in this order.
int PrizeOffset(WinClass winClass) {
  const int index = static_cast<int>(winClass);
  return index >= static_cast<int>(WinClass::Straight) ? index - static_cast<int>(WinClass::Straight) : index;
}

}  // namespace

std::optional<WinMatch> MatchLine(const MyLine& line, const DrawRow& row) {
  const int draw = Column(row, 0);
  if (draw < 1 || !line.Plays(draw)) return std::nullopt;
  const RowShape shape = ShapeOf(line.game);
  const std::optional<WinClass> winClass =
      shape.bonusColumn > 0 ? LottoClass(line, row, shape) : NumbersClass(line, row, shape);
  if (!winClass) return std::nullopt;
  return WinMatch{*winClass, Column(row, shape.firstPrize + PrizeOffset(*winClass))};
}

std::string WinClassText(WinClass winClass) {
  switch (winClass) {
    case WinClass::Straight: return std::string(text::kWayStraight);
    case WinClass::Box: return std::string(text::kWayBox);
    case WinClass::SetStraight: return std::string(text::kClassSetStraight);
    case WinClass::SetBox: return std::string(text::kClassSetBox);
    case WinClass::Mini: return std::string(text::kWayMini);
    default: return std::to_string(static_cast<int>(winClass) + 1) + std::string(text::kClassSuffix);
  }
}

std::string PrizeText(std::int32_t prize) { return prize > 0 ? std::to_string(prize) : std::string(text::kNoPrize); }

}  // namespace norv
