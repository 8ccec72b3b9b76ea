#pragma once
// Run state shared by the window thread (the schedule, the buttons, the tray)
// and the checker thread. Every member is atomic because both threads touch it.

#include <atomic>

namespace norv {

enum ScheduleModeValue : int {
  kModeNone = 0,    // no periodic mode, or the start-up check
  kModeNormal = 1,  // outside the time window, or no window configured
  kModeWindow = 2,  // inside the daily time window
  kModeManual = 3,  // started by the user
};

struct CheckState {
  std::atomic<bool> checkRunning{false};    // CheckRunning: the only guard against a second check
  std::atomic<int> scheduleMode{kModeNone};  // ScheduleMode
  std::atomic<bool> forcedRefresh{false};   // ForcedRefresh: Shift held on the check button
  std::atomic<bool> startupRun{false};      // StartupRun: the next run only loads the tables
  std::atomic<bool> urlTableFilled{false};  // UrlTableFilled: the directory was (being) read
  std::atomic<bool> failureShown{false};    // FailureShown: code 106 already shown while resident
  std::atomic<bool> noticePending{false};   // NoticePending: an update notice awaits a tray click
  std::atomic<bool> windowOpen{false};      // WindowOpen: the main window is up, tray menu emptied
};

// The program's one run state, shared by the main window, its schedule and
// every checker thread.
CheckState& AppCheckState();

}  // namespace norv
