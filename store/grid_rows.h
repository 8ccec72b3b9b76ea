#pragma once
// Row geometry of the result grids and the wheel rule of the main window.

namespace norv {

inline constexpr int kGridRowHeight = 18;
inline constexpr int kGridRowPitch = kGridRowHeight + 1;  // with its grid line

// Body rows whose cells fit wholly below the header in a client area this
// tall (the last row's grid line may fall outside).
int VisibleBodyRows(int clientHeight);

// The highest top row (1-based) that still fills the view; at least 1.
int MaxTopRow(int bodyRows, int visibleRows);

// One wheel notch on the active grid: one row down or up, never above row 1
// and never past the row that shows the ten oldest draws (N - 9).
int WheelTopRow(int topRow, bool down, int tableRows);

}  // namespace norv
