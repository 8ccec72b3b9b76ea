#include "app/window_layout.h"

#include <algorithm>

namespace norv {

namespace {
constexpr std::array<int, 4> kTabBaseWidths{536, 433, 393, 406};
}  // namespace

TabLayout LayoutForTab(int tab, int scrollBarWidth, int dpi) {
  const int base = kTabBaseWidths[static_cast<std::size_t>(std::clamp(tab, 0, 3))];
  const int width = scrollBarWidth + Scale(base, dpi);
  return {width, width - Scale(1, dpi), width - Scale(31, dpi)};
}

std::array<bool, kToolButtonCount> ToolButtonVisibility(const Settings& s) {
  return {true, true, s.csv, true, s.dml, s.cdm, s.ad4, s.bc4, s.elj, s.shp, s.dhp, s.chp, s.hlp, true};
}

int ToolBarWidth(int buttonWidth, const Settings& settings, int dpi) {
  const auto visible = ToolButtonVisibility(settings);
  const int shown = static_cast<int>(std::count(visible.begin(), visible.end(), true));
  return buttonWidth * shown + Scale(8, dpi);
}

std::array<bool, 6> CompanionMenuVisibility(const Settings& s) {
  const bool none = !s.dm[3] && !s.cd[3] && !s.ad[3] && !s.bc[3] && !s.el[3];
  return {s.dm[3], s.cd[3], s.ad[3], s.bc[3], s.el[3], none};
}

}  // namespace norv
