// Freshness: each game's allowance from its own draw calendar, and the day in
// Japan that judges it.
#include <gtest/gtest.h>

#include <ctime>

#include "service/freshness.h"
#include "service/seed.h"

namespace norv::service {
namespace {

using namespace std::chrono;

// Days since 1970 by the C library, apart from the code under test.
long DayNumber(const std::string& iso) {
  std::tm parts{};
  parts.tm_year = std::stoi(iso.substr(0, 4)) - 1900;
  parts.tm_mon = std::stoi(iso.substr(5, 2)) - 1;
  parts.tm_mday = std::stoi(iso.substr(8, 2));
  return static_cast<long>(::timegm(&parts) / 86400);
}

Draw DrawOn(int number, std::string date) {
  Draw draw;
  draw.number = number;
  draw.date = std::move(date);
  return draw;
}

std::string Iso(sys_days day) {
  const year_month_day date(day);
  char text[11];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()));
  return text;
}

TEST(Freshness, TheAllowanceIsTheLongestGapOfTheLastFiveYearsOfTheRealHistoryPlusOneDay) {
  const Histories seed = BundledSeed();
  for (Game game : kAllGames) {
    const std::vector<Draw>& draws = seed[static_cast<std::size_t>(GameIndex(game))];
    SCOPED_TRACE(std::string(RulesOf(game).storeName));
    // A direct scan: ISO dates compare as text, so the window is the dates
    // from the newest one's, five years earlier, on.
    std::string start = draws.back().date;
    start.replace(0, 4, std::to_string(std::stoi(start.substr(0, 4)) - 5));
    long longest = 0;
    for (std::size_t i = 1; i < draws.size(); ++i) {
      if (draws[i].date >= start) longest = std::max(longest, DayNumber(draws[i].date) - DayNumber(draws[i - 1].date));
    }
    const std::optional<Allowance> allowance = AllowanceOf(draws);
    ASSERT_TRUE(allowance);
    EXPECT_EQ(allowance->longestGap, longest);
    EXPECT_EQ(allowance->days, longest + 1);
    EXPECT_EQ(DayNumber(allowance->gapTo) - DayNumber(allowance->gapFrom), longest);
    EXPECT_GE(allowance->gapFrom, start.substr(0, 4));
  }
  // The New Year break is the longest: LOTO6 draws on Mondays and Thursdays.
  const auto loto6 = AllowanceOf(seed[static_cast<std::size_t>(GameIndex(Game::Loto6))]);
  EXPECT_EQ(loto6->days, 8);
  EXPECT_EQ(loto6->gapFrom, "2025-12-29");
  EXPECT_EQ(loto6->gapTo, "2026-01-05");
}

TEST(Freshness, OnlyGapsEndingInTheFiveYearsUpToTheNewestDrawCount) {
  // Weekly draws up to 2026-03-16, with a long break five years back.
  const sys_days newest = 2026y / March / 16d;
  for (const auto& [breakEnd, counted] : {std::pair{sys_days(2021y / March / 16d), true},
                                          std::pair{sys_days(2021y / March / 15d), false}}) {
    std::vector<Draw> draws{DrawOn(1, Iso(breakEnd - days(30)))};
    const auto add = [&draws](sys_days day) { draws.push_back(DrawOn(static_cast<int>(draws.size()) + 1, Iso(day))); };
    for (sys_days day = breakEnd; day <= newest; day += days(7)) add(day);
    if (draws.back().date != Iso(newest)) add(newest);
    SCOPED_TRACE(Iso(breakEnd));
    EXPECT_EQ(AllowanceOf(draws)->days, counted ? 31 : 8);
  }
  EXPECT_FALSE(AllowanceOf({DrawOn(1, "2026-03-16")}));
  EXPECT_FALSE(AllowanceOf({}));
}

TEST(Freshness, AGameIsStaleOnlyWhenItsNewestDrawIsOlderThanItsAllowance) {
  Histories histories;
  histories[0] = {DrawOn(1, "2026-03-09"), DrawOn(2, "2026-03-12"), DrawOn(3, "2026-03-16")};  // allowance 5
  histories[1] = {DrawOn(1, "2026-03-16")};  // nothing to measure: never judged stale
  // Numbers4 and Numbers3 left empty.
  const sys_days drawDay = 2026y / March / 16d;
  EXPECT_FALSE(JudgeFreshness(histories, drawDay + days(5))[0].stale);
  const std::vector<Freshness> judged = JudgeFreshness(histories, drawDay + days(6));
  ASSERT_EQ(judged.size(), 4u);
  EXPECT_TRUE(judged[0].stale);
  EXPECT_EQ(judged[0].ageDays, 6);
  EXPECT_EQ(judged[0].newest, 3);
  EXPECT_FALSE(judged[1].stale);
  EXPECT_FALSE(judged[2].stale);
  EXPECT_EQ(judged[3].game, Game::Numbers3);
  EXPECT_EQ(judged[3].newest, 0);
}

TEST(Freshness, TodayIsTheDateInJapan) {
  const sys_days utcDay = 2026y / December / 8d;
  EXPECT_EQ(JapanToday(utcDay + hours(14) + minutes(59)), utcDay);
  EXPECT_EQ(JapanToday(utcDay + hours(15)), utcDay + days(1));
  // Midnight in Japan is 15:00 UTC of the day before.
  EXPECT_EQ(JapanMidnightUnixSeconds("2026-03-16"),
            duration_cast<seconds>((sys_days(2026y / March / 15d) + hours(15)).time_since_epoch()).count());
}

TEST(Freshness, TheStaleTextSaysWhichGameSinceWhenWhyAndWhatTheBankAnswered) {
  Freshness loto6;
  loto6.game = Game::Loto6;
  loto6.newest = 2085;
  loto6.newestDate = "2026-03-16";
  loto6.ageDays = 267;
  loto6.allowance = Allowance{8, 7, "2025-12-29", "2026-01-05"};
  loto6.stale = true;
  EXPECT_EQ(StaleText(loto6, "answered 404 for A1022086.CSV"),
            "loto6 is stale: newest draw 2085 of 2026-03-16, 267 days ago (allowance 8 days: the longest gap between "
            "its draws in five years, 7 days from 2025-12-29 to 2026-01-05, plus one); the bank answered 404 for "
            "A1022086.CSV");
}

}  // namespace
}  // namespace norv::service
