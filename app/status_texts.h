#pragma once
// The window caption and tray hint texts of the check cycle.

#include <array>
#include <optional>
#include <string>

#include "store/game.h"

namespace norv {

using UpdatedGames = std::array<bool, 4>;  // by game index

// The tab and caption the end-of-check step settles on. No tab means the
// layout stays as it is.
struct CheckResultView {
  std::optional<Game> tab;
  std::string caption;
};

CheckResultView EndOfCheckView(const UpdatedGames& updated, bool startupRun);

// ScheduleMode 0..3 as the tray hint's mode line; 0 is the start-up mode.
std::string_view ModeText(int scheduleMode);

// Hint while a check runs: product, mode, "(最新DATAチェック中)".
std::string CheckingTrayHint(int scheduleMode);

// Hint between checks: product, the mode of 1 or 2 (none for 0), "(待機中)".
std::string WaitingTrayHint(int scheduleMode);

// Hint put on the tray icon at start: the start-up mode when a start-up check
// is to come (kid 1..6), else the mode of the clock.
std::string InitialTrayHint(int kid, int scheduleMode);

// The mode of the clock time hhmm (Timer1's ComputeMode without the clock).
struct ScheduleWindow {
  int normalMinutes;  // 0 = none
  int windowMinutes;  // 0 = none
  int start;          // hhmm
  int end;            // hhmm
};
int ScheduleModeAt(int hhmm, const ScheduleWindow& schedule);

}  // namespace norv
