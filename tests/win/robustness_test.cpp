// What other programs and failures inside a handler can do to a running
// Norvale: stray application messages from another process, second copies it
// may not look into, exceptions that escape a handler. Each time the program
// stays up, and its next check still runs.

#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "acquisition/environment.h"
#include "acquisition/fetch_win.h"
#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/handles_win.h"
#include "tests/win/helpers/process_windows.h"
#include "tests/win/local_services.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kToolButton2 = kToolButtonFirst + 1;

int ServicePort() { return LocalServicePort("service.port"); }

std::string Service(std::string_view path) {
  WinInetFetcher fetcher(AccessFromSettings(false, false, "", ""));
  const std::stop_source never;
  return fetcher.FetchUrlText("http://127.0.0.1:" + std::to_string(ServicePort()) + std::string(path), false,
                              never.get_token());
}

int DirectoryRequests() {
  const std::string log = Service("/control/log");
  int count = 0;
  for (std::size_t at = log.find("/dir1/"); at != std::string::npos; at = log.find("/dir1/", at + 1)) ++count;
  return count;
}

// Message boxes titled Norvale that the process has on screen.
int BoxesOf(DWORD pid) {
  const std::vector<HWND> boxes = WindowsOfProcess(pid, L"#32770", L"Norvale");
  return static_cast<int>(std::count_if(boxes.begin(), boxes.end(), [](HWND box) { return ::IsWindowVisible(box); }));
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ::Sleep(50);
  }
  return true;
}

class Robustness : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServicePort(), 0) << "the local service is not running (see tools/service-ctl)";
    ASSERT_EQ(Service("/control/reset"), "ok");
    ClearProgramRegistry();
    PrepareEmptyDataFiles();
  }
  void TearDown() override {
    RemoveDataFiles();
    ClearProgramRegistry();
    Service("/control/reset");
  }

  static HWND MainWindowOf(const ChildProcess& process) {
    return WaitForWindow([&] { return FindProcessWindow(process.Id(), L"TForm1"); }, 10s);
  }

  // The check button, pressed until a check asks the service for its
  // directory: the start-up run may still hold CheckRunning at first.
  static bool ACheckRuns(HWND window) {
    const int before = DirectoryRequests();
    return WaitFor(
        [&] {
          ::PostMessageW(window, WM_COMMAND, kToolButton2, 0);
          return WaitFor([&] { return DirectoryRequests() > before; }, 1000ms);
        },
        30s);
  }
};

TEST_F(Robustness, StrayApplicationMessagesFromAnotherProgramNeitherEndNorStopTheProgram) {
  ChildProcess norv(BuildFolder() + L"norv.exe");
  const HWND window = MainWindowOf(norv);
  ASSERT_NE(window, nullptr);

  ChildProcess barrage(BuildFolder() + L"app_message_barrage.exe", std::to_wstring(norv.Id()));
  ASSERT_TRUE(barrage.WaitForExit(120s));
  EXPECT_EQ(barrage.ExitCode(), 0u) << "1: the main window is gone, 2: it was never found";

  EXPECT_EQ(norv.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(BoxesOf(norv.Id()), 0) << "no handler failed on the way";
  EXPECT_TRUE(ACheckRuns(window));
}

// A copy running elevated owns a mutex this one is denied; it still counts.
TEST_F(Robustness, ASecondCopyIsRefusedEvenWhenTheFirstCopysMutexMayNotBeOpened) {
  ACL emptyDacl{};
  ASSERT_TRUE(::InitializeAcl(&emptyDacl, sizeof emptyDacl, ACL_REVISION));
  SECURITY_DESCRIPTOR descriptor{};
  ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyDacl, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const UniqueKernelHandle firstCopysMutex(::CreateMutexW(&attributes, TRUE, L"norv"));
  ASSERT_TRUE(firstCopysMutex);
  const UniqueKernelHandle probe(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, L"norv"));
  if (probe || ::GetLastError() != ERROR_ACCESS_DENIED) {
    GTEST_SKIP() << "this system does not enforce the mutex's empty access list";
  }

  ChildProcess second(BuildFolder() + L"norv.exe");
  const HWND box = WaitForWindow([&] { return FindMessageBox(second.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(box, nullptr) << "the second copy started as if alone";
  EXPECT_EQ(MessageBoxText(box), Utf16("既にNorvaleは起動しています"));
  EXPECT_EQ(FindProcessWindow(second.Id(), L"TForm1"), nullptr);
  PressButton(box, IDOK);
  EXPECT_TRUE(second.WaitForExit(10s));
}

// The test build throws on its probe message, from inside the window procedure.
TEST_F(Robustness, AnExceptionInAHandlerIsShownOncePerBurstAndTheChecksGoOn) {
  ChildProcess norv(BuildFolder() + L"norv_probed.exe");
  const HWND window = MainWindowOf(norv);
  ASSERT_NE(window, nullptr);

  ::PostMessageW(window, kMsgThrowProbe, 0, 0);
  const HWND box = WaitForWindow([&] { return FindMessageBox(norv.Id(), L"Norvale"); }, 10s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"probe failure");
  ::PostMessageW(window, kMsgThrowProbe, 0, 0);  // handled inside the box's own loop
  ::Sleep(500);
  EXPECT_EQ(BoxesOf(norv.Id()), 1) << "a second box nested in the first";
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitFor([&] { return BoxesOf(norv.Id()) == 0; }, 5s));

  ::PostMessageW(window, kMsgThrowProbe, 0, 0);
  ::Sleep(500);
  EXPECT_EQ(BoxesOf(norv.Id()), 0) << "the same burst is shown once";

  EXPECT_EQ(norv.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_TRUE(ACheckRuns(window));
}

}  // namespace
}  // namespace norv::testing
