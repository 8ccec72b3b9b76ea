#include <gtest/gtest.h>

#include "app/program_message.h"
#include "app/status_texts.h"
#include "app/window_layout.h"
#include "app/windows_version.h"

namespace norv {
namespace {

Settings AllButtonsOff() {
  Settings s;
  s.csv = s.shp = s.dhp = s.chp = s.hlp = false;
  s.dml = s.cdm = s.ad4 = s.bc4 = s.elj = false;
  return s;
}

TEST(WindowsVersion, MapsEachReleaseToItsCode) {
  EXPECT_EQ(MapWindowsVersion(4, 10, false).versionCode, 1);
  EXPECT_EQ(MapWindowsVersion(5, 0, false).versionCode, 2);
  EXPECT_EQ(MapWindowsVersion(5, 1, true).versionCode, 3);
  EXPECT_EQ(MapWindowsVersion(5, 2, false).versionCode, 2);
  EXPECT_EQ(MapWindowsVersion(6, 0, true).versionCode, 4);
  EXPECT_EQ(MapWindowsVersion(6, 1, true).versionCode, 5);
  EXPECT_EQ(MapWindowsVersion(6, 2, true).versionCode, 6);
  EXPECT_EQ(MapWindowsVersion(6, 3, true).versionCode, 98);
  EXPECT_EQ(MapWindowsVersion(10, 0, true).versionCode, 99);
}

TEST(WindowsVersion, BalloonsExistEverywhereButOnMajorFour) {
  EXPECT_FALSE(MapWindowsVersion(4, 0, false).balloonsAvailable);
  EXPECT_TRUE(MapWindowsVersion(5, 0, false).balloonsAvailable);
  EXPECT_TRUE(MapWindowsVersion(10, 0, false).balloonsAvailable);
}

TEST(WindowsVersion, ThemedAndClassicLookFollowMajorAndVisualStyles) {
  struct Case {
    unsigned major, minor;
    bool themeActive, themed, classic;
  };
  const Case cases[] = {
      {4, 0, true, false, false},   {5, 0, true, false, true},   {5, 1, true, true, true},
      {5, 1, false, false, true},   {5, 2, true, false, true},   {6, 1, true, true, false},
      {6, 1, false, false, true},   {10, 0, true, true, false},  {10, 0, false, false, true},
  };
  for (const Case& c : cases) {
    const WindowsLook look = MapWindowsVersion(c.major, c.minor, c.themeActive);
    EXPECT_EQ(look.themedLook, c.themed) << c.major << "." << c.minor << " themes " << c.themeActive;
    EXPECT_EQ(look.classicLook, c.classic) << c.major << "." << c.minor << " themes " << c.themeActive;
  }
}

TEST(TabLayout, WidthsFollowTheActiveTabPlusTheScrollBar) {
  const TabLayout loto6 = LayoutForTab(0, 17);
  EXPECT_EQ(loto6.clientWidth, 553);
  EXPECT_EQ(loto6.pageControlWidth, 552);
  EXPECT_EQ(loto6.gridWidth, 522);
  EXPECT_EQ(LayoutForTab(1, 17).clientWidth, 450);
  EXPECT_EQ(LayoutForTab(3, 17).clientWidth, 423);
  EXPECT_EQ(loto6.clientWidth - LayoutForTab(2, 17).clientWidth, 143);
}

TEST(ToolBar, EveryOptionalButtonOffLeavesThreeButtonsAndTheMargin) {
  const Settings s = AllButtonsOff();
  EXPECT_EQ(ToolBarWidth(29, s), 3 * 29 + 8);
  const auto visible = ToolButtonVisibility(s);
  for (int i = 0; i < kToolButtonCount; ++i) {
    EXPECT_EQ(visible[static_cast<std::size_t>(i)], i == 0 || i == 1 || i == 3) << "ToolButton" << i + 1;
  }
}

TEST(ToolBar, EachOptionalFlagShowsItsOwnButton) {
  struct Flag {
    bool Settings::*member;
    int button;
  };
  const Flag flags[] = {{&Settings::csv, 3},  {&Settings::dml, 5},  {&Settings::cdm, 6}, {&Settings::ad4, 7},
                        {&Settings::bc4, 8},  {&Settings::elj, 9},  {&Settings::shp, 10}, {&Settings::dhp, 11},
                        {&Settings::chp, 12}, {&Settings::hlp, 13}};
  for (const Flag& f : flags) {
    Settings s = AllButtonsOff();
    s.*(f.member) = true;
    const auto visible = ToolButtonVisibility(s);
    EXPECT_TRUE(visible[static_cast<std::size_t>(f.button - 1)]) << "ToolButton" << f.button;
    EXPECT_EQ(ToolBarWidth(29, s), 4 * 29 + 8) << "ToolButton" << f.button;
  }
  EXPECT_EQ(ToolBarWidth(29, Settings{}), 13 * 29 + 8);
}

TEST(CompanionMenu, UnregisteredShowsExactlyWhenNoCompanionIsListed) {
  Settings s;
  auto visible = CompanionMenuVisibility(s);
  EXPECT_EQ(visible, (std::array<bool, 6>{false, false, false, false, false, true}));
  s.bc[3] = true;
  visible = CompanionMenuVisibility(s);
  EXPECT_EQ(visible, (std::array<bool, 6>{false, false, false, true, false, false}));
  s.bc[2] = true;
  s.bc[3] = false;
  EXPECT_TRUE(CompanionMenuVisibility(s)[5]) << "only the tray flag (index 3) lists a companion";
}

TEST(EndOfCheck, StartupRunSelectsLoto6WithThePlainCaption) {
  const CheckResultView view = EndOfCheckView({false, false, false, false}, true);
  EXPECT_EQ(view.tab, Game::Loto6);
  EXPECT_EQ(view.caption, "Norvale");
}

TEST(EndOfCheck, FirstUpdatedGameDecidesTabAndCaption) {
  EXPECT_EQ(EndOfCheckView({true, false, false, true}, false).caption, "Norvale　【LOTO6 が更新されました】");
  const CheckResultView mini = EndOfCheckView({false, true, true, false}, false);
  EXPECT_EQ(mini.tab, Game::MiniLoto);
  EXPECT_EQ(mini.caption, "Norvale　【MiniLOTO が更新されました】");
  const CheckResultView n3 = EndOfCheckView({false, false, false, true}, false);
  EXPECT_EQ(n3.tab, Game::Numbers3);
  EXPECT_EQ(n3.caption, "Norvale　【Numbers3 が更新されました】");
}

TEST(EndOfCheck, BothNumbersGamesShareOneCaptionOnTheNumbers4Tab) {
  const CheckResultView both = EndOfCheckView({false, false, true, true}, false);
  EXPECT_EQ(both.tab, Game::Numbers4);
  EXPECT_EQ(both.caption, "Norvale　【Numbers が更新されました】");
  EXPECT_EQ(EndOfCheckView({false, false, true, false}, false).caption, "Norvale　【Numbers4 が更新されました】");
}

TEST(EndOfCheck, NoUpdateKeepsTheLayout) {
  const CheckResultView view = EndOfCheckView({false, false, false, false}, false);
  EXPECT_FALSE(view.tab.has_value());
  EXPECT_EQ(view.caption, "Norvale");
}

TEST(StatusTexts, CaptionsAndHintsOfARunningCheck) {
  EXPECT_EQ(CheckingTrayHint(0), "Norvale\n [起動モード]\n (最新DATAチェック中)");
  EXPECT_EQ(CheckingTrayHint(3), "Norvale\n [手動モード]\n (最新DATAチェック中)");
}

TEST(StatusTexts, WaitingHintLeavesOutModeZero) {
  EXPECT_EQ(WaitingTrayHint(0), "Norvale\n (待機中)");
  EXPECT_EQ(WaitingTrayHint(1), "Norvale\n [通常モード]\n (待機中)");
  EXPECT_EQ(WaitingTrayHint(2), "Norvale\n [特定モード]\n (待機中)");
  EXPECT_EQ(InitialTrayHint(2, 1), "Norvale\n [起動モード]\n (待機中)");
  EXPECT_EQ(InitialTrayHint(0, 2), "Norvale\n [特定モード]\n (待機中)");
}

TEST(ScheduleMode, BothEndsBelongToTheWindowAndAWindowCanWrap) {
  const ScheduleWindow evening{60, 5, 1900, 2100};
  EXPECT_EQ(ScheduleModeAt(1900, evening), 2);
  EXPECT_EQ(ScheduleModeAt(2100, evening), 2);
  EXPECT_EQ(ScheduleModeAt(2101, evening), 1);
  const ScheduleWindow night{60, 5, 2200, 200};
  EXPECT_EQ(ScheduleModeAt(2330, night), 2);
  EXPECT_EQ(ScheduleModeAt(100, night), 2);
  EXPECT_EQ(ScheduleModeAt(201, night), 1);
  EXPECT_EQ(ScheduleModeAt(2159, night), 1);
  EXPECT_EQ(ScheduleModeAt(1234, {60, 5, 105, 105}), 2);
  EXPECT_EQ(ScheduleModeAt(1234, {60, 0, 1900, 2100}), 1);
  EXPECT_EQ(ScheduleModeAt(1234, {0, 0, 1900, 2100}), 0);
}

TEST(ProgramMessage, TextsOfTheBoxes) {
  EXPECT_EQ(ProgramMessageText(1, 0), " 終了しますか？");
  EXPECT_EQ(ProgramMessageText(2, 0), "只今、データ更新中です\nファイルは出力されませんでした");
  EXPECT_EQ(ProgramMessageText(3, 0), "エラーが発生しました\nファイルは出力されませんでした");
  EXPECT_EQ(ProgramMessageText(4, 0), "CSVファイルを出力しました");
  EXPECT_EQ(ProgramMessageText(5, 0), "Damsonデータ変換エラー\nファイルは出力されませんでした");
  EXPECT_EQ(ProgramMessageText(9, 0), "Elderデータ変換エラー\nファイルは出力されませんでした");
  EXPECT_EQ(ProgramMessageText(10, 1), "データの初期化に失敗しました　【1】");
  EXPECT_EQ(ProgramMessageText(10, 0), "データの初期化に失敗しました　【0】");
}

TEST(ProgramMessage, UtilityGetsTheCodeLessOneHundredAndAPositiveNumber) {
  EXPECT_EQ(MessageUtilityParameters(113, 0), "13");
  EXPECT_EQ(MessageUtilityParameters(100, 0), "0");
  EXPECT_EQ(MessageUtilityParameters(108, 3), "8 3");
  EXPECT_EQ(MessageUtilityParameters(106, -1), "6");
}

}  // namespace
}  // namespace norv
