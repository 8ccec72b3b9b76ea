#pragma once
// The mode rule: which periodic mode the clock is in, and the mode texts of
// the tray hint and the caption. Shared by the schedule, which starts checks,
// and by the checker, whose end-of-check step recomputes the mode.

#include <string>

#include "base/check_state.h"

namespace norv {

struct ScheduleConfig {
  int normalMinutes = 0;   // 0 = none
  int windowMinutes = 0;   // 0 = none
  int windowStart = 0;     // hhmm
  int windowEnd = 0;       // hhmm
  int startupDelayMs = 0;  // 0 = no start-up check
};

// kModeNone, kModeNormal or kModeWindow for the clock time nowHhmm (19:05 is 1905).
int ModeAt(const ScheduleConfig& config, int nowHhmm);

// Tray hint while no check runs: the periodic mode's text, none for mode 0.
std::string WaitingHint(int scheduleMode);
// Tray hint while a check runs: mode 0 shows the start-up text.
std::string CheckingHint(int scheduleMode);
std::string CheckingCaption(bool forcedRefresh);

}  // namespace norv
