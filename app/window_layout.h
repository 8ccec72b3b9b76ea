#pragma once
// Size rules of the main window: the width that follows the active tab, the
// wheel's top-row limits and the button bar's width.

#include <array>

#include "base/dpi.h"
#include "settings/settings.h"

namespace norv {

struct TabLayout {
  int clientWidth;
  int pageControlWidth;
  int gridWidth;
};

// tab 0..3 (game id - 1); scrollBarWidth is SM_CXVSCROLL at `dpi`, and the
// 96-dpi widths are scaled to it.
TabLayout LayoutForTab(int tab, int scrollBarWidth, int dpi = kBaseDpi);

inline constexpr int kToolButtonCount = 14;
inline constexpr int kToolBarHeight = 33;  // at 96 dpi, as every figure here
inline constexpr int kToolButtonWidth = 29;
inline constexpr int kToolButtonHeight = 28;
inline constexpr int kToolImageSize = 22;

// Visibility of ToolButton1..14 (index 0..13) under the display flags.
std::array<bool, kToolButtonCount> ToolButtonVisibility(const Settings& settings);

// Buttons 1, 2, 4 and 14 (マイ数字) are always there; the ten optional ones follow their
// flags. buttonWidth is the bar's own (already at `dpi`).
int ToolBarWidth(int buttonWidth, const Settings& settings, int dpi = kBaseDpi);

// Companion submenu N41..N45, then N46 ("未登録") at index 5.
std::array<bool, 6> CompanionMenuVisibility(const Settings& settings);

}  // namespace norv
