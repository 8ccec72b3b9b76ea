#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "app/command_ids.h"
#include "settings/options_controls_win.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

using namespace std::chrono_literals;

std::set<DWORD> ProcessesWithMainWindow() {
  std::set<DWORD> pids;
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        wchar_t cls[32] = {};
        ::GetClassNameW(window, cls, 32);
        if (std::wstring(cls) == L"TForm1") {
          DWORD pid = 0;
          ::GetWindowThreadProcessId(window, &pid);
          reinterpret_cast<std::set<DWORD>*>(param)->insert(pid);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&pids));
  return pids;
}

void EndProcess(DWORD pid) {
  if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
  }
}

class OptionsRestart : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearProgramRegistry();
    PrepareEmptyDataFiles();
  }
  void TearDown() override {
    for (DWORD pid : ProcessesWithMainWindow()) {
      if (started.count(pid) == 0) {
        EndProcess(pid);
      }
    }
    RemoveDataFiles();
    ClearProgramRegistry();
  }
  std::set<DWORD> started;
};

TEST_F(OptionsRestart, AcceptingTheRestartEndsTheProgramAndStartsExactlyOneNewCopy) {
  ChildProcess old(BuildFolder() + L"norv.exe");
  started.insert(old.Id());
  const HWND main = WaitForWindow([&] { return FindProcessWindow(old.Id(), L"TForm1"); }, 10s);
  ASSERT_NE(main, nullptr);

  ::PostMessageW(main, WM_COMMAND, kToolButtonFirst + 3, 0);
  const HWND dialog = WaitForWindow([&] { return FindProcessWindow(old.Id(), L"#32770", L"オプション設定"); }, 10s);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(::IsWindowVisible(main)) << "the dialog stands in for the main window";

  ::SendMessageW(testing::FindChildById(dialog, options::CheckBox5), BM_CLICK, 0, 0);
  PressButton(dialog, IDOK);
  const HWND question = WaitForWindow([&] { return FindMessageBox(old.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(question, nullptr);
  PressButton(question, IDYES);

  ASSERT_TRUE(old.WaitForExit(10s));
  EXPECT_EQ(old.ExitCode(), 0u);
  ASSERT_NE(WaitForWindow([] { return ::FindWindowW(L"TForm1", nullptr); }, 15s), nullptr)
      << "no copy started again";
  std::this_thread::sleep_for(1s);
  const std::set<DWORD> copies = ProcessesWithMainWindow();
  EXPECT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies.count(old.Id()), 0u);
  EXPECT_EQ(::FindWindowW(L"#32770", L"Norvale"), nullptr) << "the new copy was refused as a second one";
  wchar_t mode[8] = {};
  DWORD size = sizeof mode;
  ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Pellmark\\T-NORV", L"mod", RRF_RT_REG_SZ, nullptr, mode, &size);
  EXPECT_EQ(std::wstring(mode), L"1");
}

}  // namespace
}  // namespace norv::testing
