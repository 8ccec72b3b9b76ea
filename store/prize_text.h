#pragma once
// How a prize amount is written in a grid cell.

#include <cstdint>
#include <string>
#include <string_view>

namespace norv {

enum class CellAlign { Centre, Right };

struct CellText {
  std::string text;
  CellAlign align;
};

// `grouped` is the amount as the user's locale writes a whole number (digit
// grouping, no decimals); it is not used for 0, which means "no winner".
CellText PrizeCellText(std::int32_t yen, std::string_view grouped);

// Digits in groups of three from the right, for when the locale cannot help.
std::string GroupThousands(std::int64_t value, std::string_view separator);

// A locale grouping such as "3;0" or "3;2;0" as the number NUMBERFMT wants
// (3 and 32); 0 when it holds no digit.
unsigned NumberFormatGrouping(std::string_view localeGrouping);

}  // namespace norv
