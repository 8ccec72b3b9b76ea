#include "store/grid_rows.h"

#include <algorithm>

#include "base/dpi.h"

namespace norv {

namespace {

// The grid is 210 pixels tall: a border, the header and ten body rows.
constexpr int kWheelViewRows = 10;

}  // namespace

GridRowMetrics GridRowMetricsFor(int dpi) {
  const int height = Scale(kGridRowHeight, dpi);
  return {height, height + 1};
}

int GridHeight(const GridRowMetrics& rows) {
  constexpr int kBorders = 2;
  return kBorders + (1 + kWheelViewRows) * rows.rowPitch - 1;
}

int VisibleBodyRows(int clientHeight, const GridRowMetrics& rows) {
  const int below = clientHeight - rows.rowPitch + 1;
  return below < rows.rowHeight ? 0 : below / rows.rowPitch;
}

int MaxTopRow(int bodyRows, int visibleRows) {
  return std::max(1, bodyRows - std::max(visibleRows, 1) + 1);
}

int WheelTopRow(int topRow, bool down, int tableRows) {
  const int wanted = topRow + (down ? 1 : -1);
  return std::clamp(wanted, 1, MaxTopRow(tableRows, kWheelViewRows));
}

}  // namespace norv
