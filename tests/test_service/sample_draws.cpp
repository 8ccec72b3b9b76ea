#include "tests/test_service/sample_draws.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <span>
#include <vector>

#include "base/text_fields.h"

namespace norv::service {

namespace {

// SplitMix64: small, and the same sequence on every platform, which the
// standard distributions do not promise.
class SampleRandom {
 public:
  explicit SampleRandom(std::uint64_t state) : state_(state) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [low, high]; the modulo bias is negligible for these ranges.
  long long Between(long long low, long long high) {
    return low + static_cast<long long>(Next() % static_cast<std::uint64_t>(high - low + 1));
  }
  bool Chance(int percent) { return Between(1, 100) <= percent; }

 private:
  std::uint64_t state_;
};

std::uint64_t DrawSeed(std::uint64_t seed, Game game, int number) {
  SampleRandom mix(seed ^ (static_cast<std::uint64_t>(game) << 56) ^ static_cast<std::uint64_t>(number));
  mix.Next();
  return mix.Next();
}

struct ClassRange {
  long long low, high;
  int unwonPercent;
};

std::span<const ClassRange> RangesOf(Game game) {
  static constexpr ClassRange loto6[]{{60'000'000, 600'000'000, 35},
                                      {5'000'000, 30'000'000, 2},
                                      {150'000, 900'000, 0},
                                      {5'000, 15'000, 0},
                                      {1'000, 1'000, 0}};
  static constexpr ClassRange miniLoto[]{
      {5'000'000, 20'000'000, 5}, {50'000, 300'000, 3}, {8'000, 25'000, 0}, {800, 1'500, 0}};
  static constexpr ClassRange numbers4[]{
      {500'000, 1'500'000, 0}, {20'000, 60'000, 1}, {250'000, 800'000, 1}, {10'000, 40'000, 1}};
  static constexpr ClassRange numbers3[]{
      {50'000, 150'000, 0}, {8'000, 50'000, 1}, {25'000, 80'000, 1}, {4'000, 25'000, 1}, {4'000, 15'000, 0}};
  switch (game) {
    case Game::Loto6:
      return loto6;
    case Game::MiniLoto:
      return miniLoto;
    case Game::Numbers4:
      return numbers4;
    case Game::Numbers3:
      break;
  }
  return numbers3;
}

std::vector<int> DistinctAscending(SampleRandom& random, int count, int highest) {
  std::vector<int> picked;
  while (static_cast<int>(picked.size()) < count) {
    const int n = static_cast<int>(random.Between(1, highest));
    if (std::find(picked.begin(), picked.end(), n) == picked.end()) picked.push_back(n);
  }
  std::sort(picked.begin(), picked.end());
  return picked;
}

int BonusOutside(SampleRandom& random, const std::vector<int>& balls, int highest) {
  for (;;) {
    const int n = static_cast<int>(random.Between(1, highest));
    if (std::find(balls.begin(), balls.end(), n) == balls.end()) return n;
  }
}

long long Amount(SampleRandom& random, const ClassRange& range) {
  return random.Between(range.low / 100, range.high / 100) * 100;
}

bool AllDigitsEqual(std::string_view digits) {
  return std::adjacent_find(digits.begin(), digits.end(), std::not_equal_to<>()) == digits.end();
}

std::chrono::sys_days ParseIso(std::string_view iso) {
  using namespace std::chrono;
  const auto part = [&](std::size_t at, std::size_t length) { return ParseDigits(iso.substr(at, length)).value_or(1); };
  if (iso.size() != 10) return sys_days(year(2000) / January / 1d);
  return sys_days(year(part(0, 4)) / month(static_cast<unsigned>(part(5, 2))) / day(static_cast<unsigned>(part(8, 2))));
}

std::string FormatIso(std::chrono::sys_days when) {
  const std::chrono::year_month_day date(when);
  return FixedDigits(static_cast<int>(date.year()), 4) + "-" + FixedDigits(static_cast<unsigned>(date.month()), 2) +
         "-" + FixedDigits(static_cast<unsigned>(date.day()), 2);
}

bool IsDrawDay(Game game, std::chrono::weekday day) {
  using namespace std::chrono;
  switch (game) {
    case Game::Loto6:
      return day == Monday || day == Thursday;
    case Game::MiniLoto:
      return day == Tuesday;
    case Game::Numbers4:
    case Game::Numbers3:
      break;
  }
  return day != Saturday && day != Sunday;
}

}  // namespace

std::string_view FirstDrawDate(Game game) {
  constexpr std::array<std::string_view, 4> dates{"2000-10-05", "1999-04-13", "1994-10-07", "1994-10-07"};
  return dates[static_cast<std::size_t>(GameIndex(game))];
}

std::string NextDrawDate(Game game, std::string_view isoDate) {
  std::chrono::sys_days day = ParseIso(isoDate) + std::chrono::days(1);
  while (!IsDrawDay(game, std::chrono::weekday(day))) day += std::chrono::days(1);
  return FormatIso(day);
}

Draw MakeSampleDraw(Game game, int number, std::string_view isoDate, std::uint64_t seed) {
  SampleRandom random(DrawSeed(seed, game, number));
  const GameRules& rules = RulesOf(game);
  Draw draw;
  draw.game = game;
  draw.number = number;
  draw.date = isoDate;
  bool boxless = false;
  if (rules.balls > 0) {
    draw.balls = DistinctAscending(random, rules.balls, rules.highestBall);
    draw.bonus = BonusOutside(random, draw.balls, rules.highestBall);
  } else {
    for (int i = 0; i < rules.digits; ++i) draw.digits.push_back(static_cast<char>('0' + random.Between(0, 9)));
    boxless = AllDigitsEqual(draw.digits);  // a number like 777 has no box or set prize
  }
  const std::span<const ClassRange> ranges = RangesOf(game);
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const bool boxClass = boxless && i >= 1 && i <= 3;
    const bool unwon = boxClass || (ranges[i].unwonPercent > 0 && random.Chance(ranges[i].unwonPercent));
    draw.prizes.push_back(unwon ? 0 : Amount(random, ranges[i]));
  }
  return draw;
}

}  // namespace norv::service
