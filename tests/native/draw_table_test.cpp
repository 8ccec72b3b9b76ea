#include "store/draw_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/text_fields.h"
#include "temp_folder.h"

namespace norv {
namespace {

using namespace std::chrono_literals;

// A LOTO6 record of draw `draw` whose numbers and prizes derive from it.
std::string Loto6Record(int draw) {
  std::string text = FixedDigits(draw, 4);
  for (int n = 1; n <= 7; ++n) {
    text += FixedDigits((draw + n) % 43 + 1, 2);
  }
  text += FixedDigits(100000000 + draw, 10) + FixedDigits(draw * 10, 9) + FixedDigits(draw, 8) +
          FixedDigits(9100, 6) + FixedDigits(1000, 5);
  return text + "\r\n";
}

std::string Loto6File(int records) {
  std::string file;
  for (int draw = 1; draw <= records; ++draw) {
    file += Loto6Record(draw);
  }
  return file;
}

struct HookLog {
  std::vector<std::string> calls;
  ReloadHooks Hooks() {
    return {[this](Game g) { calls.push_back("begin " + std::string(GameName(g))); },
            [this](Game g) { calls.push_back("end " + std::string(GameName(g))); }};
  }
};

class LoadDrawTableTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (Game game : kAllGames) {
      GameDataOf(game).table.rows.clear();
      GameDataOf(game).drawCount = 0;
      GameDataOf(game).ReleaseBusy();
    }
  }
  bool Load(Game game, const ReloadHooks& hooks = {}) {
    return LoadDrawTable(game, folder_.Folder(), std::stop_token{}, hooks);
  }

  testing::TempFolder folder_;
  GameData& loto6_ = GameDataOf(Game::Loto6);
};

TEST_F(LoadDrawTableTest, AnEmptyFileLoadsAsAnEmptyTable) {
  loto6_.table.rows.assign(2, DrawRow(13, 5));
  loto6_.drawCount = 2;
  folder_.Write("dat_lot6.tan", "");
  HookLog log;
  ASSERT_TRUE(Load(Game::Loto6, log.Hooks()));
  EXPECT_TRUE(loto6_.table.rows.empty());
  EXPECT_EQ(loto6_.drawCount, 0);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"begin LOTO6", "end LOTO6"}));
  EXPECT_FALSE(loto6_.Busy());
}

TEST_F(LoadDrawTableTest, RowsAreNewestFirst) {
  folder_.Write("dat_lot6.tan", Loto6File(3));
  ASSERT_TRUE(Load(Game::Loto6));
  EXPECT_EQ(loto6_.drawCount, 3);
  ASSERT_EQ(loto6_.table.rows.size(), 3u);
  EXPECT_EQ(loto6_.table.rows[0], ParseRecordText(Game::Loto6, Loto6Record(3)));
  EXPECT_EQ(loto6_.table.rows[1][0], 2);
  EXPECT_EQ(loto6_.table.rows[2][0], 1);
  EXPECT_EQ(loto6_.table.rows[0][8], 100000003);
}

TEST_F(LoadDrawTableTest, AReloadReplacesTheWholeTable) {
  folder_.Write("dat_lot6.tan", Loto6File(5));
  ASSERT_TRUE(Load(Game::Loto6));
  folder_.Write("dat_lot6.tan", Loto6File(2));
  ASSERT_TRUE(Load(Game::Loto6));
  EXPECT_EQ(loto6_.drawCount, 2);
  ASSERT_EQ(loto6_.table.rows.size(), 2u);
  EXPECT_EQ(loto6_.table.rows[0][0], 2);
}

TEST_F(LoadDrawTableTest, AllZeroPrizeAndNonDigitFieldsLoadAsZero) {
  std::string record = Loto6Record(1);
  record.replace(18, 10, "0000000000");
  record.replace(45, 6, "12,345");
  folder_.Write("dat_lot6.tan", record);
  ASSERT_TRUE(Load(Game::Loto6));
  ASSERT_EQ(loto6_.table.rows.size(), 1u);
  EXPECT_EQ(loto6_.table.rows[0][8], 0);
  EXPECT_EQ(loto6_.table.rows[0][11], 0);
  EXPECT_EQ(loto6_.table.rows[0][12], 1000);
}

TEST_F(LoadDrawTableTest, ATrailingPartialRecordIsLeftOut) {
  folder_.Write("dat_lot6.tan", Loto6File(2) + Loto6Record(3).substr(0, 30));
  ASSERT_TRUE(Load(Game::Loto6));
  EXPECT_EQ(loto6_.drawCount, 2);
  ASSERT_EQ(loto6_.table.rows.size(), 2u);
  EXPECT_EQ(loto6_.table.rows[0], ParseRecordText(Game::Loto6, Loto6Record(2)));
  EXPECT_EQ(loto6_.table.rows[1], ParseRecordText(Game::Loto6, Loto6Record(1)));
}

TEST_F(LoadDrawTableTest, EveryGameReadsItsOwnFileWithItsOwnRecordLength) {
  const std::string prizes = "000001" "000002" "000003" "00004" "00000" "\r\n";
  folder_.Write("dat_num3.tan", "0001" "123" + prizes + "0002" "456" + prizes);
  folder_.Write("dat_num4.tan", std::string(36 * 4, '0'));
  ASSERT_TRUE(Load(Game::Numbers3));
  ASSERT_TRUE(Load(Game::Numbers4));
  EXPECT_EQ(GameDataOf(Game::Numbers3).drawCount, 2);
  EXPECT_EQ(GameDataOf(Game::Numbers3).table.rows[0], (DrawRow{2, 4, 5, 6, 1, 2, 3, 4, 0}));
  EXPECT_EQ(GameDataOf(Game::Numbers4).drawCount, 4);
}

TEST_F(LoadDrawTableTest, AMissingFileFailsWithTheGridLeftHiddenAndTheFlagFree) {
  loto6_.table.rows.assign(1, DrawRow(13, 7));
  loto6_.drawCount = 1;
  HookLog log;
  EXPECT_FALSE(Load(Game::Loto6, log.Hooks()));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"begin LOTO6"}));
  EXPECT_FALSE(loto6_.Busy());
  EXPECT_EQ(loto6_.drawCount, 1);
}

TEST_F(LoadDrawTableTest, TheFlagIsHeldWhileTheHooksRun) {
  folder_.Write("dat_lot6.tan", Loto6File(1));
  std::vector<bool> heldDuring;
  const ReloadHooks hooks{[&](Game) { heldDuring.push_back(loto6_.Busy()); },
                          [&](Game) { heldDuring.push_back(loto6_.Busy()); }};
  ASSERT_TRUE(Load(Game::Loto6, hooks));
  EXPECT_EQ(heldDuring, (std::vector<bool>{true, true}));
  EXPECT_FALSE(loto6_.Busy());
}

TEST_F(LoadDrawTableTest, AFailingHookStillFreesTheFlag) {
  folder_.Write("dat_lot6.tan", Loto6File(1));
  const ReloadHooks hooks{[](Game) { throw std::runtime_error("window gone"); }, {}};
  EXPECT_THROW(Load(Game::Loto6, hooks), std::runtime_error);
  EXPECT_FALSE(loto6_.Busy());
}

TEST_F(LoadDrawTableTest, AStopDuringTheLoadLeavesUnreadRowsAsZeros) {
  folder_.Write("dat_lot6.tan", Loto6File(3));
  std::stop_source stop;
  HookLog log;
  const ReloadHooks hooks{[&](Game) { stop.request_stop(); }, log.Hooks().endGridReload};
  ASSERT_TRUE(LoadDrawTable(Game::Loto6, folder_.Folder(), stop.get_token(), hooks));
  EXPECT_EQ(log.calls, (std::vector<std::string>{"end LOTO6"}));
  EXPECT_EQ(loto6_.drawCount, 3);
  ASSERT_EQ(loto6_.table.rows.size(), 3u);
  for (const DrawRow& row : loto6_.table.rows) {
    EXPECT_EQ(row, DrawRow(13, 0));
  }
  EXPECT_FALSE(loto6_.Busy());
}

TEST_F(LoadDrawTableTest, WaitsWhileAnotherHoldsTheFlag) {
  folder_.Write("dat_lot6.tan", Loto6File(1));
  ASSERT_TRUE(loto6_.TryTakeBusy());
  const auto start = std::chrono::steady_clock::now();
  std::jthread holder([&] {
    std::this_thread::sleep_for(200ms);
    loto6_.ReleaseBusy();
  });
  ASSERT_TRUE(Load(Game::Loto6));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
  EXPECT_EQ(loto6_.drawCount, 1);
  EXPECT_FALSE(loto6_.Busy());
}

TEST_F(LoadDrawTableTest, AStopEndsTheWaitAtOnceAndLeavesTheOthersFlagAlone) {
  folder_.Write("dat_lot6.tan", Loto6File(1));
  ASSERT_TRUE(loto6_.TryTakeBusy());
  std::stop_source stop;
  HookLog log;
  const auto start = std::chrono::steady_clock::now();
  std::jthread closer([&] {
    std::this_thread::sleep_for(50ms);
    stop.request_stop();
  });
  EXPECT_FALSE(LoadDrawTable(Game::Loto6, folder_.Folder(), stop.get_token(), log.Hooks()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
  EXPECT_TRUE(log.calls.empty());
  EXPECT_TRUE(loto6_.Busy());
  EXPECT_EQ(loto6_.drawCount, 0);
}

}  // namespace
}  // namespace norv
