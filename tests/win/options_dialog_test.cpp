#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/dpi_win.h"
#include "base/run_state.h"
#include "base/unicode_win.h"
#include "settings/options_controls_win.h"
#include "settings/options_dialog_win.h"
#include "settings/settings.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace options;
using namespace std::chrono_literals;
using testing::FindMessageBox;
using testing::MessageBoxText;
using testing::WaitForWindow;

constexpr wchar_t kOwnKey[] = L"Software\\Pellmark\\T-NORV";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProgramFolder[] = "C:\\Norvale\\";

class FakeHost : public OptionsHost {
 public:
  FakeHost() {
    main = ::CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 200, 150, 560, 420, nullptr, nullptr,
                             nullptr, nullptr);
  }
  ~FakeHost() override { ::DestroyWindow(main); }

  HWND MainWindow() const override { return main; }
  void ShowMainWindow() override { calls.push_back("ShowMainWindow"); }
  void HideMainWindow() override { calls.push_back("HideMainWindow"); }
  void CloseMainWindow() override { calls.push_back("CloseMainWindow"); }
  void ShowTrayMenu(bool show) override { calls.push_back(show ? "ShowTrayMenu(true)" : "ShowTrayMenu(false)"); }
  void ApplyButtonBar() override { calls.push_back("ApplyButtonBar"); }
  void OpenHelp() override { calls.push_back("OpenHelp"); }
  void OpenAboutBox(std::function<void()> onClosed) override { aboutClosed = std::move(onClosed); }
  bool IsCompanionInstalled(int id, bool showMessages) override {
    companionTests.emplace_back(id, showMessages);
    return installed.count(id) > 0;
  }
  int VersionCode() const override { return versionCode; }
  std::string ProgramFolder() const override { return kProgramFolder; }

  HWND main = nullptr;
  std::vector<std::string> calls;
  std::function<void()> aboutClosed;
  std::vector<std::pair<int, bool>> companionTests;
  std::set<int> installed;
  int versionCode = 3;
};

std::optional<std::wstring> ReadValue(const wchar_t* key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

std::optional<std::wstring> Stored(const wchar_t* name) { return ReadValue(kOwnKey, name); }

DWORD StoredValueCount() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kOwnKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD count = 0;
  ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
  ::RegCloseKey(key);
  return count;
}

// Answers the next message box titled Norvale from another thread while the
// dialog's thread waits inside it; gives the box's text.
std::future<std::wstring> AnswerNextBox(int button) {
  return std::async(std::launch::async, [button] {
    const HWND box = WaitForWindow([] { return FindMessageBox(::GetCurrentProcessId(), L"Norvale"); }, 5s);
    if (!box) {
      return std::wstring(L"<no box>");
    }
    const std::wstring text = MessageBoxText(box);
    testing::PressButton(box, button);
    return text;
  });
}

// Width of a control's caption in the control's own font.
int CaptionWidth(HWND control) {
  const std::wstring caption = testing::WindowText(control);
  HDC dc = ::GetDC(control);
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return size.cx;
}

int ClientWidth(HWND control) {
  RECT r{};
  ::GetClientRect(control, &r);
  return r.right;
}

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!RouteDialogMessage(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ClearProgramRegistry();
    RestartRequested.store(false);
    AppSettings().Update([](Settings& s) {
      s = Settings{};
      s.wav = std::string(kProgramFolder) + "norv.wav";
      s.lpp = "0";
    });
  }
  void TearDown() override {
    if (dialog && ::IsWindow(dialog)) {
      ::DestroyWindow(dialog);
    }
    testing::ClearProgramRegistry();
    RestartRequested.store(false);
  }

  void Open(bool mainWindowVisible = true) {
    dialog = OpenOptionsDialog(host, mainWindowVisible);
    ASSERT_NE(dialog, nullptr);
  }
  HWND Control(int id) const { return testing::FindChildById(dialog, id); }
  // The click, then what it posted: OK and Cancel close the dialog once their
  // own handler is done.
  void Click(int id) {
    ::SendMessageW(Control(id), BM_CLICK, 0, 0);
    PumpMessages();
  }
  bool Ticked(int id) const { return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }
  bool Shown(int id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
  void Choose(int comboId, int index) {
    const HWND combo = Control(comboId);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  }
  void Type(int editId, const std::wstring& text) {
    ::SendMessageW(Control(editId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  std::wstring Text(int id) const { return testing::WindowText(Control(id)); }
  void SelectTab(int index) {
    const HWND tab = Control(PageControl1);
    ::SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{tab, static_cast<UINT_PTR>(PageControl1), static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(dialog, WM_NOTIFY, PageControl1, reinterpret_cast<LPARAM>(&header));
  }
  std::vector<std::wstring> TabCaptions() const {
    const HWND tab = Control(PageControl1);
    std::vector<std::wstring> captions;
    const auto count = static_cast<int>(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[64] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 64;
      ::SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      captions.emplace_back(text);
    }
    return captions;
  }
  std::vector<std::wstring> Items(int comboId) const {
    const HWND combo = Control(comboId);
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[64] = {};
      ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.emplace_back(text);
    }
    return items;
  }
  void SetSettings(const std::function<void(Settings&)>& change) { AppSettings().Update(change); }
  Settings Memory() const { return AppSettings().Snapshot(); }

  FakeHost host;
  HWND dialog = nullptr;
};

TEST_F(OptionsDialogTest, OpensCentredOnTheMainWindowWithTheNineTabsAndNoTitleBarButtons) {
  Open();

  EXPECT_EQ(testing::WindowText(dialog), L"オプション設定");
  const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(::GetWindow(dialog, GW_OWNER), host.main);
  EXPECT_EQ(TabCaptions(), (std::vector<std::wstring>{L"全般", L"ﾁｪｯｸ方法", L"通信", L"DATA画面", L"Damson", L"Cedar",
                                                      L"Alder", L"Birch", L"Elder"}));

  RECT own{}, main{};
  ::GetWindowRect(dialog, &own);
  ::GetWindowRect(host.main, &main);
  EXPECT_NEAR((own.left + own.right) / 2, (main.left + main.right) / 2, 1);
  EXPECT_NEAR((own.top + own.bottom) / 2, (main.top + main.bottom) / 2, 1);
  EXPECT_EQ(host.calls, std::vector<std::string>{"HideMainWindow"});
}

// Centring on a minimised main window would put the dialog at -32000.
TEST_F(OptionsDialogTest, BesideAMinimisedMainWindowItStaysOnTheWorkArea) {
  ::ShowWindow(host.main, SW_MINIMIZE);
  ASSERT_TRUE(::IsIconic(host.main));
  Open();
  RECT own{};
  ::GetWindowRect(dialog, &own);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_GE(own.left, monitor.rcWork.left);
  EXPECT_GE(own.top, monitor.rcWork.top);
  EXPECT_LE(own.right, monitor.rcWork.right);
  EXPECT_LE(own.bottom, monitor.rcWork.bottom);
  ::ShowWindow(host.main, SW_HIDE);
}

TEST_F(OptionsDialogTest, ControlsCarryTheirCaptionsAndItems) {
  Open();

  EXPECT_EQ(Text(CheckBox1), L"Windows起動時にNorvaleを起動する");
  EXPECT_EQ(Text(CheckBox17), L"Elder for Numbers3");
  EXPECT_EQ(Text(CheckBox18), L"DATA更新時にDamsonのDATAも同時更新する");
  EXPECT_EQ(Text(CheckBox36), L"DATA更新時にElderを当選番号チェックモードで起動＆実行する");
  EXPECT_EQ(Text(CheckBox37), L"Norvaleの予想ソフト起動メニュー（タスクトレイメニュー）に登録する");
  EXPECT_EQ(Text(Label2), L" [通常モード]自動チェックする間隔");
  EXPECT_EQ(Text(Label4), L"分 ～");
  EXPECT_EQ(Text(Button6), L"バージョン情報");
  EXPECT_EQ(Text(Button2), L"キャンセル");
  EXPECT_EQ(Items(ComboBox1), (std::vector<std::wstring>{L"なし", L"５分", L"10分", L"15分", L"30分", L"60分", L"90分"}));
  EXPECT_EQ(Items(ComboBox7),
            (std::vector<std::wstring>{L"なし", L"直後", L"３秒後", L"５秒後", L"10秒後", L"30秒後", L"60秒後"}));
  const auto hours = Items(ComboBox5);
  ASSERT_EQ(hours.size(), 24u);
  EXPECT_EQ(hours.front(), L"00");
  EXPECT_EQ(hours.back(), L"23");
  const auto minutes = Items(ComboBox6);
  ASSERT_EQ(minutes.size(), 12u);
  EXPECT_EQ(minutes[1], L"05");
  EXPECT_EQ(minutes.back(), L"55");
  EXPECT_EQ(::GetWindowLongPtrW(Control(Button1), GWL_STYLE) & BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON);
}

TEST_F(OptionsDialogTest, EveryPageFitsItsControls) {
  Open();
  const std::wstring folder = testing::BuildFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const auto tabs = TabCaptions();
  RECT frame{};
  ::GetClientRect(dialog, &frame);
  ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&frame), 2);
  for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
    SelectTab(i);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    wchar_t name[32];
    // Other dpis than 96 (the high-dpi run) keep theirs beside these.
    const int dpi = DpiOfWindow(dialog);
    if (dpi == 96) {
      std::swprintf(name, 32, L"options_page_%d.bmp", i + 1);
    } else {
      std::swprintf(name, 32, L"options_page_%d_%ddpi.bmp", i + 1, dpi);
    }
    testing::SaveWindowScreenshot(dialog, folder + name);
  }
  // Every box and label lies inside the frame and is wide enough for its
  // caption next to the check mark.
  const int checkMark = ::GetSystemMetrics(SM_CXMENUCHECK) + 6;
  std::vector<std::pair<int, int>> captioned;
  for (int id = CheckBox1; id <= CheckBox37; ++id) {
    captioned.emplace_back(id, checkMark);
  }
  for (int id : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label20}) {
    captioned.emplace_back(id, 0);
  }
  for (int id : {Button1, Button2, Button3, Button4, Button5, Button6}) {
    captioned.emplace_back(id, 8);
  }
  for (const auto& [id, allowance] : captioned) {
    const HWND control = Control(id);
    RECT r{};
    ::GetWindowRect(control, &r);
    EXPECT_LE(r.right, frame.right) << "control " << id;
    EXPECT_LE(r.bottom, frame.bottom) << "control " << id;
    EXPECT_LE(CaptionWidth(control) + allowance, ClientWidth(control)) << "control " << id;
  }
}

TEST_F(OptionsDialogTest, TheTimeWindowFollowsResidencyAndTheWindowInterval) {
  SetSettings([](Settings& s) {
    s.mod = true;
    s.in2 = 0;
  });
  Open();

  EXPECT_TRUE(Ticked(CheckBox5));
  EXPECT_TRUE(Enabled(ComboBox2));
  EXPECT_TRUE(Enabled(Label7));
  for (int id : {ComboBox3, ComboBox4, ComboBox5, ComboBox6, Label3, Label4, Label5, Label6}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }

  Choose(ComboBox2, 3);
  for (int id : {ComboBox3, ComboBox4, ComboBox5, ComboBox6, Label3, Label4, Label5, Label6}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }

  Click(CheckBox5);
  for (int id : {Label2, ComboBox1, Label20, ComboBox2, Label7, ComboBox7, ComboBox3, Label6}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
}

TEST_F(OptionsDialogTest, TheSoundAndProxyFieldsFollowTheirBoxes) {
  SetSettings([](Settings& s) {
    s.snd = false;
    s.ldf = false;
    s.lpx = true;
    s.lpa = "proxy.local";
  });
  Open();

  EXPECT_FALSE(Enabled(Edit1));
  EXPECT_FALSE(Enabled(Button5));
  Click(CheckBox4);
  EXPECT_TRUE(Enabled(Label1));
  EXPECT_TRUE(Enabled(Edit1));
  EXPECT_TRUE(Enabled(Button5));

  EXPECT_TRUE(Enabled(CheckBox7));
  EXPECT_TRUE(Enabled(Edit2));
  EXPECT_EQ(Text(Edit2), L"proxy.local");
  EXPECT_EQ(Text(Edit3), L"") << "a stored port of 0 shows as an empty field";

  Click(CheckBox6);
  EXPECT_FALSE(Ticked(CheckBox7));
  EXPECT_FALSE(Enabled(CheckBox7));
  for (int id : {Label8, Label9, Edit2, Edit3}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }

  Click(Button3);
  EXPECT_EQ(Stored(L"ldf"), L"1");
  EXPECT_EQ(Stored(L"lpx"), L"0");
}

TEST_F(OptionsDialogTest, ApplyWritesOnlyWhatChangedAndNothingTheSecondTime) {
  Open();
  Click(CheckBox2);
  Choose(ComboBox1, 6);
  Click(CheckBox9);

  Click(Button3);

  EXPECT_EQ(Stored(L"dkg"), L"1");
  EXPECT_EQ(Stored(L"in1"), L"6");
  EXPECT_EQ(Stored(L"shp"), L"0");
  EXPECT_EQ(StoredValueCount(), 3u);
  EXPECT_TRUE(Memory().dkg);
  EXPECT_EQ(Memory().NormalIntervalMinutes(), 90);
  EXPECT_TRUE(::IsWindow(dialog)) << "適用 keeps the dialog open";

  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark");
  Click(Button3);
  EXPECT_EQ(StoredValueCount(), 0u);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "ApplyButtonBar"), 2);
}

TEST_F(OptionsDialogTest, ThePortFieldRefusesWhatIsNoPort) {
  Open();
  Type(Edit3, L"");
  Click(Button3);
  EXPECT_EQ(Stored(L"lpp"), std::nullopt) << "empty counts as the stored 0";

  Type(Edit3, L"abc");
  Click(Button3);
  EXPECT_EQ(Text(Edit3), L"");
  EXPECT_EQ(Stored(L"lpp"), std::nullopt);

  Type(Edit3, L" 8080 ");
  Click(Button3);
  EXPECT_EQ(Stored(L"lpp"), L"8080");

  Type(Edit3, L"-1");
  Click(Button3);
  EXPECT_EQ(Text(Edit3), L"8080");

  Type(Edit3, L"");
  Click(Button3);
  EXPECT_EQ(Stored(L"lpp"), L"0") << "clearing a stored port stores 0";
  EXPECT_EQ(Memory().lpp, "0");
}

TEST_F(OptionsDialogTest, TheSoundFileMustBeAnExistingWaveFile) {
  const std::wstring wave = testing::BuildFolder() + L"options_test_chime.WaV";
  testing::WriteFileBytes(wave, "RIFF");
  Open();

  Type(Edit1, L"C:\\nowhere\\missing.wav");
  Click(Button3);
  EXPECT_EQ(Text(Edit1), L"C:\\Norvale\\norv.wav");
  EXPECT_EQ(Stored(L"wav"), std::nullopt);

  Type(Edit1, L"  " + wave);
  Click(Button3);
  EXPECT_EQ(Stored(L"wav"), wave);
  EXPECT_EQ(Memory().wav, Narrow(wave));
  ::DeleteFileW(wave.c_str());
}

TEST_F(OptionsDialogTest, StartWithWindowsWritesAndDeletesTheRunEntry) {
  Open();
  Click(CheckBox1);
  Click(Button3);
  EXPECT_EQ(Stored(L"win"), L"1");
  EXPECT_EQ(ReadValue(kRunKey, L"T-NORV"), L"\"C:\\Norvale\\norv.exe\"");

  Click(CheckBox1);
  Click(Button3);
  EXPECT_EQ(Stored(L"win"), L"0");
  EXPECT_EQ(ReadValue(kRunKey, L"T-NORV"), std::nullopt);
}

// An earlier release wrote the path bare, which a folder with a space turns
// into a different program at logon.
TEST_F(OptionsDialogTest, TheBareRunEntryOfAnEarlierReleaseShowsTickedAndIsSavedQuoted) {
  const std::wstring bare = L"C:\\Norvale\\norv.exe";
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"T-NORV", REG_SZ, bare.c_str(),
                    static_cast<DWORD>((bare.size() + 1) * sizeof(wchar_t)));
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kOwnKey, L"win", REG_SZ, L"1", 2 * sizeof(wchar_t));
  SetSettings([](Settings& s) { s.win = true; });
  Open();
  EXPECT_TRUE(Ticked(CheckBox1));
  Click(Button3);
  EXPECT_EQ(ReadValue(kRunKey, L"T-NORV"), L"\"C:\\Norvale\\norv.exe\"");
  EXPECT_EQ(Stored(L"win"), L"1");
}

TEST_F(OptionsDialogTest, AChangedModeAsksOnEveryApplyAndKeepsTheRunningMode) {
  Open();
  Click(CheckBox5);

  auto first = AnswerNextBox(IDNO);
  Click(Button3);
  EXPECT_EQ(first.get(),
            L"オプション設定を有効にするには再起動する必要があります\n今すぐNorvaleを再起動しますか？");
  EXPECT_EQ(Stored(L"mod"), L"1");
  EXPECT_FALSE(Memory().mod);

  auto second = AnswerNextBox(IDNO);
  Click(Button3);
  EXPECT_NE(second.get(), L"<no box>") << "asked again while the box differs from the running mode";
  EXPECT_FALSE(RestartRequested.load());

  Click(Button2);
  EXPECT_FALSE(::IsWindow(dialog));

  // Opened again: the running mode, and OK leaves the stored mode as written.
  Open();
  EXPECT_FALSE(Ticked(CheckBox5));
  Click(Button1);
  EXPECT_EQ(Stored(L"mod"), L"1");
  EXPECT_FALSE(RestartRequested.load());
}

TEST_F(OptionsDialogTest, AcceptingTheRestartClosesTheMainWindowWithoutShowingIt) {
  Open(true);
  Click(CheckBox5);

  auto answer = AnswerNextBox(IDYES);
  Click(Button1);
  answer.get();

  EXPECT_TRUE(RestartRequested.load());
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"HideMainWindow", "ApplyButtonBar", "CloseMainWindow"}));
}

TEST_F(OptionsDialogTest, OkAndCancelHandBackToTheWindowOrTheTray) {
  Open(true);
  Click(Button1);
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(host.calls.back(), "ShowMainWindow");

  host.calls.clear();
  Open(false);
  EXPECT_EQ(host.calls, std::vector<std::string>{"ShowTrayMenu(false)"});
  Click(Button1);
  EXPECT_EQ(host.calls.back(), "ShowTrayMenu(true)");

  host.calls.clear();
  Open(true);
  Click(CheckBox2);
  Click(Button2);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"HideMainWindow", "ShowMainWindow"}));
  EXPECT_EQ(Stored(L"dkg"), std::nullopt) << "キャンセル applies nothing";

  host.calls.clear();
  Open(false);
  Click(Button2);
  EXPECT_EQ(host.calls.back(), "ShowTrayMenu(true)");
}

TEST_F(OptionsDialogTest, EscapeThroughTheMessageLoopCancels) {
  Open(true);
  ::SetFocus(Control(CheckBox1));
  ::PostMessageW(Control(CheckBox1), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(host.calls.back(), "ShowMainWindow");
}

TEST_F(OptionsDialogTest, ACompanionThatIsNotInstalledCannotBeTicked) {
  SetSettings([](Settings& s) { s.cd[2] = true; });
  host.installed = {4};
  Open();

  EXPECT_FALSE(Ticked(FirstCompanionBox(1) + 2)) << "ticked by filling, but Cedar is not installed";
  Click(CheckBox30);
  EXPECT_FALSE(Ticked(CheckBox30));
  Click(CheckBox18);
  EXPECT_TRUE(Ticked(CheckBox18));
  EXPECT_EQ(host.companionTests,
            (std::vector<std::pair<int, bool>>{{3, true}, {2, true}, {4, true}}));

  Click(Button3);
  EXPECT_EQ(Stored(L"dm0"), L"1");
  EXPECT_EQ(Stored(L"cd2"), L"0");
  EXPECT_EQ(Stored(L"bc0"), std::nullopt);
}

TEST_F(OptionsDialogTest, WithoutAlderItsTabAndButtonBoxAreHiddenAndItsValuesKept) {
  host.versionCode = 5;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kOwnKey, L"ad4", REG_SZ, L"1", 4);
  SetSettings([](Settings& s) { s.ad4 = false; });
  Open();

  const auto tabs = TabCaptions();
  EXPECT_EQ(tabs.size(), 8u);
  EXPECT_EQ(std::find(tabs.begin(), tabs.end(), L"Alder"), tabs.end());
  EXPECT_FALSE(Shown(CheckBox15));
  EXPECT_EQ(Control(CheckBox26), nullptr);

  Click(Button1);
  EXPECT_EQ(Stored(L"ad4"), L"1");
  EXPECT_EQ(Stored(L"ad0"), std::nullopt);
}

TEST_F(OptionsDialogTest, TheAboutBoxDisablesTheDialogUntilItCloses) {
  Open();
  Click(Button6);
  EXPECT_FALSE(::IsWindowEnabled(dialog));
  ASSERT_TRUE(host.aboutClosed);
  host.aboutClosed();
  EXPECT_TRUE(::IsWindowEnabled(dialog));

  Click(Button4);
  EXPECT_EQ(host.calls.back(), "OpenHelp");
}

}  // namespace
}  // namespace norv
