#include "store/glyph_strip_win.h"

#include "base/dpi.h"
#include "resources/resource_ids.h"
#include "store/grid_columns.h"

namespace norv {

namespace {

int StripResource(int percent) {
  switch (percent) {
    case 150:
      return IDB_GLYPHS_150;
    case 200:
      return IDB_GLYPHS_200;
    default:
      return IDB_GLYPHS;
  }
}

}  // namespace

int GlyphStripPercent(int dpi) {
  const int wanted = GlyphSize(dpi);
  for (int percent : {100, 150, 200}) {
    if (ArtworkSize(kGlyphSize, percent) == wanted) {
      return percent;
    }
  }
  return ArtworkPercent(dpi);
}

GlyphStrip::GlyphStrip(HINSTANCE module, int percent) {
  // A DIB section keeps the strip's own grey palette whatever the display depth.
  HANDLE image = ::LoadImageW(module, MAKEINTRESOURCEW(StripResource(percent)), IMAGE_BITMAP, 0, 0,
                              LR_CREATEDIBSECTION);
  bitmap_.reset(static_cast<HBITMAP>(image));
  BITMAP info{};
  if (bitmap_ && ::GetObjectW(bitmap_.get(), sizeof info, &info) == sizeof info) {
    size_ = {info.bmWidth, info.bmHeight};
  }
}

GlyphPainter::GlyphPainter(const GlyphStrip& strip, HDC target)
    : target_(target), source_(strip.Loaded() ? ::CreateCompatibleDC(target) : nullptr), cellSize_(strip.CellSize()) {
  if (source_) {
    previous_ = ::SelectObject(source_.get(), strip.Bitmap());
  }
}

GlyphPainter::~GlyphPainter() {
  if (source_ && previous_) {
    ::SelectObject(source_.get(), previous_);
  }
}

void GlyphPainter::Draw(int cell, int x, int top, int width, int height) const {
  if (!source_ || cell < 0 || cell >= kGlyphCount || cellSize_ <= 0) {
    return;
  }
  const int sourceX = cell * cellSize_;
  if (width == cellSize_ && height == cellSize_) {
    ::BitBlt(target_, x, top, width, height, source_.get(), sourceX, 0, SRCCOPY);
    return;
  }
  // Only between drawn sizes (125 %, 175 %): averaged, never blocky.
  ::SetStretchBltMode(target_, HALFTONE);
  ::SetBrushOrgEx(target_, 0, 0, nullptr);
  ::StretchBlt(target_, x, top, width, height, source_.get(), sourceX, 0, cellSize_, cellSize_, SRCCOPY);
}

}  // namespace norv
