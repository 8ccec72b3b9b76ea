// PageControl1 and the four result grids: the width that follows the active
// tab, the grids' reloads and the mouse wheel.

#include <windows.h>
#include <commctrl.h>

#include "app/main_form_win.h"
#include "base/dpi_win.h"
#include "base/unicode_win.h"
#include "app/window_layout.h"
#include "store/grid_rows.h"
#include "resources/strings.h"
#include "store/draw_table.h"

namespace norv {

namespace {

constexpr int kGridMargin = 10;
// Height the tab control is measured at before it is given its real one.
constexpr int kProbeHeight = 1000;

DWORD WindowStyle(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
}

DWORD WindowExStyle(HWND window) {
  return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
}

}  // namespace

void MainWindow::CreatePages() {
  pageControl1_ = ::CreateWindowExW(0, WC_TABCONTROLW, nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_HOTTRACK, 0, 0,
                                    0, 0, window_, nullptr, instance_, nullptr);
  ::SendMessageW(pageControl1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  for (int i = 0; i < 4; ++i) {
    std::wstring caption = Widen(text::kPageCaptions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(pageControl1_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  for (Game game : kAllGames) {
    grids_[static_cast<std::size_t>(GameIndex(game))] = std::make_unique<ResultGrid>(pageControl1_, game, 0, 0, 0, 0);
  }
  LayOutPages();
}

// The bar, the page control and the grids at dpi_. The page is sized so that
// its display area holds the grid with equal margins, whatever the tab row's
// height in the font at hand.
void MainWindow::LayOutPages() {
  scrollBarWidth_ = SystemMetricForDpi(SM_CXVSCROLL, dpi_);
  const TabLayout loto6 = LayoutForTab(0, scrollBarWidth_, dpi_);
  const int top = toolBar1_.Height();
  const int margin = Scale(kGridMargin, dpi_);
  const int gridHeight = GridHeight(GridRowMetricsFor(dpi_));
  ::SetWindowPos(pageControl1_, nullptr, 0, top, loto6.pageControlWidth, kProbeHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  RECT display{0, 0, loto6.pageControlWidth, kProbeHeight};
  TabCtrl_AdjustRect(pageControl1_, FALSE, &display);
  pageHeight_ = display.top + margin + gridHeight + margin + (kProbeHeight - display.bottom);
  ::SetWindowPos(pageControl1_, nullptr, 0, 0, loto6.pageControlWidth, pageHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  clientHeight_ = top + pageHeight_;
  for (int tab = 0; tab < 4; ++tab) {
    ResultGrid& grid = *grids_[static_cast<std::size_t>(tab)];
    grid.SetDpi(dpi_);
    grid.SetBounds(display.left + margin, display.top + margin, LayoutForTab(tab, scrollBarWidth_, dpi_).gridWidth,
                   gridHeight);
  }
}

void MainWindow::SizeWindow() {
  ResizeForTab(0);
}

void MainWindow::ResizeForTab(int tab) {
  const TabLayout layout = LayoutForTab(tab, scrollBarWidth_, dpi_);
  RECT outer{0, 0, layout.clientWidth, clientHeight_};
  AdjustWindowRectForDpi(outer, WindowStyle(window_), WindowExStyle(window_), dpi_);
  ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(pageControl1_, nullptr, 0, 0, layout.pageControlWidth, pageHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  grids_[static_cast<std::size_t>(tab)]->SetWidth(layout.gridWidth);
}

// Moved to a monitor of another dpi (or the dpi changed under it): fonts,
// pictures and every size follow; the place is the one Windows suggests.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_.reset(CreateScaledFont(Widen(text::kWindowFont).c_str(), kWindowFontPixels, dpi_));
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  ::SendMessageW(pageControl1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  toolBar1_.SetDpi(dpi_, font_.get());
  ApplyButtonBar();
  LayOutPages();
  const int tab = ActiveTab();
  ResizeForTab(tab >= 0 && tab <= 3 ? tab : 0);
  ::SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int MainWindow::ActiveTab() const {
  return static_cast<int>(::SendMessageW(pageControl1_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::PageControl1Change() {
  const int tab = ActiveTab();
  if (tab < 0 || tab > 3) {
    return;
  }
  ResizeForTab(tab);
  for (std::size_t i = 0; i < grids_.size(); ++i) {
    const bool shown = static_cast<int>(i) == tab && gridLoaded_[i];
    ::ShowWindow(grids_[i]->Handle(), shown ? SW_SHOWNA : SW_HIDE);
  }
  grids_[static_cast<std::size_t>(tab)]->SetTopRow(1);
}

void MainWindow::StepTab(int step) {
  const int tab = ActiveTab();
  const int next = ((tab < 0 ? 0 : tab) + step + 4) % 4;
  ::SendMessageW(pageControl1_, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  PageControl1Change();
}

void MainWindow::SelectGameTab(Game game) {
  ::SendMessageW(pageControl1_, TCM_SETCURSEL, static_cast<WPARAM>(GameIndex(game)), 0);
  PageControl1Change();
}

void MainWindow::BeginGridReload(Game game) {
  const auto i = static_cast<std::size_t>(GameIndex(game));
  gridLoaded_[i] = false;
  ::ShowWindow(grids_[i]->Handle(), SW_HIDE);
}

void MainWindow::EndGridReload(Game game) {
  const auto i = static_cast<std::size_t>(GameIndex(game));
  ResultGrid& grid = *grids_[i];
  grid.SetRowCount(GameDataOf(game).drawCount + 1);
  grid.SetTopRow(1);
  gridLoaded_[i] = true;
  if (ActiveTab() == GameIndex(game)) {
    ::ShowWindow(grid.Handle(), SW_SHOWNA);
  }
}

void MainWindow::FormMouseWheelDown() {
  ScrollActiveGrid(true);
}

void MainWindow::FormMouseWheelUp() {
  ScrollActiveGrid(false);
}

void MainWindow::ScrollActiveGrid(bool down) {
  if (!::IsWindowEnabled(pageControl1_)) {
    return;
  }
  const int tab = ActiveTab();
  if (tab < 0 || tab > 3) {
    return;
  }
  ResultGrid& grid = *grids_[static_cast<std::size_t>(tab)];
  // The grid's own row count, set on this thread at the last reload, stands for
  // the table's rows: the table itself may be rebuilt by the checker right now.
  grid.SetTopRow(WheelTopRow(grid.TopRow(), down, grid.RowCount() - 1));
}

LRESULT MainWindow::ActiveGridTopRow() const {
  const int tab = ActiveTab();
  if (tab < 0 || tab > 3 || !gridLoaded_[static_cast<std::size_t>(tab)]) {
    return 0;
  }
  return grids_[static_cast<std::size_t>(tab)]->TopRow();
}

}  // namespace norv
