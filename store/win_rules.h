#pragma once
// Which class a line wins in one draw, and the prize the draw's record holds
// for that class. At most one class per line and draw: the highest.

#include <cstdint>
#include <optional>
#include <string>

#include "store/draw_record.h"
#include "store/my_line.h"

namespace norv {

enum class WinClass { First, Second, Third, Fourth, Fifth, Straight, Box, SetStraight, SetBox, Mini };

struct WinMatch {
  WinClass winClass;
  std::int32_t prize;  // yen per winning ticket; 0 when the record holds none
};

// `row` is a row of the line's own game. Nothing when the line does not play
// that draw or does not win in it.
std::optional<WinMatch> MatchLine(const MyLine& line, const DrawRow& row);

// A line and a draw each taken apart once, so that matching many lines
// against many draws costs a few comparisons per pair.
struct Ticket {
  const MyLine* line = nullptr;
  std::uint64_t numbers = 0;  // LOTO6, MiniLOTO: one bit per number
  int inOrder = -1;           // Numbers: the digits as one code, in order
  int anyOrder = -1;          // and sorted
};
Ticket TicketOf(const MyLine& line);

struct DrawKey {
  const DrawRow* row = nullptr;
  int draw = 0;
  int firstPrize = 0;  // the column of the highest class
  std::uint64_t numbers = 0;
  std::uint64_t bonus = 0;
  int drawnCount = 0;
  int inOrder = -1;
  int anyOrder = -1;
  int lastTwo = -1;
};
DrawKey DrawKeyOf(Game game, const DrawRow& row);

std::optional<WinMatch> Match(const Ticket& ticket, const DrawKey& draw);

// "1等" … "5等", "ストレート", "セット（ボックス）" ...
std::string WinClassText(WinClass winClass);

// The yen as digits, or "該当なし" for 0.
std::string PrizeText(std::int32_t prize);

}  // namespace norv
