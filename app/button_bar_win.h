#pragma once
// ToolBar1: fourteen 29 x 28 image buttons with tooltips; ToolButton2 shows a
// busy image while a check runs.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "app/window_layout.h"
#include "settings/settings.h"

namespace norv {

class ButtonBar {
 public:
  ButtonBar() = default;
  ButtonBar(const ButtonBar&) = delete;
  ButtonBar& operator=(const ButtonBar&) = delete;
  ~ButtonBar();

  void Create(HWND parent, HINSTANCE instance, HFONT font, int dpi);
  HWND Handle() const { return bar_; }

  // Buttons, pictures and the bar's height for the monitor's dpi: the pictures
  // drawn nearest to it, never stretched.
  void SetDpi(int dpi, HFONT font);
  int Height() const;
  int ImageSize() const { return imageSize_; }

  // Keyboard access (Alt or F10): the focus goes to the bar with its first
  // button hot; the arrows move, Enter presses, Esc gives the focus back.
  void EnterKeyboardMode();

  // ApplyButtonBar's part: visibility by the display flags, height 33 and the width rule.
  void Apply(const Settings& settings);
  // Themed: edges on all sides, gradient background, flat buttons.
  void SetThemedStyle(bool themed);
  void SetCheckBusy(bool busy);
  int ButtonWidth() const;

  // Called with the Shift state of every mouse press (any button) on ToolButton2,
  // before the bar turns the press into a click.
  void OnCheckButtonMouseDown(std::function<void(bool shiftHeld)> handler);

  // WM_NOTIFY from the bar or its tooltips; true when handled.
  bool HandleNotify(NMHDR* header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMTBCUSTOMDRAW* draw) const;
  void MouseDown(WPARAM keys, LPARAM at) const;
  bool KeyDown(WPARAM key);
  void LeaveKeyboardMode();
  friend LRESULT CALLBACK ButtonBarProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  HWND bar_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HIMAGELIST images_ = nullptr;
  int dpi_ = 96;
  int imageSize_ = 22;
  int shown_ = 3;
  bool themed_ = false;
  std::array<std::wstring, kToolButtonCount> hints_;
  std::function<void(bool)> checkMouseDown_;
};

}  // namespace norv
