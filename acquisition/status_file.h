#pragma once
// The maker's status file: how many draws each full history holds and the
// newest release of this program and of each companion.

#include <optional>
#include <string_view>

#include "store/game.h"

namespace norv {

// A field that is missing or not four digits reads as this, which is above any
// draw count and any announced release.
inline constexpr int kStatusUnknown = 9999;

// The fields as the layout of base/status_layout.h places them.
struct StatusFile {
  int birchRelease = kStatusUnknown;
  int cedarRelease = kStatusUnknown;
  int damsonRelease = kStatusUnknown;
  int programRelease = kStatusUnknown;
  int elderRelease = kStatusUnknown;
  int numbers3Count = kStatusUnknown;
  int numbers4Count = kStatusUnknown;
  int miniLotoCount = kStatusUnknown;
  int loto6Count = kStatusUnknown;
  int fennelRelease = kStatusUnknown;

  int DrawCountOf(Game game) const;
};

// Only the first character is checked: it must be a decimal digit.
bool IsValidStatusText(std::string_view text);

// The four-digit field at a 1-based position, or nothing when it is missing
// or not digits.
std::optional<int> StatusFieldAt(std::string_view text, int position);

// The same field with kStatusUnknown for a missing one.
int StatusNumberAt(std::string_view text, int position);

StatusFile ReadStatusFile(std::string_view text);

}  // namespace norv
