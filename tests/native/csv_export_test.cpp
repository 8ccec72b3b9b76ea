#include "store/csv_export.h"

#include <gtest/gtest.h>

#include "resources/check_strings.h"
#include "store/shift_jis.h"

namespace norv {
namespace {

DrawTable NewestFirst(std::vector<DrawRow> rows) { return DrawTable{std::move(rows)}; }

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(ShiftJis, EncodesJapaneseInCodePage932) {
  EXPECT_EQ(ToShiftJis("回数"), Bytes({0x89, 0xF1, 0x90, 0x94}));
  EXPECT_EQ(ToShiftJis("１等"), Bytes({0x82, 0x50, 0x93, 0x99}));
  EXPECT_EQ(ToShiftJis("セットＳ"), Bytes({0x83, 0x5A, 0x83, 0x62, 0x83, 0x67, 0x82, 0x72}));
  EXPECT_EQ(ToShiftJis("0071,\r\n"), "0071,\r\n");
  EXPECT_EQ(ToShiftJis(""), "");
}

TEST(ShiftJis, ReadsCodePage932BackAndRefusesBrokenBytes) {
  EXPECT_EQ(FromShiftJis(Bytes({0x89, 0xF1, 0x90, 0x94})), "回数");
  EXPECT_EQ(FromShiftJis(Bytes({0xB6, 0xDE})), "ｶﾞ");
  EXPECT_EQ(FromShiftJis(""), "");
  EXPECT_EQ(FromShiftJis(Bytes({0x82, 0xFF})), std::nullopt);
}

TEST(ShiftJis, RefusesWhatItCannotRepresent) {
  EXPECT_EQ(ToShiftJis("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(ToShiftJis("\xE5\x9B"), std::nullopt);          // cut-off sequence
}

TEST(CsvExport, AnEmptyTableGivesTitleAndHeaderOnly) {
  EXPECT_EQ(CsvContent(Game::Loto6, {}),
            "Norvale LOTO6当選データ,,,,,,,,,,,,\r\n"
            "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,当選番号6,Bonus,１等,２等,３等,４等,５等\r\n");
  EXPECT_EQ(CsvContent(Game::MiniLoto, {}),
            "Norvale MiniLOTO当選データ,,,,,,,,,,\r\n"
            "回数,当選番号1,当選番号2,当選番号3,当選番号4,当選番号5,Bonus,１等,２等,３等,４等\r\n");
  EXPECT_EQ(CsvContent(Game::Numbers4, {}),
            "Norvale Numbers4当選データ,,,,,\r\n"
            "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ\r\n");
  EXPECT_EQ(CsvContent(Game::Numbers3, {}),
            "Norvale Numbers3当選データ,,,,,,\r\n"
            "回数,当選番号,ストレート,ボックス,セットＳ,セットＢ,ミニ\r\n");
}

TEST(CsvExport, Loto6WritesOneUnpaddedNumberPerColumnOldestDrawFirst) {
  const DrawTable table = NewestFirst({
      {2, 1, 12, 19, 23, 38, 43, 7, 0, 15234500, 512300, 9100, 1000},
      {1, 3, 5, 10, 20, 30, 40, 41, 200000000, 0, 600000, 9800, 1000},
  });
  const std::string csv = CsvContent(Game::Loto6, table);
  const std::string data = csv.substr(csv.find("５等\r\n") + std::string("５等\r\n").size());
  EXPECT_EQ(data,
            "1,3,5,10,20,30,40,41,200000000,0,600000,9800,1000\r\n"
            "2,1,12,19,23,38,43,7,0,15234500,512300,9100,1000\r\n");
}

TEST(CsvExport, MiniLotoWritesElevenColumns) {
  const std::string csv = CsvContent(Game::MiniLoto, NewestFirst({{1, 2, 9, 17, 25, 31, 4, 10000000, 150000, 0, 1000}}));
  EXPECT_TRUE(csv.ends_with("４等\r\n1,2,9,17,25,31,4,10000000,150000,0,1000\r\n")) << csv;
}

TEST(CsvExport, NumbersWinningNumberIsOneColumnKeepingLeadingZeros) {
  const std::string four = CsvContent(Game::Numbers4, NewestFirst({{6123, 0, 0, 7, 1, 1234500, 45600, 617200, 22800}}));
  EXPECT_TRUE(four.ends_with("セットＢ\r\n6123,0071,1234500,45600,617200,22800\r\n")) << four;

  const std::string three = CsvContent(Game::Numbers3, NewestFirst({{5, 0, 4, 0, 90000, 15000, 52500, 7500, 0}}));
  EXPECT_TRUE(three.ends_with("ミニ\r\n5,040,90000,15000,52500,7500,0\r\n")) << three;
}

TEST(CsvExport, ARowCutShortReadsAsZeros) {
  const std::string csv = CsvContent(Game::Numbers3, NewestFirst({{5, 1, 2}}));
  EXPECT_TRUE(csv.ends_with("ミニ\r\n5,120,0,0,0,0,0\r\n")) << csv;
}

TEST(CsvExport, TheFileIsShiftJisWithoutByteOrderMark) {
  const std::optional<std::string> bytes = CsvFileBytes(Game::Numbers4, NewestFirst({{1, 0, 0, 7, 1, 0, 0, 0, 0}}));
  ASSERT_TRUE(bytes.has_value());
  const std::string expected = "Norvale Numbers4" + Bytes({0x93, 0x96, 0x91, 0x49, 0x83, 0x66, 0x81, 0x5B, 0x83, 0x5E}) +
                               ",,,,,\r\n" + *ToShiftJis("回数,当選番号,ストレート,ボックス,セットＳ,セットＢ") +
                               "\r\n1,0071,0,0,0,0\r\n";
  EXPECT_EQ(*bytes, expected);
}

TEST(CsvExport, TheSaveDialogIsNamedAfterTheGame) {
  EXPECT_EQ(CsvDialogTitle(Game::Loto6), "LOTO6のCSVファイルを保存する");
  EXPECT_EQ(CsvProposedFileName(Game::Numbers3), "Numbers3");
  EXPECT_EQ(text::kCsvDialogFilter, "CSVファイル(*.csv)|*.csv|テキストファイル(*.txt)|*.txt");
}

}  // namespace
}  // namespace norv
