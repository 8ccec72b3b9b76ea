#include "service/japanese_date.h"

#include <array>
#include <charconv>

#include "base/text_fields.h"
#include "service/bank_text.h"

namespace norv::service {

namespace {

struct Era {
  std::string_view name;
  int yearBeforeFirst;  // the Gregorian year of era year 0
  int firstDay;         // yyyymmdd
  int lastDay;
};

// 平成 began on 1989-01-08 and gave way to 令和 on 2019-05-01.
constexpr std::array<Era, 2> kEras{{
    {"平成", 1988, 19890108, 20190430},
    {"令和", 2018, 20190501, 99991231},
}};

constexpr std::string_view kFirstYear = "元";

// The number at the front of `text`, consumed; nothing when there is none.
std::optional<int> TakeNumber(std::string_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && digits < 4 && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')) return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + digits, value);
  text.remove_prefix(digits);
  return value;
}

bool TakeText(std::string_view& text, std::string_view expected) {
  if (!text.starts_with(expected)) return false;
  text.remove_prefix(expected.size());
  return true;
}

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[static_cast<std::size_t>(month - 1)];
}

}  // namespace

std::optional<std::string> IsoDateFromEra(std::string_view text) {
  const std::string folded = LabelForm(text);
  std::string_view rest = folded;
  for (const Era& era : kEras) {
    if (!TakeText(rest, era.name)) continue;
    std::optional<int> eraYear = TakeText(rest, kFirstYear) ? std::optional<int>(1) : TakeNumber(rest);
    if (!eraYear || !TakeText(rest, "年")) return std::nullopt;
    const std::optional<int> month = TakeNumber(rest);
    if (!month || !TakeText(rest, "月")) return std::nullopt;
    const std::optional<int> day = TakeNumber(rest);
    if (!day || !TakeText(rest, "日") || !rest.empty()) return std::nullopt;
    const int year = era.yearBeforeFirst + *eraYear;
    if (*eraYear < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(year, *month)) return std::nullopt;
    const int stamp = year * 10000 + *month * 100 + *day;
    if (stamp < era.firstDay || stamp > era.lastDay) return std::nullopt;
    return FixedDigits(year, 4) + "-" + FixedDigits(*month, 2) + "-" + FixedDigits(*day, 2);
  }
  return std::nullopt;
}

}  // namespace norv::service
