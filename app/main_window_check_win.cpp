// What the window shows around a check: the busy button, the captions, the
// tray hint and icon, and the update notice.

#include "app/command_ids.h"
#include "app/main_form_win.h"
#include "app/process_values.h"
#include "app/schedule.h"
#include "app/program_messages_win.h"
#include "app/run_state.h"
#include "app/startup_run_win.h"
#include "app/unicode_win.h"
#include "settings/settings.h"

namespace norv {

namespace {

constexpr int kLoadFailedCode = 113;

int LocalClockHhmm() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wHour * 100 + now.wMinute;
}

}  // namespace

void MainWindow::SetCheckButtonBusy(bool busy) {
  toolBar1_.SetCheckBusy(busy);
  popupMenu1_.SetEnabled(kN3, !busy);
}

void MainWindow::StartStartupRun() {
  StartupRun = true;
  ShowTrayMenu(true);
  CheckRunning = true;
  SetCheckButtonBusy(true);
  checkerStop_ = std::stop_source();
  LaunchStartupRun(window_, checkerStop_.get_token(), DataFolder);
}

void MainWindow::ComputeMode() {
  const Settings s = AppSettings().Snapshot();
  ScheduleMode = ScheduleModeAt(LocalClockHhmm(), {s.NormalIntervalMinutes(), s.WindowIntervalMinutes(),
                                                   s.WindowStart(), s.WindowEnd()});
}

void MainWindow::SetCaption(const std::string& caption) {
  ::SetWindowTextW(window_, Widen(caption).c_str());
}

void MainWindow::StartOfCheckStep() {
  if (AppSettings().Snapshot().mod) {
    if (NoticePending) {
      trayIcon1_.StopAnimation();
    }
    trayIcon1_.SetHint(CheckingTrayHint(ScheduleMode));
    trayIcon1_.ShowCheckingIcon();
  }
  SetCaption(CheckingCaption(ForcedRefresh));
}

void MainWindow::EndOfCheckStep(const UpdatedGames& updated) {
  const bool startupRun = StartupRun;
  const CheckResultView view = EndOfCheckView(updated, startupRun);
  if (view.tab) {
    SelectGameTab(*view.tab);
  }
  SetCaption(view.caption);
  const Settings s = AppSettings().Snapshot();
  if (startupRun) {
    StartupRun = false;
  } else if (s.mod) {
    ComputeMode();
    trayIcon1_.SetHint(WaitingTrayHint(ScheduleMode));
    if (NoticePending) {
      StartNoticeAnimation();
      if (s.dkg && !WindowOpen) {
        ShowTrayMenu(false);
        ShowMainWindow();
      }
    } else {
      ShowNormalTrayIcon();
    }
  }
  SetCheckButtonBusy(false);
  CheckRunning = false;
}

void MainWindow::NotifyLoadFailure() {
  ShowProgramMessage(kLoadFailedCode, 0);
  EndOfCheckStep({});
}

void MainWindow::StartNoticeAnimation() {
  trayIcon1_.StartAnimation();
}

void MainWindow::ShowNormalTrayIcon() {
  trayIcon1_.StopAnimation();
  trayIcon1_.ShowNormalIcon();
}

void MainWindow::ShowTrayMenu(bool show) {
  WindowOpen = !show;
  popupMenu1_.SetTopLevelVisible(show);
}

void MainWindow::AcknowledgeNotice() {
  if (!NoticePending) {
    return;
  }
  trayIcon1_.ShowBalloon("");
  NoticePending = false;
  if (!CheckRunning) {
    ShowNormalTrayIcon();
  }
}

}  // namespace norv
