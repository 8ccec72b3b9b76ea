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
#include "base/window_base_win.h"
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

class MainWindow final : public WindowBase {
 public:
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  static bool RegisterWindowClass(HINSTANCE instance);
  bool CreateComponents();  // the window and its controls, hidden
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
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;
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

  void ToolButton1Click();  // 終了: closes the window as its close box does
  void ToolButton2MouseDown(bool shiftHeld);  // 最新DATAチェック pressed; Shift forces a full refresh
  void ToolButton2Click();  // 最新DATAチェック: the manual check
  void ToolButton3Click();  // CSVファイル出力: the active game to a CSV file
  void ToolButton4Click();  // オプション設定: the options dialog
  void ToolButton5Click();  // Damson for LOTO6 (companion)
  void ToolButton6Click();  // Cedar for MiniLOTO (companion)
  void ToolButton7Click();  // Alder for Numbers4 (companion)
  void ToolButton8Click();  // Birch for Numbers4 (companion)
  void ToolButton9Click();  // Elder for Numbers3 (companion)
  void ToolButton10Click();  // the product's support page
  void ToolButton11Click();  // the bank's lottery page
  void ToolButton12Click();  // the maker's home page
  void ToolButton13Click();  // the help file

  void TrayIcon1Click();
  void TrayIcon1DblClick();
  void TrayIcon1Animate();
  void TrayIcon1Popup(POINT at);
  void N1Click();  // 宝くじデータ表示: the main window from the tray
  void N2Click();  // オプション設定, as ToolButton4
  void N3Click();  // 最新DATAチェック, as ToolButton2
  void N41Click();  // Damson, as ToolButton5
  void N42Click();  // Cedar, as ToolButton6
  void N43Click();  // Alder, as ToolButton7
  void N44Click();  // Birch, as ToolButton8
  void N45Click();  // Elder, as ToolButton9
  void N51Click();  // バージョン情報: the about box
  void N52Click();  // Vivi Zidivaz IV: asks for a newer release
  void N61Click();  // the support page, as ToolButton10
  void N62Click();  // the bank's page, as ToolButton11
  void N63Click();  // the maker's page, as ToolButton12
  void N7Click();  // ヘルプ, as ToolButton13
  void N8Click();  // 終了: the exit question

  HINSTANCE instance_;
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
