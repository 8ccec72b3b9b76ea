#include "tools/drawservice/sample_data.h"

#include <algorithm>
#include <array>
#include <functional>

namespace norv::drawservice {

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

std::vector<int> DistinctAscending(SampleRandom& random, int count, int highest) {
  std::vector<int> picked;
  while (static_cast<int>(picked.size()) < count) {
    const int n = static_cast<int>(random.Between(1, highest));
    if (std::find(picked.begin(), picked.end(), n) == picked.end()) {
      picked.push_back(n);
    }
  }
  std::sort(picked.begin(), picked.end());
  return picked;
}

int BonusOutside(SampleRandom& random, const std::vector<int>& main, int highest) {
  for (;;) {
    const int n = static_cast<int>(random.Between(1, highest));
    if (std::find(main.begin(), main.end(), n) == main.end()) {
      return n;
    }
  }
}

long long Amount(SampleRandom& random, long long low, long long high) {
  return random.Between(low / 100, high / 100) * 100;
}

struct ClassRange {
  long long low, high;
  int unwonPercent;
};

struct GameSample {
  std::vector<PrizeClass> classes;
  std::vector<ClassRange> ranges;
  int published;
  std::chrono::year_month_day firstDate;
  long long salesLow, salesHigh;
};

const GameSample& SampleOf(Game game) {
  using namespace std::chrono;
  static const std::array<GameSample, 4> samples{{
      {{{"１等", 10, true}, {"２等", 9, true}, {"３等", 8, true}, {"４等", 6, true}, {"５等", 5, true}},
       {{60'000'000, 600'000'000, 35}, {5'000'000, 30'000'000, 2}, {150'000, 900'000, 0}, {5'000, 15'000, 0},
        {1'000, 1'000, 0}},
       2160, 2000y / October / 5d, 1'000'000'000, 4'000'000'000},
      {{{"１等", 8, true}, {"２等", 7, true}, {"３等", 5, true}, {"４等", 4, true}},
       {{5'000'000, 20'000'000, 5}, {50'000, 300'000, 3}, {8'000, 25'000, 0}, {800, 1'500, 0}},
       1420, 1999y / April / 13d, 300'000'000, 900'000'000},
      {{{"ストレート", 7, false}, {"ボックス", 6, true}, {"セット（ストレート）", 7, true},
        {"セット（ボックス）", 6, true}},
       {{500'000, 1'500'000, 0}, {20'000, 60'000, 1}, {250'000, 800'000, 1}, {10'000, 40'000, 1}},
       7140, 1994y / October / 7d, 500'000'000, 1'200'000'000},
      {{{"ストレート", 6, false}, {"ボックス", 6, true}, {"セット（ストレート）", 6, true},
        {"セット（ボックス）", 5, true}, {"ミニ", 5, true}},
       {{50'000, 150'000, 0}, {8'000, 50'000, 1}, {25'000, 80'000, 1}, {4'000, 25'000, 1}, {4'000, 15'000, 0}},
       7140, 1994y / October / 7d, 300'000'000, 900'000'000},
  }};
  return samples[static_cast<std::size_t>(GameIndex(game))];
}

bool AllDigitsEqual(const std::vector<int>& digits) {
  return std::adjacent_find(digits.begin(), digits.end(), std::not_equal_to<>()) == digits.end();
}

// LOTO6 twice a week, MiniLOTO weekly, the Numbers games on weekdays.
std::chrono::year_month_day DrawDate(Game game, int number) {
  using namespace std::chrono;
  const sys_days first = sys_days(SampleOf(game).firstDate);
  const int k = number - 1;
  switch (game) {
    case Game::Loto6:
      return year_month_day(first + days(k / 2 * 7 + k % 2 * 3));
    case Game::MiniLoto:
      return year_month_day(first + days(k * 7));
    case Game::Numbers4:
    case Game::Numbers3:
      break;
  }
  return year_month_day(first + days(k / 5 * 7 + k % 5));
}

}  // namespace

const std::vector<PrizeClass>& PrizeClassesOf(Game game) { return SampleOf(game).classes; }

int RecordTextLength(Game game) {
  constexpr std::array<int, 4> lengths{56, 40, 34, 35};
  return lengths[static_cast<std::size_t>(GameIndex(game))];
}

int DefaultPublishedCount(Game game) { return SampleOf(game).published; }

SampleDraw MakeDraw(Game game, int number, std::uint64_t seed) {
  SampleRandom random(DrawSeed(seed, game, number));
  const GameSample& sample = SampleOf(game);
  SampleDraw draw;
  draw.game = game;
  draw.number = number;
  draw.date = DrawDate(game, number);
  bool boxless = false;
  switch (game) {
    case Game::Loto6:
      draw.numbers = DistinctAscending(random, 6, 43);
      draw.bonus = BonusOutside(random, draw.numbers, 43);
      break;
    case Game::MiniLoto:
      draw.numbers = DistinctAscending(random, 5, 31);
      draw.bonus = BonusOutside(random, draw.numbers, 31);
      break;
    case Game::Numbers4:
    case Game::Numbers3:
      for (int i = 0, n = game == Game::Numbers4 ? 4 : 3; i < n; ++i) {
        draw.numbers.push_back(static_cast<int>(random.Between(0, 9)));
      }
      boxless = AllDigitsEqual(draw.numbers);  // a number like 777 has no box or set prize
      break;
  }
  for (std::size_t i = 0; i < sample.classes.size(); ++i) {
    const ClassRange& range = sample.ranges[i];
    const bool boxClass = boxless && i >= 1 && i <= 3;
    const bool unwon = boxClass || (range.unwonPercent > 0 && random.Chance(range.unwonPercent));
    draw.prizes.push_back(unwon ? 0 : Amount(random, range.low, range.high));
    draw.winners.push_back(unwon ? 0 : random.Between(1, 20) * static_cast<long long>(i * i * 40 + 1));
  }
  draw.sales = Amount(random, sample.salesLow, sample.salesHigh);
  return draw;
}

std::string WinningDigits(const SampleDraw& draw) {
  std::string digits;
  for (int d : draw.numbers) {
    digits.push_back(static_cast<char>('0' + d));
  }
  return digits;
}

namespace {

std::string Digits(long long value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
  }
  return text;
}

}  // namespace

std::string RecordText(const SampleDraw& draw) {
  std::string record = Digits(draw.number, 4);
  if (draw.game == Game::Loto6 || draw.game == Game::MiniLoto) {
    for (int n : draw.numbers) {
      record += Digits(n, 2);
    }
    record += Digits(draw.bonus, 2);
  } else {
    record += WinningDigits(draw);
  }
  const std::vector<PrizeClass>& classes = PrizeClassesOf(draw.game);
  for (std::size_t i = 0; i < classes.size(); ++i) {
    record += Digits(draw.prizes[i], classes[i].width);
  }
  return record;
}

std::string HistoryText(Game game, int count, std::uint64_t seed) {
  std::string text;
  text.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(RecordTextLength(game) + 2));
  for (int number = 1; number <= count; ++number) {
    text += RecordText(MakeDraw(game, number, seed));
    text += "\r\n";
  }
  return text;
}

}  // namespace norv::drawservice
