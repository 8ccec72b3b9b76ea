#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "app/app_messages.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

using namespace std::chrono_literals;

const std::wstring kAlreadyRunning = Utf16("既にNorvaleは起動しています");

class ProcessStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearProgramRegistry();
    PrepareEmptyDataFiles();
  }
  void TearDown() override {
    RemoveDataFiles();
    ClearProgramRegistry();
  }

  static std::wstring Program() { return BuildFolder() + L"norv.exe"; }

  static HWND MainWindowOf(const ChildProcess& process, std::chrono::milliseconds timeout = 10s) {
    return WaitForWindow([&] { return FindProcessWindow(process.Id(), L"TForm1"); }, timeout);
  }
};

TEST_F(ProcessStart, SecondCopyIsRefusedWithMessageAndBringsFirstForward) {
  ChildProcess first(Program());
  HWND firstWindow = MainWindowOf(first);
  ASSERT_NE(firstWindow, nullptr);

  ChildProcess second(Program());
  HWND box = WaitForWindow([&] { return FindMessageBox(second.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(box, nullptr) << "the second copy shows no message";
  EXPECT_EQ(MessageBoxText(box), kAlreadyRunning);
  EXPECT_EQ(FindProcessWindow(second.Id(), L"TForm1"), nullptr) << "the second copy made a main window";

  PressButton(box, IDOK);
  ASSERT_TRUE(second.WaitForExit(10s));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_EQ(::GetForegroundWindow(), firstWindow);
  EXPECT_EQ(first.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
}

// Refuses a second copy started while `first` runs, pressing OK on its message.
void RefuseSecondCopy(const std::wstring& program) {
  ChildProcess second(program);
  HWND box = WaitForWindow([&] { return FindMessageBox(second.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(box, nullptr) << "the second copy shows no message";
  PressButton(box, IDOK);
  ASSERT_TRUE(second.WaitForExit(10s));
}

TEST_F(ProcessStart, AMinimisedFirstCopyIsRestoredAsWellAsBroughtForward) {
  ChildProcess first(Program());
  HWND firstWindow = MainWindowOf(first);
  ASSERT_NE(firstWindow, nullptr);
  ASSERT_TRUE(WaitForWindow([&] { return ::IsWindowVisible(firstWindow) ? firstWindow : nullptr; }, 10s));
  ::ShowWindow(firstWindow, SW_MINIMIZE);
  ASSERT_TRUE(WaitForWindow([&] { return ::IsIconic(firstWindow) ? firstWindow : nullptr; }, 5s));

  RefuseSecondCopy(Program());
  EXPECT_TRUE(WaitForWindow([&] { return ::IsIconic(firstWindow) ? nullptr : firstWindow; }, 5s))
      << "the first copy stays minimised";
  EXPECT_TRUE(::IsWindowVisible(firstWindow));
  EXPECT_TRUE(WaitForWindow([&] { return ::GetForegroundWindow() == firstWindow ? firstWindow : nullptr; }, 5s));
}

TEST_F(ProcessStart, AHiddenResidentFirstCopyStaysHidden) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", L"win", REG_SZ, L"0", 4);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", L"mod", REG_SZ, L"1", 4);
  ChildProcess first(Program());
  HWND firstWindow = MainWindowOf(first);
  ASSERT_NE(firstWindow, nullptr);
  // Shown from the tray, minimised, then closed to the tray: hidden and minimised.
  ::SendMessageW(firstWindow, kMsgTrayIcon, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForWindow([&] { return ::IsWindowVisible(firstWindow) ? firstWindow : nullptr; }, 5s));
  ::ShowWindow(firstWindow, SW_MINIMIZE);
  ::SendMessageW(firstWindow, WM_CLOSE, 0, 0);
  ASSERT_FALSE(::IsWindowVisible(firstWindow));
  RefuseSecondCopy(Program());
  ::Sleep(500);
  EXPECT_FALSE(::IsWindowVisible(firstWindow));
  EXPECT_EQ(first.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(ProcessStart, RebootArgumentWaitsThreeSecondsBeforeStarting) {
  const auto started = std::chrono::steady_clock::now();
  ChildProcess restarted(Program(), L"reboot");
  ASSERT_NE(MainWindowOf(restarted), nullptr);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 3000ms);
}

TEST_F(ProcessStart, OnlyTheExactRebootArgumentDelays) {
  for (const wchar_t* argument : {L"Reboot", L"REBOOT", L"other"}) {
    const auto started = std::chrono::steady_clock::now();
    ChildProcess copy(Program(), argument);
    ASSERT_NE(MainWindowOf(copy), nullptr) << argument;
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2500ms) << argument;
  }
}

TEST_F(ProcessStart, RestartedCopyStartsOnceTheOldOneHasEnded) {
  ChildProcess old(Program());
  HWND oldWindow = MainWindowOf(old);
  ASSERT_NE(oldWindow, nullptr);

  ChildProcess restarted(Program(), L"reboot");
  ::PostMessageW(oldWindow, WM_CLOSE, 0, 0);
  ASSERT_TRUE(old.WaitForExit(2500ms)) << "the old copy did not end within the restart wait";
  EXPECT_EQ(old.ExitCode(), 0u);

  ASSERT_NE(MainWindowOf(restarted), nullptr);
  EXPECT_EQ(FindMessageBox(restarted.Id(), L"Norvale"), nullptr);
}

}  // namespace
}  // namespace norv::testing
