#include "schedule/schedule.h"

#include "resources/check_strings.h"
#include "resources/strings.h"

namespace norv {

int Schedule::ComputeMode(const ScheduleConfig& config, int nowHhmm) {
  state_.scheduleMode.store(ModeAt(config, nowHhmm));
  return nowHhmm;
}

ArmedSchedule Schedule::ArmSchedule(const ScheduleConfig& config, int nowHhmm) {
  std::string hint(text::kProductName);
  if (config.startupDelayMs > 0) {
    startupCheckPending_ = true;
    hint.append(text::kStartupModeText).append(text::kWaitingText);
    return {hint, config.startupDelayMs};
  }
  ComputeMode(config, nowHhmm);
  const bool periodic = config.normalMinutes != 0 || config.windowMinutes != 0;
  return {WaitingHint(state_.scheduleMode.load()), periodic ? kMinuteTickMs : 0};
}

// One counter serves both periodic modes; it starts again from 0 whenever a
// check falls due, whether or not that check can start.
bool Schedule::IntervalReached(int intervalMinutes) {
  if (minuteCounter_ < intervalMinutes) return false;
  minuteCounter_ = 0;
  return true;
}

TickDecision Schedule::Timer1Timer(const ScheduleConfig& config, int nowHhmm) {
  TickDecision decision;
  if (startupCheckPending_) {
    startupCheckPending_ = false;
    state_.scheduleMode.store(kModeNone);
    decision.startupTick = true;
    const bool periodic = config.normalMinutes != 0 || config.windowMinutes != 0;
    decision.rearmIntervalMs = periodic ? kMinuteTickMs : 0;
    decision.startCheck = true;
    return decision;
  }

  bool due = false;
  if (config.windowMinutes == 0) {
    ++minuteCounter_;
    due = config.normalMinutes != 0 && IntervalReached(config.normalMinutes);
  } else {
    const int now = ComputeMode(config, nowHhmm);
    if (state_.scheduleMode.load() == kModeWindow) {
      ++minuteCounter_;
      // The window's first and last minute always get a check.
      if (now == config.windowStart || now == config.windowEnd) minuteCounter_ = config.windowMinutes;
      due = IntervalReached(config.windowMinutes);
    } else if (config.normalMinutes != 0) {
      ++minuteCounter_;
      due = IntervalReached(config.normalMinutes);
    }
  }
  // A check that falls due while another runs is dropped, not postponed.
  decision.startCheck = due && !state_.checkRunning.load();
  return decision;
}

bool Schedule::StartCheck() {
  bool expected = false;
  return state_.checkRunning.compare_exchange_strong(expected, true);
}

void Schedule::ToolButton2MouseDown(bool shiftHeld) { state_.forcedRefresh.store(shiftHeld); }

bool Schedule::ToolButton2Click() {
  if (state_.checkRunning.load()) return false;
  state_.scheduleMode.store(kModeManual);
  return StartCheck();
}

}  // namespace norv
