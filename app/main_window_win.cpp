#include "app/main_window_win.h"

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <atomic>

#include "app/app_messages.h"
#include "base/dpi_win.h"
#include "base/folders_win.h"
#include "app/main_form_win.h"
#include "base/exception_display_win.h"
#include "base/window_base_win.h"
#include "app/my_numbers_dialog_win.h"
#include "base/message_pump_win.h"
#include "app/process_values.h"
#include "app/program_messages_win.h"
#include "app/settings_store_link.h"
#include "base/unicode_win.h"
#include "app/windows_version_win.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"
#include "settings/options_dialog_win.h"
#include "settings/settings.h"
#include "store/draw_record.h"
#include "store/draw_table.h"

namespace norv {

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kInitFailedCode = 10;

std::atomic<HWND> mainWindowHandle{nullptr};
WindowMessageHook messageHook = nullptr;

}  // namespace

void SetWindowMessageHook(WindowMessageHook hook) {
  messageHook = hook;
}

HWND MainWindowHandle() {
  return mainWindowHandle.load();
}

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
  if (window_) {
    ::DestroyWindow(window_);
  }
}

void MainWindow::OnNcDestroy() { mainWindowHandle = nullptr; }

bool MainWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowBase::Procedure;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  if (!wc.hIcon) {
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
  }
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0;
}

bool MainWindow::CreateComponents() {
  const std::wstring caption = Widen(text::kProductName);
  if (!CreateFor(0, kClassName, caption.c_str(), kWindowStyle, {CW_USEDEFAULT, CW_USEDEFAULT}, {400, 300}, nullptr,
                 instance_)) {
    return false;
  }
  mainWindowHandle = window_;
  endForUpgrade_ = ::RegisterWindowMessageW(kEndForUpgradeMessage);
  dpi_ = DpiOfWindow(window_);
  font_.reset(CreateScaledFont(Widen(text::kWindowFont).c_str(), kWindowFontPixels, dpi_));
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  toolBar1_.Create(window_, instance_, font_.get(), dpi_);
  toolBar1_.OnCheckButtonMouseDown([this](bool shiftHeld) { ToolButton2MouseDown(shiftHeld); });
  CreatePages();
  trayIcon1_.Attach(window_, kMsgTrayIcon, kTrayAnimationTimer, kTrayRetryTimer);
  return true;
}

bool MainWindow::SettleFolders() {
  ProgramFolder = ExecutableFolder();
  const auto appData = RoamingAppDataFolder();
  if (!appData) {
    ShowProgramMessage(kInitFailedCode, 1);
    return false;
  }
  MakerFolder = *appData + std::string(text::kMakerName) + "\\";
  DataFolder = MakerFolder + std::string(text::kProductCode) + "\\";
  for (Game game : kAllGames) {
    if (!FileExists(DataFolder + std::string(LayoutOf(game).dataFile))) {
      ShowProgramMessage(kInitFailedCode, 0);
      return false;
    }
  }
  return true;
}

bool MainWindow::FormCreate() {
  Look = ReadWindowsLook();
  if (!SettleFolders()) {
    return false;
  }
  RunFirstRunStep(ProgramFolder);
  SizeWindow();
  LoadSettings(ProgramFolder, Look.versionCode);
  ApplyButtonBar();
  toolBar1_.SetThemedStyle(Look.themedLook);
  ReadVersionStampsAndStartCount();

  state_.failureShown = false;
  state_.forcedRefresh = false;
  state_.noticePending = false;
  state_.urlTableFilled = false;
  state_.scheduleMode = kModeNone;
  for (Game game : kAllGames) {
    GameDataOf(game).ReleaseBusy();
  }

  StartStartupRun();
  MoveToLoadedPosition();
  if (AppSettings().Snapshot().mod) {
    ShowInTray();
  } else {
    ShowMainWindow();
  }
  ::SetForegroundWindow(window_);
  // A close that arrived during start-up stays queued for the main loop.
  PumpPendingMessages();
  return true;
}

void MainWindow::MoveToLoadedPosition() {
  RECT r{};
  ::GetWindowRect(window_, &r);
  const WindowPosition at = LoadWindowPosition(r.right - r.left, r.bottom - r.top);
  ::SetWindowPos(window_, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowInTray() {
  const ArmedSchedule armed = schedule_.ArmSchedule(ScheduleConfigOf(AppSettings().Snapshot()), LocalClockHhmm());
  trayIcon1_.LoadIcons(instance_);
  trayIcon1_.Show(armed.trayHint);
  if (armed.timerIntervalMs > 0) {
    ::SetTimer(window_, kTimer1, static_cast<UINT>(armed.timerIntervalMs), nullptr);
  }
}

void MainWindow::ShowMainWindow() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
}

// The outcome is settled before any step that can fail, so a failure on the
// way never turns the resident hide into an exit, nor an exit into a program
// left running without its tray icon.
void MainWindow::FormClose(bool& allowClose) {
  const bool resident = AppSettings().Snapshot().mod;
  const bool hideOnly = resident && ::IsWindowVisible(window_);
  allowClose = !hideOnly;
  if (resident) {
    AcknowledgeNotice();
    if (hideOnly) {
      ShowTrayMenu(true);
      ::ShowWindow(window_, SW_HIDE);
    } else {
      if (state_.checkRunning) {
        RequestCheckerStop();
      }
      trayIcon1_.Hide();
    }
  } else if (state_.checkRunning) {
    RequestCheckerStop();
  }
  SavePositionIfMoved();
}

// Invisible first, as after N8's Yes, so that FormClose takes the exit path
// even when resident.
LRESULT MainWindow::EndForUpgrade() {
  ::ShowWindow(window_, SW_HIDE);
  ::SendMessageW(window_, WM_CLOSE, 0, 0);
  return kEndForUpgradeAnswer;
}

// Windows is logging off or shutting down: what closing saves is saved, a
// running check is asked to stop, and nothing is asked of the user.
void MainWindow::FormEndSession() {
  if (state_.checkRunning) {
    RequestCheckerStop();
  }
  SavePositionIfMoved();
  trayIcon1_.Hide();
  ::DestroyWindow(window_);
}

void MainWindow::RequestCheckerStop() {
  // Only a request: the checker ends on its own and the exit never waits for it.
  checkerStop_.request_stop();
}

void MainWindow::SavePositionIfMoved() {
  RECT r{};
  ::GetWindowRect(window_, &r);
  if (::IsIconic(window_)) {
    // A minimised window reports a parking position far off screen.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window_, &placement);
    r = placement.rcNormalPosition;
  }
  const Settings s = AppSettings().Snapshot();
  if (r.left != s.pox) {
    WriteSetting("pox", std::to_string(r.left));
  }
  if (r.top != s.poy) {
    WriteSetting("poy", std::to_string(r.top));
  }
  AppSettings().Update([&](Settings& m) {
    m.pox = r.left;
    m.poy = r.top;
  });
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT answer = 0; messageHook && messageHook(*this, message, wParam, lParam, answer)) {
    return answer;
  }
  switch (message) {
    case kMsgRunOnWindowThread: {
      if (closing_) {
        return 0;
      }
      const WindowThreadCall* call = ClaimWindowThreadCall(lParam);
      if (!call) {
        return 0;
      }
      (*call)(*this);
      return 1;
    }
    case kMsgTrayIcon:
      OnTrayMessage(LOWORD(lParam), wParam);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) {
        return result;
      }
      break;
    }
    case WM_MOUSEWHEEL:
      if (GET_WHEEL_DELTA_WPARAM(wParam) < 0) {
        FormMouseWheelDown();
      } else {
        FormMouseWheelUp();
      }
      return 0;
    case WM_TIMER:
      if (trayIcon1_.HandleMessage(message, wParam)) {
        return 0;
      }
      if (wParam == kTrayAnimationTimer) {
        TrayIcon1Animate();
        return 0;
      }
      if (wParam == kTimer1) {
        Timer1Timer();
        return 0;
      }
      break;
    case WM_CLOSE: {
      bool allowClose = false;
      try {
        FormClose(allowClose);
      } catch (...) {
        ShowEscapedException();
      }
      if (allowClose) {
        ::DestroyWindow(window_);
      }
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOMMAND:
      // Alt or F10 alone: the button bar is the window's only menu.
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) {
        toolBar1_.EnterKeyboardMode();
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      SavePositionIfMoved();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        FormEndSession();
      }
      return 0;
    case WM_DESTROY:
      closing_ = true;
      ::KillTimer(window_, kTimer1);
      trayIcon1_.Hide();
      ::PostQuitMessage(0);
      return 0;
    default:
      if (trayIcon1_.HandleMessage(message, wParam)) {
        return 0;
      }
      if (message == endForUpgrade_ && endForUpgrade_ != 0) {
        return EndForUpgrade();
      }
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

bool MainWindow::OnNotify(NMHDR* header, LRESULT& result) {
  if (header->hwndFrom == pageControl1_ && header->code == TCN_SELCHANGE) {
    PageControl1Change();
    result = 0;
    return true;
  }
  return toolBar1_.HandleNotify(header, result);
}

void RunApplication(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES | ICC_TAB_CLASSES;
  ::InitCommonControlsEx(&controls);
  SetExceptionReport(MainWindowHandle, Widen(text::kProductName));
  if (!MainWindow::RegisterWindowClass(instance) || !ResultGrid::RegisterClass(instance)) {
    return;
  }
  MainWindow form(instance);
  if (!form.CreateComponents() || !form.FormCreate()) {
    return;
  }
  const HACCEL keys = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (RouteDialogMessage(msg) || RouteMyNumbersDialogMessage(msg)) {
      continue;
    }
    const HWND main = form.Handle();
    if (keys && main && (msg.hwnd == main || ::IsChild(main, msg.hwnd)) &&
        ::TranslateAcceleratorW(main, keys, &msg)) {
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace norv
