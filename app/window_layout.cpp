#include "app/window_layout.h"

#include <algorithm>

namespace norv {

namespace {
constexpr std::array<int, 4> kTabBaseWidths{536, 433, 393, 406};
}  // namespace

TabLayout LayoutForTab(int tab, int scrollBarWidth) {
  const int base = kTabBaseWidths[static_cast<std::size_t>(std::clamp(tab, 0, 3))];
  const int width = scrollBarWidth + base;
  return {width, width - 1, width - 31};
}

int WheelTopRow(int currentTopRow, bool down, int tableRows) {
  const int wanted = currentTopRow + (down ? 1 : -1);
  // Ten body rows fill the grid, so the last useful top row shows draw 1 at the bottom.
  const int lastTop = std::max(1, tableRows - 9);
  return std::clamp(wanted, 1, lastTop);
}

std::array<bool, kToolButtonCount> ToolButtonVisibility(const Settings& s) {
  return {true, true, s.csv, true, s.dml, s.cdm, s.ad4, s.bc4, s.elj, s.shp, s.dhp, s.chp, s.hlp};
}

int ToolBarWidth(int buttonWidth, const Settings& settings) {
  const auto visible = ToolButtonVisibility(settings);
  const int shown = static_cast<int>(std::count(visible.begin(), visible.end(), true));
  return buttonWidth * shown + 8;
}

std::array<bool, 6> CompanionMenuVisibility(const Settings& s) {
  const bool none = !s.dm[3] && !s.cd[3] && !s.ad[3] && !s.bc[3] && !s.el[3];
  return {s.dm[3], s.cd[3], s.ad[3], s.bc[3], s.el[3], none};
}

}  // namespace norv
