// The button bar's and the tray menu's handlers, and the tray icon's mouse events.

#include <windows.h>
#include <windowsx.h>

#include "about/about_box_win.h"
#include "acquisition/fetch_win.h"
#include "app/check_thread_win.h"
#include "app/command_ids.h"
#include "app/csv_save_win.h"
#include "acquisition/service_addresses.h"
#include "app/main_form_win.h"
#include "app/my_numbers_dialog_win.h"
#include "app/open_target_win.h"
#include "app/options_link_win.h"
#include "app/process_values.h"
#include "app/program_messages_win.h"
#include "app/window_layout.h"
#include "companions/companion_host_win.h"
#include "companions/companion_launch.h"
#include "companions/companion_table.h"
#include "notices/notice_host_win.h"
#include "notices/version_notice.h"
#include "settings/options_dialog_win.h"
#include "settings/settings.h"
#include "settings/settings_storage.h"
#include "store/draw_table.h"

namespace norv {

namespace {

constexpr int kExitQuestionCode = 1;
constexpr int kBusyCode = 2;
constexpr int kCompanionMenu[6] = {kN41, kN42, kN43, kN44, kN45, kN46};

// ToolButton5 … ToolButton9: the companion of that button, when installed.
void OpenCompanionOfButton(HWND owner, int toolButton) {
  const std::optional<int> id = CompanionOfToolButton(toolButton);
  if (!id) {
    return;
  }
  WindowsCompanionHost host(owner);
  CompanionLauncher(AppStorage(), LocalCompanionFiles(), host).OnCompanionButton(*id);
}

}  // namespace

void MainWindow::OnCommand(int command) {
  switch (command) {
    case kToolButtonFirst + 0: ToolButton1Click(); break;
    case kToolButtonFirst + 1: ToolButton2Click(); break;
    case kToolButtonFirst + 2: ToolButton3Click(); break;
    case kToolButtonFirst + 3: ToolButton4Click(); break;
    case kToolButtonFirst + 4: ToolButton5Click(); break;
    case kToolButtonFirst + 5: ToolButton6Click(); break;
    case kToolButtonFirst + 6: ToolButton7Click(); break;
    case kToolButtonFirst + 7: ToolButton8Click(); break;
    case kToolButtonFirst + 8: ToolButton9Click(); break;
    case kToolButtonFirst + 9: ToolButton10Click(); break;
    case kToolButtonFirst + 10: ToolButton11Click(); break;
    case kToolButtonFirst + 11: ToolButton12Click(); break;
    case kToolButtonFirst + 12: ToolButton13Click(); break;
    case kToolButtonFirst + 13:
    case kN9:
    case kKeyMyNumbers: OpenMyNumbersDialog(window_, DataFolder); break;
    case kN1: N1Click(); break;
    case kN2: N2Click(); break;
    case kN3: N3Click(); break;
    case kN41: N41Click(); break;
    case kN42: N42Click(); break;
    case kN43: N43Click(); break;
    case kN44: N44Click(); break;
    case kN45: N45Click(); break;
    case kN51: N51Click(); break;
    case kN52: N52Click(); break;
    case kN61: N61Click(); break;
    case kN62: N62Click(); break;
    case kN63: N63Click(); break;
    case kN7: N7Click(); break;
    case kN8: N8Click(); break;
    // F5 and Shift+F5 press the check button without and with Shift.
    case kKeyCheck: ToolButton2MouseDown(false); ToolButton2Click(); break;
    case kKeyForcedCheck: ToolButton2MouseDown(true); ToolButton2Click(); break;
    case kKeyNextTab: StepTab(1); break;
    case kKeyPreviousTab: StepTab(-1); break;
    default: break;
  }
}

void MainWindow::ApplyButtonBar() {
  const Settings s = AppSettings().Snapshot();
  toolBar1_.Apply(s);
  const auto companions = CompanionMenuVisibility(s);
  for (std::size_t i = 0; i < companions.size(); ++i) {
    popupMenu1_.SetVisible(kCompanionMenu[i], companions[i]);
  }
}

void MainWindow::ToolButton1Click() {
  ::SendMessageW(window_, WM_CLOSE, 0, 0);
}

// The dialog is modal, so the tab read before it is still the active one.
// The busy test and the taking of the flag are one step; the outcome message
// is shown while the flag is still held.
void MainWindow::ToolButton3Click() {
  const int tab = ActiveTab();
  if (tab < 0 || tab > 3) {
    return;
  }
  const Game game = kAllGames[static_cast<std::size_t>(tab)];
  const std::optional<std::wstring> path = AskCsvPath(window_, game);
  if (!path) {
    return;
  }
  GameData& data = GameDataOf(game);
  if (!data.TryTakeBusy()) {
    ShowProgramMessage(kBusyCode, 0);
    return;
  }
  const struct BusyRelease {
    GameData& held;
    ~BusyRelease() { held.ReleaseBusy(); }
  } release{data};
  ExportGameCsv(game, data.table, *path);
}

void MainWindow::ToolButton4Click() {
  if (!optionsHost_) {
    optionsHost_ = MakeOptionsHost(*this);
  }
  OpenOptionsDialog(*optionsHost_, ::IsWindowVisible(window_) != FALSE);
}

void MainWindow::ToolButton5Click() {
  OpenCompanionOfButton(window_, 5);
}

void MainWindow::ToolButton6Click() {
  OpenCompanionOfButton(window_, 6);
}

void MainWindow::ToolButton7Click() {
  OpenCompanionOfButton(window_, 7);
}

void MainWindow::ToolButton8Click() {
  OpenCompanionOfButton(window_, 8);
}

void MainWindow::ToolButton9Click() {
  OpenCompanionOfButton(window_, 9);
}

void MainWindow::ToolButton10Click() {
  OpenTarget(TargetKind::SupportPage, "");
}

void MainWindow::ToolButton11Click() {
  OpenTarget(TargetKind::BankPage, "");
}

void MainWindow::ToolButton12Click() {
  OpenTarget(TargetKind::MakerPage, "");
}

void MainWindow::ToolButton13Click() {
  OpenTarget(TargetKind::HelpFile, "");
}

// With version 4 the menu comes as WM_CONTEXTMENU (mouse or keyboard) with
// its anchor in `anchor`, and Enter on the icon as NIN_KEYSELECT.
void MainWindow::OnTrayMessage(UINT event, WPARAM anchor) {
  switch (event) {
    case WM_LBUTTONUP:
      TrayIcon1Click();
      break;
    case WM_LBUTTONDBLCLK:
    case NIN_KEYSELECT:
      TrayIcon1DblClick();
      break;
    case WM_CONTEXTMENU:
      if (trayIcon1_.Version4()) {
        TrayIcon1Popup({GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)});
      }
      break;
    case WM_RBUTTONUP:
      if (!trayIcon1_.Version4()) {
        // GET_X_LPARAM keeps the sign on monitors left of or above the primary one.
        const DWORD position = ::GetMessagePos();
        TrayIcon1Popup({GET_X_LPARAM(position), GET_Y_LPARAM(position)});
      }
      break;
    default:
      break;
  }
}

void MainWindow::TrayIcon1Click() {
  AcknowledgeNotice();
}

void MainWindow::TrayIcon1DblClick() {
  AcknowledgeNotice();
  if (!state_.windowOpen) {
    ShowMainWindow();
    ShowTrayMenu(false);
    ::SetForegroundWindow(window_);
  }
}

void MainWindow::TrayIcon1Animate() {
  trayIcon1_.AnimationTick();
}

void MainWindow::TrayIcon1Popup(POINT at) {
  popupMenu1_.Popup(window_, at);
}

void MainWindow::N1Click() {
  ShowTrayMenu(false);
  ShowMainWindow();
}

void MainWindow::N2Click() {
  ToolButton4Click();
}

void MainWindow::N3Click() {
  ToolButton2Click();
}

void MainWindow::N41Click() {
  ToolButton5Click();
}

void MainWindow::N42Click() {
  ToolButton6Click();
}

void MainWindow::N43Click() {
  ToolButton7Click();
}

void MainWindow::N44Click() {
  ToolButton8Click();
}

void MainWindow::N45Click() {
  ToolButton9Click();
}

void MainWindow::N51Click() {
  ShowTrayMenu(false);
  AboutBoxRequest request;
  request.mainWindow = window_;
  request.fromOptions = false;
  request.classicLook = Look.classicLook;
  request.versionCode = Look.versionCode;
  request.onClosed = [this] {
    if (window_ && !::IsWindowVisible(window_)) {
      ShowTrayMenu(true);
    }
  };
  OpenAboutBox(request);
}

void MainWindow::N52Click() {
  const HWND window = window_;
  WindowsNoticeHost host(window, [window] { CloseMainWindow(window); });
  WinInetFetcher fetcher(AccessFromSettings(AppSettings().Snapshot()));
  const VersionNotices notices(
      host, AppStorage(), fetcher,
      AppDownloadListAddress,
      ProgramFolder);
  notices.N52Click();
}

void MainWindow::N61Click() {
  ToolButton10Click();
}

void MainWindow::N62Click() {
  ToolButton11Click();
}

void MainWindow::N63Click() {
  ToolButton12Click();
}

void MainWindow::N7Click() {
  ToolButton13Click();
}

void MainWindow::N8Click() {
  ShowProgramMessage(kExitQuestionCode, 0);
}

}  // namespace norv
