#pragma once
// The picture strip of balls and digit tiles, drawn at 100, 150 and 200 per
// cent (IDB_GLYPHS and its larger twins), and copying its cells onto a grid's
// canvas.

#include <windows.h>

#include "base/handles_win.h"

namespace norv {

// The strip drawn for `dpi`: the one whose cells are exactly the scaled
// 18 pixels when there is one, else the nearest.
int GlyphStripPercent(int dpi);

class GlyphStrip {
 public:
  GlyphStrip(HINSTANCE module, int percent = 100);  // loads that strip from `module`

  bool Loaded() const { return static_cast<bool>(bitmap_); }
  SIZE Size() const { return size_; }
  int CellSize() const { return size_.cy; }
  HBITMAP Bitmap() const { return bitmap_.get(); }

 private:
  UniqueBitmap bitmap_;
  SIZE size_{0, 0};
};

// Holds the strip selected into a memory DC for one paint.
class GlyphPainter {
 public:
  GlyphPainter(const GlyphStrip& strip, HDC target);
  GlyphPainter(const GlyphPainter&) = delete;
  GlyphPainter& operator=(const GlyphPainter&) = delete;
  ~GlyphPainter();

  // Copies strip cell `cell` to a rectangle `width` wide at (x, top), as tall
  // as `height`: a plain copy when the sizes match, else a smoothed stretch.
  void Draw(int cell, int x, int top, int width, int height) const;

 private:
  HDC target_;
  UniqueMemoryDc source_;
  HGDIOBJ previous_ = nullptr;
  int cellSize_ = 0;
};

}  // namespace norv
