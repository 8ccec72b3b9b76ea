#pragma once
// Row geometry of the result grids and the wheel rule of the main window.

namespace norv {

inline constexpr int kGridRowHeight = 18;
inline constexpr int kGridRowPitch = kGridRowHeight + 1;  // with its grid line

// The rows at a dpi: rows, pictures and text scale; grid lines stay one
// device pixel, as the system's own lines do, so the scaled columns still fit
// the scaled grid width.
struct GridRowMetrics {
  int rowHeight = kGridRowHeight;
  int rowPitch = kGridRowPitch;  // with its grid line
};
GridRowMetrics GridRowMetricsFor(int dpi);

// Grid height for a one-pixel border on each side, the header and ten body
// rows (the last row's grid line falls under the border): 210 at 96 dpi.
int GridHeight(const GridRowMetrics& rows);

// Body rows whose cells fit wholly below the header in a client area this
// tall (the last row's grid line may fall outside).
int VisibleBodyRows(int clientHeight, const GridRowMetrics& rows = {});

// The highest top row (1-based) that still fills the view; at least 1.
int MaxTopRow(int bodyRows, int visibleRows);

// One wheel notch on the active grid: one row down or up, never above row 1
// and never past the row that shows the ten oldest draws (N - 9).
int WheelTopRow(int topRow, bool down, int tableRows);

}  // namespace norv
