#include "tools/drawservice/sample_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace norv::drawservice {
namespace {

TEST(SampleData, TheSameSeedGivesTheSameDraws) {
  for (Game game : kAllGames) {
    EXPECT_EQ(RecordText(MakeDraw(game, 77, 5)), RecordText(MakeDraw(game, 77, 5)));
    EXPECT_NE(RecordText(MakeDraw(game, 77, 5)), RecordText(MakeDraw(game, 77, 6)));
  }
  EXPECT_NE(RecordText(MakeDraw(Game::Loto6, 77)), RecordText(MakeDraw(Game::Loto6, 78)));
}

TEST(SampleData, LotoNumbersAreDistinctAscendingAndInRange) {
  for (const auto& [game, count, highest] : {std::tuple{Game::Loto6, 6, 43}, std::tuple{Game::MiniLoto, 5, 31}}) {
    for (int number = 1; number <= DefaultPublishedCount(game); ++number) {
      const SampleDraw draw = MakeDraw(game, number);
      ASSERT_EQ(static_cast<int>(draw.numbers.size()), count);
      EXPECT_TRUE(std::is_sorted(draw.numbers.begin(), draw.numbers.end()));
      EXPECT_EQ(std::set<int>(draw.numbers.begin(), draw.numbers.end()).size(), draw.numbers.size());
      EXPECT_GE(draw.numbers.front(), 1);
      EXPECT_LE(draw.numbers.back(), highest);
      EXPECT_GE(draw.bonus, 1);
      EXPECT_LE(draw.bonus, highest);
      EXPECT_EQ(std::count(draw.numbers.begin(), draw.numbers.end(), draw.bonus), 0);
    }
  }
}

TEST(SampleData, RecordsHaveTheirGamesLengthAndHoldOnlyDigits) {
  for (Game game : kAllGames) {
    for (int number : {1, 9, 10, 999, DefaultPublishedCount(game), kMaxDrawNumber}) {
      const std::string record = RecordText(MakeDraw(game, number));
      EXPECT_EQ(static_cast<int>(record.size()), RecordTextLength(game)) << GameName(game) << ' ' << number;
      EXPECT_TRUE(std::all_of(record.begin(), record.end(), [](char c) { return c >= '0' && c <= '9'; })) << record;
      EXPECT_EQ(std::stoi(record.substr(0, 4)), number);
    }
  }
}

TEST(SampleData, EveryPrizeFitsItsFieldAndTheStraightAlwaysHasAWinner) {
  for (Game game : kAllGames) {
    const std::vector<PrizeClass>& classes = PrizeClassesOf(game);
    for (int number = 1; number <= DefaultPublishedCount(game); ++number) {
      const SampleDraw draw = MakeDraw(game, number);
      ASSERT_EQ(draw.prizes.size(), classes.size());
      for (std::size_t i = 0; i < classes.size(); ++i) {
        EXPECT_LT(std::to_string(draw.prizes[i]).size(), static_cast<std::size_t>(classes[i].width) + 1);
        EXPECT_TRUE(classes[i].mayBeUnwon || draw.prizes[i] > 0) << GameName(game) << ' ' << number;
        EXPECT_EQ(draw.prizes[i] == 0, draw.winners[i] == 0);
      }
    }
  }
}

TEST(SampleData, SomeTopPrizesGoUnwon) {
  int unwon = 0;
  for (int number = 1; number <= 200; ++number) {
    unwon += MakeDraw(Game::Loto6, number).prizes[0] == 0 ? 1 : 0;
  }
  EXPECT_GT(unwon, 20);
  EXPECT_LT(unwon, 120);
}

TEST(SampleData, ANumbersDrawOfOneRepeatedDigitHasNoBoxOrSetPrize) {
  int number = 1;
  SampleDraw draw = MakeDraw(Game::Numbers3, number);
  while (!(draw.numbers[0] == draw.numbers[1] && draw.numbers[1] == draw.numbers[2])) {
    draw = MakeDraw(Game::Numbers3, ++number);
  }
  EXPECT_GT(draw.prizes[0], 0);
  EXPECT_EQ(draw.prizes[1], 0);
  EXPECT_EQ(draw.prizes[2], 0);
  EXPECT_EQ(draw.prizes[3], 0);
  EXPECT_GT(draw.prizes[4], 0);
}

TEST(SampleData, NumbersDigitsKeepLeadingZeros) {
  SampleDraw draw = MakeDraw(Game::Numbers4, 1);
  draw.numbers = {0, 1, 2, 3};
  EXPECT_EQ(WinningDigits(draw), "0123");
  EXPECT_EQ(RecordText(draw).substr(4, 4), "0123");
}

TEST(HistoryText, HoldsCountRecordsEachEndedByCrLf) {
  for (Game game : kAllGames) {
    const std::string text = HistoryText(game, 25);
    const std::size_t length = static_cast<std::size_t>(RecordTextLength(game));
    ASSERT_EQ(text.size(), 25 * (length + 2));
    for (int i = 0; i < 25; ++i) {
      const std::size_t at = static_cast<std::size_t>(i) * (length + 2);
      EXPECT_EQ(text.substr(at, length), RecordText(MakeDraw(game, i + 1)));
      EXPECT_EQ(text.substr(at + length, 2), "\r\n");
    }
  }
  EXPECT_EQ(HistoryText(Game::Loto6, 0), "");
}

}  // namespace
}  // namespace norv::drawservice
