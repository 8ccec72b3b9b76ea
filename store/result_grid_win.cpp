#include "store/result_grid_win.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "base/dpi_win.h"
#include "base/unicode_win.h"
#include "store/draw_table.h"
#include "store/glyph_strip_win.h"
#include "store/grid_columns.h"
#include "store/grid_rows.h"
#include "store/prize_text.h"

namespace norv {


namespace {

constexpr wchar_t kClassName[] = L"NorvaleResultGrid";
constexpr wchar_t kFontFace[] = L"メイリオ";
constexpr int kFontPixels = 12;  // 9 points at 96 dpi
constexpr int kBonusPoints = 8;

// The module the class was registered for: it also holds the glyph strips.
HINSTANCE gModule = nullptr;

// One strip per drawn size, loaded when a grid first needs it.
const GlyphStrip& SharedGlyphStrip(int dpi) {
  static std::map<int, std::unique_ptr<GlyphStrip>> strips;
  const int percent = GlyphStripPercent(dpi);
  auto& strip = strips[percent];
  if (!strip) {
    strip = std::make_unique<GlyphStrip>(gModule, percent);
  }
  return *strip;
}

// The user locale's way of writing a whole number, read once per paint so
// that a change in the regional settings shows at the next repaint.
class LocaleNumbers {
 public:
  LocaleNumbers() {
    ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal_, static_cast<int>(std::size(decimal_)));
    ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousand_,
                      static_cast<int>(std::size(thousand_)));
    wchar_t grouping[16] = L"3;0";
    ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SGROUPING, grouping, static_cast<int>(std::size(grouping)));
    DWORD negative = 1;
    ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_INEGNUMBER | LOCALE_RETURN_NUMBER,
                      reinterpret_cast<LPWSTR>(&negative), sizeof negative / sizeof(wchar_t));
    format_.NumDigits = 0;
    format_.LeadingZero = 0;
    format_.Grouping = NumberFormatGrouping(Narrow(grouping));
    format_.lpDecimalSep = decimal_;
    format_.lpThousandSep = thousand_;
    format_.NegativeOrder = negative;
  }

  std::string Grouped(std::int32_t value) const {
    const std::wstring digits = std::to_wstring(value);
    wchar_t out[64];
    if (::GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, digits.c_str(), &format_, out,
                            static_cast<int>(std::size(out))) > 0) {
      return Narrow(out);
    }
    return GroupThousands(value, Narrow(thousand_));
  }

 private:
  wchar_t decimal_[8] = L".";
  wchar_t thousand_[8] = L",";
  NUMBERFMTW format_{};
};

std::optional<std::int32_t> FieldOf(const DrawRow* row, int field) {
  if (!row || field < 0 || field >= static_cast<int>(row->size())) {
    return std::nullopt;
  }
  return (*row)[static_cast<std::size_t>(field)];
}

void DrawCellText(HDC dc, const std::string& text, RECT cell, UINT align) {
  const std::wstring wide = Widen(text);
  ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &cell, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Draws the cells of one paint; the grid keeps no cell text of its own.
class CellPainter {
 public:
  // Every text but the "Bonus" header uses the grid font selected by the caller.
  CellPainter(HDC dc, HFONT bonusFont, std::span<const GridColumn> columns, int dpi)
      : dc_(dc), bonusFont_(bonusFont), columns_(columns), dpi_(dpi), glyphs_(SharedGlyphStrip(dpi), dc) {}

  void Header(const GridColumn& column, const RECT& cell) const {
    if (column.smallHeader) {
      SelectedObject small(dc_, bonusFont_);
      DrawCellText(dc_, std::string(column.header), cell, DT_CENTER);
    } else {
      DrawCellText(dc_, std::string(column.header), cell, DT_CENTER);
    }
  }

  void Body(int col, const DrawRow* row, const RECT& cell) const {
    const GridColumn& column = columns_[static_cast<std::size_t>(col)];
    switch (column.kind) {
      case CellKind::DrawNumber:
        if (const auto number = FieldOf(row, column.firstField)) {
          DrawCellText(dc_, std::to_string(*number), cell, DT_CENTER);
        }
        break;
      case CellKind::Balls:
      case CellKind::Digits:
      case CellKind::Bonus:
        Pictures(col, row, cell);
        break;
      case CellKind::Prize:
        if (const auto yen = FieldOf(row, column.firstField)) {
          const CellText text = PrizeCellText(*yen, *yen == 0 ? std::string() : numbers_.Grouped(*yen));
          DrawCellText(dc_, text.text, cell, text.align == CellAlign::Centre ? DT_CENTER : DT_RIGHT);
        }
        break;
    }
  }

 private:
  void Pictures(int col, const DrawRow* row, const RECT& cell) const {
    const GridColumn& column = columns_[static_cast<std::size_t>(col)];
    const int height = cell.bottom - cell.top;
    for (int k = 0; k < column.fieldCount; ++k) {
      const auto value = FieldOf(row, column.firstField + k);
      // An unreadable field is stored as 0, which no ball has: it shows nothing.
      const auto glyph = value ? GlyphFor(column.kind, *value) : std::nullopt;
      if (glyph) {
        const GlyphSpan span = GlyphSpanOf(columns_, col, k, dpi_);
        glyphs_.Draw(*glyph, cell.left + span.left, cell.top, span.width, height);
      }
    }
  }

  HDC dc_;
  HFONT bonusFont_;
  std::span<const GridColumn> columns_;
  int dpi_;
  GlyphPainter glyphs_;
  LocaleNumbers numbers_;
};

void FillBox(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
  const RECT box{left, top, right, bottom};
  ::FillRect(dc, &box, brush);
}

}  // namespace

bool ResultGrid::RegisterClass(HINSTANCE instance) {
  gModule = instance;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowBase::Procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

ResultGrid::ResultGrid(HWND parent, Game game, int x, int y, int width, int height) : game_(game) {
  CreateFor(0, kClassName, L"", WS_CHILD | WS_VSCROLL | WS_BORDER | WS_CLIPSIBLINGS, {x, y}, {width, height}, parent,
            gModule);
  SetDpi(DpiOfWindow(window_ ? window_ : parent));
}

void ResultGrid::SetDpi(int dpi) {
  dpi_ = dpi;
  rows_ = GridRowMetricsFor(dpi);
  font_.reset(CreateScaledFont(kFontFace, kFontPixels, dpi));
  bonusFont_.reset(::CreateFontW(-::MulDiv(kBonusPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, kFontFace));
  topRow_ = std::clamp(topRow_, 1, MaxTop());
  SyncScrollBar();
  if (window_) {
    ::InvalidateRect(window_, nullptr, FALSE);
  }
}

int ResultGrid::RowCount() const { return rowCount_; }

void ResultGrid::SetRowCount(int rows) {
  rowCount_ = std::max(rows, 1);
  topRow_ = std::clamp(topRow_, 1, MaxTop());
  SyncScrollBar();
  if (window_) {
    ::InvalidateRect(window_, nullptr, FALSE);
  }
}

int ResultGrid::TopRow() const { return topRow_; }

void ResultGrid::SetTopRow(int row) {
  const int top = std::clamp(row, 1, MaxTop());
  if (top == topRow_) {
    return;
  }
  topRow_ = top;
  SyncScrollBar();
  if (window_) {
    ::InvalidateRect(window_, nullptr, FALSE);
  }
}

void ResultGrid::SetWidth(int width) {
  RECT bounds{};
  if (!window_ || !::GetWindowRect(window_, &bounds)) {
    return;
  }
  ::SetWindowPos(window_, nullptr, 0, 0, width, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ResultGrid::SetBounds(int x, int y, int width, int height) {
  if (window_) {
    ::SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int ResultGrid::ViewRows() const {
  RECT client{};
  if (!window_ || !::GetClientRect(window_, &client)) {
    return 0;
  }
  return VisibleBodyRows(client.bottom - client.top, rows_);
}

int ResultGrid::MaxTop() const { return MaxTopRow(rowCount_ - 1, ViewRows()); }

// Positions count body rows from 0; the bar stays visible (disabled) when
// everything fits, so the window widths can always reserve its room.
void ResultGrid::SyncScrollBar() {
  if (!window_) {
    return;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(rowCount_ - 2, 0);
  info.nPage = static_cast<UINT>(ViewRows());
  info.nPos = topRow_ - 1;
  ::SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void ResultGrid::OnVScroll(int request) {
  const int page = std::max(ViewRows(), 1);
  int top = topRow_;
  switch (request) {
    case SB_LINEUP:
      top -= 1;
      break;
    case SB_LINEDOWN:
      top += 1;
      break;
    case SB_PAGEUP:
      top -= page;
      break;
    case SB_PAGEDOWN:
      top += page;
      break;
    case SB_TOP:
      top = 1;
      break;
    case SB_BOTTOM:
      top = MaxTop();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the 16 bits in the message stop at 65535.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(window_, SB_VERT, &info);
      top = info.nTrackPos + 1;
      break;
    }
    default:
      return;
  }
  SetTopRow(top);
}

// Paints into a memory bitmap and copies it once: only the rows in view are
// drawn, so the cost does not depend on the length of the history.
void ResultGrid::OnPaint() {
  PaintScope scope(window_);
  RECT client{};
  ::GetClientRect(window_, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) {
    return;
  }
  UniqueMemoryDc memory(::CreateCompatibleDC(scope.dc()));
  UniqueBitmap canvas(::CreateCompatibleBitmap(scope.dc(), width, height));
  if (!memory || !canvas) {
    return;
  }
  SelectedObject selectedCanvas(memory.get(), canvas.get());
  HDC dc = memory.get();
  HBRUSH fixedBrush = ::GetSysColorBrush(COLOR_BTNFACE);
  HBRUSH bodyBrush = ::GetSysColorBrush(COLOR_WINDOW);
  HBRUSH lineBrush = ::GetSysColorBrush(COLOR_BTNSHADOW);
  ::FillRect(dc, &client, bodyBrush);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));

  const auto columns = ColumnsOf(game_);
  const int columnCount = static_cast<int>(columns.size());
  const int gridRight = ColumnLeft(columns, columnCount, dpi_);
  const int rowHeight = rows_.rowHeight;
  const int rowPitch = rows_.rowPitch;
  const auto& rows = GameDataOf(game_).table.rows;
  SelectedObject gridFont(dc, font_.get());
  CellPainter painter(dc, bonusFont_.get(), columns, dpi_);

  auto paintRow = [&](int gridRow, int top) {
    const std::size_t index = static_cast<std::size_t>(gridRow - 1);
    const DrawRow* row = gridRow >= 1 && index < rows.size() ? &rows[index] : nullptr;
    for (int col = 0; col < columnCount; ++col) {
      const GridColumn& column = columns[static_cast<std::size_t>(col)];
      const int left = ColumnLeft(columns, col, dpi_);
      const RECT cell{left, top, left + ColumnWidth(columns, col, dpi_), top + rowHeight};
      const bool fixed = gridRow == 0 || col == 0;
      ::FillRect(dc, &cell, fixed ? fixedBrush : bodyBrush);
      if (gridRow == 0) {
        painter.Header(column, cell);
      } else {
        painter.Body(col, row, cell);
      }
      FillBox(dc, cell.right, top, cell.right + 1, top + rowPitch, lineBrush);
    }
    FillBox(dc, 0, top + rowHeight, gridRight, top + rowPitch, lineBrush);
  };

  paintRow(0, 0);
  int top = rowPitch;
  for (int gridRow = topRow_; gridRow < rowCount_ && top < height; ++gridRow, top += rowPitch) {
    paintRow(gridRow, top);
  }
  ::BitBlt(scope.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

// WM_MOUSEWHEEL goes on to the main window, which scrolls the active grid.
LRESULT ResultGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(Font());
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_SIZE:
      SetTopRow(topRow_);
      SyncScrollBar();
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace norv
