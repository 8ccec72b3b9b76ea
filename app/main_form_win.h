#pragma once
// The main window object behind the window class "TForm1". One window
// procedure dispatches to handlers named after the control and the event.

#include <windows.h>

#include <array>
#include <memory>
#include <stop_token>
#include <string>

#include "app/button_bar_win.h"
#include "base/handles_win.h"
#include "acquisition/check_run.h"
#include "base/check_state.h"
#include "schedule/schedule.h"
#include "app/tray_icon_win.h"
#include "app/tray_menu_win.h"
#include "settings/options_host_win.h"
#include "store/game.h"
#include "store/result_grid_win.h"

namespace norv {

inline constexpr UINT_PTR kTrayAnimationTimer = 1;
inline constexpr UINT_PTR kTimer1 = 2;  // the schedule timer
inline constexpr UINT_PTR kTrayRetryTimer = 3;  // adds a wanted tray icon the shell refused
inline constexpr int kWindowFontPixels = 12;  // "メイリオ" at 96 dpi

// The local clock as hhmm (19:05 is 1905), as the schedule reads it.
int LocalClockHhmm();

class MainWindow;

// Asked first about every message of the main window; true when it answered
// with `answer`. Only the test build of the program sets one, for its probes.
using WindowMessageHook = bool (*)(MainWindow& form, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer);
void SetWindowMessageHook(WindowMessageHook hook);

class MainWindow {
 public:
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  static bool RegisterWindowClass(HINSTANCE instance);
  bool CreateComponents();  // the window and its controls, hidden
  HWND Handle() const { return window_; }

  // The creation step. False: the program ends (a message has been shown).
  bool FormCreate();

  // Steps a checker thread runs here through RunOnWindowThread.
  void BeginGridReload(Game game);
  void EndGridReload(Game game);
  void StartOfCheckStep(const StartOfCheckView& view);
  // FinishCheck with the clock and the settings of now, then the view applied.
  void EndOfCheckStep(const CheckOutcome& outcome);

  // Update-notice visuals.
  void SelectGameTab(Game game);
  void SetCaption(const std::string& caption);
  void StartNoticeAnimation();
  void ShowNormalTrayIcon();
  void ShowBalloon(const std::string& text) { trayIcon1_.ShowBalloon(text); }

  void ShowTrayMenu(bool show);
  // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, as a click on it.
  void StepTab(int step);
  void AcknowledgeNotice();
  void ApplyButtonBar();
  // The checker's start and end: busy image and N3.
  void SetCheckButtonBusy(bool busy);

  // What the window shows, for the test build's probes.
  // The first body row in view of the active tab's grid, or 0 while that grid is hidden.
  LRESULT ActiveGridTopRow() const;
  bool TrayAnimating() const { return trayIcon1_.Animating(); }

 private:
  friend LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int command);
  bool OnNotify(NMHDR* header, LRESULT& result);
  void OnTrayMessage(UINT event, WPARAM anchor);

  bool SettleFolders();
  void SizeWindow();
  void CreatePages();
  void LayOutPages();
  void ResizeForTab(int tab);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void FormEndSession();
  void MoveToLoadedPosition();
  void ShowInTray();
  void ShowMainWindow();
  void StartStartupRun();
  void StartCheck();
  void LaunchChecker();
  void Timer1Timer();
  void WaitForRunningCheck();
  void ApplyEndOfCheck(const EndOfCheckView& view);
  void RequestCheckerStop();
  void SavePositionIfMoved();
  int ActiveTab() const;
  ResultGrid& GridOf(Game game) { return *grids_[static_cast<std::size_t>(GameIndex(game))]; }

  void FormClose(bool& allowClose);
  LRESULT EndForUpgrade();
  void PageControl1Change();
  void FormMouseWheelDown();
  void FormMouseWheelUp();
  void ScrollActiveGrid(bool down);

  void ToolButton1Click();
  void ToolButton2MouseDown(bool shiftHeld);
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton6Click();
  void ToolButton7Click();
  void ToolButton8Click();
  void ToolButton9Click();
  void ToolButton10Click();
  void ToolButton11Click();
  void ToolButton12Click();
  void ToolButton13Click();

  void TrayIcon1Click();
  void TrayIcon1DblClick();
  void TrayIcon1Animate();
  void TrayIcon1Popup(POINT at);
  void N1Click();
  void N2Click();
  void N3Click();
  void N41Click();
  void N42Click();
  void N43Click();
  void N44Click();
  void N45Click();
  void N51Click();
  void N52Click();
  void N61Click();
  void N62Click();
  void N63Click();
  void N7Click();
  void N8Click();

  HINSTANCE instance_;
  HWND window_ = nullptr;
  int dpi_ = 96;  // of the monitor the window is on; every 96-dpi figure is scaled to it
  UniqueFont font_;
  ButtonBar toolBar1_;
  HWND pageControl1_ = nullptr;
  std::array<std::unique_ptr<ResultGrid>, 4> grids_;
  std::array<bool, 4> gridLoaded_{};
  TrayIcon trayIcon1_;
  TrayMenu popupMenu1_;
  CheckState& state_ = AppCheckState();
  Schedule schedule_{state_};
  // One for the whole run: closing asks every checker of this window to stop.
  std::stop_source checkerStop_;
  UINT endForUpgrade_ = 0;
  int scrollBarWidth_ = 0;
  int clientHeight_ = 0;
  int pageHeight_ = 0;
  bool closing_ = false;
  std::unique_ptr<OptionsHost> optionsHost_;
};

}  // namespace norv
