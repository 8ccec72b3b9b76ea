#pragma once
// ToolBar1: thirteen 29 x 28 image buttons with tooltips; ToolButton2 shows a
// busy image while a check runs.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "settings/settings.h"

namespace norv {

class ButtonBar {
 public:
  ButtonBar() = default;
  ButtonBar(const ButtonBar&) = delete;
  ButtonBar& operator=(const ButtonBar&) = delete;
  ~ButtonBar();

  void Create(HWND parent, HINSTANCE instance, HFONT font);
  HWND Handle() const { return bar_; }

  // ApplyButtonBar's part: visibility by the display flags, height 33 and the width rule.
  void Apply(const Settings& settings);
  // Themed: edges on all sides, gradient background, flat buttons.
  void SetThemedStyle(bool themed);
  void SetCheckBusy(bool busy);
  int ButtonWidth() const;

  // WM_NOTIFY from the bar or its tooltips; true when handled.
  bool HandleNotify(NMHDR* header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMTBCUSTOMDRAW* draw) const;

  HWND bar_ = nullptr;
  HIMAGELIST images_ = nullptr;
  bool themed_ = false;
  std::array<std::wstring, 13> hints_;
};

}  // namespace norv
