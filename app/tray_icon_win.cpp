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

void TrayIcon::Attach(HWND window, UINT callbackMessage, UINT_PTR animationTimer) {
  window_ = window;
  callbackMessage_ = callbackMessage;
  animationTimer_ = animationTimer;
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
  data.uFlags = flags;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = current_;
  CopyTruncated(data.szTip, hint_);
  return data;
}

void TrayIcon::Show(const std::string& hint) {
  hint_ = Widen(hint);
  NOTIFYICONDATAW data = BaseData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  visible_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::Readd() {
  if (visible_) {
    NOTIFYICONDATAW data = BaseData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    ::Shell_NotifyIconW(NIM_ADD, &data);
  }
}

void TrayIcon::Hide() {
  StopAnimation();
  if (visible_) {
    NOTIFYICONDATAW data = BaseData(0);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    visible_ = false;
  }
}

void TrayIcon::SetHint(const std::string& hint) {
  hint_ = Widen(hint);
  if (visible_) {
    NOTIFYICONDATAW data = BaseData(NIF_TIP);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
  }
}

void TrayIcon::SetIcon(HICON icon) {
  current_ = icon;
  if (visible_) {
    NOTIFYICONDATAW data = BaseData(NIF_ICON);
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
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
