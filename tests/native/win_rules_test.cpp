#include "store/win_rules.h"

#include <gtest/gtest.h>

#include "seed_rows.h"
#include "store/my_wins.h"

namespace norv {
namespace {

using testing::SeedDraw;

MyLine Line(Game game, std::string numbers, std::string way = "", std::string first = "", std::string last = "") {
  const LineReading reading = ReadLine({std::string(GameName(game)), numbers, way, first, last, ""});
  const MyLine* line = std::get_if<MyLine>(&reading);
  EXPECT_NE(line, nullptr) << numbers << " " << way;
  return line ? *line : MyLine{};
}

// "2等 26889600", or "-" for no win.
std::string Result(const MyLine& line, const DrawRow& row) {
  const std::optional<WinMatch> match = MatchLine(line, row);
  return match ? WinClassText(match->winClass) + " " + PrizeText(match->prize) : "-";
}

// Synthetic draws: LOTO6 1 2 3 4 5 6 bonus 7, MiniLOTO 1 2 3 4 5 bonus 6, each
// class paid its own amount so a wrong column shows.
const DrawRow kLoto6{10, 1, 2, 3, 4, 5, 6, 7, 100001, 20002, 3003, 404, 55};
const DrawRow kMiniLoto{10, 1, 2, 3, 4, 5, 6, 10001, 2002, 303, 44};

TEST(Loto6Rules, EachClassAndTheBonusOnlyForTheSecond) {
  EXPECT_EQ(Result(Line(Game::Loto6, "6 5 4 3 2 1"), kLoto6), "1等 100001");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 4 5 7"), kLoto6), "2等 20002");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 4 5 43"), kLoto6), "3等 3003");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 4 42 43"), kLoto6), "4等 404");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 4 7 43"), kLoto6), "4等 404");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 41 42 43"), kLoto6), "5等 55");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 7 42 43"), kLoto6), "5等 55");
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 7 41 42 43"), kLoto6), "-");
}

TEST(MiniLotoRules, EachClassAndTheBonusOnlyForTheSecond) {
  EXPECT_EQ(Result(Line(Game::MiniLoto, "5 4 3 2 1"), kMiniLoto), "1等 10001");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "1 2 3 4 6"), kMiniLoto), "2等 2002");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "1 2 3 4 31"), kMiniLoto), "3等 303");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "1 2 3 30 31"), kMiniLoto), "4等 44");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "1 2 3 6 31"), kMiniLoto), "4等 44");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "1 2 6 30 31"), kMiniLoto), "-");
}

DrawRow Numbers4Draw(std::string digits) {
  DrawRow row{20};
  for (char digit : digits) row.push_back(digit - '0');
  row.insert(row.end(), {9000, 800, 4500, 400});
  return row;
}

DrawRow Numbers3Draw(std::string digits) {
  DrawRow row{20};
  for (char digit : digits) row.push_back(digit - '0');
  row.insert(row.end(), {9000, 800, 4500, 400, 90});
  return row;
}

TEST(NumbersRules, StraightWinsOnlyInOrder) {
  EXPECT_EQ(Result(Line(Game::Numbers4, "0123", "ストレート"), Numbers4Draw("0123")), "ストレート 9000");
  EXPECT_EQ(Result(Line(Game::Numbers4, "0132", "ストレート"), Numbers4Draw("0123")), "-");
  EXPECT_EQ(Result(Line(Game::Numbers4, "7777", "ストレート"), Numbers4Draw("7777")), "ストレート 9000");
  EXPECT_EQ(Result(Line(Game::Numbers3, "007", "ストレート"), Numbers3Draw("007")), "ストレート 9000");
}

TEST(NumbersRules, BoxWinsInAnyOrderForEachPatternOfRepeatedDigits) {
  struct Case {
    const char* pattern;
    const char* drawn;
    const char* wins;   // the same digits in another order
    const char* loses;  // the same digits, another count of each
  };
  for (const Case& c : {Case{"ABCD", "1234", "4312", "1123"}, Case{"AABC", "1123", "3121", "1233"},
                        Case{"AABB", "1122", "2211", "1112"}, Case{"AAAB", "1112", "2111", "1122"}}) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Result(Line(Game::Numbers4, c.drawn, "ボックス"), Numbers4Draw(c.drawn)), "ボックス 800");
    EXPECT_EQ(Result(Line(Game::Numbers4, c.wins, "ボックス"), Numbers4Draw(c.drawn)), "ボックス 800");
    EXPECT_EQ(Result(Line(Game::Numbers4, c.loses, "ボックス"), Numbers4Draw(c.drawn)), "-");
  }
  for (const Case& c : {Case{"ABC", "123", "312", "113"}, Case{"AAB", "112", "211", "122"}}) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Result(Line(Game::Numbers3, c.wins, "ボックス"), Numbers3Draw(c.drawn)), "ボックス 800");
    EXPECT_EQ(Result(Line(Game::Numbers3, c.loses, "ボックス"), Numbers3Draw(c.drawn)), "-");
  }
}

TEST(NumbersRules, SetWinsItsStraightInOrderAndItsBoxOtherwise) {
  EXPECT_EQ(Result(Line(Game::Numbers4, "1123", "セット"), Numbers4Draw("1123")), "セット（ストレート） 4500");
  EXPECT_EQ(Result(Line(Game::Numbers4, "3211", "セット"), Numbers4Draw("1123")), "セット（ボックス） 400");
  EXPECT_EQ(Result(Line(Game::Numbers3, "123", "セット"), Numbers3Draw("123")), "セット（ストレート） 4500");
  EXPECT_EQ(Result(Line(Game::Numbers3, "231", "セット"), Numbers3Draw("123")), "セット（ボックス） 400");
  EXPECT_EQ(Result(Line(Game::Numbers3, "124", "セット"), Numbers3Draw("123")), "-");
}

TEST(NumbersRules, MiniWinsOnTheLastTwoDigitsInOrder) {
  EXPECT_EQ(Result(Line(Game::Numbers3, "23", "ミニ"), Numbers3Draw("123")), "ミニ 90");
  EXPECT_EQ(Result(Line(Game::Numbers3, "23", "ミニ"), Numbers3Draw("923")), "ミニ 90");
  EXPECT_EQ(Result(Line(Game::Numbers3, "32", "ミニ"), Numbers3Draw("123")), "-");
  EXPECT_EQ(Result(Line(Game::Numbers3, "12", "ミニ"), Numbers3Draw("123")), "-");
}

TEST(DrawBounds, ALinePlaysFromItsFirstToItsLastDrawOnly) {
  const std::string numbers = "1 2 3 4 5 6";
  EXPECT_EQ(Result(Line(Game::Loto6, numbers, "", "10"), kLoto6), "1等 100001");
  EXPECT_EQ(Result(Line(Game::Loto6, numbers, "", "11"), kLoto6), "-");
  EXPECT_EQ(Result(Line(Game::Loto6, numbers, "", "1", "10"), kLoto6), "1等 100001");
  EXPECT_EQ(Result(Line(Game::Loto6, numbers, "", "1", "9"), kLoto6), "-");
  EXPECT_EQ(Result(Line(Game::Loto6, numbers, "", "10", "10"), kLoto6), "1等 100001");
  EXPECT_EQ(Result(Line(Game::Loto6, numbers), kLoto6), "1等 100001");
}

TEST(WinPrize, AClassNobodyWasPaidForReadsAsNoWinner) {
  DrawRow row = kLoto6;
  row[8] = 0;
  EXPECT_EQ(Result(Line(Game::Loto6, "1 2 3 4 5 6"), row), "1等 該当なし");
}

// The real draws, read from the bundled history: LOTO6 2085 drew 6 8 13 26 35
// 43, bonus 14, paying 600000000, 26889600, 315600, 7000 and 1000.
TEST(RealDraws, Loto6Draw2085) {
  const DrawRow row = SeedDraw(Game::Loto6, 2085);
  EXPECT_EQ(Result(Line(Game::Loto6, "43 35 26 13 8 6"), row), "1等 600000000");
  EXPECT_EQ(Result(Line(Game::Loto6, "6 8 13 26 35 14"), row), "2等 26889600");
  EXPECT_EQ(Result(Line(Game::Loto6, "6 8 13 26 35 1"), row), "3等 315600");
  EXPECT_EQ(Result(Line(Game::Loto6, "6 8 13 26 14 1"), row), "4等 7000");
  EXPECT_EQ(Result(Line(Game::Loto6, "6 8 13 1 2 14"), row), "5等 1000");
  EXPECT_EQ(Result(Line(Game::Loto6, "6 8 1 2 3 14"), row), "-");
}

// LOTO6 2084 (8 17 18 19 30 39) had no first-class winner.
TEST(RealDraws, Loto6Draw2084HadNoFirstClassWinner) {
  EXPECT_EQ(Result(Line(Game::Loto6, "8 17 18 19 30 39"), SeedDraw(Game::Loto6, 2084)), "1等 該当なし");
}

// MiniLOTO 1353: 6 11 13 14 18, bonus 5; 9947500, 159900, 12200, 1000.
TEST(RealDraws, MiniLotoDraw1353) {
  const DrawRow row = SeedDraw(Game::MiniLoto, 1353);
  EXPECT_EQ(Result(Line(Game::MiniLoto, "6 11 13 14 18"), row), "1等 9947500");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "6 11 13 14 5"), row), "2等 159900");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "6 11 13 14 1"), row), "3等 12200");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "6 11 13 5 1"), row), "4等 1000");
  EXPECT_EQ(Result(Line(Game::MiniLoto, "6 11 5 1 2"), row), "-");
}

// Numbers4 7054 drew 9577: 2128400, 177300, 1152800, 88600. Numbers4 1249
// drew 5555, with nothing but the straight paid.
TEST(RealDraws, Numbers4Draws7054And1249) {
  const DrawRow row = SeedDraw(Game::Numbers4, 7054);
  EXPECT_EQ(Result(Line(Game::Numbers4, "9577", "ストレート"), row), "ストレート 2128400");
  EXPECT_EQ(Result(Line(Game::Numbers4, "7957", "ストレート"), row), "-");
  EXPECT_EQ(Result(Line(Game::Numbers4, "7957", "ボックス"), row), "ボックス 177300");
  EXPECT_EQ(Result(Line(Game::Numbers4, "9577", "セット"), row), "セット（ストレート） 1152800");
  EXPECT_EQ(Result(Line(Game::Numbers4, "7597", "セット"), row), "セット（ボックス） 88600");
  EXPECT_EQ(Result(Line(Game::Numbers4, "5555", "ストレート"), SeedDraw(Game::Numbers4, 1249)), "ストレート 279700");
}

// Numbers3 7054 drew 286: 100100, 16600, 58300, 8300, mini 10000.
TEST(RealDraws, Numbers3Draw7054) {
  const DrawRow row = SeedDraw(Game::Numbers3, 7054);
  EXPECT_EQ(Result(Line(Game::Numbers3, "286", "ストレート"), row), "ストレート 100100");
  EXPECT_EQ(Result(Line(Game::Numbers3, "862", "ボックス"), row), "ボックス 16600");
  EXPECT_EQ(Result(Line(Game::Numbers3, "628", "セット"), row), "セット（ボックス） 8300");
  EXPECT_EQ(Result(Line(Game::Numbers3, "86", "ミニ"), row), "ミニ 10000");
  EXPECT_EQ(Result(Line(Game::Numbers3, "28", "ミニ"), row), "-");
}

TEST(FindWins, ListsEachGameNewestDrawFirstWithTheTotal) {
  const DrawTable loto6{testing::SeedRows(Game::Loto6)};
  const DrawTable numbers3{testing::SeedRows(Game::Numbers3)};
  const std::vector<MyLine> lines{Line(Game::Numbers3, "86", "ミニ", "7053"),
                                  Line(Game::Loto6, "6 8 13 26 35 43", "", "2084")};
  const std::vector<MyWin> wins = FindWins(lines, {&loto6, nullptr, nullptr, &numbers3});
  ASSERT_EQ(wins.size(), 2u);
  EXPECT_EQ(wins[0], (MyWin{Game::Loto6, 2085, "06 08 13 26 35 43", BuyWay::None, WinClass::First, 600000000}));
  EXPECT_EQ(wins[1], (MyWin{Game::Numbers3, 7054, "86", BuyWay::Mini, WinClass::Mini, 10000}));
  EXPECT_EQ(TotalPrize(wins), 600010000);
  EXPECT_EQ(MyWinsText(wins),
            "ゲーム,回,数字,買い方,等級,当せん金\r\n"
            "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"
            "Numbers3,7054,86,ミニ,ミニ,10000\r\n");
}

}  // namespace
}  // namespace norv
