#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/program_message.h"
#include "app/window_layout.h"
#include "app/windows_version.h"
#include "resources/strings.h"

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

TEST(ToolBar, EveryOptionalButtonOffLeavesFourButtonsAndTheMargin) {
  const Settings s = AllButtonsOff();
  EXPECT_EQ(ToolBarWidth(29, s), 4 * 29 + 8);
  const auto visible = ToolButtonVisibility(s);
  for (int i = 0; i < kToolButtonCount; ++i) {
    EXPECT_EQ(visible[static_cast<std::size_t>(i)], i == 0 || i == 1 || i == 3 || i == 13) << "ToolButton" << i + 1;
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
    EXPECT_EQ(ToolBarWidth(29, s), 5 * 29 + 8) << "ToolButton" << f.button;
  }
  EXPECT_EQ(ToolBarWidth(29, Settings{}), 14 * 29 + 8);
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

TEST(ProgramMessage, EachBoxIsAssembledFromItsPieces) {
  using namespace text;
  const auto notExported = [](std::string_view first) { return std::string(first) + std::string(kNotExported); };
  EXPECT_EQ(ProgramMessageText(1, 0), kExitQuestion);
  EXPECT_EQ(ProgramMessageText(2, 0), notExported(std::string(kBusyNotExported) + "\n"));
  EXPECT_EQ(ProgramMessageText(3, 0), notExported(kErrorOccurred));
  EXPECT_EQ(ProgramMessageText(4, 0), kCsvWritten);
  for (int code = 5; code <= 9; ++code) {
    EXPECT_EQ(ProgramMessageText(code, 0),
              notExported(std::string(kConversionCompanions[code - 5]) + std::string(kConversionError)))
        << code;
  }
  for (int number : {0, 1, 255}) {
    EXPECT_EQ(ProgramMessageText(10, number), std::string(kInitFailed) + std::string(kBracketOpen) +
                                                  std::to_string(number) + std::string(kBracketClose));
  }
  for (int code : {-1, 0, 11, 99}) EXPECT_EQ(ProgramMessageText(code, 7), "") << code;
}

TEST(ProgramMessage, AFileNotWrittenIsSaidOnALineOfItsOwn) {
  for (int code : {2, 3, 5, 6, 7, 8, 9}) {
    const std::string message = ProgramMessageText(code, 0);
    EXPECT_TRUE(message.ends_with("\n" + std::string(text::kNotExported))) << code;
  }
}

TEST(ProgramMessage, UtilityGetsTheCodeLessOneHundredAndAPositiveNumber) {
  EXPECT_EQ(MessageUtilityParameters(113, 0), "13");
  EXPECT_EQ(MessageUtilityParameters(100, 0), "0");
  EXPECT_EQ(MessageUtilityParameters(108, 3), "8 3");
  EXPECT_EQ(MessageUtilityParameters(106, -1), "6");
}

}  // namespace
}  // namespace norv
