#pragma once
// TrayIcon1: the notification-area icon, identified by window + id, with a
// multi-line hint, balloons and an animation through the tray frames.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "base/handles_win.h"

namespace norv {

class TrayIcon {
 public:
  void Attach(HWND window, UINT callbackMessage, UINT_PTR animationTimer);
  void LoadIcons(HINSTANCE instance);  // the normal, checking and animation icons

  void Show(const std::string& hint);
  void Hide();
  bool Visible() const { return visible_; }
  void SetHint(const std::string& hint);
  void ShowNormalIcon();
  void ShowCheckingIcon();
  // Explorer restarted: its new taskbar knows nothing of us.
  void Readd();

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

  HWND window_ = nullptr;
  UINT callbackMessage_ = 0;
  UINT_PTR animationTimer_ = 0;
  bool visible_ = false;
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
