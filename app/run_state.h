#pragma once
// Process-wide run state shared by the window thread and the checker thread.

#include <atomic>

namespace norv {

// Set by the options dialog when the user accepts the restart question; read
// once by the process entry after the message loop has ended.
inline std::atomic<bool> RestartRequested{false};

// One check at a time: set before a checker thread starts, cleared by the last
// step of its run on the window thread.
inline std::atomic<bool> CheckRunning{false};
// The first run of the process: it only loads the four tables.
inline std::atomic<bool> StartupRun{false};
// The next check refreshes every data file in full (Shift on the check button).
inline std::atomic<bool> ForcedRefresh{false};
// An update notice waits for a click on the tray icon.
inline std::atomic<bool> NoticePending{false};
// The main window (or a box opened from the tray) is up and the tray menu is empty.
inline std::atomic<bool> WindowOpen{false};
// The directory failure message has been shown in this resident run.
inline std::atomic<bool> FailureShown{false};
// 0 none or start-up, 1 normal, 2 time window, 3 manual: picks the tray hint's mode line.
inline std::atomic<int> ScheduleMode{0};

}  // namespace norv
