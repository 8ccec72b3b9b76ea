#include "store/shift_jis.h"

#include <gtest/gtest.h>

#include "store/csv_export.h"

namespace norv {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ShiftJisWin, EncodesJapaneseInCodePage932) {
  EXPECT_EQ(ToShiftJis("回数"), Bytes({0x89, 0xF1, 0x90, 0x94}));
  EXPECT_EQ(ToShiftJis("セットＳ"), Bytes({0x83, 0x5A, 0x83, 0x62, 0x83, 0x67, 0x82, 0x72}));
  EXPECT_EQ(ToShiftJis(""), "");
}

TEST(ShiftJisWin, RefusesWhatItCannotRepresent) {
  EXPECT_EQ(ToShiftJis("\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(ToShiftJis("\xE5\x9B"), std::nullopt);
}

TEST(ShiftJisWin, ReadsCodePage932BackAndRefusesBrokenBytes) {
  EXPECT_EQ(FromShiftJis(Bytes({0x89, 0xF1, 0x90, 0x94})), "回数");
  EXPECT_EQ(FromShiftJis(Bytes({0xB6, 0xDE})), "ｶﾞ");  // half-width katakana, one byte each
  EXPECT_EQ(FromShiftJis("Numbers3,123"), "Numbers3,123");
  EXPECT_EQ(FromShiftJis(""), "");
  EXPECT_EQ(FromShiftJis(Bytes({0x82, 0xFF})), std::nullopt);  // a lead byte without its trail
}

TEST(ShiftJisWin, CsvBytesMatchTheNativeEncoder) {
  const auto bytes = CsvFileBytes(Game::Numbers3, DrawTable{{{5, 0, 4, 0, 90000, 15000, 52500, 7500, 0}}});
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(bytes->ends_with("\r\n5,040,90000,15000,52500,7500,0\r\n"));
  EXPECT_EQ(bytes->substr(0, 8), "Norvale ");
}

}  // namespace
}  // namespace norv
