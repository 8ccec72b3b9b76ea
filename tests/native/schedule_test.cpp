#include "schedule/schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace norv {
namespace {

int NextMinute(int hhmm) {
  int hours = hhmm / 100;
  int minutes = hhmm % 100 + 1;
  if (minutes == 60) {
    minutes = 0;
    hours = (hours + 1) % 24;
  }
  return hours * 100 + minutes;
}

class ScheduleTest : public ::testing::Test {
 protected:
  // Ticks once a minute from `from` up to and including `to`; the minutes at
  // which a check would start. Every check ends before the next tick.
  std::vector<int> CheckMinutes(const ScheduleConfig& config, int from, int to) {
    std::vector<int> starts;
    for (int now = from;; now = NextMinute(now)) {
      if (schedule.Timer1Timer(config, now).startCheck) starts.push_back(now);
      if (now == to) break;
    }
    return starts;
  }

  CheckState state;
  Schedule schedule{state};
};

ScheduleConfig Window(int start, int end, int windowMinutes, int normalMinutes) {
  return {normalMinutes, windowMinutes, start, end, 0};
}

TEST_F(ScheduleTest, BothEndsOfTheWindowBelongToIt) {
  const ScheduleConfig config = Window(1900, 2100, 5, 60);
  EXPECT_EQ(schedule.ComputeMode(config, 1859), 1859);
  EXPECT_EQ(state.scheduleMode.load(), kModeNormal);
  for (int now : {1900, 2000, 2100}) {
    schedule.ComputeMode(config, now);
    EXPECT_EQ(state.scheduleMode.load(), kModeWindow) << now;
  }
  schedule.ComputeMode(config, 2101);
  EXPECT_EQ(state.scheduleMode.load(), kModeNormal);
}

TEST_F(ScheduleTest, AWindowPastMidnightWraps) {
  const ScheduleConfig config = Window(2200, 200, 5, 60);
  for (int now : {2200, 2330, 0, 100, 200}) {
    schedule.ComputeMode(config, now);
    EXPECT_EQ(state.scheduleMode.load(), kModeWindow) << now;
  }
  for (int now : {201, 1200, 2159}) {
    schedule.ComputeMode(config, now);
    EXPECT_EQ(state.scheduleMode.load(), kModeNormal) << now;
  }
}

TEST_F(ScheduleTest, AWindowStartingWhereItEndsCoversTheWholeDay) {
  const ScheduleConfig config = Window(105, 105, 1, 0);
  for (int now : {0, 104, 105, 106, 1200, 2359}) {
    schedule.ComputeMode(config, now);
    EXPECT_EQ(state.scheduleMode.load(), kModeWindow) << now;
  }
}

TEST_F(ScheduleTest, WithoutAWindowTheModeFollowsTheNormalInterval) {
  schedule.ComputeMode(Window(1900, 2100, 0, 60), 2000);
  EXPECT_EQ(state.scheduleMode.load(), kModeNormal);
  schedule.ComputeMode(Window(1900, 2100, 0, 0), 2000);
  EXPECT_EQ(state.scheduleMode.load(), kModeNone);
}

TEST_F(ScheduleTest, EveningWindowChecksAtItsEdgesAndEveryFiveMinutesInside) {
  std::vector<int> expected{1859, 1900};
  for (int now = 1905; now <= 2055; now = (now % 100 == 55) ? now + 45 : now + 5) expected.push_back(now);
  expected.push_back(2100);  // the end of the window always checks
  expected.push_back(2200);  // then 60 minutes counted from there
  EXPECT_EQ(CheckMinutes(Window(1900, 2100, 5, 60), 1800, 2230), expected);
}

TEST_F(ScheduleTest, TheWindowOpensWithACheckWhateverTheNormalCount) {
  const ScheduleConfig config = Window(1903, 2100, 10, 60);
  EXPECT_EQ(CheckMinutes(config, 1856, 1902), std::vector<int>{});
  EXPECT_EQ(schedule.MinuteCounter(), 7);
  EXPECT_EQ(CheckMinutes(config, 1903, 1913), (std::vector<int>{1903, 1913}));
}

TEST_F(ScheduleTest, WithoutNormalIntervalNothingIsCountedOutsideTheWindow) {
  const ScheduleConfig config = Window(1900, 2100, 5, 0);
  EXPECT_EQ(CheckMinutes(config, 1700, 1859), std::vector<int>{});
  EXPECT_EQ(schedule.MinuteCounter(), 0);
  EXPECT_EQ(CheckMinutes(config, 1900, 1905), (std::vector<int>{1900, 1905}));
}

TEST_F(ScheduleTest, ADueCheckWhileAManualCheckRunsIsDroppedAndTheCountStartsAgain) {
  const ScheduleConfig config = Window(0, 0, 0, 5);
  EXPECT_TRUE(schedule.ToolButton2Click());
  EXPECT_EQ(state.scheduleMode.load(), kModeManual);
  EXPECT_EQ(CheckMinutes(config, 1000, 1005), std::vector<int>{});
  EXPECT_EQ(schedule.MinuteCounter(), 1);  // reset at 10:04, counted again at 10:05
  state.checkRunning = false;
  EXPECT_EQ(CheckMinutes(config, 1006, 1010), std::vector<int>{1009});
}

TEST_F(ScheduleTest, TheCheckButtonDoesNothingWhileACheckRuns) {
  state.checkRunning = true;
  state.scheduleMode = kModeWindow;
  EXPECT_FALSE(schedule.ToolButton2Click());
  EXPECT_EQ(state.scheduleMode.load(), kModeWindow);
  EXPECT_FALSE(schedule.StartCheck());
}

TEST_F(ScheduleTest, ShiftOnTheCheckButtonForcesTheNextCheckAndTheTrayItemLeavesItAlone) {
  schedule.ToolButton2MouseDown(true);
  EXPECT_TRUE(state.forcedRefresh.load());
  EXPECT_EQ(CheckingCaption(state.forcedRefresh), "Norvale　【強制DATA更新中】");
  EXPECT_TRUE(schedule.ToolButton2Click());  // N3 runs the same handler without a press
  EXPECT_TRUE(state.forcedRefresh.load());
  schedule.ToolButton2MouseDown(false);
  EXPECT_FALSE(state.forcedRefresh.load());
  EXPECT_EQ(CheckingCaption(false), "Norvale　【最新DATAチェック中】");
}

TEST_F(ScheduleTest, AStartUpDelayWithoutIntervalsGivesExactlyOneCheck) {
  ScheduleConfig config = Window(1900, 2100, 0, 0);
  config.startupDelayMs = 1000;
  const ArmedSchedule armed = schedule.ArmSchedule(config, 800);
  EXPECT_EQ(armed.trayHint, "Norvale\n [起動モード]\n (待機中)");
  EXPECT_EQ(armed.timerIntervalMs, 1000);

  const TickDecision tick = schedule.Timer1Timer(config, 800);
  EXPECT_TRUE(tick.startupTick);
  EXPECT_TRUE(tick.startCheck);
  EXPECT_EQ(tick.rearmIntervalMs, 0);
  EXPECT_EQ(state.scheduleMode.load(), kModeNone);
  EXPECT_FALSE(schedule.StartupCheckPending());
  // Even if a stray tick arrived, nothing more would start.
  EXPECT_EQ(CheckMinutes(config, 801, 1000), std::vector<int>{});
}

TEST_F(ScheduleTest, TheStartUpTickRearmsTheMinuteTimerWhenAnIntervalIsSet) {
  ScheduleConfig config = Window(1900, 2100, 5, 60);
  config.startupDelayMs = 60000;
  schedule.ArmSchedule(config, 1000);
  EXPECT_EQ(schedule.Timer1Timer(config, 1001).rearmIntervalMs, kMinuteTickMs);
  EXPECT_FALSE(schedule.Timer1Timer(config, 1002).startupTick);
}

TEST_F(ScheduleTest, WithoutStartUpCheckTheHintShowsTheCurrentMode) {
  EXPECT_EQ(schedule.ArmSchedule(Window(1900, 2100, 5, 60), 1930).trayHint, "Norvale\n [特定モード]\n (待機中)");
  EXPECT_EQ(schedule.ArmSchedule(Window(1900, 2100, 5, 60), 1830).trayHint, "Norvale\n [通常モード]\n (待機中)");
  const ArmedSchedule idle = schedule.ArmSchedule(Window(1900, 2100, 0, 0), 1830);
  EXPECT_EQ(idle.trayHint, "Norvale\n (待機中)");
  EXPECT_EQ(idle.timerIntervalMs, 0);
  EXPECT_EQ(schedule.ArmSchedule(Window(1900, 2100, 0, 60), 1830).timerIntervalMs, kMinuteTickMs);
}

TEST(ScheduleTexts, RunningHintsNameTheModeThatStartedTheCheck) {
  EXPECT_EQ(CheckingHint(kModeNone), "Norvale\n [起動モード]\n (最新DATAチェック中)");
  EXPECT_EQ(CheckingHint(kModeNormal), "Norvale\n [通常モード]\n (最新DATAチェック中)");
  EXPECT_EQ(CheckingHint(kModeWindow), "Norvale\n [特定モード]\n (最新DATAチェック中)");
  EXPECT_EQ(CheckingHint(kModeManual), "Norvale\n [手動モード]\n (最新DATAチェック中)");
  EXPECT_EQ(WaitingHint(kModeNone), "Norvale\n (待機中)");
  EXPECT_EQ(WaitingHint(kModeNormal), "Norvale\n [通常モード]\n (待機中)");
  EXPECT_EQ(WaitingHint(kModeWindow), "Norvale\n [特定モード]\n (待機中)");
}

}  // namespace
}  // namespace norv
