#pragma once
// Writes draws as the bank publishes them, for the tests: UTF-8 text that a
// test may alter, then Shift_JIS bytes as the bank serves them.

#include <string>
#include <string_view>

#include "service/draw.h"

namespace norv::service::testing {

// "2026-01-05" -> "令和8年1月5日", "2019-05-01" -> "令和元年5月1日", 平成 before.
std::string EraDate(std::string_view isoDate);

// The A52 or A51 file of a LOTO6 or MiniLOTO draw, lines ending in CR LF.
std::string BankFileText(const Draw& draw);

// The A50 file of the Numbers4 and Numbers3 draws of one number; the Numbers3
// block comes first, as the bank has it.
std::string BankNumbersFileText(const Draw& numbers4, const Draw& numbers3);

// Code page 932 bytes; the test aborts for a character without one.
std::string ShiftJis(std::string_view utf8);

// Made-up draws without a DrawProblem, varying with the number.
Draw SampleDraw(Game game, int number);

}  // namespace norv::service::testing
