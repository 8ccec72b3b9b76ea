#include "base/dpi.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace norv {

int Scale(int px, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(px) * dpi;
  const std::int64_t half = kBaseDpi / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / kBaseDpi : (product - half) / kBaseDpi;
  return static_cast<int>(rounded);
}

int ArtworkPercent(int dpi) {
  constexpr std::array<int, 3> kDrawn{100, 150, 200};
  int best = kDrawn.front();
  for (int percent : kDrawn) {
    // Compared as percent x 96 against dpi x 100, so 120 dpi is an exact tie.
    if (std::abs(percent * kBaseDpi - dpi * 100) <= std::abs(best * kBaseDpi - dpi * 100)) {
      best = percent;
    }
  }
  return best;
}

}  // namespace norv
