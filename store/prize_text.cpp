#include "store/prize_text.h"

namespace norv {

CellText PrizeCellText(std::int32_t yen, std::string_view grouped) {
  if (yen == 0) {
    return {" ＊", CellAlign::Centre};
  }
  // The trailing blank keeps the digits off the grid line.
  return {std::string(grouped) + " ", CellAlign::Right};
}

std::string GroupThousands(std::int64_t value, std::string_view separator) {
  const bool negative = value < 0;
  // Through unsigned so that the most negative value has a magnitude too.
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::string digits = std::to_string(magnitude);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) {
      out += separator;
    }
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

unsigned NumberFormatGrouping(std::string_view localeGrouping) {
  std::string digits;
  for (char ch : localeGrouping) {
    if (ch >= '0' && ch <= '9') {
      digits += ch;
    }
  }
  if (digits.empty()) {
    return 0;
  }
  // A trailing 0 means "repeat the last group"; NUMBERFMT says that by
  // leaving the 0 out, and "no repeat" by a 0 of its own at the end.
  if (digits.back() == '0') {
    digits.pop_back();
  } else {
    digits += '0';
  }
  unsigned grouping = 0;
  for (char ch : digits) {
    grouping = grouping * 10 + static_cast<unsigned>(ch - '0');
  }
  return grouping;
}

}  // namespace norv
