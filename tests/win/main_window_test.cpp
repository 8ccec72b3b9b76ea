// The real program, started and driven from outside: start-up refusals, the
// plain and the resident start, the width per tab, the wheel and closing.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <filesystem>
#include <string>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/dpi.h"
#include "base/unicode_win.h"
#include "norv_process.h"

namespace norv {
namespace {

using testing::DataFolderPath;
using testing::MessageBoxText;
using testing::NorvProcess;
using testing::PressButton;
using testing::ReadProgramSetting;
using testing::SetProgramSetting;
using testing::WaitUntil;
using testing::WindowText;

constexpr wchar_t kSection[] = L"Software\\Pellmark\\T-NORV";
constexpr std::array<const wchar_t*, 4> kDataFiles{L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan",
                                                   L"dat_num3.tan"};

std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

// Record k of game 0..3 (LOTO6, MiniLOTO, Numbers4, Numbers3), CR LF included.
std::string RecordOf(int game, int k) {
  std::string text = Digits(k % 10000, 4);
  const int numbers[4] = {7, 6, 4, 3};
  const int prizes[4] = {38, 24, 26, 28};
  for (int i = 0; i < numbers[game]; ++i) {
    text += game < 2 ? Digits((k + i * 7) % 43 + 1, 2) : Digits((k + i) % 10, 1);
  }
  for (int i = 0; i < prizes[game]; ++i) {
    text += static_cast<char>('0' + (i * 3 + k) % 10);
  }
  return text + "\r\n";
}

void WriteDataFile(int game, int records) {
  std::filesystem::create_directories(DataFolderPath());
  std::ofstream file(std::filesystem::path(DataFolderPath() + kDataFiles[static_cast<std::size_t>(game)]),
                     std::ios::binary | std::ios::trunc);
  for (int k = 1; k <= records; ++k) {
    file << RecordOf(game, k);
  }
}

void WriteAllDataFiles(int records) {
  for (int game = 0; game < 4; ++game) {
    WriteDataFile(game, records);
  }
}

int ClientWidth(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return r.right - r.left;
}

LRESULT TopRow(HWND window) {
  return ::SendMessageW(window, kMsgActiveGridTopRow, 0, 0);
}

// The active grid has been loaded and is shown.
bool GridLoaded(HWND window) {
  return WaitUntil([&] { return TopRow(window) != 0; });
}

LRESULT CheckButtonImage(HWND window) {
  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  return ::SendMessageW(bar, TB_GETBITMAP, kToolButtonFirst + 1, 0);
}

// The start-up run has ended: it loaded the LOTO6 grid (after showing the busy
// image), and its last step put the check button's image back.
bool StartupLoaded(HWND window) {
  return GridLoaded(window) && WaitUntil([&] { return CheckButtonImage(window) == 1; });
}

void Wheel(HWND window, bool down) {
  ::SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), 0);
}

// Whether a right click on the tray icon opens a menu. An emptied menu opens
// no popup at all. (Wine keeps menus per process, so the items themselves
// cannot be counted from here.) The shell sends the button's release and,
// with version 4, the menu request after it: the program answers one of them.
bool TrayMenuOpens(const NorvProcess& norv, HWND window) {
  ::PostMessageW(window, kMsgTrayIcon, 1, WM_RBUTTONUP);
  ::PostMessageW(window, kMsgTrayIcon, MAKEWPARAM(200, 200), MAKELPARAM(WM_CONTEXTMENU, 1));
  const auto visiblePopup = [&] { return testing::FindVisibleProcessWindow(norv.Id(), L"#32768"); };
  if (!WaitUntil([&] { return visiblePopup() != nullptr; }, 1500)) {
    return false;
  }
  ::PostMessageW(window, WM_CANCELMODE, 0, 0);
  WaitUntil([&] { return visiblePopup() == nullptr; }, 2000);
  return true;
}

bool TrayIconExists(HWND window, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = id;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
    WriteAllDataFiles(12);
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  }
};

TEST_F(MainWindowTest, EachMissingDataFileEndsTheProgramWithCodeTenNumberZero) {
  for (std::size_t missing = 0; missing < kDataFiles.size(); ++missing) {
    WriteAllDataFiles(1);
    ::DeleteFileW((DataFolderPath() + kDataFiles[missing]).c_str());
    NorvProcess norv;
    ASSERT_TRUE(norv.Started());
    HWND box = norv.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message for a missing file " << missing;
    EXPECT_EQ(MessageBoxText(box), L"データの初期化に失敗しました　【0】");
    PressButton(box, IDOK);
    EXPECT_TRUE(norv.Ended()) << "the program goes on without file " << missing;
  }
}

TEST_F(MainWindowTest, PlainStartShowsTheWindowOnTheLoto6Layout) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(StartupLoaded(window));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(WindowText(window), L"Norvale");
  EXPECT_EQ(ClientWidth(window), ::GetSystemMetrics(SM_CXVSCROLL) + 536);
  EXPECT_FALSE(TrayIconExists(window, 1));
}

TEST_F(MainWindowTest, ResidentStartStaysHiddenBehindATrayIcon) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(StartupLoaded(window));
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_TRUE(TrayIconExists(window, 1));
  EXPECT_FALSE(TrayIconExists(window, 2)) << "the probe itself must tell icons apart";
}

TEST_F(MainWindowTest, Numbers4TabNarrowsTheWindowAndShowsItsNewestDraw) {
  WriteDataFile(2, 40);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  const int loto6Width = ClientWidth(window);
  HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
  ASSERT_NE(tabs, nullptr);
  ::SendMessageW(tabs, TCM_SETCURFOCUS, 2, 0);
  ASSERT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(loto6Width - ClientWidth(window), 143);
  ASSERT_TRUE(GridLoaded(window));
  EXPECT_EQ(TopRow(window), 1);
  Wheel(window, true);
  Wheel(window, true);
  EXPECT_EQ(TopRow(window), 3);
  ::SendMessageW(tabs, TCM_SETCURFOCUS, 0, 0);
  ::SendMessageW(tabs, TCM_SETCURFOCUS, 2, 0);
  EXPECT_EQ(TopRow(window), 1) << "a tab switch scrolls back to the newest draw";
  EXPECT_EQ(ClientWidth(window), loto6Width - 143);
}

TEST_F(MainWindowTest, WheelKeepsShortHistoriesAtTheTop) {
  for (int rows : {0, 10}) {
    WriteDataFile(0, rows);
    NorvProcess norv;
    HWND window = norv.WaitForMainWindow();
    ASSERT_TRUE(StartupLoaded(window)) << rows << " rows";
    Wheel(window, true);
    EXPECT_EQ(TopRow(window), 1) << rows << " rows";
    Wheel(window, false);
    EXPECT_EQ(TopRow(window), 1) << rows << " rows";
  }
}

TEST_F(MainWindowTest, WheelMovesElevenRowsOneStepEachWay) {
  WriteDataFile(0, 11);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  Wheel(window, true);
  EXPECT_EQ(TopRow(window), 2);
  Wheel(window, true);
  EXPECT_EQ(TopRow(window), 2);
  Wheel(window, false);
  EXPECT_EQ(TopRow(window), 1);
  Wheel(window, false);
  EXPECT_EQ(TopRow(window), 1);
}

TEST_F(MainWindowTest, ResidentCloseHidesToTheTrayAndSavesAMovedPosition) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::SendMessageW(window, kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  ::SetWindowPos(window, nullptr, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_TRUE(norv.Running());
  EXPECT_TRUE(TrayIconExists(window, 1));
  EXPECT_EQ(ReadProgramSetting(L"pox"), L"123");
  EXPECT_EQ(ReadProgramSetting(L"poy"), L"87");
  ::SendMessageW(window, kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  ::SendMessageW(window, WM_COMMAND, kToolButtonFirst, 0);
  EXPECT_FALSE(::IsWindowVisible(window));
  EXPECT_FALSE(norv.Ended(300)) << "ToolButton1 only hides a resident window";
}

TEST_F(MainWindowTest, TrayMenuIsEmptyWhileTheWindowIsUpAndBackAfterItHides) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  EXPECT_TRUE(TrayMenuOpens(norv, window));
  ::SendMessageW(window, kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  EXPECT_FALSE(TrayMenuOpens(norv, window));
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(TrayMenuOpens(norv, window));
}

TEST_F(MainWindowTest, TrayExitAsksFirstAndEndsOnlyOnYes) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::PostMessageW(window, WM_COMMAND, kN8, 0);
  HWND box = norv.WaitForMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L" 終了しますか？");
  PressButton(box, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return norv.MessageBoxWindow() == nullptr; }));
  EXPECT_FALSE(norv.Ended(300));
  ::PostMessageW(window, WM_COMMAND, kN8, 0);
  box = norv.WaitForMessageBox();
  ASSERT_NE(box, nullptr);
  PressButton(box, IDYES);
  EXPECT_TRUE(norv.Ended());
}

TEST_F(MainWindowTest, PlainCloseEndsTheProgram) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::PostMessageW(window, WM_COMMAND, kToolButtonFirst, 0);
  EXPECT_TRUE(norv.Ended());
}

}  // namespace
}  // namespace norv

namespace norv {
namespace {

// Pictures of every tab over a long history, for a person to look at; only
// when NORVALE_SCREENSHOTS is set.
TEST_F(MainWindowTest, ScreenshotsOfEveryTabWithALongHistory) {
  if (!::GetEnvironmentVariableW(L"NORVALE_SCREENSHOTS", nullptr, 0)) {
    GTEST_SKIP() << "set NORVALE_SCREENSHOTS to take them";
  }
  WriteAllDataFiles(9999);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
  std::filesystem::create_directories(std::filesystem::path(testing::BesideTestBinary(L"screenshots")));
  for (int tab = 0; tab < 4; ++tab) {
    ::SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
    ASSERT_TRUE(GridLoaded(window));
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(500);
    testing::SaveWindowScreenshot(window, testing::BesideTestBinary(L"screenshots\\tab") + std::to_wstring(tab + 1) + L".bmp");
  }
}

}  // namespace
}  // namespace norv

namespace norv {
namespace {

RECT ScreenRect(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return r;
}

RECT ClientScreenRect(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

HWND VisibleGrid(HWND tabs) {
  for (HWND grid = ::FindWindowExW(tabs, nullptr, L"NorvaleResultGrid", nullptr); grid;
       grid = ::FindWindowExW(tabs, grid, L"NorvaleResultGrid", nullptr)) {
    if (::IsWindowVisible(grid)) {
      return grid;
    }
  }
  return nullptr;
}

// The client width of each tab at `dpi`, each tab's parts checked to lie
// inside the window, and screenshots of each when they are asked for.
std::array<int, 4> TabWidthsAt(DWORD dpi) {
  std::array<int, 4> widths{};
  const testing::ScopedLogPixels logPixels(dpi);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  EXPECT_TRUE(StartupLoaded(window)) << dpi << " dpi";
  HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  const auto buttonSize = static_cast<DWORD>(::SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(LOWORD(buttonSize), Scale(29, static_cast<int>(dpi)));
  EXPECT_EQ(HIWORD(buttonSize), Scale(28, static_cast<int>(dpi)));
  const bool screenshots = ::GetEnvironmentVariableW(L"NORVALE_SCREENSHOTS", nullptr, 0) != 0;
  if (screenshots) {
    std::filesystem::create_directories(std::filesystem::path(testing::BesideTestBinary(L"screenshots")));
  }
  for (int tab = 0; tab < 4; ++tab) {
    ::SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
    EXPECT_TRUE(GridLoaded(window));
    widths[static_cast<std::size_t>(tab)] = ClientWidth(window);
    const RECT client = ClientScreenRect(window);
    EXPECT_TRUE(Inside(ScreenRect(bar), client)) << dpi << " dpi, tab " << tab << ": the button bar";
    EXPECT_TRUE(Inside(ScreenRect(tabs), client)) << dpi << " dpi, tab " << tab << ": the page control";
    const HWND grid = VisibleGrid(tabs);
    EXPECT_NE(grid, nullptr);
    if (grid) {
      EXPECT_TRUE(Inside(ScreenRect(grid), ClientScreenRect(tabs))) << dpi << " dpi, tab " << tab << ": the grid";
    }
    if (screenshots) {
      ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      ::Sleep(300);
      testing::SaveWindowScreenshot(window, testing::BesideTestBinary(L"screenshots\\dpi") + std::to_wstring(dpi) +
                                                L"_tab" + std::to_wstring(tab + 1) + L".bmp");
    }
  }
  return widths;
}

TEST_F(MainWindowTest, At144DpiEveryTabIsHalfAgainAsWideAndHoldsItsParts) {
  WriteAllDataFiles(40);
  const std::array<int, 4> at96 = TabWidthsAt(96);
  const std::array<int, 4> at144 = TabWidthsAt(144);
  EXPECT_EQ(at96[0], ::GetSystemMetrics(SM_CXVSCROLL) + 536);
  for (std::size_t tab = 0; tab < 4; ++tab) {
    EXPECT_NEAR(at144[tab], at96[tab] * 1.5, 1.0) << "tab " << tab;
  }
}

// The window takes the keyboard only in the foreground, as for a user.
bool BringForward(HWND window) {
  ::SetForegroundWindow(window);
  return WaitUntil([&] { return ::GetForegroundWindow() == window; }, 3000);
}

LRESULT RunState(HWND window) { return ::SendMessageW(window, kMsgRunStateProbe, 0, 0); }

// Checks against a server that never answers keep running, so what started
// them can be read while they do.
class HangingCheckTest : public MainWindowTest {
 protected:
  testing::SilentServer server_;
  testing::ScopedEnvironment directory1_{L"NORVALE_DIRECTORY_1", testing::Utf16(server_.Origin() + "/d?SFT=0")};
  testing::ScopedEnvironment directory2_{L"NORVALE_DIRECTORY_2", testing::Utf16(server_.Origin() + "/d?SFT=0")};
};

TEST_F(HangingCheckTest, F5ChecksAsTheCheckButtonDoes) {
  ASSERT_NE(server_.Port(), 0);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::PostMessageW(window, WM_KEYDOWN, VK_F5, 1);
  ASSERT_TRUE(WaitUntil([&] { return (RunState(window) & kProbeCheckRunning) != 0; }, 5000));
  EXPECT_EQ(RunState(window) & kProbeForcedRefresh, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(window) == L"Norvale　【最新DATAチェック中】"; }, 3000))
      << Narrow(WindowText(window));
}

TEST_F(HangingCheckTest, ShiftF5ForcesARefresh) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ASSERT_TRUE(BringForward(window));
  testing::PressKeys({VK_SHIFT, VK_F5});
  ASSERT_TRUE(WaitUntil([&] { return (RunState(window) & kProbeCheckRunning) != 0; }, 5000));
  EXPECT_NE(RunState(window) & kProbeForcedRefresh, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(window) == L"Norvale　【強制DATA更新中】"; }, 3000))
      << Narrow(WindowText(window));
}

TEST_F(MainWindowTest, CtrlTabStepsThroughTheTabsBothWays) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  HWND tabs = ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr);
  const int loto6Width = ClientWidth(window);
  ASSERT_TRUE(BringForward(window));
  testing::PressKeys({VK_CONTROL, VK_TAB});
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1; }, 3000));
  EXPECT_EQ(loto6Width - ClientWidth(window), 536 - 433) << "the tab change's own width rule";
  testing::PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  testing::PressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 3; }, 3000)) << "wraps round";
  EXPECT_EQ(loto6Width - ClientWidth(window), 536 - 406);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

TEST_F(MainWindowTest, AltOrF10ReachesTheButtonBarWhoseArrowsAndEnterPressAButton) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  ASSERT_TRUE(BringForward(window));
  testing::PressKeys({VK_MENU});
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(bar, TB_GETHOTITEM, 0, 0) == 0; }, 3000));
  EXPECT_EQ(FocusOf(window), bar);
  testing::PressKeys({VK_ESCAPE});
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == window; }, 3000));
  EXPECT_EQ(::SendMessageW(bar, TB_GETHOTITEM, 0, 0), -1);

  testing::PressKeys({VK_F10});
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(bar, TB_GETHOTITEM, 0, 0) == 0; }, 3000));
  constexpr LRESULT kOptionsButton = 3;  // ToolButton4
  for (int i = 0; i < 4 && ::SendMessageW(bar, TB_GETHOTITEM, 0, 0) != kOptionsButton; ++i) {
    testing::PressKeys({VK_RIGHT});
    WaitUntil([&] { return ::SendMessageW(bar, TB_GETHOTITEM, 0, 0) > 0; }, 1000);
    ::Sleep(100);
  }
  ASSERT_EQ(::SendMessageW(bar, TB_GETHOTITEM, 0, 0), kOptionsButton);
  testing::PressKeys({VK_RETURN});
  EXPECT_TRUE(WaitUntil([&] { return norv.FindOwnWindow(L"#32770", L"オプション設定") != nullptr; }, 5000));
}

TEST_F(MainWindowTest, EndOfSessionSavesAMovedWindowAndAsksNothing) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::SetWindowPos(window, nullptr, 131, 92, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "Windows may log off";
  EXPECT_EQ(ReadProgramSetting(L"pox"), L"131");
  EXPECT_EQ(norv.MessageBoxWindow(), nullptr);
  ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_TRUE(norv.Ended());
  EXPECT_EQ(ReadProgramSetting(L"poy"), L"92");
}

TEST_F(HangingCheckTest, EndOfSessionWhileResidentAndCheckingStopsWithoutTheExitQuestion) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ::PostMessageW(window, WM_COMMAND, kN3, 0);
  ASSERT_TRUE(WaitUntil([&] { return (RunState(window) & kProbeCheckRunning) != 0; }, 5000));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ::SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_EQ(norv.MessageBoxWindow(), nullptr) << "no exit question";
  EXPECT_TRUE(norv.Ended()) << "the hanging check held the end of the session";
  EXPECT_FALSE(TrayIconExists(window, 1));
}

TEST_F(MainWindowTest, AResidentIconLostWithExplorerComesBackWithTheNewTaskbar) {
  SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
  SetProgramSetting(L"mod", L"1");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  ASSERT_TRUE(TrayIconExists(window, 1));
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  ASSERT_FALSE(TrayIconExists(window, 1));
  ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconExists(window, 1));
}

// The last button, the tray item and Ctrl+M each open the one dialog マイ数字,
// which Esc closes again.
TEST_F(MainWindowTest, TheLastButtonTheTrayItemAndCtrlMOpenMyNumbers) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupLoaded(window));
  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  // Asked by command: a TBBUTTON would not cross to the other process.
  const int last = kToolButtonFirst + 13;
  ASSERT_EQ(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 14);
  ASSERT_EQ(::SendMessageW(bar, TB_COMMANDTOINDEX, last, 0), 13);
  EXPECT_FALSE(::SendMessageW(bar, TB_ISBUTTONHIDDEN, last, 0)) << "always shown";
  auto dialog = [&] { return norv.FindOwnWindow(L"#32770", L"マイ数字"); };
  for (int command : {last, static_cast<int>(kN9)}) {
    ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(command), 0);
    ASSERT_TRUE(WaitUntil([&] { return dialog() && ::IsWindowVisible(dialog()); }, 5000)) << command;
    ::PostMessageW(dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return dialog() == nullptr; }, 5000)) << command;
  }
  ASSERT_TRUE(BringForward(window));
  testing::PressKeys({VK_CONTROL, 'M'});
  ASSERT_TRUE(WaitUntil([&] { return dialog() != nullptr; }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog(); }, 3000));
  testing::PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([&] { return dialog() == nullptr; }, 5000));
}

}  // namespace
}  // namespace norv
