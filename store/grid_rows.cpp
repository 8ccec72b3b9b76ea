#include "store/grid_rows.h"

#include <algorithm>

namespace norv {

namespace {

// The grid is 210 pixels tall: a border, the header and ten body rows.
constexpr int kWheelViewRows = 10;

}  // namespace

int VisibleBodyRows(int clientHeight) {
  const int below = clientHeight - kGridRowPitch + 1;
  return below < kGridRowHeight ? 0 : below / kGridRowPitch;
}

int MaxTopRow(int bodyRows, int visibleRows) {
  return std::max(1, bodyRows - std::max(visibleRows, 1) + 1);
}

int WheelTopRow(int topRow, bool down, int tableRows) {
  const int wanted = topRow + (down ? 1 : -1);
  return std::clamp(wanted, 1, MaxTopRow(tableRows, kWheelViewRows));
}

}  // namespace norv
