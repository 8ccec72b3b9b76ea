#include "store/draw_record.h"

#include <gtest/gtest.h>

#include <string>

namespace norv {
namespace {

TEST(RecordLayout, RecordLengthsAreTheTextPlusCrLf) {
  EXPECT_EQ(LayoutOf(Game::Loto6).recordBytes, 58);
  EXPECT_EQ(LayoutOf(Game::MiniLoto).recordBytes, 42);
  EXPECT_EQ(LayoutOf(Game::Numbers4).recordBytes, 36);
  EXPECT_EQ(LayoutOf(Game::Numbers3).recordBytes, 37);
  for (Game game : kAllGames) {
    EXPECT_EQ(LayoutOf(game).recordBytes, LayoutOf(game).textBytes + 2) << GameName(game);
  }
}

TEST(RecordLayout, FieldsTileTheRecordTextWithoutGapsOrOverlaps) {
  for (Game game : kAllGames) {
    const RecordLayout& layout = LayoutOf(game);
    EXPECT_EQ(layout.game, game);
    int next = 1;
    for (const FieldSpec& field : layout.fields) {
      EXPECT_EQ(field.position, next) << GameName(game);
      next = field.position + field.width;
    }
    EXPECT_EQ(next, layout.textBytes + 1) << GameName(game);
  }
}

TEST(RecordLayout, EachGameHasItsOwnDataFileAndTwin) {
  EXPECT_EQ(LayoutOf(Game::Loto6).dataFile, "dat_lot6.tan");
  EXPECT_EQ(LayoutOf(Game::Loto6).tempFile, "tmp_lot6.tan");
  EXPECT_EQ(LayoutOf(Game::MiniLoto).dataFile, "dat_mini.tan");
  EXPECT_EQ(LayoutOf(Game::MiniLoto).tempFile, "tmp_mini.tan");
  EXPECT_EQ(LayoutOf(Game::Numbers4).dataFile, "dat_num4.tan");
  EXPECT_EQ(LayoutOf(Game::Numbers4).tempFile, "tmp_num4.tan");
  EXPECT_EQ(LayoutOf(Game::Numbers3).dataFile, "dat_num3.tan");
  EXPECT_EQ(LayoutOf(Game::Numbers3).tempFile, "tmp_num3.tan");
}

// Sample records whose neighbouring fields differ, so a field read one byte
// off or with the wrong width gives a different number.
TEST(ParseRecordText, ReadsEveryLoto6Field) {
  const std::string text = "1234" "01" "12" "23" "34" "40" "43" "09" "0600000000" "012345678" "00345678" "009100"
                           "01000";
  EXPECT_EQ(ParseRecordText(Game::Loto6, text),
            (DrawRow{1234, 1, 12, 23, 34, 40, 43, 9, 600000000, 12345678, 345678, 9100, 1000}));
}

TEST(ParseRecordText, ReadsEveryMiniLotoField) {
  const std::string text = "1234" "01" "05" "10" "15" "31" "22" "10000000" "0123456" "12345" "1000";
  EXPECT_EQ(ParseRecordText(Game::MiniLoto, text),
            (DrawRow{1234, 1, 5, 10, 15, 31, 22, 10000000, 123456, 12345, 1000}));
}

TEST(ParseRecordText, ReadsEveryNumbers4Field) {
  const std::string text = "6000" "1" "2" "3" "4" "1234567" "123456" "7654321" "654321";
  EXPECT_EQ(ParseRecordText(Game::Numbers4, text),
            (DrawRow{6000, 1, 2, 3, 4, 1234567, 123456, 7654321, 654321}));
}

TEST(ParseRecordText, ReadsEveryNumbers3Field) {
  const std::string text = "6001" "9" "8" "7" "123456" "234567" "345678" "45678" "56789";
  EXPECT_EQ(ParseRecordText(Game::Numbers3, text),
            (DrawRow{6001, 9, 8, 7, 123456, 234567, 345678, 45678, 56789}));
}

TEST(ParseRecordText, IgnoresTheLineEndAndAnythingBeyondTheText) {
  EXPECT_EQ(ParseRecordText(Game::Numbers3, "0001" "123" "000001" "000002" "000003" "00004" "00005" "\r\n9999"),
            (DrawRow{1, 1, 2, 3, 1, 2, 3, 4, 5}));
}

TEST(ParseRecordText, FieldsThatAreNotWhollyPresentOrNotDigitsReadAsZero) {
  EXPECT_EQ(ParseRecordText(Game::Numbers4, "0007123"), (DrawRow{7, 1, 2, 3, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ParseRecordText(Game::Numbers4, "00a71234 234567123456 234567123456"),
            (DrawRow{0, 1, 2, 3, 4, 0, 123456, 0, 123456}));
  EXPECT_EQ(ParseRecordText(Game::Numbers4, ""), DrawRow(9, 0));
}

TEST(ParseRecordText, AZeroByteEndsTheText) {
  const std::string text("0042" "1234" "0000100" "000200" "00\0" "0300" "000400", 34);
  EXPECT_EQ(ParseRecordText(Game::Numbers4, text), (DrawRow{42, 1, 2, 3, 4, 100, 200, 0, 0}));
}

}  // namespace
}  // namespace norv
