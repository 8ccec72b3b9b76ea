#pragma once
// When checks start: the start-up check, the normal and the time-window
// intervals, the manual check, and the mode texts of the tray hint. Runs on the
// window thread; the clock is passed in as an hhmm integer (19:05 is 1905).

#include <optional>
#include <string>

#include "base/check_state.h"
#include "schedule/schedule_mode.h"
#include "settings/settings.h"

namespace norv {

// Read anew at every tick, so changes in the options dialog apply at once.
inline ScheduleConfig ScheduleConfigOf(const Settings& settings) {
  return {settings.NormalIntervalMinutes(), settings.WindowIntervalMinutes(), settings.WindowStart(),
          settings.WindowEnd(), settings.StartupDelayMs()};
}

inline constexpr int kMinuteTickMs = 60000;

struct ArmedSchedule {
  std::string trayHint;
  int timerIntervalMs = 0;  // 0 = the timer stays disabled
};

struct TickDecision {
  // The start-up tick: disable the timer, then wait (processing messages)
  // while CheckRunning, then apply rearmIntervalMs.
  bool startupTick = false;
  std::optional<int> rearmIntervalMs;  // 0 = the timer stays off
  bool startCheck = false;             // call StartCheck, which itself refuses while a check runs
};

class Schedule {
 public:
  explicit Schedule(CheckState& state) : state_(state) {}

  int ComputeMode(const ScheduleConfig& config, int nowHhmm);
  ArmedSchedule ArmSchedule(const ScheduleConfig& config, int nowHhmm);
  TickDecision Timer1Timer(const ScheduleConfig& config, int nowHhmm);

  // Takes CheckRunning; true when the caller must now show the busy button,
  // disable N3 and start the checker thread (clearing CheckRunning again if
  // the thread cannot be started).
  bool StartCheck();

  void ToolButton2MouseDown(bool shiftHeld);
  // Also the tray item N3, which has no mouse press. True as StartCheck.
  bool ToolButton2Click();

  int MinuteCounter() const { return minuteCounter_; }
  bool StartupCheckPending() const { return startupCheckPending_; }

 private:
  bool IntervalReached(int intervalMinutes);

  CheckState& state_;
  bool startupCheckPending_ = false;
  int minuteCounter_ = 0;
};

}  // namespace norv
