#include "base/utf8.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(RepairUtf8, LeavesWellFormedTextUnchanged) {
  const std::string text = "第2160回 本数字 (08) 1,000円 \xF0\x9F\x8E\xB0 abc";
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(RepairUtf8(text), text);
}

TEST(RepairUtf8, ACharacterSplitAndRejoinedArrivesIntact) {
  const std::string text = "回別";  // E5 9B 9E E5 88 A5
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    const std::string joined = text.substr(0, cut) + text.substr(cut);
    EXPECT_EQ(RepairUtf8(joined), text) << "cut at " << cut;
  }
}

TEST(RepairUtf8, ATruncatedTailBecomesOneReplacement) {
  EXPECT_EQ(RepairUtf8("ab\xE5\x9B"), "ab" + kFffd);
  EXPECT_EQ(RepairUtf8("ab\xF0\x9F\x8E"), "ab" + kFffd);
  EXPECT_EQ(RepairUtf8("\xE5"), kFffd);
}

TEST(RepairUtf8, OverlongFormsAreReplacedBytewise) {
  EXPECT_EQ(RepairUtf8("\xC0\xAF"), kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xC1\xBF"), kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xE0\x80\xAF"), kFffd + kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xF0\x80\x80\xAF"), kFffd + kFffd + kFffd + kFffd);
}

TEST(RepairUtf8, SurrogatesAndCodePointsAboveTheRangeAreReplaced) {
  EXPECT_EQ(RepairUtf8("\xED\xA0\x80"), kFffd + kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xED\x9F\xBF"), "\xED\x9F\xBF");  // U+D7FF is fine
  EXPECT_EQ(RepairUtf8("\xF4\x90\x80\x80"), kFffd + kFffd + kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xF5\x80"), kFffd + kFffd);
  EXPECT_EQ(RepairUtf8("\xFF"), kFffd);
}

TEST(RepairUtf8, AnInterruptedSequenceKeepsTheByteThatInterruptedIt) {
  EXPECT_EQ(RepairUtf8("\xE5\x9B" "A"), kFffd + "A");
  EXPECT_EQ(RepairUtf8("\xE5\x9B\xE5\x88\xA5"), kFffd + "別");
  EXPECT_EQ(RepairUtf8("\x80\x80x"), kFffd + kFffd + "x");
}

TEST(RepairUtf8, ResultIsAlwaysValid) {
  std::string every;
  for (int b = 0; b < 256; ++b) {
    every.push_back(static_cast<char>(b));
    every.push_back(static_cast<char>(255 - b));
  }
  EXPECT_FALSE(IsValidUtf8(every));
  EXPECT_TRUE(IsValidUtf8(RepairUtf8(every)));
}

TEST(RemoveLineBreaks, JoinsTheLinesWithNoSeparator) {
  EXPECT_EQ(RemoveLineBreaks("12\r\n34\r\n"), "1234");
  EXPECT_EQ(RemoveLineBreaks("\n\r1\r2\n"), "12");
  EXPECT_EQ(RemoveLineBreaks(""), "");
}

}  // namespace
}  // namespace norv
