#include "store/grid_columns.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "store/grid_rows.h"
#include "store/prize_text.h"

namespace norv {
namespace {

std::vector<std::string> Headers(Game game) {
  std::vector<std::string> out;
  for (const GridColumn& c : ColumnsOf(game)) {
    out.emplace_back(c.header);
  }
  return out;
}

TEST(GridColumns, EachGameHasItsHeaders) {
  EXPECT_EQ(Headers(Game::Loto6),
            (std::vector<std::string>{"回数", "当選番号", "Bonus", "１等", "２等", "３等", "４等", "５等"}));
  EXPECT_EQ(Headers(Game::MiniLoto),
            (std::vector<std::string>{"回数", "当選番号", "Bonus", "１等", "２等", "３等", "４等"}));
  EXPECT_EQ(Headers(Game::Numbers4),
            (std::vector<std::string>{"回数", "当選番号", "ｽﾄﾚｰﾄ", "ﾎﾞｯｸｽ", "ｾｯﾄS", "ｾｯﾄB"}));
  EXPECT_EQ(Headers(Game::Numbers3),
            (std::vector<std::string>{"回数", "当選番号", "ｽﾄﾚｰﾄ", "ﾎﾞｯｸｽ", "ｾｯﾄS", "ｾｯﾄB", "ミニ"}));
}

// A picture column's widest content is its run of pictures: at every dpi the
// last one ends inside the cell. (The text columns are measured in the grid's
// own font by the Windows tests.)
TEST(GridColumns, EveryPictureColumnHoldsItsWholeRunAtEveryDpi) {
  for (Game game : kAllGames) {
    const auto columns = ColumnsOf(game);
    for (int col = 0; col < static_cast<int>(columns.size()); ++col) {
      const GridColumn& column = columns[static_cast<std::size_t>(col)];
      if (column.kind == CellKind::DrawNumber || column.kind == CellKind::Prize) continue;
      for (int dpi : {96, 120, 144, 168, 192, 288}) {
        const GlyphSpan last = GlyphSpanOf(columns, col, column.fieldCount - 1, dpi);
        EXPECT_GE(GlyphSpanOf(columns, col, 0, dpi).left, 0) << GameName(game) << " " << column.header << " " << dpi;
        EXPECT_LE(last.left + last.width, ColumnWidth(columns, col, dpi))
            << GameName(game) << " " << column.header << " " << dpi;
      }
    }
  }
}

TEST(GridColumns, NumberColumnHoldsItsPicturesWithoutSpareRoom) {
  for (Game game : kAllGames) {
    const GridColumn& numbers = ColumnsOf(game)[1];
    const int last = numbers.fieldCount - 1;
    const int spare = numbers.width - (GlyphLeft(numbers.kind, last) + kGlyphSize);
    // Balls keep their 1-pixel gap after the last one too.
    EXPECT_EQ(spare, numbers.kind == CellKind::Balls ? 1 : 0) << GameName(game);
  }
  EXPECT_EQ(ColumnsOf(Game::Loto6)[1].width, 115);
  EXPECT_EQ(ColumnsOf(Game::MiniLoto)[1].width, 96);
  EXPECT_EQ(ColumnsOf(Game::Numbers4)[1].width, 72);
  EXPECT_EQ(ColumnsOf(Game::Numbers3)[1].width, 54);
}

TEST(GridColumns, CellsReadEveryFieldOfTheRecordOnce) {
  // Fields per record: 13, 11, 9 and 9.
  const std::array<std::size_t, 4> fields{13, 11, 9, 9};
  for (Game game : kAllGames) {
    std::vector<int> seen(fields[static_cast<std::size_t>(GameIndex(game))], 0);
    for (const GridColumn& c : ColumnsOf(game)) {
      for (int k = 0; k < c.fieldCount; ++k) {
        ++seen.at(static_cast<std::size_t>(c.firstField + k));
      }
    }
    EXPECT_EQ(seen, std::vector<int>(seen.size(), 1)) << GameName(game);
  }
}

TEST(GridColumns, OnlyTheBonusHeaderIsSmall) {
  for (Game game : kAllGames) {
    for (const GridColumn& c : ColumnsOf(game)) {
      EXPECT_EQ(c.smallHeader, c.header == "Bonus") << c.header;
    }
  }
}

TEST(GridColumns, ColumnsStartAfterTheWidthsAndLinesBeforeThem) {
  const auto loto6 = ColumnsOf(Game::Loto6);
  EXPECT_EQ(ColumnLeft(loto6, 0), 0);
  EXPECT_EQ(ColumnLeft(loto6, 1), 39);
  EXPECT_EQ(ColumnLeft(loto6, 3), 38 + 115 + 34 + 3);
}

TEST(GlyphStrip, BallsAndDigitsMapToTheirCellsAndNothingElseDoes) {
  EXPECT_EQ(BallGlyph(1), 0);
  EXPECT_EQ(BallGlyph(43), 42);
  EXPECT_EQ(BallGlyph(0), std::nullopt);
  EXPECT_EQ(BallGlyph(44), std::nullopt);
  EXPECT_EQ(DigitGlyph(0), 43);
  EXPECT_EQ(DigitGlyph(9), 52);
  EXPECT_EQ(DigitGlyph(-1), std::nullopt);
  EXPECT_EQ(DigitGlyph(10), std::nullopt);
  EXPECT_EQ(GlyphFor(CellKind::Bonus, 7), 6);
  EXPECT_EQ(GlyphFor(CellKind::Digits, 0), 43);
  EXPECT_EQ(GlyphFor(CellKind::Prize, 5), std::nullopt);
  EXPECT_EQ(kGlyphStripWidth, 954);
}

TEST(GlyphStrip, PicturesSitAtTheirOffsetsInTheCell) {
  EXPECT_EQ(GlyphLeft(CellKind::Balls, 0), 1);
  EXPECT_EQ(GlyphLeft(CellKind::Balls, 5), 96);
  EXPECT_EQ(GlyphLeft(CellKind::Digits, 3), 54);
  EXPECT_EQ(GlyphLeft(CellKind::Bonus, 0), 7);
}

TEST(PrizeText, ANoWinnerTierIsACentredAsterisk) {
  const CellText cell = PrizeCellText(0, "unused");
  EXPECT_EQ(cell.text, " ＊");
  EXPECT_EQ(cell.align, CellAlign::Centre);
}

TEST(PrizeText, AnAmountIsGroupedRightAlignedWithATrailingBlank) {
  const CellText cell = PrizeCellText(1234, "1,234");
  EXPECT_EQ(cell.text, "1,234 ");
  EXPECT_EQ(cell.align, CellAlign::Right);
}

TEST(PrizeText, GroupingFallbackPutsSeparatorsEveryThreeDigits) {
  EXPECT_EQ(GroupThousands(0, ","), "0");
  EXPECT_EQ(GroupThousands(999, ","), "999");
  EXPECT_EQ(GroupThousands(1000, ","), "1,000");
  EXPECT_EQ(GroupThousands(2000000000, "."), "2.000.000.000");
  EXPECT_EQ(GroupThousands(-1234567, ","), "-1,234,567");
  EXPECT_EQ(GroupThousands(INT64_MIN, ","), "-9,223,372,036,854,775,808");
}

TEST(PrizeText, LocaleGroupingBecomesTheNumberFormatValue) {
  EXPECT_EQ(NumberFormatGrouping("3;0"), 3u);
  EXPECT_EQ(NumberFormatGrouping("3;2;0"), 32u);
  EXPECT_EQ(NumberFormatGrouping("3"), 30u);
  EXPECT_EQ(NumberFormatGrouping(""), 0u);
}

TEST(GridRows, TheViewHoldsTenBodyRows) {
  // 210 pixels less a one-pixel border on each side.
  EXPECT_EQ(VisibleBodyRows(208), 10);
  EXPECT_EQ(VisibleBodyRows(19 + 18), 1);
  EXPECT_EQ(VisibleBodyRows(19 + 17), 0);
  EXPECT_EQ(VisibleBodyRows(0), 0);
}

TEST(GridRows, EmptyTableKeepsTheTopRowAtOne) {
  EXPECT_EQ(WheelTopRow(1, true, 0), 1);
  EXPECT_EQ(WheelTopRow(1, false, 0), 1);
}

TEST(GridRows, TenRowsNeverScroll) {
  EXPECT_EQ(WheelTopRow(1, true, 10), 1);
  EXPECT_EQ(WheelTopRow(1, false, 10), 1);
}

TEST(GridRows, ElevenRowsScrollOneRowAndStop) {
  EXPECT_EQ(WheelTopRow(1, true, 11), 2);
  EXPECT_EQ(WheelTopRow(2, true, 11), 2);
  EXPECT_EQ(WheelTopRow(2, false, 11), 1);
  EXPECT_EQ(WheelTopRow(1, false, 11), 1);
}

TEST(GridRows, ATopRowBeyondAShrunkTableComesBack) {
  EXPECT_EQ(WheelTopRow(500, false, 20), 11);
  EXPECT_EQ(MaxTopRow(9999, 10), 9990);
  EXPECT_EQ(MaxTopRow(5, 10), 1);
}

}  // namespace
}  // namespace norv
