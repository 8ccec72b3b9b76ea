#include "service/freshness.h"

#include <charconv>

namespace norv::service {

namespace {

using namespace std::chrono;

constexpr hours kJapanOffset{9};
constexpr years kWindow{5};

int Digits(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The store holds only checked ISO dates (history_csv), so no failure here.
sys_days DayOf(std::string_view iso) {
  return sys_days(year(Digits(iso.substr(0, 4))) / month(static_cast<unsigned>(Digits(iso.substr(5, 2)))) /
                  day(static_cast<unsigned>(Digits(iso.substr(8, 2)))));
}

// Five years before `newest`; 29 February falls back to the 28th.
sys_days WindowStart(sys_days newest) {
  const year_month_day date(newest);
  const year_month_day start = (date.year() - kWindow) / date.month() / date.day();
  return start.ok() ? sys_days(start) : sys_days((date.year() - kWindow) / date.month() / last);
}

std::string Plural(int count, std::string_view unit) {
  return std::to_string(count) + " " + std::string(unit) + (count == 1 ? "" : "s");
}

}  // namespace

std::optional<Allowance> AllowanceOf(const std::vector<Draw>& draws) {
  if (draws.size() < 2) return std::nullopt;
  const sys_days start = WindowStart(DayOf(draws.back().date));
  Allowance allowance;
  for (std::size_t i = draws.size() - 1; i > 0; --i) {
    const sys_days later = DayOf(draws[i].date);
    if (later < start) break;
    const int gap = static_cast<int>((later - DayOf(draws[i - 1].date)).count());
    // The latest of equal gaps is named: it is the one a person remembers.
    if (gap > allowance.longestGap) allowance = {0, gap, draws[i - 1].date, draws[i].date};
  }
  if (allowance.gapFrom.empty()) return std::nullopt;
  allowance.days = allowance.longestGap + 1;
  return allowance;
}

std::vector<Freshness> JudgeFreshness(const Histories& histories, sys_days today) {
  std::vector<Freshness> judged;
  for (Game game : kAllGames) {
    const std::vector<Draw>& draws = histories[static_cast<std::size_t>(GameIndex(game))];
    Freshness freshness;
    freshness.game = game;
    if (!draws.empty()) {
      freshness.newest = draws.back().number;
      freshness.newestDate = draws.back().date;
      freshness.ageDays = static_cast<int>((today - DayOf(freshness.newestDate)).count());
      freshness.allowance = AllowanceOf(draws);
      freshness.stale = freshness.allowance && freshness.ageDays > freshness.allowance->days;
    }
    judged.push_back(std::move(freshness));
  }
  return judged;
}

sys_days JapanToday(system_clock::time_point now) { return floor<days>(now + kJapanOffset); }

long long JapanMidnightUnixSeconds(std::string_view isoDate) {
  return duration_cast<seconds>((DayOf(isoDate) - kJapanOffset).time_since_epoch()).count();
}

std::string StaleText(const Freshness& freshness, std::string_view bankAnswer) {
  const Allowance& allowance = *freshness.allowance;
  return std::string(RulesOf(freshness.game).storeName) + " is stale: newest draw " +
         std::to_string(freshness.newest) + " of " + freshness.newestDate + ", " +
         Plural(freshness.ageDays, "day") + " ago (allowance " + Plural(allowance.days, "day") +
         ": the longest gap between its draws in five years, " + Plural(allowance.longestGap, "day") + " from " +
         allowance.gapFrom + " to " + allowance.gapTo + ", plus one); the bank " + std::string(bankAnswer);
}

}  // namespace norv::service
