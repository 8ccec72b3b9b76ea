#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <future>
#include <string>

#include "app/my_numbers_controls_win.h"
#include "app/my_numbers_dialog_win.h"
#include "base/unicode_win.h"
#include "store/draw_table.h"
#include "store/shift_jis.h"
#include "tests/win/companion_test_support.h"
#include "tests/win/norv_process.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace mynumbers;
using testing::WaitUntil;

constexpr int kFileNameBox = 0x47C;  // cmb13 of the Explorer-style file dialog
const std::string kHeader = "ゲーム,数字,買い方,開始回,終了回,メモ\r\n";
const std::string kWinsHeader = "ゲーム,回,数字,買い方,等級,当せん金\r\n";

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!RouteMyNumbersDialogMessage(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

// The dialog in this process, over two real LOTO6 draws (2085 drew 6 8 13
// 26 35 43, bonus 14, and paid 600000000 yen for 1等).
class MyNumbersDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing::ScratchFolder(L"my_numbers_dialog");
    saved_ = GameDataOf(Game::Loto6).table.rows;
    GameDataOf(Game::Loto6).table.rows = {{2085, 6, 8, 13, 26, 35, 43, 14, 600000000, 26889600, 315600, 7000, 1000},
                                          {2084, 8, 17, 18, 19, 30, 39, 9, 0, 9460500, 281800, 7300, 1000}};
  }
  void TearDown() override {
    if (dialog_ && ::IsWindow(dialog_)) ::DestroyWindow(dialog_);
    Pump();
    GameDataOf(Game::Loto6).table.rows = saved_;
    testing::RemoveFolder(folder_);
  }

  void Open(int page) {
    dialog_ = OpenMyNumbersDialog(nullptr, Narrow(folder_), page);
    ASSERT_NE(dialog_, nullptr);
    Pump();
  }
  HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
  void Type(int id, const std::string& text) { ::SetWindowTextW(Item(id), Widen(text).c_str()); }
  std::string Text(int id) const { return Narrow(testing::WindowText(Item(id))); }
  void Press(int id) {
    ::SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    Pump();
  }
  void ChooseGame(int index) {
    ::SendMessageW(Item(GameCombo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(GameCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(GameCombo)));
    Pump();
  }
  void SelectRow(int id, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(Item(id), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    Pump();
  }
  int Rows(int id) const { return static_cast<int>(::SendMessageW(Item(id), LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int id, int row, int column) const {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(Item(id), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Narrow(text);
  }
  std::string File(const wchar_t* name) const { return testing::ReadFileBytes(folder_ + name); }
  std::string Sjis(const std::string& text) const { return *ToShiftJis(text); }

  std::wstring folder_;
  HWND dialog_ = nullptr;
  std::vector<DrawRow> saved_;
};

TEST_F(MyNumbersDialogTest, AddsEditsAndDeletesALineAndRewritesTheWinsEachTime) {
  Open(LinesPage);
  Type(NumbersEdit, "43 35 26 13 8 6");
  Type(FirstDrawEdit, "2084");
  Press(AddButton);
  EXPECT_EQ(File(L"my_numbers.csv"), Sjis(kHeader + "LOTO6,06 08 13 26 35 43,,2084,,\r\n"));
  EXPECT_EQ(File(L"my_wins.csv"), Sjis(kWinsHeader + "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"));
  ASSERT_EQ(Rows(LinesListView), 1);
  EXPECT_EQ(Cell(LinesListView, 0, 0), "06 08 13 26 35 43");

  Type(NumbersEdit, "");
  SelectRow(LinesListView, 0);
  EXPECT_EQ(Text(NumbersEdit), "06 08 13 26 35 43") << "a chosen line fills the fields";
  Type(NumbersEdit, "6 8 13 26 35 14");
  Type(MemoEdit, "毎週, 木曜");
  Press(ChangeButton);
  EXPECT_EQ(File(L"my_numbers.csv"), Sjis(kHeader + "LOTO6,06 08 13 14 26 35,,2084,,\"毎週, 木曜\"\r\n"));
  EXPECT_EQ(File(L"my_wins.csv"), Sjis(kWinsHeader + "LOTO6,2085,06 08 13 14 26 35,,2等,26889600\r\n"));

  SelectRow(LinesListView, 0);
  Press(DeleteButton);
  EXPECT_EQ(File(L"my_numbers.csv"), Sjis(kHeader));
  EXPECT_EQ(File(L"my_wins.csv"), Sjis(kWinsHeader));
  EXPECT_EQ(Rows(LinesListView), 0);
}

TEST_F(MyNumbersDialogTest, RefusesABadEntryWithItsReasonAndKeepsTheFileAsItWas) {
  testing::WriteFileBytes(folder_ + L"my_numbers.csv", Sjis(kHeader + "Numbers3,99,ボックス,1,,\r\n"));
  Open(LinesPage);
  Type(NumbersEdit, "1 2 3 4 5 5");
  Press(AddButton);
  EXPECT_EQ(Text(MessageText), "登録できません: 同じ数字が二度あります");
  ChooseGame(2);  // Numbers4
  Type(NumbersEdit, "7777");
  ::SendMessageW(Item(WayCombo), CB_SETCURSEL, 2, 0);  // ボックス
  Press(AddButton);
  EXPECT_EQ(Text(MessageText), "登録できません: すべて同じ数字にボックス・セットは買えません");
  ::SendMessageW(Item(WayCombo), CB_SETCURSEL, 1, 0);  // ストレート
  Type(FirstDrawEdit, "20");
  Type(LastDrawEdit, "10");
  Press(AddButton);
  EXPECT_EQ(Text(MessageText), "登録できません: 終了回が開始回より前です");
  EXPECT_EQ(File(L"my_numbers.csv"), Sjis(kHeader + "Numbers3,99,ボックス,1,,\r\n"));
  EXPECT_EQ(::GetFileAttributesW((folder_ + L"my_wins.csv").c_str()), INVALID_FILE_ATTRIBUTES);

  // The file's unreadable line is listed under every game, with its reason.
  ASSERT_EQ(Rows(LinesListView), 1);
  EXPECT_EQ(Cell(LinesListView, 0, 0), "Numbers3,99,ボックス,1,,");
  EXPECT_EQ(Cell(LinesListView, 0, 5), "2行目: 数字の個数が違います");
}

TEST_F(MyNumbersDialogTest, TheWinsPageMarksUnseenWinsRecordsThemSeenAndExports) {
  testing::WriteFileBytes(folder_ + L"my_numbers.csv", Sjis(kHeader + "LOTO6,6 8 13 26 35 43,,2084,,\r\n"));
  testing::WriteFileBytes(folder_ + L"my_wins_seen.txt", "2084\r\n0\r\n0\r\n0\r\n");
  Open(WinsPage);
  ASSERT_EQ(Rows(WinsListView), 1);
  EXPECT_EQ(Cell(WinsListView, 0, 0), "新着");
  EXPECT_EQ(Cell(WinsListView, 0, 5), "1等");
  EXPECT_EQ(Text(TotalText), "合計 1件  600000000円");
  EXPECT_EQ(File(L"my_wins_seen.txt"), "2085\r\n0\r\n0\r\n0\r\n");

  const std::wstring path = folder_ + L"exported.csv";
  auto answer = std::async(std::launch::async, [&] {
    HWND save = nullptr;
    WaitUntil([&] {
      save = testing::FindProcessWindow(::GetCurrentProcessId(), L"#32770",
                                        L"マイ数字の当せん一覧のCSVファイルを保存する");
      return save != nullptr;
    });
    HWND name = nullptr;
    WaitUntil([&] { return save && (name = testing::FindChildById(save, kFileNameBox)) != nullptr; });
    HWND edit = name ? ::FindWindowExW(name, nullptr, L"Edit", nullptr) : nullptr;
    ::SendMessageW(edit ? edit : name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    testing::PressButton(save, IDOK);
    HWND box = nullptr;
    WaitUntil([&] { return (box = testing::FindMessageBox(::GetCurrentProcessId(), L"Norvale")) != nullptr; });
    const std::wstring text = box ? testing::MessageBoxText(box) : L"no message";
    if (box) testing::PressButton(box, IDOK);
    return text;
  });
  Press(ExportButton);
  EXPECT_EQ(answer.get(), L"CSVファイルを出力しました");
  EXPECT_EQ(testing::ReadFileBytes(path), Sjis(kWinsHeader + "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"));

  // Seen now: opened again, the win is no longer new.
  ::DestroyWindow(dialog_);
  Pump();
  Open(WinsPage);
  EXPECT_EQ(Cell(WinsListView, 0, 0), "");
}

TEST_F(MyNumbersDialogTest, EscapeClosesAndCtrlTabTurnsThePage) {
  Open(LinesPage);
  EXPECT_TRUE(::IsWindowVisible(Item(NumbersEdit)));
  EXPECT_FALSE(::IsWindowVisible(Item(WinsListView)));
  ::SetForegroundWindow(dialog_);
  ::SetFocus(Item(NumbersEdit));
  testing::PressKeys({VK_CONTROL, VK_TAB});
  WaitUntil([&] { Pump(); return ::IsWindowVisible(Item(WinsListView)) != FALSE; }, 3000);
  EXPECT_TRUE(::IsWindowVisible(Item(WinsListView)));
  EXPECT_FALSE(::IsWindowVisible(Item(NumbersEdit)));
  EXPECT_EQ(Text(TotalText), "合計 0件  0円");
  EXPECT_EQ(::GetFileAttributesW((folder_ + L"my_wins_seen.txt").c_str()), INVALID_FILE_ATTRIBUTES)
      << "no lines, no wins: no record of what was seen";
  ::SetFocus(Item(WinsListView));
  testing::PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([&] { Pump(); return !::IsWindow(dialog_); }, 3000));
}

}  // namespace
}  // namespace norv
