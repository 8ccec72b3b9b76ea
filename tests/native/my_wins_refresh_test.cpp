#include "store/my_wins_refresh.h"

#include <gtest/gtest.h>

#include "real_tables.h"
#include "store/my_numbers_file.h"
#include "store/shift_jis.h"
#include "temp_folder.h"

namespace norv {
namespace {

using testing::RealTables;
using testing::TempFolder;

constexpr DrawsByGame kOneBehind{2084, 1352, 7053, 7053};

// Lines that won in the newest draw of each game (LOTO6 2085: 6 8 13 26 35
// 43; MiniLOTO 1353: 6 11 13 14 18, bonus 5; Numbers4 7054: 9577; Numbers3
// 7054: 286), each playing from the draw before.
const std::string kLines = *ToShiftJis(
    "ゲーム,数字,買い方,開始回,終了回,メモ\r\n"
    "LOTO6,6 8 13 26 35 43,,2084,,\r\n"
    "MiniLOTO,6 11 13 14 5,,1352,,\r\n"
    "Numbers4,7957,ボックス,7053,,\r\n"
    "Numbers3,86,ミニ,7053,,\r\n");

TEST(RefreshMyWins, WritesEveryWinAndGivesThoseInTheAddedDraws) {
  TempFolder folder;
  folder.Write(kMyNumbersFileName, kLines);
  static const RealTables tables;
  WinsMemory memory;
  const std::vector<MyWin> added = RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory);
  EXPECT_EQ(WinNoticeText(added, 4),
            "マイ数字が当せんしました\n"
            "LOTO6 第2085回 1等 600000000円\n"
            "MiniLOTO 第1353回 2等 159900円\n"
            "Numbers4 第7054回 ボックス 177300円\n"
            "Numbers3 第7054回 ミニ 10000円");
  EXPECT_EQ(folder.Read(kMyWinsFileName), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"
                                                       "LOTO6,2085,06 08 13 26 35 43,,1等,600000000\r\n"
                                                       "MiniLOTO,1353,05 06 11 13 14,,2等,159900\r\n"
                                                       "Numbers4,7054,7957,ボックス,ボックス,177300\r\n"
                                                       "Numbers3,7054,86,ミニ,ミニ,10000\r\n"));
  // Nobody has seen them: they stay new from the draws the check began with.
  EXPECT_EQ(ReadSeenDraws(folder.Folder()), kOneBehind);
}

TEST(RefreshMyWins, WinsSeenStayOldAndAnUnseenWinStaysNewAcrossChecks) {
  TempFolder folder;
  folder.Write(kMyNumbersFileName, kLines);
  static const RealTables tables;
  WinsMemory memory;
  ASSERT_TRUE(WriteSeenDraws({2000, 1000, 7000, 7000}, folder.Folder()));
  const DrawsByGame current{2085, 1353, 7054, 7054};
  EXPECT_TRUE(RefreshMyWins(folder.Folder(), tables.All(), current, memory).empty());
  EXPECT_EQ(ReadSeenDraws(folder.Folder()), (DrawsByGame{2000, 1000, 7000, 7000}));
  const MyWin win{Game::Loto6, 2085, "06 08 13 26 35 43", BuyWay::None, WinClass::First, 600000000};
  EXPECT_TRUE(IsNewWin(win, *ReadSeenDraws(folder.Folder())));
  EXPECT_FALSE(IsNewWin(win, current));
}

TEST(RefreshMyWins, WithoutLinesNoFileIsMadeAndAnUnreadableFileIsLeftAlone) {
  TempFolder folder;
  static const RealTables tables;
  WinsMemory memory;
  EXPECT_TRUE(RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory).empty());
  EXPECT_FALSE(folder.Exists(kMyWinsFileName));
  EXPECT_FALSE(folder.Exists(kMyWinsSeenFileName));

  // Lines all deleted since: the wins file is emptied, not left stale.
  folder.Write(kMyWinsFileName, "old");
  folder.Write(kMyNumbersFileName, "ゲーム,数字,買い方,開始回,終了回,メモ\r\n");
  RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory);
  EXPECT_EQ(folder.Read(kMyWinsFileName), *ToShiftJis("ゲーム,回,数字,買い方,等級,当せん金\r\n"));
}

TEST(RefreshMyWins, MatchingOnlyTheAddedDrawsGivesWhatTheWholeHistoryGives) {
  TempFolder folder;
  folder.Write(kMyNumbersFileName, kLines);
  RealTables tables;
  WinsMemory memory;
  RealTables behind;
  for (DrawTable* table : {&behind.loto6, &behind.miniLoto, &behind.numbers4, &behind.numbers3}) {
    table->rows.erase(table->rows.begin());
  }
  RefreshMyWins(folder.Folder(), behind.All(), {2083, 1351, 7052, 7052}, memory);
  const std::vector<MyWin> added = RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory);
  EXPECT_EQ(added.size(), 4u);
  const std::vector<MyWin> whole = FindWins(ParseMyNumbers(kLines).PlayedLines(), tables.All());
  EXPECT_EQ(folder.Read(kMyWinsFileName), *MyWinsBytes(whole));

  // An old draw that changed (a full refresh corrected it) is matched again.
  DrawRow& old = tables.loto6.rows[2085 - 2084];
  ASSERT_EQ(old[0], 2084);
  std::copy_n(DrawRow{6, 8, 13, 26, 35, 43}.begin(), 6, old.begin() + 1);
  EXPECT_TRUE(RefreshMyWins(folder.Folder(), tables.All(), {2085, 1353, 7054, 7054}, memory).empty());
  EXPECT_EQ(folder.Read(kMyWinsFileName), *MyWinsBytes(FindWins(ParseMyNumbers(kLines).PlayedLines(), tables.All())));
  EXPECT_NE(folder.Read(kMyWinsFileName), *MyWinsBytes(whole));
}

// The lotto numbers of the draw one behind the newest, as a line from draw 1.
std::string LineOfDrawBehind(Game game, const DrawTable& table) {
  const DrawRow& row = table.rows[1];
  std::string numbers;
  for (int i = 1; i <= (game == Game::Loto6 ? 6 : 5); ++i) numbers += std::to_string(row[static_cast<std::size_t>(i)]) + " ";
  return std::string(GameName(game)) + "," + numbers + ",,1,,\r\n";
}

TEST(RefreshMyWins, AddedWinsGoBeforeEachGamesRememberedWins) {
  TempFolder folder;
  RealTables tables;
  const std::string lines = kLines + LineOfDrawBehind(Game::Loto6, tables.loto6) +
                            LineOfDrawBehind(Game::MiniLoto, tables.miniLoto);
  folder.Write(kMyNumbersFileName, lines);
  RealTables behind;
  for (DrawTable* table : {&behind.loto6, &behind.miniLoto, &behind.numbers4, &behind.numbers3}) {
    table->rows.erase(table->rows.begin());
  }
  WinsMemory memory;
  RefreshMyWins(folder.Folder(), behind.All(), {2083, 1351, 7052, 7052}, memory);
  const std::vector<MyWin> added = RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory);
  EXPECT_EQ(added.size(), 4u);
  const std::vector<MyWin> whole = FindWins(ParseMyNumbers(lines).PlayedLines(), tables.All());
  ASSERT_GT(whole.size(), added.size() + 1);
  EXPECT_EQ(folder.Read(kMyWinsFileName), *MyWinsBytes(whole));
}

TEST(RefreshMyWins, LinesChangedSinceTheLastRefreshAreReadAgain) {
  TempFolder folder;
  folder.Write(kMyNumbersFileName, kLines);
  static const RealTables tables;
  WinsMemory memory;
  RefreshMyWins(folder.Folder(), tables.All(), kOneBehind, memory);
  const std::string before = folder.Read(kMyWinsFileName);
  const std::string fewer = *ToShiftJis("ゲーム,数字,買い方,開始回,終了回,メモ\r\nNumbers3,86,ミニ,7053,,\r\n");
  folder.Write(kMyNumbersFileName, fewer);
  EXPECT_TRUE(RefreshMyWins(folder.Folder(), tables.All(), {2085, 1353, 7054, 7054}, memory).empty());
  EXPECT_EQ(folder.Read(kMyWinsFileName), *MyWinsBytes(FindWins(ParseMyNumbers(fewer).PlayedLines(), tables.All())));
  EXPECT_NE(folder.Read(kMyWinsFileName), before);
}

TEST(WinNoticeText, CountsTheWinsBeyondTheFirstFew) {
  const MyWin win{Game::Numbers3, 7054, "86", BuyWay::Mini, WinClass::Mini, 0};
  EXPECT_EQ(WinNoticeText({}), "");
  EXPECT_EQ(WinNoticeText({win, win, win, win, win}, 2),
            "マイ数字が当せんしました\nNumbers3 第7054回 ミニ 該当なし\nNumbers3 第7054回 ミニ 該当なし\nほか3件");
}

}  // namespace
}  // namespace norv
