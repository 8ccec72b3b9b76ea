#include "acquisition/status_file.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

// Positions 1..100: mark, then the fields the program reads, zeros elsewhere.
std::string SampleStatus() {
  std::string text(100, '0');
  const auto put = [&](int position, std::string_view digits) { text.replace(position - 1, 4, digits); };
  text[0] = '1';
  put(5, "0021");
  put(9, "0032");
  put(13, "0043");
  put(17, "0052");
  put(25, "0065");
  put(33, "5901");
  put(37, "5902");
  put(41, "0703");
  put(45, "1704");
  put(97, "0077");
  return text;
}

TEST(StatusFile, ReadsEveryFieldAtItsPosition) {
  const StatusFile status = ReadStatusFile(SampleStatus());
  EXPECT_EQ(status.birchRelease, 21);
  EXPECT_EQ(status.cedarRelease, 32);
  EXPECT_EQ(status.damsonRelease, 43);
  EXPECT_EQ(status.programRelease, 52);
  EXPECT_EQ(status.elderRelease, 65);
  EXPECT_EQ(status.DrawCountOf(Game::Numbers3), 5901);
  EXPECT_EQ(status.DrawCountOf(Game::Numbers4), 5902);
  EXPECT_EQ(status.DrawCountOf(Game::MiniLoto), 703);
  EXPECT_EQ(status.DrawCountOf(Game::Loto6), 1704);
  EXPECT_EQ(status.fennelRelease, 77);
}

TEST(StatusFile, ShortFileGives9999ForEveryFieldNotWhollyPresent) {
  const StatusFile status = ReadStatusFile(SampleStatus().substr(0, 46));
  EXPECT_EQ(status.DrawCountOf(Game::MiniLoto), 703) << "ends two characters after this field";
  EXPECT_EQ(status.DrawCountOf(Game::Loto6), kStatusUnknown) << "cut inside the field";
  EXPECT_EQ(status.fennelRelease, kStatusUnknown);
  EXPECT_EQ(ReadStatusFile("1").programRelease, kStatusUnknown);
}

TEST(StatusFile, FieldThatIsNotFourDigitsReads9999) {
  std::string text = SampleStatus();
  text.replace(44, 4, "17a4");
  text.replace(40, 4, "+703");
  text.replace(36, 4, " 590");
  const StatusFile status = ReadStatusFile(text);
  EXPECT_EQ(status.DrawCountOf(Game::Loto6), kStatusUnknown);
  EXPECT_EQ(status.DrawCountOf(Game::MiniLoto), kStatusUnknown);
  EXPECT_EQ(status.DrawCountOf(Game::Numbers4), kStatusUnknown);
  EXPECT_EQ(status.DrawCountOf(Game::Numbers3), 5901);
}

TEST(StatusFile, OnlyATextStartingWithADigitIsValid) {
  EXPECT_TRUE(IsValidStatusText(SampleStatus()));
  EXPECT_TRUE(IsValidStatusText("0"));
  EXPECT_FALSE(IsValidStatusText("X" + SampleStatus().substr(1)));
  EXPECT_FALSE(IsValidStatusText("<html>"));
  EXPECT_FALSE(IsValidStatusText(""));
}

}  // namespace
}  // namespace norv
