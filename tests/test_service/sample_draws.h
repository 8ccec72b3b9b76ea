#pragma once
// Made-up draws for the test mode of `serve`. SAMPLE DATA, NOT REAL RESULTS:
// every draw follows from a seed, the same for the same seed, and is only
// ever served, never stored.

#include <cstdint>
#include <string>
#include <string_view>

#include "service/draw.h"

namespace norv::service {

inline constexpr std::uint64_t kDefaultSampleSeed = 20240601;

// Draw `number` of the game, held on `isoDate`.
Draw MakeSampleDraw(Game game, int number, std::string_view isoDate, std::uint64_t seed = kDefaultSampleSeed);

// The date of the game's next draw after one held on `isoDate`: LOTO6 on
// Mondays and Thursdays, MiniLOTO on Tuesdays, the Numbers games on weekdays.
std::string NextDrawDate(Game game, std::string_view isoDate);

// The date of a game's first draw, for a history that holds none.
std::string_view FirstDrawDate(Game game);

}  // namespace norv::service
