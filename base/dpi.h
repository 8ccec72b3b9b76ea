#pragma once
// Pixel figures are given for 96 dpi; these turn them into device pixels.

namespace norv {

inline constexpr int kBaseDpi = 96;

// `px` at 96 dpi in device pixels at `dpi`, rounded half away from zero as
// MulDiv does, so both sides of a layout agree to the pixel.
int Scale(int px, int dpi);

// The artwork is drawn at 100, 150 and 200 per cent; the nearest for `dpi`,
// the larger one on a tie (a picture a little small for its place reads
// better than one squeezed).
int ArtworkPercent(int dpi);

// Cell or image size of artwork drawn at `percent` from a 96-dpi `px`.
inline int ArtworkSize(int px, int percent) { return px * percent / 100; }

}  // namespace norv
