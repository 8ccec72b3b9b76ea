#pragma once
// A small owner-drawn grid of the program's own: fixed header row and draw
// number column, 18-pixel rows, vertical scroll bar only, no selection. Cells
// are formatted from the game's DrawTable only when painted.

#include <windows.h>

#include "base/handles_win.h"
#include "store/game.h"

namespace norv {

class ResultGrid {
 public:
  static bool RegisterClass(HINSTANCE instance);  // window class "NorvaleResultGrid"

  // Created invisible; the grid reads GameDataOf(game).table when painting.
  ResultGrid(HWND parent, Game game, int x, int y, int width, int height);
  ResultGrid(const ResultGrid&) = delete;
  ResultGrid& operator=(const ResultGrid&) = delete;
  ~ResultGrid();

  HWND Handle() const { return window_; }
  Game GameShown() const { return game_; }

  int RowCount() const;  // header row included
  void SetRowCount(int rows);
  int TopRow() const;  // first body row in view, 1-based
  void SetTopRow(int row);
  void SetWidth(int width);

 private:
  HWND window_ = nullptr;
  Game game_;
  int rowCount_ = 11;
  int topRow_ = 1;
  UniqueFont font_;
  UniqueFont bonusFont_;

  int ViewRows() const;  // body rows that fit below the header
  int MaxTop() const;
  void SyncScrollBar();
  void OnVScroll(int request);
  void OnPaint();
  friend LRESULT CALLBACK ResultGridProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace norv
