// The in-process fit checks again at 144 dpi: Wine takes the display dpi
// from LogPixels when a program starts, so this test binary runs itself once
// more under that value and those tests run there.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

constexpr wchar_t kExpectedDpi[] = L"NORVALE_EXPECT_DPI";
constexpr wchar_t kFitChecks[] =
    L"HighDpiProbe.*:AboutBoxTest.NothingIsClipped:AboutBoxTest.ShowsTheVersionAndClosesWithOk:"
    L"OptionsDialogTest.EveryPageFitsItsControls:ResultGridTest.EveryHeaderDrawNumberAndPrizeFitsItsColumn:"
    L"ButtonBarTest.*";

int ExpectedDpi() {
  wchar_t value[16] = {};
  return ::GetEnvironmentVariableW(kExpectedDpi, value, 16) ? std::stoi(value) : 0;
}

// Only in the run started below: the dpi really is the one asked for, so
// the fit checks there are not quietly repeating the 96-dpi run.
TEST(HighDpiProbe, ThisRunHasTheDpiItWasStartedWith) {
  const int expected = ExpectedDpi();
  if (expected == 0) {
    GTEST_SKIP() << "runs inside HighDpi.FitChecksHoldAt144Dpi";
  }
  HWND window = ::CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  EXPECT_EQ(DpiOfWindow(window), expected);
  EXPECT_EQ(SystemDpi(), expected);
  ::DestroyWindow(window);
}

// Runs this binary with the fit checks alone at 144 dpi, its output kept in
// a file beside it and shown here when it fails.
TEST(HighDpi, FitChecksHoldAt144Dpi) {
  if (ExpectedDpi() != 0) {
    GTEST_SKIP() << "already the inner run";
  }
  const std::wstring self = testing::BuildFolder() + L"norv_win_tests.exe";
  const std::wstring log = testing::BuildFolder() + L"high_dpi_run.log";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueKernelHandle output = AdoptFileHandle(::CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(output);
  std::wstring commandLine = L"\"" + self + L"\" --gtest_filter=" + kFitChecks;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.get();
  startup.hStdError = output.get();
  PROCESS_INFORMATION info{};
  DWORD exitCode = 1;
  {
    const testing::ScopedLogPixels dpi(144);
    ::SetEnvironmentVariableW(kExpectedDpi, L"144");
    const BOOL started = ::CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          testing::BuildFolder().c_str(), &startup, &info);
    ::SetEnvironmentVariableW(kExpectedDpi, nullptr);
    ASSERT_TRUE(started);
    ::CloseHandle(info.hThread);
    UniqueKernelHandle process(info.hProcess);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 90000), WAIT_OBJECT_0) << "the 144-dpi run hangs";
    ::GetExitCodeProcess(process.get(), &exitCode);
  }
  output.reset();
  const std::string text = testing::ReadFileBytes(log);
  EXPECT_EQ(exitCode, 0u) << text;
  EXPECT_NE(text.find("[  PASSED  ]"), std::string::npos) << text;
  EXPECT_EQ(text.find("SKIPPED"), std::string::npos) << "the inner run did not see its dpi:\n" << text;
}

}  // namespace
}  // namespace norv
