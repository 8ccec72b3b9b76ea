#pragma once
// Size rules of the main window: the width that follows the active tab, the
// wheel's top-row limits and the button bar's width.

#include <array>

#include "settings/settings.h"

namespace norv {

struct TabLayout {
  int clientWidth;
  int pageControlWidth;
  int gridWidth;
};

// tab 0..3 (game id - 1); scrollBarWidth is SM_CXVSCROLL.
TabLayout LayoutForTab(int tab, int scrollBarWidth);

inline constexpr int kToolButtonCount = 13;
inline constexpr int kToolBarHeight = 33;

// Visibility of ToolButton1..13 (index 0..12) under the display flags.
std::array<bool, kToolButtonCount> ToolButtonVisibility(const Settings& settings);

// Buttons 1, 2 and 4 are always there; the ten optional ones follow their flags.
int ToolBarWidth(int buttonWidth, const Settings& settings);

// Companion submenu N41..N45, then N46 ("未登録") at index 5.
std::array<bool, 6> CompanionMenuVisibility(const Settings& settings);

}  // namespace norv
