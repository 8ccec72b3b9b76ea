#include "app/tray_icon_win.h"

#include <shellapi.h>

#include <algorithm>

#include "base/unicode_win.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr UINT kBalloonTimeoutMs = 30000;
constexpr UINT kAnimationIntervalMs = 250;
constexpr UINT kRetryIntervalMs = 2000;
constexpr int kRetries = 30;  // a minute

HICON LoadSmallIcon(HINSTANCE instance, int id) {
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  auto icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
  if (!icon) {
    // Until the artwork is linked in: a system icon keeps the tray entry usable.
    icon = static_cast<HICON>(::CopyImage(::LoadIconW(nullptr, IDI_APPLICATION), IMAGE_ICON, size, size, 0));
  }
  return icon;
}

template <std::size_t N>
void CopyTruncated(wchar_t (&target)[N], const std::wstring& source) {
  const std::size_t n = std::min(source.size(), N - 1);
  std::copy_n(source.begin(), n, target);
  target[n] = L'\0';
}

}  // namespace

TrayIcon::TrayIcon() : notify_([](DWORD message, NOTIFYICONDATAW* data) { return ::Shell_NotifyIconW(message, data); }) {}

void TrayIcon::Attach(HWND window, UINT callbackMessage, UINT_PTR animationTimer, UINT_PTR retryTimer) {
  window_ = window;
  callbackMessage_ = callbackMessage;
  animationTimer_ = animationTimer;
  retryTimer_ = retryTimer;
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
}

void TrayIcon::LoadIcons(HINSTANCE instance) {
  normal_.reset(LoadSmallIcon(instance, IDI_TRAY_NORMAL));
  checking_.reset(LoadSmallIcon(instance, IDI_TRAY_CHECKING));
  frames_.clear();
  for (int i = 0; i < TRAY_ANIM_FRAMES; ++i) {
    frames_.emplace_back(LoadSmallIcon(instance, IDI_TRAY_ANIM_FIRST + i));
  }
  current_ = normal_.get();
}

NOTIFYICONDATAW TrayIcon::BaseData(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window_;
  data.uID = kTrayIconId;
  // Version 4 hides the standard hint unless it is asked for.
  data.uFlags = (flags & NIF_TIP) ? flags | NIF_SHOWTIP : flags;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = current_;
  CopyTruncated(data.szTip, hint_);
  return data;
}

void TrayIcon::Show(const std::string& hint) {
  hint_ = Widen(hint);
  wanted_ = true;
  if (added_) {
    SetHint(hint);
  } else if (!TryAdd()) {
    StartRetries();
  }
}

// An icon the shell still holds (a taskbar that announced itself again
// without losing its icons) refuses NIM_ADD but takes NIM_MODIFY.
bool TrayIcon::TryAdd() {
  NOTIFYICONDATAW data = BaseData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  added_ = notify_(NIM_ADD, &data) != FALSE || notify_(NIM_MODIFY, &data) != FALSE;
  if (added_) {
    NOTIFYICONDATAW version = BaseData(0);
    version.uVersion = NOTIFYICON_VERSION_4;
    version4_ = notify_(NIM_SETVERSION, &version) != FALSE;
    StopRetries();
  }
  return added_;
}

void TrayIcon::StartRetries() {
  retriesLeft_ = kRetries;
  ::SetTimer(window_, retryTimer_, kRetryIntervalMs, nullptr);
}

void TrayIcon::StopRetries() {
  if (retriesLeft_ > 0) {
    ::KillTimer(window_, retryTimer_);
    retriesLeft_ = 0;
  }
}

void TrayIcon::RetryTick() {
  if (!wanted_ || added_ || TryAdd()) {
    StopRetries();
    return;
  }
  if (--retriesLeft_ <= 0) {
    // Given up for now; the next "TaskbarCreated" still brings the icon.
    ::KillTimer(window_, retryTimer_);
    retriesLeft_ = 0;
  }
}

bool TrayIcon::HandleMessage(UINT message, WPARAM wParam) {
  if (message == WM_TIMER && wParam == retryTimer_) {
    RetryTick();
    return true;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // A new taskbar knows none of the old icons.
    if (wanted_) {
      added_ = false;
      if (!TryAdd()) {
        StartRetries();
      }
    }
    return true;
  }
  return false;
}

void TrayIcon::Hide() {
  StopAnimation();
  StopRetries();
  wanted_ = false;
  if (added_) {
    NOTIFYICONDATAW data = BaseData(0);
    notify_(NIM_DELETE, &data);
    added_ = false;
  }
}

void TrayIcon::SetHint(const std::string& hint) {
  hint_ = Widen(hint);
  if (added_) {
    NOTIFYICONDATAW data = BaseData(NIF_TIP);
    notify_(NIM_MODIFY, &data);
  }
}

void TrayIcon::SetIcon(HICON icon) {
  current_ = icon;
  if (added_) {
    NOTIFYICONDATAW data = BaseData(NIF_ICON);
    notify_(NIM_MODIFY, &data);
  }
}

void TrayIcon::ShowNormalIcon() {
  SetIcon(normal_.get());
}

void TrayIcon::ShowCheckingIcon() {
  SetIcon(checking_.get());
}

void TrayIcon::ShowBalloon(const std::string& text) {
  ShowTrayBalloon(window_, text);
}

void ShowTrayBalloon(HWND window, const std::string& text) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_INFO;
  CopyTruncated(data.szInfo, Widen(text));
  CopyTruncated(data.szInfoTitle, Widen(text::kProductName));
  data.uTimeout = kBalloonTimeoutMs;
  data.dwInfoFlags = NIIF_INFO;
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::StartAnimation() {
  if (frames_.empty()) {
    return;
  }
  animating_ = true;
  frame_ = 0;
  SetIcon(frames_[0].get());
  ::SetTimer(window_, animationTimer_, kAnimationIntervalMs, nullptr);
}

void TrayIcon::StopAnimation() {
  if (animating_) {
    ::KillTimer(window_, animationTimer_);
    animating_ = false;
  }
}

void TrayIcon::AnimationTick() {
  if (!animating_ || frames_.empty()) {
    return;
  }
  frame_ = (frame_ + 1) % frames_.size();
  SetIcon(frames_[frame_].get());
}

}  // namespace norv
