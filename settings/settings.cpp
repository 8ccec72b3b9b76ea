#include "settings/settings.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace norv {

namespace {

constexpr int kNormalIntervalMinutes[] = {0, 5, 10, 15, 30, 60, 90};
constexpr int kWindowIntervalMinutes[] = {0, 1, 3, 5, 10, 15, 30};
constexpr int kStartupDelayMs[] = {0, 1000, 3000, 5000, 10000, 30000, 60000};

// A value edited outside the program may hold any integer; such an index
// switches its interval off instead of reading past the table.
template <std::size_t N>
int FromIndexTable(const int (&table)[N], int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) {
    return 0;
  }
  return table[index];
}

// The time values come from the registry unchecked; a huge one must not
// overflow, so the clock time saturates instead.
int ClockTime(int hour, int fiveMinutes) {
  const long long hhmm = static_cast<long long>(hour) * 100 + static_cast<long long>(fiveMinutes) * 5;
  return static_cast<int>(std::clamp<long long>(hhmm, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

}  // namespace

int Settings::NormalIntervalMinutes() const { return FromIndexTable(kNormalIntervalMinutes, in1); }

int Settings::WindowIntervalMinutes() const { return FromIndexTable(kWindowIntervalMinutes, in2); }

int Settings::StartupDelayMs() const { return FromIndexTable(kStartupDelayMs, kid); }

int Settings::WindowStart() const { return ClockTime(tm1, tm2); }

int Settings::WindowEnd() const { return ClockTime(tm3, tm4); }

// Equal ends mean the whole day, which the wrapping comparison also covers.
bool Settings::WindowWraps() const { return WindowStart() >= WindowEnd(); }

SettingsHolder& AppSettings() {
  static SettingsHolder holder;
  return holder;
}

}  // namespace norv
