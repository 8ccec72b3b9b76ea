#pragma once
// Synthetic draw results for the local draw service. SAMPLE DATA, NOT REAL
// RESULTS: every draw is made up from a seed, the same for the same seed.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/game.h"

namespace norv::drawservice {

inline constexpr std::uint64_t kDefaultSeed = 20240601;
inline constexpr int kMaxDrawNumber = 9999;  // the records hold four digits

struct PrizeClass {
  std::string_view label;  // as on the bank's result page
  int width;               // digits in the record
  bool mayBeUnwon;         // the page may show 該当なし instead of an amount
};

struct SampleDraw {
  Game game = Game::Loto6;
  int number = 0;
  std::vector<int> numbers;  // main numbers ascending, or the digits in drawn order
  int bonus = 0;             // LOTO6 and MiniLOTO only
  std::vector<long long> prizes;   // yen per winning ticket, 0 = nobody won
  std::vector<long long> winners;  // tickets per class
  long long sales = 0;
  std::chrono::year_month_day date;
};

const std::vector<PrizeClass>& PrizeClassesOf(Game game);
int RecordTextLength(Game game);
// The number of draws each game starts with.
int DefaultPublishedCount(Game game);

SampleDraw MakeDraw(Game game, int number, std::uint64_t seed = kDefaultSeed);

// Numbers4 and Numbers3: the winning number as its digits ("0123").
std::string WinningDigits(const SampleDraw& draw);

// The draw's data-file record without its CR LF.
std::string RecordText(const SampleDraw& draw);

// Records 1..count, each followed by CR LF, as the full history is served.
std::string HistoryText(Game game, int count, std::uint64_t seed = kDefaultSeed);

}  // namespace norv::drawservice
