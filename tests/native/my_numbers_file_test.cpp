#include "store/my_numbers_file.h"

#include <gtest/gtest.h>

#include "faulty_file_system.h"
#include "store/my_wins.h"
#include "store/shift_jis.h"
#include "temp_folder.h"

namespace norv {
namespace {

using testing::FaultyFileSystem;
using testing::SimulatedKill;
using testing::StepFault;
using testing::TempFolder;

constexpr std::string_view kHeader = "ゲーム,数字,買い方,開始回,終了回,メモ\r\n";

std::string ShiftJis(std::string_view utf8) { return ToShiftJis(utf8).value(); }

struct Reported {
  int lineNumber;
  std::string reason;
  friend bool operator==(const Reported&, const Reported&) = default;
};

std::vector<Reported> BadLines(const MyNumbers& numbers) {
  std::vector<Reported> bad;
  for (const MyNumbersEntry& entry : numbers.entries) {
    if (!entry.line) bad.push_back({entry.lineNumber, std::string(LineFaultText(entry.fault))});
  }
  return bad;
}

TEST(MyNumbersFile, ReportsEachBadLineWithItsNumberAndReasonAndStillPlaysTheOthers) {
  const std::string text = std::string(kHeader) +
                           "LOTO6,1 2 3 4 5 44,,1,,\r\n"        // 2: out of range
                           "LOTO6,1 2 3 4 5 5,,1,,\r\n"         // 3: twice
                           "MiniLOTO,1 2 3 4,,1,,\r\n"          // 4: wrong count
                           "LOTO7,1 2 3 4 5 6 7,,1,,\r\n"       // 5: unknown game
                           "Numbers4,1234,バラ,1,,\r\n"         // 6: unknown way
                           "Numbers4,7777,ボックス,1,,\r\n"     // 7: all the same digits
                           "Numbers3,555,セット,1,,\r\n"        // 8: all the same digits
                           "Numbers4,12,ミニ,1,,\r\n"           // 9: mini outside Numbers3
                           "LOTO6,1 2 3 4 5 6,,200,100,\r\n"    // 10: end before start
                           "Numbers3,12a,ストレート,1,,\r\n"    // 11: not a number
                           "LOTO6,1 2 3 4 5 6\r\n"              // 12: columns
                           "Numbers3,123,ストレート,1,,毎週\r\n"  // 13: good
                           "LOTO6,1 2 3 4 5,ストレート,1,,\r\n"  // 14: a way for a lotto line
                           "Numbers3,1234,ストレート,1,,\r\n";  // 15: wrong count
  const MyNumbers numbers = ParseMyNumbers(ShiftJis(text));
  EXPECT_EQ(BadLines(numbers), (std::vector<Reported>{
                                   {2, "範囲外の数字があります"},
                                   {3, "同じ数字が二度あります"},
                                   {4, "数字の個数が違います"},
                                   {5, "不明なゲームです"},
                                   {6, "不明な買い方です"},
                                   {7, "すべて同じ数字にボックス・セットは買えません"},
                                   {8, "すべて同じ数字にボックス・セットは買えません"},
                                   {9, "ミニはNumbers3だけです"},
                                   {10, "終了回が開始回より前です"},
                                   {11, "数字でない文字があります"},
                                   {12, "列の数が違います"},
                                   {14, "不明な買い方です"},
                                   {15, "数字の個数が違います"},
                               }));
  ASSERT_EQ(numbers.PlayedLines().size(), 1u);
  EXPECT_EQ(numbers.PlayedLines()[0].memo, "毎週");
  // Written back, every bad line stands as it was, in its place.
  EXPECT_EQ(MyNumbersBytes(numbers), ShiftJis(text));
}

TEST(MyNumbersFile, WritesNumbersTwoDigitsAscendingAndKeepsNumbersZeros) {
  const MyNumbers numbers = ParseMyNumbers(
      "LOTO6,43 7  1 22 9 30,,5,,\"誕生日, 家族\"\nNumbers4,0071,セット,1,99,\nNumbers3,07,ミニ,,,\n");
  EXPECT_EQ(MyNumbersBytes(numbers), ShiftJis(std::string(kHeader) +
                                              "LOTO6,01 07 09 22 30 43,,5,,\"誕生日, 家族\"\r\n"
                                              "Numbers4,0071,セット,1,99,\r\n"
                                              "Numbers3,07,ミニ,1,,\r\n"));
}

TEST(MyNumbersFile, ShiftJisAndUtf8WithOrWithoutBomReadAlike) {
  const std::string text = std::string(kHeader) + "Numbers3,123,ボックス,10,20,ﾒﾓ：毎週\r\nLOTO6,1 2 3,,1,,\r\n";
  const MyNumbers fromShiftJis = ParseMyNumbers(ShiftJis(text));
  const std::string expected = MyNumbersBytes(fromShiftJis);
  EXPECT_EQ(MyNumbersBytes(ParseMyNumbers(text)), expected);
  EXPECT_EQ(MyNumbersBytes(ParseMyNumbers("\xEF\xBB\xBF" + text)), expected);
  ASSERT_EQ(fromShiftJis.PlayedLines().size(), 1u);
  EXPECT_EQ(fromShiftJis.PlayedLines()[0].memo, "ﾒﾓ：毎週");
  EXPECT_EQ(BadLines(fromShiftJis), (std::vector<Reported>{{3, "数字の個数が違います"}}));
}

TEST(MyNumbersFile, ALineInNeitherEncodingIsReportedAndWrittenBackByteForByte) {
  const std::string odd = "Numbers3,123,\x82\xFF\xFF,1,,";  // a Shift_JIS lead byte with no valid trail
  const std::string bytes = ShiftJis(std::string(kHeader) + "Numbers3,456,ストレート,1,,\r\n") + odd + "\r\n";
  const MyNumbers numbers = ParseMyNumbers(bytes);
  EXPECT_EQ(BadLines(numbers), (std::vector<Reported>{{3, "読めない文字があります"}}));
  EXPECT_EQ(numbers.PlayedLines().size(), 1u);
  EXPECT_EQ(MyNumbersBytes(numbers), bytes);
}

TEST(MyNumbersFile, AMemoShiftJisCannotHoldTurnsTheFileIntoUtf8WithABom) {
  const std::string text = std::string(kHeader) + "Numbers3,123,ストレート,1,,\xF0\x9F\x98\x80\r\n";
  const std::string bytes = MyNumbersBytes(ParseMyNumbers(text));
  EXPECT_EQ(bytes, "\xEF\xBB\xBF" + text);
  EXPECT_EQ(MyNumbersBytes(ParseMyNumbers(bytes)), bytes);
}

TEST(MyNumbersFile, AMissingFileIsNoLinesAndAFileThatCannotBeReadIsNotOverwritten) {
  TempFolder folder;
  const std::optional<MyNumbers> missing = ReadMyNumbers(folder.Folder());
  ASSERT_TRUE(missing);
  EXPECT_TRUE(missing->entries.empty());

  struct Unreadable : FileSystem {
    std::unique_ptr<WritableFile> Create(const std::string&) override { return nullptr; }
    bool Remove(const std::string&) override { return false; }
    bool Rename(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> ReadWhole(const std::string&) override { return std::nullopt; }
    std::optional<std::uint64_t> SizeOf(const std::string&) override { return 120; }
  } unreadable;
  EXPECT_EQ(ReadMyNumbers(folder.Folder(), unreadable), std::nullopt);
}

// Each write step in turn fails, or the process dies there: the file is then
// the old one or the new one, whole, and the next write completes it.
class MyFilesCrashPoints : public ::testing::TestWithParam<StepFault> {};

template <typename Write>
void EveryStepLeavesOldOrNew(StepFault fault, const TempFolder& folder, std::string_view name, const std::string& before,
                             const std::string& after, const Write& write) {
  for (int step = 1;; ++step) {
    folder.Write(name, before);
    FaultyFileSystem faulty;
    faulty.Arm(fault, step);
    try {
      write(faulty);
    } catch (const SimulatedKill&) {
    }
    const std::string now = folder.Read(name);
    EXPECT_TRUE(now == before || now == after) << "step " << step;
    if (!faulty.FaultHit()) break;
    write(LocalFileSystem());
    EXPECT_EQ(folder.Read(name), after) << "step " << step;
  }
}

TEST_P(MyFilesCrashPoints, WritingTheLinesLeavesTheOldFileOrTheNewOne) {
  TempFolder folder;
  const std::string before = ShiftJis(std::string(kHeader) + "Numbers3,123,ストレート,1,,\r\n");
  MyNumbers numbers = ParseMyNumbers(before);
  MyNumbersEntry added;
  added.line = std::get<MyLine>(ReadLine({"LOTO6", "1 2 3 4 5 6", "", "1", "", "新"}));
  numbers.entries.push_back(added);
  const std::string after = MyNumbersBytes(numbers);
  EveryStepLeavesOldOrNew(GetParam(), folder, kMyNumbersFileName, before, after,
                          [&](FileSystem& files) { WriteMyNumbers(numbers, folder.Folder(), files); });
}

TEST_P(MyFilesCrashPoints, WritingTheWinsLeavesTheOldFileOrTheNewOne) {
  TempFolder folder;
  const std::vector<MyWin> wins{{Game::Numbers3, 7054, "86", BuyWay::Mini, WinClass::Mini, 10000}};
  const std::string before = *MyWinsBytes({});
  const std::string after = *MyWinsBytes(wins);
  EveryStepLeavesOldOrNew(GetParam(), folder, kMyWinsFileName, before, after,
                          [&](FileSystem& files) { WriteMyWinsFile(wins, MyWinsPath(folder.Folder()), files); });
}

TEST(MyWinsFile, NewerWinsGoBeforeEachGamesEarlierRows) {
  const MyWin loto6Old{Game::Loto6, 2084, "01 02 03 04 05 06", BuyWay::None, WinClass::Fifth, 1000};
  const MyWin loto6New{Game::Loto6, 2085, "06 08 13 26 35 43", BuyWay::None, WinClass::First, 600000000};
  const MyWin miniLotoNew{Game::MiniLoto, 1353, "05 06 11 13 14", BuyWay::None, WinClass::Second, 159900};
  const MyWin numbers4New{Game::Numbers4, 7055, "7957", BuyWay::Box, WinClass::Box, 0};
  const MyWin numbers3Old{Game::Numbers3, 7053, "86", BuyWay::Mini, WinClass::Mini, 9900};
  const MyWin numbers3New{Game::Numbers3, 7054, "86", BuyWay::Mini, WinClass::Mini, 10000};
  const std::optional<MyWinsFileBytes> earlier = MyWinsFileOf({loto6Old, numbers3Old, numbers3Old});
  ASSERT_TRUE(earlier);
  EXPECT_EQ(earlier->bytes, *MyWinsBytes({loto6Old, numbers3Old, numbers3Old}));
  const std::optional<MyWinsFileBytes> later = WithNewerWins(*earlier, {loto6New, miniLotoNew, numbers3New});
  ASSERT_TRUE(later);
  EXPECT_EQ(later->bytes,
            *MyWinsBytes({loto6New, loto6Old, miniLotoNew, numbers3New, numbers3Old, numbers3Old}));
  // Where each game ends is carried on, for the next check.
  const std::optional<MyWinsFileBytes> latest = WithNewerWins(*later, {numbers4New});
  ASSERT_TRUE(latest);
  EXPECT_EQ(latest->bytes,
            *MyWinsBytes({loto6New, loto6Old, miniLotoNew, numbers4New, numbers3New, numbers3Old, numbers3Old}));
  EXPECT_EQ(WithNewerWins(*latest, {})->bytes, latest->bytes);
}

INSTANTIATE_TEST_SUITE_P(Faults, MyFilesCrashPoints, ::testing::Values(StepFault::Fail, StepFault::Kill),
                         [](const auto& info) { return info.param == StepFault::Fail ? "Fail" : "Kill"; });

}  // namespace
}  // namespace norv
