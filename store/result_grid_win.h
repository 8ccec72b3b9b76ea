#pragma once
// A small owner-drawn grid of the program's own: fixed header row and draw
// number column, 18-pixel rows, vertical scroll bar only, no selection. Cells
// are formatted from the game's DrawTable only when painted.

#include <windows.h>

#include "base/handles_win.h"
#include "base/window_base_win.h"
#include "store/game.h"
#include "store/grid_rows.h"

namespace norv {

class ResultGrid final : public WindowBase {
 public:
  static bool RegisterClass(HINSTANCE instance);  // window class "NorvaleResultGrid"

  // Created invisible, at the dpi of its parent; the grid reads
  // GameDataOf(game).table when painting.
  ResultGrid(HWND parent, Game game, int x, int y, int width, int height);
  ResultGrid(const ResultGrid&) = delete;
  ResultGrid& operator=(const ResultGrid&) = delete;

  Game GameShown() const { return game_; }

  int RowCount() const;  // header row included
  void SetRowCount(int rows);
  int TopRow() const;  // first body row in view, 1-based
  void SetTopRow(int row);
  void SetWidth(int width);
  void SetBounds(int x, int y, int width, int height);

  // Rows, columns, pictures and fonts follow the dpi of the monitor.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }
  const GridRowMetrics& Rows() const { return rows_; }
  HFONT Font() const { return font_.get(); }  // also answered to WM_GETFONT

 private:
  Game game_;
  int rowCount_ = 11;
  int topRow_ = 1;
  int dpi_ = 96;
  GridRowMetrics rows_;
  UniqueFont font_;
  UniqueFont bonusFont_;

  int ViewRows() const;  // body rows that fit below the header
  int MaxTop() const;
  void SyncScrollBar();
  void OnVScroll(int request);
  void OnPaint();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace norv
