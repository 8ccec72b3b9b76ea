#include "store/grid_columns.h"

#include <array>

#include "base/dpi.h"

namespace norv {

namespace {

// Header texts are the grids' own wording: full-width tier digits, half-width
// katakana for the Numbers prize names.
constexpr std::array<GridColumn, 8> kLoto6{{
    {"回数", 38, CellKind::DrawNumber, 0, 1, false},
    {"当選番号", 115, CellKind::Balls, 1, 6, false},
    {"Bonus", 34, CellKind::Bonus, 7, 1, true},
    {"１等", 80, CellKind::Prize, 8, 1, false},
    {"２等", 75, CellKind::Prize, 9, 1, false},
    {"３等", 63, CellKind::Prize, 10, 1, false},
    {"４等", 50, CellKind::Prize, 11, 1, false},
    {"５等", 40, CellKind::Prize, 12, 1, false},
}};

constexpr std::array<GridColumn, 7> kMiniLoto{{
    {"回数", 38, CellKind::DrawNumber, 0, 1, false},
    {"当選番号", 96, CellKind::Balls, 1, 5, false},
    {"Bonus", 34, CellKind::Bonus, 6, 1, true},
    {"１等", 75, CellKind::Prize, 7, 1, false},
    {"２等", 60, CellKind::Prize, 8, 1, false},
    {"３等", 50, CellKind::Prize, 9, 1, false},
    {"４等", 40, CellKind::Prize, 10, 1, false},
}};

constexpr std::array<GridColumn, 6> kNumbers4{{
    {"回数", 38, CellKind::DrawNumber, 0, 1, false},
    {"当選番号", 72, CellKind::Digits, 1, 4, false},
    {"ｽﾄﾚｰﾄ", 68, CellKind::Prize, 5, 1, false},
    {"ﾎﾞｯｸｽ", 58, CellKind::Prize, 6, 1, false},
    {"ｾｯﾄS", 64, CellKind::Prize, 7, 1, false},
    {"ｾｯﾄB", 54, CellKind::Prize, 8, 1, false},
}};

constexpr std::array<GridColumn, 7> kNumbers3{{
    {"回数", 38, CellKind::DrawNumber, 0, 1, false},
    {"当選番号", 54, CellKind::Digits, 1, 3, false},
    {"ｽﾄﾚｰﾄ", 58, CellKind::Prize, 4, 1, false},
    {"ﾎﾞｯｸｽ", 54, CellKind::Prize, 5, 1, false},
    {"ｾｯﾄS", 54, CellKind::Prize, 6, 1, false},
    {"ｾｯﾄB", 54, CellKind::Prize, 7, 1, false},
    {"ミニ", 54, CellKind::Prize, 8, 1, false},
}};

constexpr int kBallCount = 43;
constexpr int kFirstDigitCell = 43;

}  // namespace

std::span<const GridColumn> ColumnsOf(Game game) {
  switch (game) {
    case Game::Loto6:
      return kLoto6;
    case Game::MiniLoto:
      return kMiniLoto;
    case Game::Numbers4:
      return kNumbers4;
    case Game::Numbers3:
      return kNumbers3;
  }
  return {};
}

int ColumnLeft(std::span<const GridColumn> columns, int col) {
  int left = 0;
  for (int i = 0; i < col && i < static_cast<int>(columns.size()); ++i) {
    left += columns[static_cast<std::size_t>(i)].width + 1;
  }
  return left;
}

// Edges are scaled rather than widths, so the rounding never adds up: the
// columns together are as wide as their 96-dpi sum scaled.
int ColumnLeft(std::span<const GridColumn> columns, int col, int dpi) {
  int widths = 0;
  int lines = 0;
  for (int i = 0; i < col && i < static_cast<int>(columns.size()); ++i) {
    widths += columns[static_cast<std::size_t>(i)].width;
    ++lines;
  }
  return Scale(widths, dpi) + lines;
}

int ColumnWidth(std::span<const GridColumn> columns, int col, int dpi) {
  return ColumnLeft(columns, col + 1, dpi) - ColumnLeft(columns, col, dpi) - 1;
}

std::optional<int> BallGlyph(int number) {
  if (number < 1 || number > kBallCount) {
    return std::nullopt;
  }
  return number - 1;
}

std::optional<int> DigitGlyph(int digit) {
  if (digit < 0 || digit > 9) {
    return std::nullopt;
  }
  return kFirstDigitCell + digit;
}

std::optional<int> GlyphFor(CellKind kind, int value) {
  switch (kind) {
    case CellKind::Balls:
    case CellKind::Bonus:
      return BallGlyph(value);
    case CellKind::Digits:
      return DigitGlyph(value);
    default:
      return std::nullopt;
  }
}

int GlyphLeft(CellKind kind, int k) {
  switch (kind) {
    case CellKind::Balls:
      return 1 + 19 * k;  // 18-pixel balls with a 1-pixel gap
    case CellKind::Digits:
      return kGlyphSize * k;  // tiles side by side
    case CellKind::Bonus:
      return 7;
    default:
      return 0;
  }
}

// In the same scaled space as the column edges, so a run that fills its
// column at 96 dpi fills it at every dpi and never spills over.
GlyphSpan GlyphSpanOf(std::span<const GridColumn> columns, int col, int k, int dpi) {
  int before = 0;
  for (int i = 0; i < col && i < static_cast<int>(columns.size()); ++i) {
    before += columns[static_cast<std::size_t>(i)].width;
  }
  const int start = before + GlyphLeft(columns[static_cast<std::size_t>(col)].kind, k);
  return {Scale(start, dpi) - Scale(before, dpi), Scale(start + kGlyphSize, dpi) - Scale(start, dpi)};
}

int GlyphSize(int dpi) { return Scale(kGlyphSize, dpi); }

}  // namespace norv
