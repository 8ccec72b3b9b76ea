#include "acquisition/result_page_parser.h"

#include <gtest/gtest.h>

#include "bank_pages.h"
#include "store/draw_record.h"

namespace norv {
namespace {

using testing::DrawOnPage;
using testing::Replaced;
using testing::ResultPageHtml;
using testing::SampleDraw;
using testing::SampleRecordTail;
using testing::Without;

PageReading Read(const DrawOnPage& draw, int drawNumber) {
  return ReadResultText(draw.game, ResultPageHtml(draw), drawNumber);
}

struct GameParam {
  Game game;
};

void PrintTo(const GameParam& param, std::ostream* os) {
  *os << GameName(param.game);
}

class EveryGame : public ::testing::TestWithParam<GameParam> {
 protected:
  Game GameUnderTest() const { return GetParam().game; }
};

TEST_P(EveryGame, PublishedDrawGivesAWholeRecordOfDigits) {
  const Game game = GameUnderTest();
  const PageReading reading = Read(SampleDraw(game, 541), 541);
  EXPECT_EQ(reading.failureOffset, 0);
  EXPECT_EQ(reading.record, "0541" + SampleRecordTail(game));
  EXPECT_EQ(reading.record.size(), static_cast<std::size_t>(LayoutOf(game).textBytes));
}

TEST_P(EveryGame, DrawNotYetPublishedGivesNothingAndNoFailure) {
  const PageReading reading = Read(SampleDraw(GameUnderTest(), 540), 541);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 0);
}

TEST_P(EveryGame, PageWithoutTheNumbersHeaderGivesNothingAndNoFailure) {
  const Game game = GameUnderTest();
  std::string page = ResultPageHtml(SampleDraw(game, 541));
  for (std::string_view header : {"本数字", "ボーナス数字", "抽せん数字"}) {
    page = Without(page, header);
  }
  const PageReading reading = ReadResultText(game, page, 541);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 0);
}

TEST_P(EveryGame, PageWithoutTheResultsHeadingFailsWith7) {
  const Game game = GameUnderTest();
  EXPECT_EQ(ReadResultText(game, Without(ResultPageHtml(SampleDraw(game, 541)), "回別"), 541).failureOffset, 7);
}

TEST_P(EveryGame, PageThatRunsOutOfNumberCellsFailsWith8) {
  DrawOnPage draw = SampleDraw(GameUnderTest(), 541);
  draw.numberCells.pop_back();
  draw.bonusCell.reset();
  draw.prizes.clear();
  EXPECT_EQ(Read(draw, 541).failureOffset, 8);
}

TEST_P(EveryGame, LaterDrawOnThePageIsNotTakenForTheNextOne) {
  const Game game = GameUnderTest();
  DrawOnPage newer = SampleDraw(game, 542);
  newer.numberCells.assign(newer.numberCells.size(), std::string(newer.numberCells[0].size(), '9'));
  const std::string page = ResultPageHtml(std::vector<DrawOnPage>{newer, SampleDraw(game, 541)});
  EXPECT_EQ(ReadResultText(game, page, 541).record, "0541" + SampleRecordTail(game));
}

// The bank fills a new draw's table in steps; until then the older draw's
// table stands right below it on the same page.
std::string NewDrawAboveAnOlderOne(const DrawOnPage& unfinished) {
  return ResultPageHtml(std::vector<DrawOnPage>{unfinished, SampleDraw(unfinished.game, unfinished.draw - 1)});
}

TEST_P(EveryGame, AnEmptyNumberCellFailsWith8AndTakesNothingFromTheOlderDraw) {
  DrawOnPage unfinished = SampleDraw(GameUnderTest(), 542);
  unfinished.numberCells[0] = "";
  const PageReading reading = ReadResultText(GameUnderTest(), NewDrawAboveAnOlderOne(unfinished), 542);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 8);
}

TEST_P(EveryGame, ATitleWithoutItsTableYetTakesNothingFromTheOlderDraw) {
  DrawOnPage unfinished = SampleDraw(GameUnderTest(), 542);
  unfinished.numberCells.clear();
  unfinished.bonusCell.reset();
  unfinished.prizes.clear();
  const std::string page = NewDrawAboveAnOlderOne(unfinished);
  EXPECT_EQ(ReadResultText(GameUnderTest(), page, 542).record, "");

  // The older draw keeps its header; only the new one has none yet.
  const std::size_t olderAt = page.find("第541回");
  std::string titleOnly = page.substr(0, olderAt);
  for (std::string_view header : {"本数字", "ボーナス数字", "抽せん数字"}) {
    titleOnly = Without(titleOnly, header);
  }
  titleOnly += page.substr(olderAt);
  const PageReading reading = ReadResultText(GameUnderTest(), titleOnly, 542);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 0) << "no header under the title yet: not published";
}

TEST_P(EveryGame, PrizesNotYetShownAreNotTakenFromTheOlderDraw) {
  DrawOnPage unfinished = SampleDraw(GameUnderTest(), 542);
  unfinished.prizes.clear();
  const PageReading reading = ReadResultText(GameUnderTest(), NewDrawAboveAnOlderOne(unfinished), 542);
  EXPECT_EQ(reading.record, "");
  const bool loto = GameUnderTest() == Game::Loto6 || GameUnderTest() == Game::MiniLoto;
  EXPECT_EQ(reading.failureOffset, loto ? 10 : 9);
}

INSTANTIATE_TEST_SUITE_P(Games, EveryGame,
                         ::testing::Values(GameParam{Game::Loto6}, GameParam{Game::MiniLoto},
                                           GameParam{Game::Numbers4}, GameParam{Game::Numbers3}),
                         [](const auto& info) { return std::string(GameName(info.param.game)); });

TEST(Loto6Page, NoWinnerReadsZeroAndAmountsArePaddedToTheirWidth) {
  const std::string record = Read(SampleDraw(Game::Loto6, 541), 541).record;
  EXPECT_EQ(record.substr(18, 10), "0000000000") << "１等 該当なし";
  EXPECT_EQ(record.substr(51, 5), "01000") << "５等 1,000円";
}

TEST(Loto6Page, AmountBeyond32BitsIsStillRead) {
  DrawOnPage draw = SampleDraw(Game::Loto6, 541);
  draw.prizes[0].second = "4,000,000,000円";
  EXPECT_EQ(Read(draw, 541).record.substr(18, 10), "4000000000");
}

TEST(Loto6Page, ShortNumbersArePaddedAndCellsThatAreNotNumbersArePassedOver) {
  DrawOnPage draw = SampleDraw(Game::Loto6, 541);
  draw.numberCells = {"抽せん", "-5", "5", "12", "18", "+2", "27", "33", "041", "41"};
  const PageReading reading = Read(draw, 541);
  EXPECT_EQ(reading.record.substr(4, 12), "051218273341");
  EXPECT_EQ(reading.record.size(), 56u);
}

TEST(Loto6Page, AnEmptyBonusCellFailsWith9) {
  DrawOnPage unfinished = SampleDraw(Game::Loto6, 542);
  unfinished.bonusCell = "";
  const PageReading reading = ReadResultText(Game::Loto6, NewDrawAboveAnOlderOne(unfinished), 542);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 9);
}

TEST(Loto6Page, TheBonusInARowOfItsOwnIsRead) {
  DrawOnPage draw = SampleDraw(Game::Loto6, 541);
  draw.bonusInOwnRow = true;
  EXPECT_EQ(Read(draw, 541).record, "0541" + SampleRecordTail(Game::Loto6));
}

TEST(Loto6Page, MissingBonusCellFailsWith9) {
  DrawOnPage draw = SampleDraw(Game::Loto6, 541);
  draw.bonusCell.reset();
  draw.prizes.clear();
  EXPECT_EQ(Read(draw, 541).failureOffset, 9);
}

TEST(Loto6Page, UnreadablePrizeClassFailsWith10) {
  const std::string page = ResultPageHtml(SampleDraw(Game::Loto6, 541));
  const std::vector<std::string> broken{
      Without(page, "３等"),                                  // section missing
      Without(page, "販売実績額"),                            // last section never closes
      Replaced(page, "456,700円", "456,700"),                 // no yen sign
      Replaced(page, "456,700円", "約45万円"),                // not a number
      Replaced(page, "<strong>456,700円</strong>", "456,700円"),  // amount outside a cell
  };
  for (const std::string& p : broken) {
    EXPECT_EQ(ReadResultText(Game::Loto6, p, 541).failureOffset, 10);
  }
}

TEST(MiniLotoPage, MissingBonusAndUnreadablePrizeUseTheirOwnOffsets) {
  DrawOnPage noBonus = SampleDraw(Game::MiniLoto, 600);
  noBonus.bonusCell.reset();
  noBonus.prizes.clear();
  EXPECT_EQ(Read(noBonus, 600).failureOffset, 9);

  DrawOnPage noYen = SampleDraw(Game::MiniLoto, 600);
  noYen.prizes[3].second = "千";
  EXPECT_EQ(Read(noYen, 600).failureOffset, 10);
}

// Its reader starts after "ボーナス数字", which this layout puts after the
// main numbers: what follows holds no five number cells of this draw.
TEST(MiniLotoPage, LaidOutAsTheLoto6PageTheOlderDrawIsNeverTakenForTheNewOne) {
  DrawOnPage newer = SampleDraw(Game::MiniLoto, 1353);
  DrawOnPage older = SampleDraw(Game::MiniLoto, 1352);
  older.numberCells = {"01", "02", "03", "04", "05"};
  newer.bonusInOwnRow = older.bonusInOwnRow = true;
  const PageReading reading =
      ReadResultText(Game::MiniLoto, ResultPageHtml(std::vector<DrawOnPage>{newer, older}), 1353);
  EXPECT_EQ(reading.record, "");
  EXPECT_EQ(reading.failureOffset, 8);
}

TEST(NumbersPage, WinningNumberKeepsItsLeadingZeros) {
  EXPECT_EQ(Read(SampleDraw(Game::Numbers4, 2800), 2800).record.substr(4, 4), "0123");
  EXPECT_EQ(Read(SampleDraw(Game::Numbers3, 2800), 2800).record.substr(4, 3), "079");
}

TEST(NumbersPage, OnlyACellOfExactlyTheGameWidthIsTheWinningNumber) {
  DrawOnPage draw = SampleDraw(Game::Numbers4, 2800);
  draw.numberCells = {"123", "01234", "-123", "0123"};
  EXPECT_EQ(Read(draw, 2800).record.substr(4, 4), "0123");
}

TEST(NumbersPage, StraightWithoutWinnerIsUnreadableButOtherClassesReadZero) {
  for (Game game : {Game::Numbers4, Game::Numbers3}) {
    DrawOnPage draw = SampleDraw(game, 2800);
    draw.prizes[0].second = "該当なし";
    EXPECT_EQ(Read(draw, 2800).failureOffset, 9) << GameName(game);

    draw = SampleDraw(game, 2800);
    draw.prizes[1].second = "該当なし";
    const PageReading reading = Read(draw, 2800);
    EXPECT_EQ(reading.failureOffset, 0);
    EXPECT_EQ(reading.record.substr(game == Game::Numbers4 ? 15 : 13, 6), "000000") << GameName(game);
  }
}

TEST(NumbersPage, StraightWithAnAmountIsReadEvenBesideNoWinnerText) {
  DrawOnPage draw = SampleDraw(Game::Numbers4, 2800);
  draw.prizes[0].second = "1,037,900円";
  std::string page = Replaced(ResultPageHtml(draw), "12口", "該当なし");
  EXPECT_EQ(ReadResultText(Game::Numbers4, page, 2800).record.substr(8, 7), "1037900");
}

// "ストレート" also stands inside "セット（ストレート）": a page still
// without the straight row must not give the set straight's amount for it.
TEST(NumbersPage, AClassWhoseRowIsMissingIsNotFoundInsideALongerLabel) {
  for (Game game : {Game::Numbers4, Game::Numbers3}) {
    DrawOnPage draw = SampleDraw(game, 2800);
    draw.prizes.erase(draw.prizes.begin());
    const PageReading reading = Read(draw, 2800);
    EXPECT_EQ(reading.record, "") << GameName(game);
    EXPECT_EQ(reading.failureOffset, 9) << GameName(game);
  }
}

TEST(NumbersPage, MissingMiniClassOfNumbers3FailsWith9) {
  const std::string page = Without(ResultPageHtml(SampleDraw(Game::Numbers3, 2800)), "ミニ");
  EXPECT_EQ(ReadResultText(Game::Numbers3, page, 2800).failureOffset, 9);
}

}  // namespace
}  // namespace norv
