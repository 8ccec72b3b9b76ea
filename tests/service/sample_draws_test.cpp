#include "tests/test_service/sample_draws.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace norv::service {
namespace {

TEST(SampleDraws, TheSameSeedGivesTheSameDraws) {
  for (Game game : kAllGames) {
    EXPECT_EQ(MakeSampleDraw(game, 77, "2020-01-06", 5), MakeSampleDraw(game, 77, "2020-01-06", 5));
    EXPECT_NE(RecordText(MakeSampleDraw(game, 77, "2020-01-06", 5)), RecordText(MakeSampleDraw(game, 77, "2020-01-06", 6)));
  }
  EXPECT_NE(RecordText(MakeSampleDraw(Game::Loto6, 77, "")), RecordText(MakeSampleDraw(Game::Loto6, 78, "")));
}

TEST(SampleDraws, EveryDrawCanBeStoredAndPublished) {
  for (Game game : kAllGames) {
    for (int number = 1; number <= 3000; ++number) {
      const Draw draw = MakeSampleDraw(game, number, "2030-01-01");
      ASSERT_EQ(DrawProblem(draw), std::nullopt) << GameName(game) << " " << number;
      ASSERT_TRUE(std::is_sorted(draw.balls.begin(), draw.balls.end()));
    }
  }
}

TEST(SampleDraws, SomeTopPrizesGoUnwonButTheStraightAlwaysHasAWinner) {
  int unwon = 0;
  for (int number = 1; number <= 200; ++number) unwon += MakeSampleDraw(Game::Loto6, number, "").prizes[0] == 0;
  EXPECT_GT(unwon, 20);
  EXPECT_LT(unwon, 120);
  for (int number = 1; number <= 500; ++number) {
    EXPECT_GT(MakeSampleDraw(Game::Numbers3, number, "").prizes[0], 0);
    EXPECT_GT(MakeSampleDraw(Game::Numbers4, number, "").prizes[0], 0);
  }
}

TEST(SampleDraws, ANumbersDrawOfOneRepeatedDigitHasNoBoxOrSetPrize) {
  int number = 1;
  Draw draw = MakeSampleDraw(Game::Numbers3, number, "");
  while (std::count(draw.digits.begin(), draw.digits.end(), draw.digits[0]) != 3) {
    draw = MakeSampleDraw(Game::Numbers3, ++number, "");
  }
  EXPECT_GT(draw.prizes[0], 0);
  EXPECT_EQ(draw.prizes[1] + draw.prizes[2] + draw.prizes[3], 0);
  EXPECT_GT(draw.prizes[4], 0);
}

}  // namespace
}  // namespace norv::service
