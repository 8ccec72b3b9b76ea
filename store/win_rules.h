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

// "1等" … "5等", "ストレート", "セット（ボックス）" ...
std::string WinClassText(WinClass winClass);

// The yen as digits, or "該当なし" for 0.
std::string PrizeText(std::int32_t prize);

}  // namespace norv
