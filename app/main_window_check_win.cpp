// What the window does around a check: the schedule timer, the check button,
// the start-up run, and the status texts, tray icon and notice of a check.

#include "app/app_messages.h"
#include "app/check_thread_win.h"
#include "app/command_ids.h"
#include "app/main_form_win.h"
#include "base/message_pump_win.h"
#include "base/unicode_win.h"
#include "settings/settings.h"
#include "store/draw_table.h"

namespace norv {

namespace {

constexpr DWORD kStartupWaitStepMs = 100;

ScheduleConfig CurrentScheduleConfig() {
  return ScheduleConfigOf(AppSettings().Snapshot());
}

}  // namespace

int LocalClockHhmm() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wHour * 100 + now.wMinute;
}

void MainWindow::SetCheckButtonBusy(bool busy) {
  toolBar1_.SetCheckBusy(busy);
  popupMenu1_.SetEnabled(kN3, !busy);
}

void MainWindow::StartStartupRun() {
  state_.startupRun = true;
  ShowTrayMenu(true);
  StartCheck();
}

// StartCheck: CheckRunning taken by the caller's decision, busy button, N3 off,
// then the thread. A thread that cannot start gives everything back.
void MainWindow::StartCheck() {
  if (!schedule_.StartCheck()) {
    return;
  }
  LaunchChecker();
}

void MainWindow::LaunchChecker() {
  SetCheckButtonBusy(true);
  if (!CheckThread::Start(window_, checkerStop_.get_token())) {
    SetCheckButtonBusy(false);
    state_.startupRun = false;
    state_.checkRunning = false;
  }
}

void MainWindow::Timer1Timer() {
  const TickDecision decision = schedule_.Timer1Timer(CurrentScheduleConfig(), LocalClockHhmm());
  if (decision.startupTick) {
    ::KillTimer(window_, kTimer1);
    WaitForRunningCheck();
    if (closing_) {
      return;
    }
    if (decision.rearmIntervalMs.value_or(0) > 0) {
      ::SetTimer(window_, kTimer1, static_cast<UINT>(*decision.rearmIntervalMs), nullptr);
    }
  }
  if (decision.startCheck) {
    StartCheck();
  }
}

// The start-up check waits for the start-up run. The pump keeps the window
// answering, and it is what lets the running checker's window steps through.
void MainWindow::WaitForRunningCheck() {
  while (state_.checkRunning.load() && !closing_) {
    ::Sleep(kStartupWaitStepMs);
    if (!PumpPendingMessages()) {
      return;  // the close came while waiting; the main loop still sees it
    }
  }
}

void MainWindow::ToolButton2MouseDown(bool shiftHeld) {
  schedule_.ToolButton2MouseDown(shiftHeld);
}

void MainWindow::ToolButton2Click() {
  if (schedule_.ToolButton2Click()) {
    LaunchChecker();
  }
}

void MainWindow::SetCaption(const std::string& caption) {
  ::SetWindowTextW(window_, Widen(caption).c_str());
}

void MainWindow::StartOfCheckStep(const StartOfCheckView& view) {
  if (view.updateTray) {
    if (view.stopAnimation) {
      trayIcon1_.StopAnimation();
    }
    trayIcon1_.SetHint(view.trayHint);
    trayIcon1_.ShowCheckingIcon();
  }
  SetCaption(view.caption);
}

// FinishCheck gives CheckRunning back whatever happens on the way; the check
// button comes back here, so a failure never leaves the checks stopped.
void MainWindow::EndOfCheckStep(const CheckOutcome& outcome) {
  try {
    FinishCheck(outcome, state_, CurrentScheduleConfig(), LocalClockHhmm(),
                [this](const EndOfCheckView& view) { ApplyEndOfCheck(view); });
  } catch (...) {
    SetCheckButtonBusy(false);
    throw;
  }
}

void MainWindow::ApplyEndOfCheck(const EndOfCheckView& view) {
  if (view.tab) {
    SelectGameTab(*view.tab);
  }
  SetCaption(view.caption);
  if (view.updateTray) {
    trayIcon1_.SetHint(view.trayHint);
    if (view.animateTray) {
      StartNoticeAnimation();
    } else {
      ShowNormalTrayIcon();
    }
    if (view.showWindow) {
      ShowTrayMenu(false);
      ShowMainWindow();
    }
  }
  SetCheckButtonBusy(false);
}

void MainWindow::StartNoticeAnimation() {
  trayIcon1_.StartAnimation();
}

void MainWindow::ShowNormalTrayIcon() {
  trayIcon1_.StopAnimation();
  trayIcon1_.ShowNormalIcon();
}

void MainWindow::ShowTrayMenu(bool show) {
  state_.windowOpen = !show;
  popupMenu1_.SetTopLevelVisible(show);
}

void MainWindow::AcknowledgeNotice() {
  if (!state_.noticePending) {
    return;
  }
  trayIcon1_.ShowBalloon("");
  state_.noticePending = false;
  if (!state_.checkRunning) {
    ShowNormalTrayIcon();
  }
}

}  // namespace norv
