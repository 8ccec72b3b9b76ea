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

// Digits as one code that also holds their count, so 071 and 0071 differ.
int DigitsCode(const std::int32_t* digits, std::size_t count) {
  int code = static_cast<int>(count);
  for (std::size_t i = 0; i < count; ++i) code = code * 10 + digits[i];
  return code;
}

int SortedCode(const std::int32_t* digits, std::size_t count) {
  std::array<std::int32_t, 4> sorted{};
  const std::size_t used = std::min<std::size_t>(count, sorted.size());
  std::copy_n(digits, used, sorted.begin());
  std::sort(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(used));
  return DigitsCode(sorted.data(), used);
}

// LOTO6: 6, 5+bonus, 5, 4, 3. MiniLOTO: 5, 4+bonus, 4, 3. The bonus counts
// only between the first and the third class.
std::optional<WinClass> LottoClass(const Ticket& ticket, const DrawKey& draw) {
  const int missed = draw.drawnCount - std::popcount(draw.numbers & ticket.numbers);
  if (missed == 0) return WinClass::First;
  if (missed == 1) return (ticket.numbers & draw.bonus) != 0 ? WinClass::Second : WinClass::Third;
  const int lowest = draw.drawnCount == 6 ? 5 : 4;
  const int classNumber = missed + 2;  // two missed: 4等, three missed: 5等
  if (classNumber > lowest) return std::nullopt;
  return static_cast<WinClass>(classNumber - 1);
}

std::optional<WinClass> NumbersClass(const Ticket& ticket, const DrawKey& draw) {
  switch (ticket.line->way) {
    case BuyWay::Straight:
      if (ticket.inOrder == draw.inOrder) return WinClass::Straight;
      break;
    case BuyWay::Box:
      if (ticket.anyOrder == draw.anyOrder) return WinClass::Box;
      break;
    case BuyWay::Set:
      if (ticket.inOrder == draw.inOrder) return WinClass::SetStraight;
      if (ticket.anyOrder == draw.anyOrder) return WinClass::SetBox;
      break;
    case BuyWay::Mini:
      if (ticket.inOrder == draw.lastTwo) return WinClass::Mini;
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

Ticket TicketOf(const MyLine& line) {
  Ticket ticket;
  ticket.line = &line;
  if (line.way == BuyWay::None) {
    for (int number : line.numbers) ticket.numbers |= Bit(number);
    return ticket;
  }
  std::array<std::int32_t, 4> digits{};
  const std::size_t count = std::min(line.numbers.size(), digits.size());
  std::copy_n(line.numbers.begin(), count, digits.begin());
  ticket.inOrder = DigitsCode(digits.data(), count);
  ticket.anyOrder = SortedCode(digits.data(), count);
  return ticket;
}

DrawKey DrawKeyOf(Game game, const DrawRow& row) {
  const RowShape shape = ShapeOf(game);
  DrawKey key;
  key.row = &row;
  key.draw = Column(row, 0);
  key.firstPrize = shape.firstPrize;
  key.drawnCount = shape.numbers;
  std::array<std::int32_t, 6> drawn{};
  for (int i = 0; i < shape.numbers; ++i) drawn[static_cast<std::size_t>(i)] = Column(row, i + 1);
  if (shape.bonusColumn > 0) {
    for (int i = 0; i < shape.numbers; ++i) key.numbers |= Bit(drawn[static_cast<std::size_t>(i)]);
    key.bonus = Bit(Column(row, shape.bonusColumn));
    return key;
  }
  const std::size_t count = static_cast<std::size_t>(shape.numbers);
  key.inOrder = DigitsCode(drawn.data(), count);
  key.anyOrder = SortedCode(drawn.data(), count);
  key.lastTwo = DigitsCode(drawn.data() + count - 2, 2);
  return key;
}

std::optional<WinMatch> Match(const Ticket& ticket, const DrawKey& draw) {
  if (draw.draw < 1 || !ticket.line->Plays(draw.draw)) return std::nullopt;
  const std::optional<WinClass> winClass =
      ticket.line->way == BuyWay::None ? LottoClass(ticket, draw) : NumbersClass(ticket, draw);
  if (!winClass) return std::nullopt;
  return WinMatch{*winClass, Column(*draw.row, draw.firstPrize + PrizeOffset(*winClass))};
}

std::optional<WinMatch> MatchLine(const MyLine& line, const DrawRow& row) {
  return Match(TicketOf(line), DrawKeyOf(line.game, row));
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
