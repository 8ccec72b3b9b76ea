// The setup program's request to end a running copy, sent from outside as the
// setup program sends it: the copy ends without the exit question in every
// mode, and the close takes the exit path (it saves a moved position).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "norv_process.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using testing::NorvProcess;
using testing::ReadProgramSetting;
using testing::SetProgramSetting;
using testing::WaitUntil;

// What the setup program does: ask, and read the answer.
LRESULT AskToEnd(HWND window) {
  DWORD_PTR answer = 0;
  const UINT message = ::RegisterWindowMessageW(kEndForUpgradeMessage);
  if (!::SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
    return -1;
  }
  return static_cast<LRESULT>(answer);
}

class EndForUpgrade : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ClearProgramRegistry();
    testing::PrepareEmptyDataFiles();
  }
  void TearDown() override { testing::ClearProgramRegistry(); }

  static void StartResident() {
    SetProgramSetting(L"win", L"0");  // not a first start, so the stored mode holds
    SetProgramSetting(L"mod", L"1");
  }
};

TEST_F(EndForUpgrade, APlainCopyEndsWithoutTheQuestion) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  EXPECT_EQ(AskToEnd(window), kEndForUpgradeAnswer);
  EXPECT_TRUE(norv.Ended());
}

TEST_F(EndForUpgrade, AResidentCopyInTheTrayEndsWithoutTheQuestion) {
  StartResident();
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_FALSE(::IsWindowVisible(window));
  EXPECT_EQ(AskToEnd(window), kEndForUpgradeAnswer);
  EXPECT_TRUE(norv.Ended());
}

// Here a close request only hides the window; this request ends the program,
// and saves the moved position on its way out as the tray menu's exit does.
TEST_F(EndForUpgrade, AResidentCopyWithItsWindowShownEndsAndSavesItsPosition) {
  StartResident();
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::SendMessageW(window, kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }));
  ::SetWindowPos(window, nullptr, 131, 79, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(AskToEnd(window), kEndForUpgradeAnswer);
  EXPECT_TRUE(norv.Ended());
  EXPECT_EQ(ReadProgramSetting(L"pox"), L"131");
  EXPECT_EQ(ReadProgramSetting(L"poy"), L"79");
}

// The setup program may ask while the user has a box open: the request is
// served inside the box's own message loop, and the copy still ends.
TEST_F(EndForUpgrade, ACopyShowingItsExitQuestionStillEnds) {
  StartResident();
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ::PostMessageW(window, WM_COMMAND, kN8, 0);
  ASSERT_NE(norv.WaitForMessageBox(), nullptr);
  EXPECT_EQ(AskToEnd(window), kEndForUpgradeAnswer);
  EXPECT_TRUE(norv.Ended());
}

}  // namespace
}  // namespace norv
