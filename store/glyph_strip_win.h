#pragma once
// The picture strip of balls and digit tiles (IDB_GLYPHS), and copying its
// cells onto a grid's canvas.

#include <windows.h>

#include "base/handles_win.h"

namespace norv {

class GlyphStrip {
 public:
  explicit GlyphStrip(HINSTANCE module);  // loads IDB_GLYPHS from `module`

  bool Loaded() const { return static_cast<bool>(bitmap_); }
  SIZE Size() const { return size_; }
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

  // Copies strip cell `cell` to an 18-pixel-wide rectangle at (x, top), as
  // tall as `height`.
  void Draw(int cell, int x, int top, int height) const;

 private:
  HDC target_;
  UniqueMemoryDc source_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace norv
