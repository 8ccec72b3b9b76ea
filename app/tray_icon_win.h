#pragma once
// TrayIcon1: the notification-area icon, identified by window + id, with a
// multi-line hint, balloons and an animation through the tray frames.
//
// "Wanted" (the program is resident) and "added" (the shell has the icon) are
// kept apart: at logon the notification area may not exist yet, and Explorer
// may restart and forget every icon. A wanted icon that is not there is added
// again every 2 s for a minute, and at once whenever a taskbar is created.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "base/handles_win.h"

namespace norv {

class TrayIcon {
 public:
  // Shell_NotifyIconW; replaceable so a test can make the shell refuse.
  using ShellNotify = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;

  TrayIcon();
  void Attach(HWND window, UINT callbackMessage, UINT_PTR animationTimer, UINT_PTR retryTimer);
  void SetShellNotify(ShellNotify notify) { notify_ = std::move(notify); }
  void LoadIcons(HINSTANCE instance);  // the normal, checking and animation icons

  // From now on the icon is wanted; it is added now, or by the retries.
  void Show(const std::string& hint);
  // No longer wanted: removed, and the retries stop.
  void Hide();
  bool Wanted() const { return wanted_; }
  bool Added() const { return added_; }
  // The shell took NOTIFYICON_VERSION_4: its callbacks carry the event in
  // LOWORD(lParam) and the anchor point in wParam, and the menu comes as
  // WM_CONTEXTMENU.
  bool Version4() const { return version4_; }

  // "TaskbarCreated" and the retry timer; true when `message` was one of them.
  bool HandleMessage(UINT message, WPARAM wParam);

  void SetHint(const std::string& hint);
  void ShowNormalIcon();
  void ShowCheckingIcon();

  // Balloon titled with the product name, 30 s, information icon. An empty
  // text removes a balloon still on screen. Safe from the checker thread.
  void ShowBalloon(const std::string& text);

  void StartAnimation();
  void StopAnimation();
  bool Animating() const { return animating_; }
  void AnimationTick();  // Timer tick: next frame

 private:
  NOTIFYICONDATAW BaseData(UINT flags) const;
  void SetIcon(HICON icon);
  bool TryAdd();
  void StartRetries();
  void StopRetries();
  void RetryTick();

  HWND window_ = nullptr;
  UINT callbackMessage_ = 0;
  UINT_PTR animationTimer_ = 0;
  UINT_PTR retryTimer_ = 0;
  UINT taskbarCreated_ = 0;
  ShellNotify notify_;
  bool wanted_ = false;
  bool added_ = false;
  bool version4_ = false;
  int retriesLeft_ = 0;
  bool animating_ = false;
  std::size_t frame_ = 0;
  std::wstring hint_;
  HICON current_ = nullptr;
  UniqueIcon normal_;
  UniqueIcon checking_;
  std::vector<UniqueIcon> frames_;
};

// The balloon of the tray icon of `window`, built from the window and the
// icon id alone, so the checker thread may call it.
void ShowTrayBalloon(HWND window, const std::string& text);

}  // namespace norv
