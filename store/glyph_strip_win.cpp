#include "store/glyph_strip_win.h"

#include "resources/resource_ids.h"
#include "store/grid_columns.h"

namespace norv {

GlyphStrip::GlyphStrip(HINSTANCE module) {
  // A DIB section keeps the strip's own grey palette whatever the display depth.
  HANDLE image = ::LoadImageW(module, MAKEINTRESOURCEW(IDB_GLYPHS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  bitmap_.reset(static_cast<HBITMAP>(image));
  BITMAP info{};
  if (bitmap_ && ::GetObjectW(bitmap_.get(), sizeof info, &info) == sizeof info) {
    size_ = {info.bmWidth, info.bmHeight};
  }
}

GlyphPainter::GlyphPainter(const GlyphStrip& strip, HDC target)
    : target_(target), source_(strip.Loaded() ? ::CreateCompatibleDC(target) : nullptr) {
  if (source_) {
    previous_ = ::SelectObject(source_.get(), strip.Bitmap());
  }
}

GlyphPainter::~GlyphPainter() {
  if (source_ && previous_) {
    ::SelectObject(source_.get(), previous_);
  }
}

void GlyphPainter::Draw(int cell, int x, int top, int height) const {
  if (!source_ || cell < 0 || cell >= kGlyphCount) {
    return;
  }
  const int sourceX = cell * kGlyphSize;
  if (height == kGlyphSize) {
    ::BitBlt(target_, x, top, kGlyphSize, kGlyphSize, source_.get(), sourceX, 0, SRCCOPY);
  } else {
    ::SetStretchBltMode(target_, COLORONCOLOR);
    ::StretchBlt(target_, x, top, kGlyphSize, height, source_.get(), sourceX, 0, kGlyphSize, kGlyphSize, SRCCOPY);
  }
}

}  // namespace norv
