#include "store/result_grid_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/dpi_win.h"
#include "base/unicode_win.h"
#include "store/grid_columns.h"

#include "store/draw_table.h"
#include "store/glyph_strip_win.h"

namespace norv {
namespace {

// Row of LOTO6 draw `number`: six balls, the bonus ball and five prizes.
DrawRow Loto6Row(int number) {
  const int b = number % 37;
  return {number, b + 1, b + 2, b + 3, b + 4, b + 5, b + 6, b + 7, 200000000, 12345678, 456789, 9100, 0};
}

// One host window for the whole run: under Wine without a window manager
// every destroyed top-level window costs two seconds.
HWND SharedHost() {
  static HWND host = ::CreateWindowExW(0, L"STATIC", L"grid host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 600,
                                       280, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return host;
}

class ResultGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ResultGrid::RegisterClass(::GetModuleHandleW(nullptr)));
    parent_ = SharedHost();
    ASSERT_NE(parent_, nullptr);
    rows_ = &GameDataOf(Game::Loto6).table.rows;
  }
  void TearDown() override {
    grid_.reset();
    rows_->clear();
  }

  ResultGrid& MakeGrid() {
    grid_ = std::make_unique<ResultGrid>(parent_, Game::Loto6, 10, 10, 505 + ::GetSystemMetrics(SM_CXVSCROLL), 210);
    return *grid_;
  }

  // What the grid painted, read back from its window.
  COLORREF PixelAt(int x, int y) {
    ::UpdateWindow(grid_->Handle());
    HDC dc = ::GetDC(grid_->Handle());
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(grid_->Handle(), dc);
    return colour;
  }

  HWND parent_ = nullptr;
  std::vector<DrawRow>* rows_ = nullptr;
  std::unique_ptr<ResultGrid> grid_;
};

TEST_F(ResultGridTest, StartsHiddenWithElevenRows) {
  ResultGrid& grid = MakeGrid();
  EXPECT_FALSE(::IsWindowVisible(grid.Handle()));
  EXPECT_EQ(grid.RowCount(), 11);
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.GameShown(), Game::Loto6);
}

TEST_F(ResultGridTest, PaintsALongHistoryAndScrollsToItsOldestDraws) {
  for (int number = 9999; number >= 1; --number) {
    rows_->push_back(Loto6Row(number));
  }
  ResultGrid& grid = MakeGrid();
  grid.SetRowCount(10000);
  ::ShowWindow(grid.Handle(), SW_SHOW);
  ::UpdateWindow(grid.Handle());
  EXPECT_EQ(grid.RowCount(), 10000);
  EXPECT_EQ(grid.TopRow(), 1);

  grid.SetTopRow(20000);
  ::UpdateWindow(grid.Handle());
  EXPECT_EQ(grid.TopRow(), 9990);  // the ten oldest draws in view
  grid.SetTopRow(-3);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(ResultGridTest, AnEmptyTableShowsTheHeaderOnlyAndStaysAtTheTop) {
  ResultGrid& grid = MakeGrid();
  grid.SetRowCount(1);
  ::ShowWindow(grid.Handle(), SW_SHOW);
  ::UpdateWindow(grid.Handle());
  grid.SetTopRow(5);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  // The first body row is bare window background.
  EXPECT_EQ(PixelAt(60, 28), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(ResultGridTest, ScrollBarMovesTheTopRow) {
  for (int number = 30; number >= 1; --number) {
    rows_->push_back(Loto6Row(number));
  }
  ResultGrid& grid = MakeGrid();
  grid.SetRowCount(31);
  ::ShowWindow(grid.Handle(), SW_SHOW);
  ::SendMessageW(grid.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 2);
  ::SendMessageW(grid.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid.TopRow(), 12);
  ::SendMessageW(grid.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid.TopRow(), 21);
  ::SendMessageW(grid.Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(ResultGridTest, BallsAreDrawnOnlyForNumbersInRange) {
  DrawRow row = Loto6Row(1);
  row[1] = 0;   // unreadable field: no ball
  row[2] = 44;  // beyond the last ball: no ball
  row[3] = 7;
  rows_->push_back(row);
  ResultGrid& grid = MakeGrid();
  grid.SetRowCount(2);
  ::ShowWindow(grid.Handle(), SW_SHOW);
  const int numbersLeft = 38 + 1;
  const int middle = 19 + 9;
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(PixelAt(numbersLeft + 1 + 9, middle), window);
  EXPECT_EQ(PixelAt(numbersLeft + 1 + 19 + 9, middle), window);
  // The third ball's rim is a mid grey whatever its numeral.
  const COLORREF rim = PixelAt(numbersLeft + 1 + 38 + 1, middle);
  EXPECT_NE(rim, window);
  EXPECT_LT(GetRValue(rim), 200);
}

int TextWidth(HDC dc, HFONT font, const std::string& text) {
  SelectedObject selected(dc, font);
  const std::wstring wide = Widen(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

// Headers, the largest draw number and prizes of the largest sizes each tier
// has paid fit their columns in the grid's own font, at the grid's dpi (the
// high-dpi run repeats this at 144).
TEST_F(ResultGridTest, EveryHeaderDrawNumberAndPrizeFitsItsColumn) {
  const std::vector<std::vector<std::string>> prizes{
      {"600,000,000", "20,000,000", "1,000,000", "10,000", "1,000"},
      {"20,000,000", "200,000", "20,000", "1,000"},
      {"1,500,000", "60,000", "800,000", "30,000"},
      {"150,000", "30,000", "80,000", "15,000", "15,000"}};
  for (Game game : kAllGames) {
    ResultGrid grid(parent_, game, 10, 10, 600, 210);
    const int dpi = grid.Dpi();
    EXPECT_EQ(dpi, DpiOfWindow(parent_));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(grid.Handle(), WM_GETFONT, 0, 0)), grid.Font());
    UniqueFont small(::CreateFontW(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                   L"メイリオ"));
    WindowDc dc(grid.Handle());
    const auto columns = ColumnsOf(game);
    std::size_t prize = 0;
    for (int col = 0; col < static_cast<int>(columns.size()); ++col) {
      const GridColumn& column = columns[static_cast<std::size_t>(col)];
      const int width = ColumnWidth(columns, col, dpi);
      HFONT headerFont = column.smallHeader ? small.get() : grid.Font();
      EXPECT_LE(TextWidth(dc.get(), headerFont, std::string(column.header)), width) << column.header;
      if (column.kind == CellKind::DrawNumber) {
        EXPECT_LE(TextWidth(dc.get(), grid.Font(), "9999"), width);
      } else if (column.kind == CellKind::Prize) {
        const std::string& amount = prizes[static_cast<std::size_t>(GameIndex(game))][prize++];
        EXPECT_LE(TextWidth(dc.get(), grid.Font(), amount + " "), width) << column.header << " " << amount;
      }
    }
    EXPECT_EQ(grid.Rows().rowHeight, GlyphSize(dpi));
  }
}

TEST(GlyphStripTest, EachDrawnSizeIsInTheModuleAndChosenForItsDpi) {
  for (const auto& [percent, cell] : {std::pair{100, 18}, std::pair{150, 27}, std::pair{200, 36}}) {
    const GlyphStrip strip(::GetModuleHandleW(nullptr), percent);
    ASSERT_TRUE(strip.Loaded()) << percent;
    EXPECT_EQ(strip.Size().cx, 53 * cell);
    EXPECT_EQ(strip.CellSize(), cell);
  }
  EXPECT_EQ(GlyphStripPercent(96), 100);
  EXPECT_EQ(GlyphStripPercent(144), 150);
  EXPECT_EQ(GlyphStripPercent(192), 200);
  EXPECT_EQ(GlyphStripPercent(143), 150) << "27 pixels there too: the exact strip";
}

TEST(GlyphStripTest, LoadsFromTheModuleAtItsFixedSize) {
  const GlyphStrip strip(::GetModuleHandleW(nullptr));
  ASSERT_TRUE(strip.Loaded());
  EXPECT_EQ(strip.Size().cx, 954);
  EXPECT_EQ(strip.Size().cy, 18);
}

TEST(GlyphStripTest, AModuleWithoutTheStripLoadsNothing) {
  const GlyphStrip strip(::GetModuleHandleW(L"kernel32.dll"));
  EXPECT_FALSE(strip.Loaded());
  EXPECT_EQ(strip.Size().cx, 0);
}

}  // namespace
}  // namespace norv
