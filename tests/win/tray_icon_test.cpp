// The tray icon stays reachable: an add the shell refuses (no notification
// area yet at logon) is made good by a new taskbar or by the retries, and an
// Explorer restart brings a wanted icon back.

#include "app/tray_icon_win.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>

namespace norv {
namespace {

constexpr UINT kCallback = WM_APP + 2;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT_PTR kRetryTimer = 3;

TrayIcon* gIcon = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gIcon && gIcon->HandleMessage(message, wParam)) {
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND SharedHost() {
  static HWND host = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NorvaleTrayTestHost";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"tray host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
  }();
  return host;
}

// Asks the shell itself, not the object: a modify succeeds only for an icon it holds.
bool ShellHoldsIcon(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ForgetIconBehindItsBack(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 1;
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  while (::GetTickCount64() < end) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::DispatchMessageW(&msg);
    }
    ::Sleep(10);
  }
}

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = SharedHost();
    ASSERT_NE(host_, nullptr);
    icon_.Attach(host_, kCallback, kAnimationTimer, kRetryTimer);
    icon_.LoadIcons(::GetModuleHandleW(nullptr));
    gIcon = &icon_;
  }
  void TearDown() override {
    icon_.Hide();
    gIcon = nullptr;
  }

  // The shell refuses the first `refusals` adds, then behaves.
  void RefuseFirstAdds(int refusals) {
    icon_.SetShellNotify([this, refusals](DWORD message, NOTIFYICONDATAW* data) {
      if (message == NIM_ADD && ++adds_ <= refusals) {
        return FALSE;
      }
      return ::Shell_NotifyIconW(message, data);
    });
  }

  void TaskbarCreated() {
    ::SendMessageW(host_, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  }

  HWND host_ = nullptr;
  TrayIcon icon_;
  int adds_ = 0;
};

TEST_F(TrayIconTest, ARefusedAddIsMadeGoodByTheNextTaskbar) {
  RefuseFirstAdds(1);
  icon_.Show("Norvale");
  EXPECT_TRUE(icon_.Wanted());
  EXPECT_FALSE(icon_.Added());
  EXPECT_FALSE(ShellHoldsIcon(host_));

  TaskbarCreated();
  EXPECT_TRUE(icon_.Added());
  EXPECT_TRUE(ShellHoldsIcon(host_));
}

TEST_F(TrayIconTest, ARefusedAddIsRetriedEveryTwoSeconds) {
  RefuseFirstAdds(2);
  icon_.Show("Norvale");
  EXPECT_FALSE(icon_.Added());
  PumpFor(2500);
  EXPECT_FALSE(icon_.Added()) << "the second add was refused too";
  PumpFor(2200);
  EXPECT_TRUE(icon_.Added());
  EXPECT_TRUE(ShellHoldsIcon(host_));
  EXPECT_EQ(adds_, 3);
  PumpFor(2200);
  EXPECT_EQ(adds_, 3) << "no more adds once it is there";
}

TEST_F(TrayIconTest, ARestartedExplorerGetsTheWantedIconBack) {
  icon_.Show("Norvale");
  ASSERT_TRUE(ShellHoldsIcon(host_));
  ForgetIconBehindItsBack(host_);
  ASSERT_FALSE(ShellHoldsIcon(host_));
  TaskbarCreated();
  EXPECT_TRUE(ShellHoldsIcon(host_));
}

TEST_F(TrayIconTest, ATaskbarThatStillHoldsTheIconKeepsIt) {
  icon_.Show("Norvale");
  TaskbarCreated();
  EXPECT_TRUE(icon_.Added());
  EXPECT_TRUE(ShellHoldsIcon(host_));
}

TEST_F(TrayIconTest, AnIconNoLongerWantedStaysAwayAndStopsRetrying) {
  RefuseFirstAdds(1);
  icon_.Show("Norvale");
  icon_.Hide();
  EXPECT_FALSE(icon_.Wanted());
  TaskbarCreated();
  PumpFor(2300);
  EXPECT_FALSE(ShellHoldsIcon(host_));
  EXPECT_EQ(adds_, 1);
}

TEST_F(TrayIconTest, TheShellIsAskedForVersionFour) {
  int versionAsked = 0;
  icon_.SetShellNotify([&](DWORD message, NOTIFYICONDATAW* data) {
    if (message == NIM_SETVERSION) {
      versionAsked = static_cast<int>(data->uVersion);
    }
    return ::Shell_NotifyIconW(message, data);
  });
  icon_.Show("Norvale");
  EXPECT_EQ(versionAsked, NOTIFYICON_VERSION_4);
}

}  // namespace
}  // namespace norv
