#include "base/window_base_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>

#include "tests/win/win_test_support.h"

namespace norv {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kClassName[] = L"NorvaleWindowBaseTest";
constexpr wchar_t kCaption[] = L"WindowBaseTest";
constexpr UINT kMsgFail = WM_APP + 7;

class TestWindow final : public WindowBase {
 public:
  explicit TestWindow(std::unique_ptr<TestWindow>* owner = nullptr) : owner_(owner) {}
  HWND Create() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowBase::Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
    return CreateFor(0, kClassName, L"", WS_POPUP, {0, 0}, {10, 10}, nullptr, wc.hInstance);
  }

  HWND handleAtNcCreate = nullptr;
  int nccreates = 0;
  int* ncdestroys = nullptr;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE) {
      ++nccreates;
      handleAtNcCreate = window_;
    }
    if (message == kMsgFail) {
      throw std::runtime_error("handler failed");
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
  }
  void OnNcDestroy() override {
    if (ncdestroys) ++*ncdestroys;
    if (owner_) owner_->reset();  // a modeless window's owner lets go of it
  }

  std::unique_ptr<TestWindow>* owner_;
};

// From WM_NCCREATE on the object knows its window; at the end it learns that
// the window is gone, once, and may free itself there.
TEST(WindowBase, BindsAtCreationAndLetsTheOwnerReleaseItAtTheEnd) {
  int ncdestroys = 0;
  std::unique_ptr<TestWindow> owned;
  owned = std::make_unique<TestWindow>(&owned);
  owned->ncdestroys = &ncdestroys;
  const HWND window = owned->Create();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(owned->handleAtNcCreate, window);
  EXPECT_EQ(owned->nccreates, 1);
  EXPECT_EQ(owned->Handle(), window);

  ::DestroyWindow(window);
  EXPECT_EQ(owned, nullptr) << "released on WM_NCDESTROY";
  EXPECT_EQ(ncdestroys, 1);
}

// An object that goes first takes its window along, with no handler run on
// the half-destroyed object.
TEST(WindowBase, AnObjectDestroyedFirstTakesItsWindowAlong) {
  int ncdestroys = 0;
  HWND window = nullptr;
  {
    TestWindow object;
    object.ncdestroys = &ncdestroys;
    window = object.Create();
    ASSERT_NE(window, nullptr);
  }
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(ncdestroys, 0);
}

// What a handler throws is answered with 0 and shown once, owned and
// captioned as the program says; more of the same burst show nothing.
TEST(WindowBase, AnEscapedExceptionIsShownOncePerBurstAndAnsweredWithZero) {
  static HWND owner = nullptr;
  owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetExceptionReport([] { return owner; }, kCaption);
  TestWindow object;
  const HWND window = object.Create();
  ASSERT_NE(window, nullptr);

  auto answered = std::async(std::launch::async, [] {
    const HWND box = testing::WaitForWindow([] { return testing::FindMessageBox(::GetCurrentProcessId(), kCaption); },
                                            10s);
    if (!box) return std::wstring(L"<no box>");
    const bool owned = ::GetWindow(box, GW_OWNER) == owner;
    const std::wstring text = testing::MessageBoxText(box);
    testing::PressButton(box, IDOK);
    return owned ? text : L"<not owned> " + text;
  });
  EXPECT_EQ(::SendMessageW(window, kMsgFail, 0, 0), 0);
  EXPECT_EQ(answered.get(), L"handler failed");

  EXPECT_EQ(::SendMessageW(window, kMsgFail, 0, 0), 0) << "the same burst: no second box to wait for";
  EXPECT_EQ(testing::FindMessageBox(::GetCurrentProcessId(), kCaption), nullptr);
  EXPECT_TRUE(::IsWindow(window)) << "the window goes on";

  SetExceptionReport(nullptr, L"");
  ::DestroyWindow(owner);
}

}  // namespace
}  // namespace norv
