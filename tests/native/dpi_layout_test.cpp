// Sizes at other dpis: the 96-dpi figures scaled, and the scaled pieces of a
// grid still fitting the scaled widths they sit in.

#include <gtest/gtest.h>

#include "app/window_layout.h"
#include "base/dpi.h"
#include "store/grid_columns.h"
#include "store/grid_rows.h"

namespace norv {
namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192, 240};

TEST(Dpi, ScalesAndRoundsHalfAwayFromZeroAsMulDivDoes) {
  EXPECT_EQ(Scale(536, 96), 536);
  EXPECT_EQ(Scale(536, 144), 804);
  EXPECT_EQ(Scale(115, 144), 173);  // 172.5
  EXPECT_EQ(Scale(1, 144), 2);      // 1.5
  EXPECT_EQ(Scale(18, 120), 23);    // 22.5
  EXPECT_EQ(Scale(-3, 144), -5);    // -4.5
  EXPECT_EQ(Scale(29, 192), 58);
}

TEST(Dpi, PicturesComeFromTheNearestDrawnSizeLargerOnATie) {
  EXPECT_EQ(ArtworkPercent(96), 100);
  EXPECT_EQ(ArtworkPercent(110), 100);
  EXPECT_EQ(ArtworkPercent(120), 150);  // 125 %: halfway
  EXPECT_EQ(ArtworkPercent(144), 150);
  EXPECT_EQ(ArtworkPercent(168), 200);  // 175 %: halfway
  EXPECT_EQ(ArtworkPercent(192), 200);
  EXPECT_EQ(ArtworkPercent(288), 200);
  EXPECT_EQ(ArtworkSize(22, 150), 33);
  EXPECT_EQ(ArtworkSize(18, 200), 36);
}

TEST(DpiLayout, ClientWidthsGrowByOneAndAHalfAt144PerTab) {
  for (int tab = 0; tab < 4; ++tab) {
    const TabLayout at96 = LayoutForTab(tab, 16, 96);
    const TabLayout at144 = LayoutForTab(tab, 24, 144);
    EXPECT_NEAR(at144.clientWidth, at96.clientWidth * 1.5, 1.0) << "tab " << tab;
    EXPECT_LT(at144.gridWidth, at144.pageControlWidth) << "tab " << tab;
    EXPECT_LT(at144.pageControlWidth, at144.clientWidth) << "tab " << tab;
  }
  EXPECT_EQ(LayoutForTab(0, 16, 96).gridWidth, 16 + 505);
}

TEST(DpiLayout, TheButtonBarWidthRuleScalesItsMargin) {
  Settings s;
  EXPECT_EQ(ToolBarWidth(Scale(29, 144), s, 144), 14 * 44 + 12);
}

// The columns, their one-pixel lines and the grid's border fit inside the
// grid width of their tab, less its scroll bar, at every dpi: nothing of the
// last column is cut off.
TEST(DpiLayout, EveryGridsColumnsFitItsScaledWidth) {
  for (int dpi : kDpis) {
    const int scrollBar = Scale(16, dpi);
    for (int tab = 0; tab < 4; ++tab) {
      const auto columns = ColumnsOf(kAllGames[static_cast<std::size_t>(tab)]);
      const int needed = ColumnLeft(columns, static_cast<int>(columns.size()), dpi) + 2;  // and the border
      EXPECT_LE(needed + scrollBar, LayoutForTab(tab, scrollBar, dpi).gridWidth) << dpi << " dpi, tab " << tab;
    }
  }
}

TEST(DpiLayout, EveryRunOfPicturesFitsItsColumnWithoutOverlapping) {
  for (int dpi : kDpis) {
    for (Game game : kAllGames) {
      const auto columns = ColumnsOf(game);
      for (int col = 0; col < static_cast<int>(columns.size()); ++col) {
        const GridColumn& column = columns[static_cast<std::size_t>(col)];
        if (column.kind != CellKind::Balls && column.kind != CellKind::Digits && column.kind != CellKind::Bonus) {
          continue;
        }
        int previousRight = 0;
        for (int k = 0; k < column.fieldCount; ++k) {
          const GlyphSpan span = GlyphSpanOf(columns, col, k, dpi);
          EXPECT_GE(span.left, previousRight) << dpi << " dpi: pictures overlap in " << column.header;
          EXPECT_NEAR(span.width, GlyphSize(dpi), 1) << dpi << " dpi, " << column.header;
          previousRight = span.left + span.width;
        }
        EXPECT_LE(previousRight, ColumnWidth(columns, col, dpi)) << dpi << " dpi, " << column.header;
      }
    }
  }
}

TEST(DpiLayout, AtTheDrawnSizesEveryPictureIsExactlyOneStripCell) {
  for (int dpi : {96, 144, 192}) {
    for (Game game : kAllGames) {
      const auto columns = ColumnsOf(game);
      for (int col = 1; col <= 2; ++col) {
        for (int k = 0; k < columns[static_cast<std::size_t>(col)].fieldCount; ++k) {
          EXPECT_EQ(GlyphSpanOf(columns, col, k, dpi).width, GlyphSize(dpi)) << dpi << " dpi, picture " << k;
        }
      }
    }
    EXPECT_EQ(GridRowMetricsFor(dpi).rowHeight, GlyphSize(dpi)) << "rows as tall as the cells";
  }
}

TEST(DpiLayout, TheGridShowsTenBodyRowsAtEveryDpi) {
  EXPECT_EQ(GridHeight(GridRowMetricsFor(96)), 210);
  for (int dpi : kDpis) {
    const GridRowMetrics rows = GridRowMetricsFor(dpi);
    EXPECT_EQ(rows.rowHeight, Scale(18, dpi));
    EXPECT_EQ(rows.rowPitch, rows.rowHeight + 1) << "grid lines stay one pixel";
    EXPECT_EQ(VisibleBodyRows(GridHeight(rows) - 2, rows), 10) << dpi << " dpi";
  }
}

}  // namespace
}  // namespace norv
