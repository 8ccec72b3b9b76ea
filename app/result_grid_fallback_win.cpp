// Stand-in for the result grid until the store branch is merged: plain text
// rows, the row count and the top row, nothing more. Compiled only while
// store/ has no grid of its own.

#if !__has_include("store/result_grid_win.cpp")

#include <algorithm>
#include <string>

#include "store/draw_table.h"
#include "store/result_grid_win.h"

namespace norv {

namespace {
constexpr wchar_t kGridClass[] = L"NorvaleResultGrid";
constexpr int kRowHeight = 19;
constexpr int kBodyRowsInView = 10;
}  // namespace

LRESULT CALLBACK ResultGridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* grid = reinterpret_cast<ResultGrid*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (grid && message == WM_VSCROLL) {
      const int code = LOWORD(wParam);
      int row = grid->topRow_;
      if (code == SB_LINEDOWN) ++row;
      if (code == SB_LINEUP) --row;
      if (code == SB_PAGEDOWN) row += kBodyRowsInView;
      if (code == SB_PAGEUP) row -= kBodyRowsInView;
      if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) row = HIWORD(wParam) + 1;
      grid->SetTopRow(row);
      return 0;
    }
    if (grid && message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(window, &ps);
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(::GetParent(window), WM_GETFONT, 0, 0)));
      ::SetBkMode(dc, TRANSPARENT);
      ::TextOutW(dc, 4, 2, L"No.", 3);
      const auto& rows = GameDataOf(grid->game_).table.rows;
      for (int i = 0; i < kBodyRowsInView; ++i) {
        const auto index = static_cast<std::size_t>(grid->topRow_ - 1 + i);
        if (index >= rows.size() || rows[index].empty()) {
          break;
        }
        const std::wstring number = std::to_wstring(rows[index][0]);
        ::TextOutW(dc, 4, 2 + (i + 1) * kRowHeight, number.c_str(), static_cast<int>(number.size()));
      }
      ::EndPaint(window, &ps);
      return 0;
    }
  } catch (...) {
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool ResultGrid::RegisterClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ResultGridProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kGridClass;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

ResultGrid::ResultGrid(HWND parent, Game game, int x, int y, int width, int height) : game_(game) {
  window_ = ::CreateWindowExW(0, kGridClass, nullptr, WS_CHILD | WS_VSCROLL | WS_BORDER, x, y, width, height, parent,
                              nullptr, reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                              this);
}

ResultGrid::~ResultGrid() {
  if (window_) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

int ResultGrid::RowCount() const {
  return rowCount_;
}

void ResultGrid::SetRowCount(int rows) {
  rowCount_ = std::max(1, rows);
  SetTopRow(topRow_);
}

int ResultGrid::TopRow() const {
  return topRow_;
}

void ResultGrid::SetTopRow(int row) {
  topRow_ = std::clamp(row, 1, std::max(1, rowCount_ - kBodyRowsInView));
  SCROLLINFO info{sizeof info, SIF_ALL, 0, std::max(0, rowCount_ - 2), kBodyRowsInView, topRow_ - 1, 0};
  ::SetScrollInfo(window_, SB_VERT, &info, TRUE);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void ResultGrid::SetWidth(int width) {
  RECT r{};
  ::GetWindowRect(window_, &r);
  ::SetWindowPos(window_, nullptr, 0, 0, width, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace norv

#endif
