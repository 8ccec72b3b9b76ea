#include "base/text_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace norv {
namespace {

TEST(FieldAt, TakesWholeFieldsOnlyAndNeverCutsShort) {
  EXPECT_EQ(FieldAt("ABCDE", 4, 3), "");
  EXPECT_EQ(FieldAt("ABCDE", 4, 2), "DE");
  EXPECT_EQ(FieldAt("ABCDE", 6, 1), "");
  EXPECT_EQ(FieldAt("ABCDE", 2, 0), "BCDE");
}

TEST(FieldAt, TakesTheWholeTextAndRejectsPositionsBeforeIt) {
  EXPECT_EQ(FieldAt("ABCDE", 1, 5), "ABCDE");
  EXPECT_EQ(FieldAt("ABCDE", 5, -1), "E");
  EXPECT_EQ(FieldAt("ABCDE", 0, 2), "");
  EXPECT_EQ(FieldAt("", 1, 0), "");
}

TEST(ExtractBetween, ForwardMatchIgnoresLetterCaseButKeepsTheTextsOwn) {
  EXPECT_EQ(ExtractBetween("<html><body>X</body></html>", 1, "<BODY>", "</BODY>", false, false), "X");
  EXPECT_EQ(ExtractBetween("<b>MiXed</b>", 1, "<B>", "</B>", false, false), "MiXed");
}

TEST(ExtractBetween, ForwardSearchStartsAtThePosition) {
  const std::string text = "[a][b]";
  EXPECT_EQ(ExtractBetween(text, 2, "[", "]", false, false), "b");
  EXPECT_EQ(ExtractBetween(text, 4, "[", "]", false, false), "b");
  EXPECT_EQ(ExtractBetween(text, 5, "[", "]", false, false), "");
  EXPECT_EQ(ExtractBetween(text, 99, "[", "]", false, false), "");
}

TEST(ExtractBetween, MissingMarkersOrNothingBetweenThemGiveEmptyText) {
  EXPECT_EQ(ExtractBetween("<B></B>", 1, "<B>", "</B>", false, false), "");
  EXPECT_EQ(ExtractBetween("<B>x", 1, "<B>", "</B>", false, false), "");
  EXPECT_EQ(ExtractBetween("x</B>", 1, "<B>", "</B>", false, false), "");
  EXPECT_EQ(ExtractBetween("<B>x</B>", 1, "", "</B>", false, false), "");
}

TEST(ExtractBetween, TrimRemovesBlanksAndControlsAtBothEndsOnly) {
  const std::string text = "<TD> \t1 2\r\n</TD>";
  EXPECT_EQ(ExtractBetween(text, 1, "<TD>", "</TD>", false, true), "1 2");
  EXPECT_EQ(ExtractBetween(text, 1, "<TD>", "</TD>", false, false), " \t1 2\r\n");
}

TEST(ExtractBetween, BackwardFromPositionOneFindsNothing) {
  EXPECT_EQ(ExtractBetween("<B>x</B>", 1, "<B>", "</B>", true, false), "");
}

TEST(ExtractBetween, BackwardTakesTheLastStartMarkerLyingWhollyBeforeThePosition) {
  const std::string text = "<TD>1</TD><TD>2</TD>";
  // Position 13 falls inside the second "<TD>", which therefore does not count.
  EXPECT_EQ(ExtractBetween(text, 13, "<TD>", "</TD>", true, false), "1");
  EXPECT_EQ(ExtractBetween(text, 15, "<TD>", "</TD>", true, false), "2");
}

TEST(ExtractBetween, BackwardEndMarkerMayLieAfterThePosition) {
  EXPECT_EQ(ExtractBetween("<TD>1</TD>", 6, "<TD>", "</TD>", true, false), "1");
}

TEST(ExtractBetween, BackwardCountsOccurrencesTheWayAForwardScanSeesThem) {
  // Left to right, "AA" matches at byte 1 only; the overlapping one at byte 2
  // is never seen, so the text starts after the first match.
  EXPECT_EQ(ExtractBetween("aaax", 5, "AA", "X", true, false), "a");
}

TEST(ExtractBetween, Utf8TextKeepsBytePositionsAndMatchesJapaneseMarkers) {
  const std::string text = "第12回 第34回";  // each kanji is three bytes
  EXPECT_EQ(ExtractBetween(text, 1, "第", "回", false, false), "12");
  EXPECT_EQ(ExtractBetween(text, 2, "第", "回", false, false), "34");
  EXPECT_EQ(ExtractBetween(text, 10, "第", "回", false, false), "34");
  EXPECT_EQ(ExtractBetween(text, 10, "第", "回", true, false), "12");
  EXPECT_EQ(ExtractBetween("<p>ａｂｃ</p>", 1, "<P>", "</P>", false, false), "ａｂｃ");
}

TEST(FixedDigits, PadsWithZerosOrKeepsTheLastDigits) {
  EXPECT_EQ(FixedDigits(0, 5), "00000");
  EXPECT_EQ(FixedDigits(7, 2), "07");
  EXPECT_EQ(FixedDigits(1234, 4), "1234");
  EXPECT_EQ(FixedDigits(12345, 4), "2345");
  EXPECT_EQ(FixedDigits(1234567, 6), "234567");
  EXPECT_EQ(FixedDigits(10000, 4), "0000");
  EXPECT_EQ(FixedDigits(5, 0), "");
}

TEST(RemoveCommas, RemovesEveryComma) {
  EXPECT_EQ(RemoveCommas("1,234,567"), "1234567");
  EXPECT_EQ(RemoveCommas(",,,"), "");
  EXPECT_EQ(RemoveCommas(""), "");
  EXPECT_EQ(RemoveCommas("200円"), "200円");
}

TEST(UpperAscii, ChangesOnlyAsciiLettersAndKeepsTheLength) {
  EXPECT_EQ(UpperAscii("a-z ＡｂＣ"), "A-Z ＡｂＣ");
}

TEST(TrimControls, StripsBytesUpToBlankFromBothEnds) {
  EXPECT_EQ(TrimControls("\r\n\t 12 3\x01 "), "12 3");
  EXPECT_EQ(TrimControls(" \r\n"), "");
}

TEST(HexDigitValue, ReadsDigitsOfEitherCaseAndNothingBeside) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  for (char c : {'g', 'G', '/', ':', '@', '`', ' ', '\0'}) EXPECT_EQ(HexDigitValue(c), -1) << c;
}

TEST(ParseDigits, AcceptsOnlyARunOfDigitsThatFitsIn32Bits) {
  EXPECT_EQ(ParseDigits("0000000000"), 0);
  EXPECT_EQ(ParseDigits("0600000000"), 600000000);
  EXPECT_EQ(ParseDigits("2147483647"), 2147483647);
  EXPECT_EQ(ParseDigits("2147483648"), std::nullopt);
  EXPECT_EQ(ParseDigits("99999999999"), std::nullopt);
  EXPECT_EQ(ParseDigits("-5"), std::nullopt);
  EXPECT_EQ(ParseDigits("+5"), std::nullopt);
  EXPECT_EQ(ParseDigits(" 5"), std::nullopt);
  EXPECT_EQ(ParseDigits("5 "), std::nullopt);
  EXPECT_EQ(ParseDigits("1a"), std::nullopt);
  EXPECT_EQ(ParseDigits(""), std::nullopt);
}

TEST(ParseInteger, AcceptsOneOptionalSign) {
  EXPECT_EQ(ParseInteger("-5"), -5);
  EXPECT_EQ(ParseInteger("+5"), 5);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseInteger("+-5"), std::nullopt);
  EXPECT_EQ(ParseInteger("+"), std::nullopt);
  EXPECT_EQ(ParseInteger("-"), std::nullopt);
  EXPECT_EQ(ParseInteger(" 5"), std::nullopt);
  EXPECT_EQ(ParseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInteger(""), std::nullopt);
}

}  // namespace
}  // namespace norv
