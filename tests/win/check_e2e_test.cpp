// The real program against the maker's service in test mode, driven from outside as a
// user would: the start-up check and its notice, the service failures, the
// fallback status file, the forced refresh and the CSV export.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "acquisition/environment.h"
#include "acquisition/fetch_win.h"
#include "acquisition/full_refresh.h"
#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "store/game.h"
#include "store/shift_jis.h"
#include "tests/win/companion_test_support.h"
#include "tests/win/local_services.h"
#include "tests/win/norv_process.h"

namespace norv {
namespace {

using testing::NorvProcess;
using testing::WaitUntil;

constexpr wchar_t kSection[] = L"Software\\Pellmark\\T-NORV";
constexpr std::array<const wchar_t*, 4> kDataFiles{L"dat_lot6.tan", L"dat_mini.tan", L"dat_num4.tan",
                                                   L"dat_num3.tan"};
constexpr std::array<const char*, 4> kHistories{"/svc1/lot6.txt", "/svc1/mini.txt", "/svc1/num4.txt",
                                                "/svc1/num3.txt"};
constexpr std::size_t kLoto6Line = 58;
constexpr wchar_t kLoto6UpdatedCaption[] = L"Norvale　【LOTO6 が更新されました】";
constexpr int kToolButton2 = kToolButtonFirst + 1;
constexpr int kToolButton3 = kToolButtonFirst + 2;
constexpr int kFileNameBox = 0x47C;  // cmb13 of the Explorer-style file dialog

int ServicePort() { return testing::LocalServicePort("service.port"); }

std::string Service(std::string_view path) {
  WinInetFetcher fetcher(AccessFromSettings(false, false, "", ""));
  std::stop_source never;
  return fetcher.FetchUrlText("http://127.0.0.1:" + std::to_string(ServicePort()) + std::string(path), false,
                              never.get_token());
}

// The data file the service's full history makes, as the program writes it.
std::string HistoryFile(Game game) {
  const std::string history = Service(kHistories[static_cast<std::size_t>(GameIndex(game))]);
  return BuildHistoryFile(game, history, {}).value_or("");
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::wstring DataFile(Game game) {
  return testing::DataFolderPath() + kDataFiles[static_cast<std::size_t>(GameIndex(game))];
}

std::string ReadData(Game game) { return ReadBytes(DataFile(game)); }

// Without opening the file: a reader's open handle would keep the program
// from replacing it, and a poll must not change what it watches.
std::size_t DataSize(Game game) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(DataFile(game).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::size_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void SetSetting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSection, name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// Local, not the shared helpers: norv_process.h and win_test_support.cpp both
// define them, and only one copy may reach the linker.
std::wstring Caption(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

std::wstring BoxText(HWND box) {
  wchar_t text[512] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 512);
  return text;
}

// The edit inside the dialog's file name box.
HWND FileNameEdit(HWND dialog) {
  struct Search {
    HWND found = nullptr;
  } search;
  ::EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t cls[16] = {};
        ::GetClassNameW(child, cls, 16);
        if (::GetDlgCtrlID(child) == kFileNameBox && std::wstring(cls) == L"Edit") {
          reinterpret_cast<Search*>(param)->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Asked of the control itself: GetWindowText gives another process only the
// name the window was created with.
std::wstring ControlText(HWND control) {
  wchar_t text[MAX_PATH] = {};
  ::SendMessageW(control, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
  return text;
}

// Whether the tray host (another process) put up a balloon window before
// `done` held or the time ran out. Balloons are tooltip windows of the host.
bool BalloonSeenUntil(DWORD programId, const std::function<bool()>& done, int timeoutMs = 10000) {
  struct Search {
    DWORD programId;
    bool seen = false;
  } search{programId};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!search.seen && !done() && std::chrono::steady_clock::now() < deadline) {
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          wchar_t cls[32] = {};
          ::GetClassNameW(window, cls, 32);
          DWORD pid = 0;
          ::GetWindowThreadProcessId(window, &pid);
          if (pid != s->programId && std::wstring(cls) == TOOLTIPS_CLASSW && ::IsWindowVisible(window)) {
            s->seen = true;
          }
          return !s->seen;
        },
        reinterpret_cast<LPARAM>(&search));
    ::Sleep(10);
  }
  return search.seen;
}

LRESULT Probe(HWND window) { return ::SendMessageW(window, kMsgRunStateProbe, 0, 0); }

bool CheckRunning(HWND window) { return (Probe(window) & kProbeCheckRunning) != 0; }

HWND TabControl(HWND window) { return ::FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr); }

LRESULT ActiveTab(HWND window) { return ::SendMessageW(TabControl(window), TCM_GETCURSEL, 0, 0); }

// The start-up run has loaded the first grid and let go of CheckRunning.
bool StartupRunDone(HWND window) {
  return WaitUntil([&] { return ::SendMessageW(window, kMsgActiveGridTopRow, 0, 0) != 0 && !CheckRunning(window); });
}

// Requests that reached `path` so far, by the service's own log.
int RequestsTo(std::string_view path) {
  const std::string log = Service("/control/log");
  int count = 0;
  for (std::size_t at = log.find(path); at != std::string::npos; at = log.find(path, at + 1)) ++count;
  return count;
}

// The test build as norv.exe in a folder of its own, beside a stand-in
// message utility that logs its arguments to launch.log there.
struct ProgramCopy {
  explicit ProgramCopy(const std::wstring& name) : folder(testing::ScratchFolder(name)) {
    ::CopyFileW(testing::BesideTestBinary(L"norv_probed.exe").c_str(), (folder + L"norv.exe").c_str(), FALSE);
    testing::InstallStandin(folder, L"nnote.exe");
  }
  ~ProgramCopy() { testing::RemoveFolder(folder); }
  std::wstring Exe() const { return folder + L"norv.exe"; }
  std::wstring folder;
};

class CheckEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServicePort(), 0) << "the test service is not running (see tools/service-ctl)";
    ASSERT_EQ(Service("/control/reset"), "ok");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
    // Not a first start, so these hold; no automatic checks, no sound.
    for (const wchar_t* name : {L"win", L"mod", L"kid", L"in1", L"in2", L"snd", L"msg", L"dkg"}) {
      SetSetting(name, L"0");
    }
  }
  void TearDown() override {
    // The user's lines of a test that has them match in no other.
    for (const wchar_t* name : {L"my_numbers.csv", L"my_wins.csv", L"my_wins_seen.txt"}) {
      ::DeleteFileW((testing::DataFolderPath() + name).c_str());
    }
    Service("/control/reset");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  }

  // Every game's history complete but LOTO6's, whose newest draw is only on
  // the bank's page. Returns the LOTO6 data file as written.
  std::string PrepareOneNewLoto6Draw() {
    const std::string state = Service("/control/state");
    // "published" counts of the other games become their history counts.
    Service("/control/status?mini=" + PublishedOf(state, "MiniLOTO") + "&num4=" + PublishedOf(state, "Numbers4") +
            "&num3=" + PublishedOf(state, "Numbers3"));
    for (Game game : kAllGames) {
      const std::string history = HistoryFile(game);
      EXPECT_FALSE(history.empty()) << "no history of " << GameName(game) << " from the service";
      WriteBytes(DataFile(game), history);
    }
    return ReadData(Game::Loto6);
  }

  // The store's newest LOTO6 draw, in four digits as its record begins.
  static std::string NewestLoto6() {
    const std::string published = PublishedOf(Service("/control/state"), "LOTO6");
    return std::string(4 - std::min<std::size_t>(4, published.size()), '0') + published;
  }

  static std::string PublishedOf(const std::string& state, const std::string& game) {
    const std::size_t at = state.find(game + " published ");
    const std::size_t from = at + game.size() + 11;
    return state.substr(from, state.find(' ', from) - from);
  }
};

TEST_F(CheckEndToEndTest, AResidentStartUpCheckAppendsTheNewLoto6DrawAndAnnouncesIt) {
  SetSetting(L"mod", L"1");
  SetSetting(L"kid", L"1");  // 1 s after start
  const std::string before = PrepareOneNewLoto6Draw();
  const std::string miniBefore = ReadData(Game::MiniLoto);
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(StartupRunDone(window));
  ::SendMessageW(TabControl(window), TCM_SETCURSEL, 3, 0);  // the check must bring LOTO6 forward

  const auto appended = [&] { return DataSize(Game::Loto6) == before.size() + kLoto6Line; };
  EXPECT_FALSE(BalloonSeenUntil(norv.Id(), appended)) << "msg is off";
  ASSERT_TRUE(WaitUntil(appended)) << "caption " << testing::ToUtf8(Caption(window)) << ", state " << Probe(window)
                                   << ", requests: " << Service("/control/log");
  ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }));
  const std::string after = ReadData(Game::Loto6);
  EXPECT_EQ(after.substr(0, before.size()), before);
  EXPECT_EQ(after.substr(before.size(), 4), NewestLoto6());
  EXPECT_EQ(ReadData(Game::MiniLoto), miniBefore);
  EXPECT_EQ(Caption(window), kLoto6UpdatedCaption);
  EXPECT_EQ(ActiveTab(window), 0);
  EXPECT_FALSE(::IsWindowVisible(window)) << "dkg is off";

  EXPECT_EQ(Probe(window) & (kProbeNoticePending | kProbeTrayAnimating), kProbeNoticePending | kProbeTrayAnimating);
  ::SendMessageW(window, kMsgTrayIcon, 1, WM_LBUTTONUP);
  EXPECT_EQ(Probe(window) & (kProbeNoticePending | kProbeTrayAnimating), 0);
}

TEST_F(CheckEndToEndTest, AnUnreachableDirectoryIsReportedOnceWhileResident) {
  ProgramCopy program(L"e2e_106_resident");
  // Histories in place, as a user's are: the test may be the first to run in
  // a fresh prefix, where no other test has left any.
  for (Game game : kAllGames) WriteBytes(DataFile(game), HistoryFile(game));
  Service("/control/fault?path=/dir1/dir.cgi&kind=404");
  Service("/control/fault?path=/dir2/dir.cgi&kind=404");
  SetSetting(L"mod", L"1");
  SetSetting(L"kid", L"1");
  NorvProcess norv(program.Exe());
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 1), std::vector<std::string>{"6"});
  ASSERT_TRUE(WaitUntil([&] { return RequestsTo("/dir2/") == 1 && !CheckRunning(window); }));

  ::PostMessageW(window, WM_COMMAND, kN3, 0);
  ASSERT_TRUE(WaitUntil([&] { return RequestsTo("/dir2/") == 2 && !CheckRunning(window); }));
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 2, std::chrono::milliseconds(500)),
            std::vector<std::string>{"6"});
}

TEST_F(CheckEndToEndTest, AnUnreachableDirectoryIsReportedAtEveryCheckOfThePlainWindow) {
  ProgramCopy program(L"e2e_106_plain");
  Service("/control/fault?path=/dir1/dir.cgi&kind=404");
  Service("/control/fault?path=/dir2/dir.cgi&kind=404");
  NorvProcess norv(program.Exe());
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  for (int check = 1; check <= 2; ++check) {
    ::PostMessageW(window, WM_COMMAND, kToolButton2, 0);
    ASSERT_TRUE(WaitUntil([&] { return RequestsTo("/dir2/") == check && !CheckRunning(window); })) << check;
  }
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 2), (std::vector<std::string>{"6", "6"}));
}

TEST_F(CheckEndToEndTest, ADataFileThatCannotBeReadIsReportedAsCode113) {
  ProgramCopy program(L"e2e_113");
  PrepareOneNewLoto6Draw();
  // Held open without sharing, as another program might.
  const UniqueKernelHandle lock = AdoptFileHandle(::CreateFileW(
      DataFile(Game::MiniLoto).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  NorvProcess norv(program.Exe());
  ASSERT_NE(norv.WaitForMainWindow(), nullptr);
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 1), std::vector<std::string>{"13"});
}

TEST_F(CheckEndToEndTest, AStatusFileWithALetterFirstIsTakenFromTheFallbackAddress) {
  const std::string before = PrepareOneNewLoto6Draw();
  Service("/control/fault?path=/svc1/status.txt&kind=letter");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  Service("/control/log?clear=1");
  ::PostMessageW(window, WM_COMMAND, kToolButton2, 0);
  ASSERT_TRUE(WaitUntil([&] { return DataSize(Game::Loto6) == before.size() + kLoto6Line; }))
      << "LOTO6 holds " << DataSize(Game::Loto6) << " bytes, had " << before.size() << "; requests: "
      << Service("/control/log");
  ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }));
  EXPECT_EQ(RequestsTo("/svc1/status.txt"), 1);
  EXPECT_EQ(RequestsTo("/svc2/status.txt"), 1);
  EXPECT_EQ(Caption(window), kLoto6UpdatedCaption);
}

TEST_F(CheckEndToEndTest, ShiftOnTheCheckButtonRewritesAllFourFilesUnderTheForcedCaption) {
  PrepareOneNewLoto6Draw();
  std::array<std::string, 4> histories;
  for (Game game : kAllGames) {
    histories[static_cast<std::size_t>(GameIndex(game))] = ReadData(game);
    std::string spoiled = ReadData(game);
    spoiled[5] = spoiled[5] == '1' ? '2' : '1';  // a digit of the first draw
    WriteBytes(DataFile(game), spoiled);
  }
  // Appended by the reader after the refresh: LOTO6's history is one behind.
  Service("/control/fault?path=/svc1/mini.txt&kind=slow&ms=1500");
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));

  HWND bar = ::FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  const LPARAM onCheckButton = MAKELPARAM(29 + 14, 14);
  ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, onCheckButton);
  ::PostMessageW(bar, WM_LBUTTONUP, MK_SHIFT, onCheckButton);
  EXPECT_TRUE(WaitUntil([&] { return Caption(window) == L"Norvale　【強制DATA更新中】"; }));
  ASSERT_TRUE(WaitUntil([&] { return Caption(window) == kLoto6UpdatedCaption; }));
  ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }));

  for (Game game : kAllGames) {
    const std::string& history = histories[static_cast<std::size_t>(GameIndex(game))];
    const std::string now = ReadData(game);
    EXPECT_EQ(now.substr(0, history.size()), history) << GameName(game);
    EXPECT_EQ(now.size(), history.size() + (game == Game::Loto6 ? kLoto6Line : 0)) << GameName(game);
  }
  EXPECT_EQ(Probe(window) & kProbeForcedRefresh, 0) << "one Shift press forces one check";
}

// Two hand-made draws per game and the CSV file each game must give, as UTF-8.
struct CsvCase {
  Game game;
  std::string records;
  std::string csv;
};

std::array<CsvCase, 4> CsvCases() {
  return {{
      {Game::Loto6,
       "00010102030405060702000000000123456780050000000910001000\r\n"
       "00021021323340430500000000000000000000001234500000000000\r\n",
       "Norvale LOTO6当選データ,,,,,,,,,,,,\r\n"
       "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,当選番号6,Bonus,１等,２等,３等,４等,５等\r\n"
       "1,1,2,3,4,5,6,7,200000000,12345678,500000,9100,1000\r\n"
       "2,10,21,32,33,40,43,5,0,0,12345,0,0\r\n"},
      {Game::MiniLoto,
       "0001010511223112100000000150000100001000\r\n"
       "0002313029282726000000000000000000000000\r\n",
       "Norvale MiniLOTO当選データ,,,,,,,,,,\r\n"
       "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,Bonus,１等,２等,３等,４等\r\n"
       "1,1,5,11,22,31,12,10000000,150000,10000,1000\r\n"
       "2,31,30,29,28,27,26,0,0,0,0\r\n"},
      {Game::Numbers4,
       "0001007110000000500000550000025000\r\n"
       "0002123409876000395000513800019700\r\n",
       "Norvale Numbers4当選データ,,,,,\r\n"
       "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ\r\n"
       "1,0071,1000000,50000,550000,25000\r\n"
       "2,1234,987600,39500,513800,19700\r\n"},
      {Game::Numbers3,
       "00010420900000150000525000750004500\r\n"
       "00029991000000000000000000000000000\r\n",
       "Norvale Numbers3当選データ,,,,,,\r\n"
       "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ,ミニ\r\n"
       "1,042,90000,15000,52500,7500,4500\r\n"
       "2,999,100000,0,0,0,0\r\n"},
  }};
}

std::string ShiftJis(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  const int size = ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

class CsvExportTest : public CheckEndToEndTest {
 protected:
  void SetUp() override {
    CheckEndToEndTest::SetUp();
    for (const CsvCase& c : CsvCases()) WriteBytes(DataFile(c.game), c.records);
    folder_ = testing::ScratchFolder(L"e2e_csv");
  }
  void TearDown() override {
    testing::RemoveFolder(folder_);
    CheckEndToEndTest::TearDown();
  }

  // ToolButton3 on the game's tab, the save dialog answered with `path`; the
  // text of the message that follows, which is then closed.
  std::wstring ExportThroughTheDialog(const NorvProcess& norv, HWND window, Game game, const std::wstring& path) {
    ::SendMessageW(TabControl(window), TCM_SETCURSEL, static_cast<WPARAM>(GameIndex(game)), 0);
    ::PostMessageW(window, WM_COMMAND, kToolButton3, 0);
    const std::wstring title = Widen(std::string(GameName(game)) + "のCSVファイルを保存する");
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = norv.FindOwnWindow(L"#32770", title.c_str())) != nullptr; })) {
      return L"no save dialog";
    }
    HWND name = nullptr;
    // The dialog fills its controls after it appears: wait for the proposal.
    WaitUntil([&] { return (name = FileNameEdit(dialog)) != nullptr && !ControlText(name).empty(); });
    EXPECT_EQ(ControlText(name), Widen(GameName(game))) << "the proposed file name";
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    testing::PressButton(dialog, IDOK);
    HWND box = norv.WaitForMessageBox();
    if (!box) {
      return L"no message";
    }
    const std::wstring text = BoxText(box);
    testing::PressButton(box, IDOK);
    WaitUntil([&] { return norv.MessageBoxWindow() == nullptr; });
    return text;
  }

  std::wstring folder_;
};

TEST_F(CsvExportTest, EachGameIsWrittenOldestDrawFirstInShiftJis) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  for (const CsvCase& c : CsvCases()) {
    const std::wstring path = folder_ + Widen(GameName(c.game)) + L".csv";
    EXPECT_EQ(ExportThroughTheDialog(norv, window, c.game, path), L"CSVファイルを出力しました") << GameName(c.game);
    EXPECT_EQ(ReadBytes(path), ShiftJis(c.csv)) << GameName(c.game);
  }
}

// A rebuild holds TableBusy only for moments; the test takes the flag itself,
// through the window's test message, for as long as it needs.
TEST_F(CsvExportTest, AGameBeingRebuiltIsRefusedWhileAnotherGameExports) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  ASSERT_EQ(::SendMessageW(window, kMsgHoldTableBusy, GameIndex(Game::Loto6), 1), 1);

  const std::wstring loto6 = folder_ + L"loto6.csv";
  EXPECT_EQ(ExportThroughTheDialog(norv, window, Game::Loto6, loto6),
            L"只今、データ更新中です\nファイルは出力されませんでした");
  EXPECT_EQ(::GetFileAttributesW(loto6.c_str()), INVALID_FILE_ATTRIBUTES);
  const std::wstring mini = folder_ + L"mini.csv";
  EXPECT_EQ(ExportThroughTheDialog(norv, window, Game::MiniLoto, mini), L"CSVファイルを出力しました");
  EXPECT_EQ(ReadBytes(mini), ShiftJis(CsvCases()[1].csv));

  ::SendMessageW(window, kMsgHoldTableBusy, GameIndex(Game::Loto6), 0);
  EXPECT_EQ(ExportThroughTheDialog(norv, window, Game::Loto6, loto6), L"CSVファイルを出力しました");
}


// Balloons exist on every Windows this program meets outside tests; the
// message utility in their place is exercised by the portable run tests.
TEST_F(CheckEndToEndTest, WithTheMessageOptionTheUpdateIsAnnouncedByABalloonNotTheMessageUtility) {
  ProgramCopy program(L"e2e_balloon");
  SetSetting(L"mod", L"1");
  SetSetting(L"kid", L"1");
  SetSetting(L"msg", L"1");
  const std::string before = PrepareOneNewLoto6Draw();
  NorvProcess norv(program.Exe());
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil(
      [&] { return DataSize(Game::Loto6) == before.size() + kLoto6Line && !CheckRunning(window); }));
  // The tray host shows the balloon in its own time.
  EXPECT_TRUE(BalloonSeenUntil(norv.Id(), [] { return false; }, 3000));
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 1, std::chrono::milliseconds(300)), std::vector<std::string>{});
}

// Every game one draw behind the bank's page, and lines that won in each
// newest real draw: LOTO6 2085 drew 6 8 13 26 35 43 (1等 600000000), MiniLOTO
// 1353 drew 6 11 13 14 18 with bonus 5 (2等 159900), Numbers4 7054 drew 9577
// (ボックス 177300), Numbers3 7054 drew 286 (ミニ 10000).
TEST_F(CheckEndToEndTest, OneCheckListsTheWinsOfTheUsersLinesInTheNewDrawsAndAnnouncesThem) {
  ProgramCopy program(L"e2e_my_wins");
  SetSetting(L"mod", L"1");
  SetSetting(L"kid", L"1");
  SetSetting(L"msg", L"1");
  std::array<std::size_t, 4> before{};
  for (Game game : kAllGames) {
    WriteBytes(DataFile(game), HistoryFile(game));
    before[static_cast<std::size_t>(GameIndex(game))] = DataSize(game);
  }
  const std::wstring folder = testing::DataFolderPath();
  WriteBytes(folder + L"my_numbers.csv", *ToShiftJis("ゲーム,数字,買い方,開始回,終了回,メモ\r\n"
                                                     "LOTO6,43 35 26 13 8 6,,2085,,\r\n"
                                                     "MiniLOTO,5 6 11 13 14,,1353,,\r\n"
                                                     "Numbers4,7957,ボックス,7054,,\r\n"
                                                     "Numbers3,86,ミニ,7054,,\r\n"));
  ::DeleteFileW((folder + L"my_wins.csv").c_str());
  ::DeleteFileW((folder + L"my_wins_seen.txt").c_str());
  NorvProcess norv(program.Exe());
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const auto allAppended = [&] {
    for (Game game : kAllGames) {
      if (DataSize(game) <= before[static_cast<std::size_t>(GameIndex(game))]) return false;
    }
    return !CheckRunning(window);
  };
  ASSERT_TRUE(WaitUntil(allAppended)) << "requests: " << Service("/control/log");
  EXPECT_TRUE(BalloonSeenUntil(norv.Id(), [] { return false; }, 3000));
  EXPECT_EQ(ReadBytes(folder + L"my_wins.csv"), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"
                                                            "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"
                                                            "MiniLOTO,1353,05 06 11 13 14,,2等,159900\r\n"
                                                            "Numbers4,7054,7957,ボックス,ボックス,177300\r\n"
                                                            "Numbers3,7054,86,ミニ,ミニ,10000\r\n"));
  // Nobody has looked at them: they stay new from the draws held before.
  EXPECT_EQ(ReadBytes(folder + L"my_wins_seen.txt"), "2084\r\n1352\r\n7053\r\n7053\r\n");
}

void SetCompanionValue(const wchar_t* section, const wchar_t* name, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Pellmark\\") + section).c_str(), name, REG_SZ,
                    value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Damson installed (a stand-in that logs its starts), its options 0 and 1 on:
// the new LOTO6 draw rewrites its data file and starts it.
TEST_F(CheckEndToEndTest, ANewLoto6DrawFeedsAnInstalledDamson) {
  const std::wstring install = testing::ScratchFolder(L"e2e_damson");
  ASSERT_TRUE(testing::InstallStandin(install, L"damson.exe"));
  SetCompanionValue(L"DAMSON", L"dat", L"1");
  SetCompanionValue(L"DAMSON", L"dir", install.substr(0, install.size() - 1));
  const std::wstring dataFolder = testing::DataFolderPath() + L"..\\DAMSON\\";
  std::filesystem::create_directories(dataFolder);
  std::filesystem::remove(std::filesystem::path(dataFolder + L"dat_loto.dml"));
  SetSetting(L"dm0", L"1");
  SetSetting(L"dm1", L"1");
  const std::string before = PrepareOneNewLoto6Draw();

  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  ::PostMessageW(window, WM_COMMAND, kToolButton2, 0);
  EXPECT_EQ(testing::WaitForLaunches(install, 1), std::vector<std::string>{""});
  ASSERT_TRUE(WaitUntil([&] { return !CheckRunning(window); }));
  const std::string exported = ReadBytes(dataFolder + L"dat_loto.dml");
  EXPECT_EQ(exported.size(), (before.size() / kLoto6Line + 1) * 60);
  EXPECT_EQ(exported.substr(exported.size() - 60, 4), NewestLoto6());
  EXPECT_EQ(exported.substr(exported.size() - 4), "  \r\n");

  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pellmark\\DAMSON");
  testing::RemoveFolder(install);
  testing::RemoveFolder(dataFolder);
}

// The tray item "Vivi Zidivaz IV": the update tool with 5, then the window
// closes as its close button does, which ends a plain-window program.
TEST_F(CheckEndToEndTest, TheLiveUpdateItemStartsTheUpdateToolAndClosesTheProgram) {
  ProgramCopy program(L"e2e_liveup");
  ASSERT_TRUE(testing::InstallStandin(program.folder, L"liveup.exe"));
  NorvProcess norv(program.Exe());
  HWND window = norv.WaitForMainWindow();
  ASSERT_TRUE(StartupRunDone(window));
  ::PostMessageW(window, WM_COMMAND, kN52, 0);
  EXPECT_EQ(testing::WaitForLaunches(program.folder, 1), std::vector<std::string>{"5"});
  EXPECT_TRUE(norv.Ended());
}

}  // namespace
}  // namespace norv
