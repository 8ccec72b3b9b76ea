#include "companions/companion_lines.h"

#include <gtest/gtest.h>

#include "store/draw_record.h"

namespace norv {
namespace {

DrawRow Numbers4Row(int draw, int a, int b, int c, int d) { return {draw, a, b, c, d, 900000, 37500, 487500, 37500}; }
DrawRow Numbers3Row(int draw, int a, int b, int c) { return {draw, a, b, c, 90000, 15000, 52500, 7500, 9000}; }

TEST(CompanionLines, Numbers4LineOfDrawFiveIsThirtyNineBytes) {
  const std::string line = CompanionLine(Game::Numbers4, {5, 0, 1, 2, 3, 1000000, 50000, 1000000, 50000});
  EXPECT_EQ(line, "0005" " " "0123" "1000000" "050000" "1000000" "050000" "  \r\n");
  EXPECT_EQ(line.size(), 39u);
}

TEST(CompanionLines, Numbers3LineCarriesFivePrizesAndNoBlanks) {
  const std::string line = CompanionLine(Game::Numbers3, {12, 1, 1, 2, 123456, 23456, 34567, 4567, 5678});
  EXPECT_EQ(line, "0012" "*" "112" "123456" "023456" "034567" "04567" "05678" "\r\n");
  EXPECT_EQ(line.size(), 38u);
}

TEST(CompanionLines, LotoLinesAreTheRecordFollowedByBlanks) {
  const std::string loto6Text = "0001" "01" "02" "03" "04" "05" "06" "07" "0200000000" "008900000" "00680000" "022000" "01000";
  ASSERT_EQ(loto6Text.size(), 56u);
  EXPECT_EQ(CompanionLine(Game::Loto6, ParseRecordText(Game::Loto6, loto6Text)), loto6Text + "  \r\n");

  const std::string miniText = "0123" "03" "09" "11" "17" "25" "21" "10000000" "0900000" "12300" "1000";
  ASSERT_EQ(miniText.size(), 40u);
  EXPECT_EQ(CompanionLine(Game::MiniLoto, ParseRecordText(Game::MiniLoto, miniText)), miniText + "        \r\n");
}

TEST(CompanionLines, ClassMarkTellsHowTheDigitsRepeat) {
  EXPECT_EQ(ClassMark(Game::Numbers4, Numbers4Row(1, 1, 1, 2, 2)), '$');
  EXPECT_EQ(ClassMark(Game::Numbers4, Numbers4Row(1, 1, 1, 2, 3)), '*');
  EXPECT_EQ(ClassMark(Game::Numbers4, Numbers4Row(1, 1, 2, 3, 4)), ' ');
  EXPECT_EQ(ClassMark(Game::Numbers4, Numbers4Row(1, 7, 7, 7, 7)), '$');
  EXPECT_EQ(ClassMark(Game::Numbers4, Numbers4Row(1, 3, 1, 3, 3)), '$');
  EXPECT_EQ(ClassMark(Game::Numbers3, Numbers3Row(1, 1, 1, 2)), '*');
  EXPECT_EQ(ClassMark(Game::Numbers3, Numbers3Row(1, 7, 7, 7)), '$');
  EXPECT_EQ(ClassMark(Game::Numbers3, Numbers3Row(1, 0, 9, 5)), ' ');
}

TEST(CompanionLines, OversizedNumbersKeepTheirLastDigits) {
  const std::string line = CompanionLine(Game::Numbers4, {12345, 1, 2, 3, 4, 12345678, 50000, 1000000, 50000});
  EXPECT_EQ(line.substr(0, 16), "2345 12342345678");
  EXPECT_EQ(line.size(), 39u);
}

TEST(CompanionLines, FileListsTheOldestDrawFirst) {
  DrawTable table;
  table.rows = {Numbers3Row(3, 1, 2, 3), Numbers3Row(2, 4, 4, 4), Numbers3Row(1, 5, 5, 6)};
  const std::string content = CompanionFileContent(Game::Numbers3, table);
  ASSERT_EQ(content.size(), 3u * 38u);
  EXPECT_EQ(content.substr(0, 5), "0001*");
  EXPECT_EQ(content.substr(38, 5), "0002$");
  EXPECT_EQ(content.substr(76, 5), "0003 ");
  EXPECT_EQ(CompanionFileContent(Game::Numbers3, DrawTable{}), "");
}

}  // namespace
}  // namespace norv
