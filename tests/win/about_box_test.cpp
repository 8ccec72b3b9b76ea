#include "about/about_box_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/unicode_win.h"
#include "tests/win/win_test_support.h"

namespace norv {
namespace {

// Runs the message loop until `done` holds or two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  const ULONGLONG end = ::GetTickCount64() + 2000;
  while (!done()) {
    if (::GetTickCount64() > end) {
      return false;
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  }
  return true;
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[128] = L"";
  ::GetWindowTextW(window, buffer, 128);
  return buffer;
}

POINT CentreOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND MakeMainWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"Norvale", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 560, 300, nullptr,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// One stand-in main window for the whole run: under Wine without a window
// manager every destroyed top-level window costs two seconds.
HWND SharedMainWindow() {
  static HWND window = MakeMainWindow();
  return window;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = SharedMainWindow();
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    if (HWND box = AboutBoxWindow()) {
      ::DestroyWindow(box);
    }
  }

  AboutBoxRequest Request(bool fromOptions, bool classic, int versionCode) {
    AboutBoxRequest request;
    request.mainWindow = main_;
    request.fromOptions = fromOptions;
    request.classicLook = classic;
    request.versionCode = versionCode;
    request.onClosed = [this] { ++closedCalls_; };
    return request;
  }

  HWND OpenAndWaitShown(const AboutBoxRequest& request) {
    EXPECT_TRUE(OpenAboutBox(request));
    HWND box = AboutBoxWindow();
    EXPECT_NE(box, nullptr);
    EXPECT_TRUE(PumpUntil([box] { return ::IsWindowVisible(box) != FALSE; }));
    return box;
  }

  // The classic look, once it has faded in to fully opaque.
  HWND OpenClassicFadedIn() {
    HWND box = OpenAndWaitShown(Request(false, true, 3));
    EXPECT_TRUE(PumpUntil([box] {
      BYTE alpha = 0;
      DWORD flags = 0;
      return ::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags) && alpha == 255;
    }));
    return box;
  }

  // OK's close comes once its handler is done, after the fade-out where
  // there is one.
  static bool WaitClosed(HWND box) {
    return PumpUntil([box] { return !::IsWindow(box); });
  }

  HWND main_ = nullptr;
  int closedCalls_ = 0;
};

TEST_F(AboutBoxTest, ShowsTheVersionAndClosesWithOk) {
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  EXPECT_EQ(::FindWindowW(L"TAboutBox", L"バージョン情報"), box);
  EXPECT_EQ(TextOf(::GetDlgItem(box, kAboutLabel1)), L"5.1");
  EXPECT_EQ(TextOf(::GetDlgItem(box, kAboutProductName)), L"Norvale");
  EXPECT_EQ(TextOf(::GetDlgItem(box, kAboutVersion)), L"Version");
  RECT client{};
  ::GetClientRect(box, &client);
  const int dpi = DpiOfWindow(box);
  EXPECT_EQ(client.right, Scale(294, dpi));
  EXPECT_EQ(client.bottom, Scale(204, dpi));
  EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU, 0) << "no close box";
  EXPECT_EQ(::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_LAYERED, 0) << "modern look: no fade";

  ::SendMessageW(::GetDlgItem(box, kAboutOkButton), BM_CLICK, 0, 0);
  WaitClosed(box);
  EXPECT_EQ(closedCalls_, 1);
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(AboutBoxWindow(), nullptr);
}

TEST_F(AboutBoxTest, ClassicLookBeforeVistaFadesInToFullyOpaqueAndFadesOut) {
  HWND box = OpenClassicFadedIn();
  ASSERT_FALSE(::testing::Test::HasFailure());
  ::SendMessageW(::GetDlgItem(box, kAboutOkButton), BM_CLICK, 0, 0);
  WaitClosed(box);
  EXPECT_EQ(closedCalls_, 1);
  EXPECT_FALSE(::IsWindow(box));
}

TEST_F(AboutBoxTest, OpenedFromTheTrayItSitsInTheDesktopCentre) {
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const POINT centre = CentreOf(box);
  EXPECT_NEAR(centre.x, (area.left + area.right) / 2, 1);
  EXPECT_NEAR(centre.y, (area.top + area.bottom) / 2, 1);
}

TEST_F(AboutBoxTest, OpenedFromTheOptionsItSitsOnTheMainWindow) {
  HWND box = OpenAndWaitShown(Request(true, false, 5));
  const POINT centre = CentreOf(box);
  const POINT main = CentreOf(main_);
  EXPECT_NEAR(centre.x, main.x, 1);
  EXPECT_NEAR(centre.y, main.y, 1);
}

TEST_F(AboutBoxTest, OnlyOneBoxAtATime) {
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  EXPECT_FALSE(OpenAboutBox(Request(false, false, 5)));
  EXPECT_EQ(AboutBoxWindow(), box);
}

TEST_F(AboutBoxTest, EnterOnOkClosesTheBox) {
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  ::SendMessageW(::GetDlgItem(box, kAboutOkButton), WM_KEYDOWN, VK_RETURN, 0);
  WaitClosed(box);
  EXPECT_EQ(closedCalls_, 1);
  EXPECT_FALSE(::IsWindow(box));
}

TEST_F(AboutBoxTest, EscClosesTheBoxAsOkDoesFadeIncluded) {
  for (const bool classic : {false, true}) {
    HWND box = OpenAndWaitShown(Request(false, classic, 3));
    ASSERT_TRUE(PumpUntil([box] {
      BYTE alpha = 255;
      DWORD flags = 0;
      return !::GetLayeredWindowAttributes(box, nullptr, &alpha, &flags) || alpha == 255;
    }));
    ::SendMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    WaitClosed(box);
    EXPECT_FALSE(::IsWindow(box)) << (classic ? "classic" : "modern");
  }
  EXPECT_EQ(closedCalls_, 2);
}

// A close asked for again while the box fades out (Alt+F4 after OK) is the
// same close: the opener gets control back once.
TEST_F(AboutBoxTest, ASecondCloseDuringTheFadeOutHandsBackOnce) {
  HWND box = OpenClassicFadedIn();
  ASSERT_FALSE(::testing::Test::HasFailure());
  ::SendMessageW(::GetDlgItem(box, kAboutOkButton), BM_CLICK, 0, 0);
  ::SendMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitClosed(box));
  EXPECT_EQ(closedCalls_, 1);
  EXPECT_EQ(AboutBoxWindow(), nullptr);
}

// Centring on a minimised main window would put the box at -32000.
TEST_F(AboutBoxTest, BesideAMinimisedMainWindowTheBoxStaysOnTheWorkArea) {
  main_ = MakeMainWindow();
  ::ShowWindow(main_, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([this] { return ::IsIconic(main_) != FALSE; }));
  HWND box = OpenAndWaitShown(Request(true, false, 5));
  RECT frame{};
  ::GetWindowRect(box, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_GE(frame.left, monitor.rcWork.left);
  EXPECT_GE(frame.top, monitor.rcWork.top);
  EXPECT_LE(frame.right, monitor.rcWork.right);
  EXPECT_LE(frame.bottom, monitor.rcWork.bottom);
  ::SendMessageW(::GetDlgItem(box, kAboutOkButton), BM_CLICK, 0, 0);
  WaitClosed(box);
  ::DestroyWindow(main_);
}

// Every label and the button hold their text in their own font, at the
// dpi the box is shown at (the high-dpi run repeats this at 144).
TEST_F(AboutBoxTest, NothingIsClipped) {
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  const auto clipped = testing::ClippedChildren(box, [](HWND control) {
    wchar_t cls[16] = {};
    ::GetClassNameW(control, cls, 16);
    return std::wstring(cls) == L"Button" ? 8 : 0;
  });
  for (const std::wstring& line : clipped) {
    ADD_FAILURE() << Narrow(line);
  }
  EXPECT_TRUE(clipped.empty());
  RECT client{};
  ::GetClientRect(box, &client);
  RECT ok{};
  ::GetWindowRect(::GetDlgItem(box, kAboutOkButton), &ok);
  EXPECT_EQ(ok.right - ok.left, Scale(75, DpiOfWindow(box)));
  ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const ULONGLONG painted = ::GetTickCount64() + 300;
  PumpUntil([painted] { return ::GetTickCount64() > painted; });
  const std::wstring folder = testing::BuildFolder() + L"screenshots\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const int dpi = DpiOfWindow(box);
  testing::SaveWindowScreenshot(box, folder + (dpi == 96 ? L"about.bmp" : L"about_" + std::to_wstring(dpi) + L"dpi.bmp"));
}

// Moved to a monitor of another dpi, the box lays itself out again there.
TEST_F(AboutBoxTest, ADpiChangeLaysTheBoxOutAgainAtThePlaceSuggested) {
  HWND box = OpenAndWaitShown(Request(true, false, 5));
  const int dpi = DpiOfWindow(box) == 192 ? 96 : 192;
  RECT suggested{100, 80, 100 + Scale(300, dpi), 80 + Scale(230, dpi)};
  ::SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  // The caption keeps its own dpi here (only the message was faked), so the
  // client is measured by its width and by where the button went.
  RECT client{};
  ::GetClientRect(box, &client);
  EXPECT_EQ(client.right, Scale(294, dpi));
  RECT ok{};
  ::GetWindowRect(::GetDlgItem(box, kAboutOkButton), &ok);
  ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&ok), 2);
  EXPECT_EQ(ok.left, Scale(110, dpi));
  EXPECT_EQ(ok.top, Scale(167, dpi));
  EXPECT_EQ(ok.right - ok.left, Scale(75, dpi));
  RECT frame{};
  ::GetWindowRect(box, &frame);
  EXPECT_EQ(frame.left, 100);
  EXPECT_EQ(frame.top, 80);
}

TEST_F(AboutBoxTest, ClosingTheMainWindowTakesTheBoxAlongWithoutRunningOnClosed) {
  main_ = MakeMainWindow();
  HWND box = OpenAndWaitShown(Request(false, false, 5));
  ::DestroyWindow(main_);
  EXPECT_FALSE(::IsWindow(box));
  EXPECT_EQ(AboutBoxWindow(), nullptr);
  EXPECT_EQ(closedCalls_, 0);
}

}  // namespace
}  // namespace norv
