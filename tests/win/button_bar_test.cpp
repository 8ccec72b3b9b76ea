// The button bar at the dpi it is shown at: 29 x 28 buttons, 22 x 22
// pictures and the 33-pixel bar, each scaled, the pictures taken from the
// strip drawn nearest to that dpi (the high-dpi run repeats this at 144).

#include "app/button_bar_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/window_layout.h"
#include "base/dpi.h"
#include "base/dpi_win.h"

namespace norv {
namespace {

HWND SharedHost() {
  static HWND host = ::CreateWindowExW(0, L"STATIC", L"bar host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 700, 120,
                                       nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return host;
}

TEST(ButtonBarTest, ButtonsPicturesAndTheBarAreScaledWithoutStretching) {
  const HWND host = SharedHost();
  ASSERT_NE(host, nullptr);
  const int dpi = DpiOfWindow(host);
  ButtonBar bar;
  bar.Create(host, ::GetModuleHandleW(nullptr), nullptr, dpi);
  bar.Apply(Settings{});

  const auto buttonSize = static_cast<DWORD>(::SendMessageW(bar.Handle(), TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(LOWORD(buttonSize), Scale(29, dpi));
  EXPECT_EQ(HIWORD(buttonSize), Scale(28, dpi));

  const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(bar.Handle(), TB_GETIMAGELIST, 0, 0));
  ASSERT_NE(images, nullptr) << "the strip for this dpi is missing";
  int cx = 0;
  int cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  EXPECT_EQ(cx, ArtworkSize(22, ArtworkPercent(dpi)));
  EXPECT_EQ(cy, cx);
  EXPECT_EQ(ImageList_GetImageCount(images), 15);
  EXPECT_LE(cx, LOWORD(buttonSize));
  EXPECT_LE(cy, HIWORD(buttonSize));

  RECT r{};
  ::GetWindowRect(bar.Handle(), &r);
  EXPECT_EQ(r.bottom - r.top, Scale(33, dpi));
  EXPECT_EQ(r.right - r.left, ToolBarWidth(bar.ButtonWidth(), Settings{}, dpi));
  EXPECT_GE(r.bottom - r.top, HIWORD(buttonSize));
}

TEST(ButtonBarTest, ADpiChangeSwapsThePictures) {
  const HWND host = SharedHost();
  ButtonBar bar;
  bar.Create(host, ::GetModuleHandleW(nullptr), nullptr, 96);
  EXPECT_EQ(bar.ImageSize(), 22);
  bar.SetDpi(192, nullptr);
  EXPECT_EQ(bar.ImageSize(), 44);
  const auto buttonSize = static_cast<DWORD>(::SendMessageW(bar.Handle(), TB_GETBUTTONSIZE, 0, 0));
  EXPECT_EQ(LOWORD(buttonSize), 58);
  EXPECT_EQ(bar.Height(), 66);
}

}  // namespace
}  // namespace norv
