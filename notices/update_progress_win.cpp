#include "notices/update_progress_win.h"

#include <commctrl.h>

#include <string>

#include "base/dpi_win.h"
#include "base/unicode_win.h"
#include "resources/liveup_strings.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr wchar_t kClassName[] = L"NorvaleUpdateProgress";
constexpr UINT kFinishMessage = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 200;
constexpr int kCancelId = 100;
constexpr int kBarRange = 1000;

// Sizes at 96 dpi.
constexpr int kClientWidth = 360, kClientHeight = 110, kMargin = 12, kBarHeight = 18, kLabelHeight = 18,
              kButtonWidth = 88, kButtonHeight = 26, kFontPixels = 12;

int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

std::wstring BytesText(std::uint64_t received, std::uint64_t total) {
  return Widen(std::to_string(received) + std::string(text::kLiveupBytesOf) + std::to_string(total) +
               std::string(text::kLiveupBytes));
}

}  // namespace

UpdateProgressWindow::UpdateProgressWindow(std::uint64_t total, const std::atomic<std::uint64_t>& received,
                                           std::atomic<bool>& cancel)
    : total_(total), received_(received), cancel_(cancel) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_PROGRESS_CLASS;
  ::InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowBase::Procedure;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  ::RegisterClassExW(&wc);
  const std::wstring title = Widen(text::kLiveupProgressTitle);
  CreateFor(0, kClassName, title.c_str(), WS_CAPTION | WS_SYSMENU, {CW_USEDEFAULT, CW_USEDEFAULT},
            {kClientWidth, kClientHeight}, nullptr, wc.hInstance);
}

UpdateProgressWindow::~UpdateProgressWindow() {
  if (window_) ::DestroyWindow(window_);
  if (font_) ::DeleteObject(font_);
}

void UpdateProgressWindow::RunUntilFinished() {
  if (!window_) return;
  ::ShowWindow(window_, SW_SHOWNORMAL);
  MSG message;
  while (window_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kFinishMessage) break;
    if (!::IsDialogMessageW(window_, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

// From the download's thread: a thread message, so it arrives even while the
// window is being moved.
void UpdateProgressWindow::Finish() {
  if (window_) ::PostMessageW(window_, kFinishMessage, 0, 0);
}

LRESULT UpdateProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_TIMER:
      Timer1Timer();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId) CancelButtonClick();
      return 0;
    case WM_CLOSE:
      CancelButtonClick();
      return 0;
    case kFinishMessage:
      ::KillTimer(window_, kTimerId);
      ::PostThreadMessageW(::GetCurrentThreadId(), kFinishMessage, 0, 0);
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

void UpdateProgressWindow::FormCreate() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                           instance, nullptr);
  ::SendMessageW(bar_, PBM_SETRANGE32, 0, kBarRange);
  label_ = ::CreateWindowExW(0, L"STATIC", BytesText(0, total_).c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                             nullptr, instance, nullptr);
  const std::wstring cancel = Widen(text::kLiveupCancel);
  cancelButton_ = ::CreateWindowExW(0, L"BUTTON", cancel.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                    0, 0, 0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                                    instance, nullptr);
  Layout();
  ::SetTimer(window_, kTimerId, kTimerMs, nullptr);
}

void UpdateProgressWindow::Layout() {
  const int dpi = DpiOfWindow(window_);
  RECT frame{0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
  AdjustWindowRectForDpi(frame, WS_CAPTION | WS_SYSMENU, 0, dpi);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int margin = Scaled(kMargin, dpi);
  const int width = Scaled(kClientWidth, dpi) - 2 * margin;
  ::MoveWindow(bar_, margin, margin, width, Scaled(kBarHeight, dpi), TRUE);
  const int labelTop = margin * 2 + Scaled(kBarHeight, dpi) - margin / 2;
  ::MoveWindow(label_, margin, labelTop, width, Scaled(kLabelHeight, dpi), TRUE);
  ::MoveWindow(cancelButton_, Scaled(kClientWidth, dpi) - margin - Scaled(kButtonWidth, dpi),
               Scaled(kClientHeight, dpi) - margin - Scaled(kButtonHeight, dpi), Scaled(kButtonWidth, dpi),
               Scaled(kButtonHeight, dpi), TRUE);
  HFONT font = CreateScaledFont(Widen(text::kWindowFont).c_str(), kFontPixels, dpi);
  for (HWND child : {label_, cancelButton_}) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_) ::DeleteObject(font_);
  font_ = font;
}

void UpdateProgressWindow::Timer1Timer() {
  const std::uint64_t received = received_;
  const auto position = total_ == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(received, total_) * kBarRange / total_);
  ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  ::SetWindowTextW(label_, BytesText(received, total_).c_str());
}

void UpdateProgressWindow::CancelButtonClick() {
  cancel_ = true;
  ::EnableWindow(cancelButton_, FALSE);
}

}  // namespace norv
