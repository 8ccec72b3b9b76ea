#include "store/my_numbers_edit.h"

#include <gtest/gtest.h>

#include "real_tables.h"
#include "store/shift_jis.h"
#include "temp_folder.h"

namespace norv {
namespace {

using testing::RealTables;
using testing::TempFolder;

const RealTables& Tables() {
  static const RealTables tables;
  return tables;
}

MyLine Checked(const LineEntry& entry) { return std::get<MyLine>(CheckEntry(entry)); }

TEST(CheckEntry, RefusesWhatTheFileRulesRefuseWithTheirReason) {
  const struct {
    LineEntry entry;
    LineFault fault;
  } refused[] = {
      {{Game::Loto6, "1 2 3 4 5 44"}, LineFault::OutOfRange},
      {{Game::Loto6, "1 2 3 4 5 5"}, LineFault::Twice},
      {{Game::MiniLoto, "1 2 3 4"}, LineFault::WrongCount},
      {{Game::Numbers4, "7777", "ボックス"}, LineFault::SameDigits},
      {{Game::Numbers4, "77", "ミニ"}, LineFault::MiniOutsideNumbers3},
      {{Game::Numbers3, "123", "ばら"}, LineFault::UnknownWay},
      {{Game::Numbers3, "123", "ストレート", "20", "10"}, LineFault::EndBeforeStart},
  };
  for (const auto& [entry, fault] : refused) {
    const LineReading reading = CheckEntry(entry);
    ASSERT_TRUE(std::holds_alternative<LineFault>(reading)) << entry.numbers;
    EXPECT_EQ(std::get<LineFault>(reading), fault) << entry.numbers;
  }
  const MyLine line = Checked({Game::Numbers4, "0123", "セット", "7000", "", "毎週"});
  EXPECT_EQ(EntryOf(line).numbers, "0123");
  EXPECT_EQ(EntryOf(line).way, "セット");
  EXPECT_EQ(EntryOf(line).memo, "毎週");
  EXPECT_EQ(EntryOf(Checked({Game::Loto6, "43 1 7 20 3 9"})).numbers, "01 03 07 09 20 43");
}

TEST(EditLines, ListsAGamesLinesThenEveryUnreadableLineAndEditsInPlace) {
  MyNumbers numbers = ParseMyNumbers(
      "ゲーム,数字,買い方,開始回,終了回,メモ\r\n"
      "LOTO6,1 2 3 4 5 6,,1,,\r\n"
      "Numbers3,123,ミニ,1,,\r\n"
      "MiniLOTO,1 2 3 4 5,,1,,\r\n");
  EXPECT_EQ(EntriesListed(numbers, Game::Loto6), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(EntriesListed(numbers, Game::MiniLoto), (std::vector<std::size_t>{2, 1}));

  // Correcting the unreadable line keeps its place and its line number.
  ReplaceLine(numbers, 1, Checked({Game::Numbers3, "23", "ミニ", "1"}));
  EXPECT_EQ(numbers.entries[1].lineNumber, 3);
  EXPECT_EQ(numbers.entries[1].text, "Numbers3,23,ミニ,1,,");
  EXPECT_EQ(EntriesListed(numbers, Game::Loto6), (std::vector<std::size_t>{0}));
  RemoveLine(numbers, 0);
  AddLine(numbers, Checked({Game::Loto6, "6 5 4 3 2 1"}));
  EXPECT_EQ(EntriesListed(numbers, Game::Loto6), (std::vector<std::size_t>{2}));
  RemoveLine(numbers, 9);  // out of range: nothing happens
  EXPECT_EQ(numbers.entries.size(), 3u);
}

TEST(SaveLines, WritesTheLinesAndTheirWinsAndOnlyTheLinesWithoutTheDraws) {
  TempFolder folder;
  MyNumbers numbers;
  // LOTO6 2085 drew 6 8 13 26 35 43.
  AddLine(numbers, Checked({Game::Loto6, "6 8 13 26 35 43", "", "2085"}));
  const TablesByGame tables = Tables().All();
  ASSERT_EQ(SaveLines(numbers, folder.Folder(), &tables), SaveOutcome::Saved);
  EXPECT_EQ(folder.Read(kMyNumbersFileName),
            *ToShiftJis("ゲーム,数字,買い方,開始回,終了回,メモ\r\nLOTO6,06 08 13 26 35 43,,2085,,\r\n"));
  EXPECT_EQ(folder.Read(kMyWinsFileName), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"
                                                       "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"));

  // While the draws are being rewritten only the lines are saved.
  RemoveLine(numbers, 0);
  EXPECT_EQ(SaveLines(numbers, folder.Folder(), nullptr), SaveOutcome::WinsNotWritten);
  EXPECT_NE(folder.Read(kMyWinsFileName), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"));
  ASSERT_EQ(SaveLines(numbers, folder.Folder(), &tables), SaveOutcome::Saved);
  EXPECT_EQ(folder.Read(kMyWinsFileName), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"));
}

TEST(ListWins, MarksTheWinsAfterTheSeenDrawsAndTotalsThem) {
  MyNumbers numbers;
  AddLine(numbers, Checked({Game::Loto6, "6 8 13 26 35 43", "", "2084"}));
  AddLine(numbers, Checked({Game::Numbers3, "86", "ミニ", "7053"}));
  const WinsList seenUpTo = ListWins(numbers, Tables().All(), DrawsByGame{2085, 1353, 7053, 7053});
  ASSERT_EQ(seenUpTo.wins.size(), 2u);
  EXPECT_EQ(seenUpTo.unseen, (std::vector<bool>{false, true}));
  EXPECT_EQ(seenUpTo.total, 600000000 + 10000);
  // No record: nothing was announced, so nothing is new.
  EXPECT_EQ(ListWins(numbers, Tables().All(), std::nullopt).unseen, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace norv
