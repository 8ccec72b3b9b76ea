#pragma once
// The column sets of the four result grids and where the ball and digit
// pictures go inside a cell.

#include <optional>
#include <span>
#include <string_view>

#include "store/game.h"

namespace norv {

enum class CellKind {
  DrawNumber,  // plain decimal, centred
  Balls,       // a run of ball pictures with a 1-pixel gap
  Digits,      // a run of digit tiles without a gap
  Bonus,       // one ball picture
  Prize,       // an amount in yen
};

struct GridColumn {
  std::string_view header;
  int width;
  CellKind kind;
  int firstField;      // the DrawRow field of the cell (the first of a run)
  int fieldCount;      // pictures in a run; 1 otherwise
  bool smallHeader;    // the header is drawn at 8 points
};

std::span<const GridColumn> ColumnsOf(Game game);

// Left edge of column `col` inside the grid: the widths before it, each
// followed by a one-pixel grid line.
int ColumnLeft(std::span<const GridColumn> columns, int col);
// The same at a dpi: the widths scaled, each line still one pixel.
int ColumnLeft(std::span<const GridColumn> columns, int col, int dpi);
int ColumnWidth(std::span<const GridColumn> columns, int col, int dpi);

inline constexpr int kGlyphSize = 18;
inline constexpr int kGlyphCount = 53;
inline constexpr int kGlyphStripWidth = kGlyphSize * kGlyphCount;

// Strip cell of ball n (1..43) or digit d (0..9); nothing when out of range.
std::optional<int> BallGlyph(int number);
std::optional<int> DigitGlyph(int digit);
// Strip cell for a value shown in a column of `kind` (Balls, Digits or Bonus).
std::optional<int> GlyphFor(CellKind kind, int value);

// Offset from the cell's left edge of picture k of a run (or of the bonus ball).
int GlyphLeft(CellKind kind, int k);
// Picture k of column `col` at a dpi: its offset from the cell's left edge
// and its width (edges are scaled, so widths may differ by a pixel between
// the drawn sizes). GlyphSize is the 18 pixels scaled, the cell size of the
// strip drawn for that dpi.
struct GlyphSpan {
  int left;
  int width;
};
GlyphSpan GlyphSpanOf(std::span<const GridColumn> columns, int col, int k, int dpi);
int GlyphSize(int dpi);

}  // namespace norv
