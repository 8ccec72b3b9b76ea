#include <gtest/gtest.h>

#include "tests/native/recording_storage.h"

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "settings/first_run.h"
#include "settings/load_settings.h"
#include "settings/memory_storage.h"
#include "settings/window_position.h"

namespace norv {
namespace {

constexpr char kFolder[] = "C:\\Program Files\\Norvale\\";
constexpr int kAlder = 1, kDamson = 4;

class SettingsLoad : public ::testing::Test {
 protected:
  SettingsLoad() {
    env.programFolder = kFolder;
    env.versionCode = 3;
    env.isCompanionInstalled = [this](int id) { return installed.count(id) > 0; };
    env.horizontal = {600, 4, 1280};
    env.vertical = {500, 4, 1024};
  }
  void Own(std::string_view name, std::string_view text) { storage.Write("T-NORV", name, text); }
  std::string Stored(std::string_view name) const { return storage.Read("T-NORV", name).value_or("<absent>"); }
  Settings Load() const { return LoadSettings(storage, env); }

  RecordingStorage storage;
  LoadEnvironment env;
  std::set<int> installed;
};

TEST_F(SettingsLoad, AFirstStartGivesAPlainWindowWithTheEveningSchedule) {
  ASSERT_TRUE(RunFirstRunStep(storage, kFolder));
  const Settings s = Load();
  EXPECT_FALSE(s.mod);
  EXPECT_EQ(s.NormalIntervalMinutes(), 60);
  EXPECT_EQ(s.WindowIntervalMinutes(), 5);
  EXPECT_EQ(s.WindowStart(), 1900);
  EXPECT_EQ(s.WindowEnd(), 2100);
  EXPECT_FALSE(s.WindowWraps());
  EXPECT_EQ(s.StartupDelayMs(), 3000);
  EXPECT_FALSE(s.snd);
  EXPECT_TRUE(s.msg);
  EXPECT_FALSE(s.win);
  EXPECT_FALSE(s.dkg);
  EXPECT_TRUE(s.ldf);
  EXPECT_EQ(s.lpp, "0");
  EXPECT_EQ(s.wav, std::string(kFolder) + "norv.wav");
  for (bool shown : {s.csv, s.shp, s.dhp, s.chp, s.hlp, s.dml, s.cdm, s.ad4, s.bc4, s.elj}) {
    EXPECT_TRUE(shown);
  }
}

TEST_F(SettingsLoad, AFirstStartWritesOptionsThenBookkeepingAndNoPosition) {
  ASSERT_TRUE(RunFirstRunStep(storage, kFolder));
  const std::vector<std::string>& w = storage.written;
  ASSERT_EQ(w.size(), 55u);
  EXPECT_EQ(w.front(), "win");
  EXPECT_EQ(w[26], "elj");
  EXPECT_EQ(w[27], "dm0");
  EXPECT_EQ(w[28], "cd0");
  EXPECT_EQ(w[46], "el3");
  EXPECT_EQ(std::vector<std::string>(w.begin() + 47, w.end()),
            (std::vector<std::string>{"now", "new2", "new3", "new4", "new5", "new6", "new", "cnt"}));
  EXPECT_EQ(Stored("pox"), "<absent>");
  EXPECT_EQ(Stored("poy"), "<absent>");
  EXPECT_EQ(Stored("new1"), "<absent>");
  EXPECT_EQ(Stored("now"), "0051");
  EXPECT_EQ(Stored("new4"), "0000");
  EXPECT_EQ(Stored("lpa"), "");
  EXPECT_EQ(Stored("tm1"), "19");
}

TEST_F(SettingsLoad, AnExistingWinValueMeansNoFirstRun) {
  Own("win", "0");
  EXPECT_FALSE(RunFirstRunStep(storage, kFolder));
  EXPECT_EQ(storage.written.size(), 1u);
}

TEST_F(SettingsLoad, AnEmptyWinValueCountsAsAFirstStart) {
  Own("win", "");
  EXPECT_TRUE(RunFirstRunStep(storage, kFolder));
  EXPECT_EQ(Stored("win"), "0");
}

TEST_F(SettingsLoad, DeletedValuesBesideWinTakeTheMissingDefaults) {
  Own("win", "1");
  const Settings s = Load();
  EXPECT_TRUE(s.win);
  EXPECT_TRUE(s.snd);
  EXPECT_TRUE(s.msg);
  EXPECT_EQ(s.WindowStart(), 105);
  EXPECT_EQ(s.WindowEnd(), 105);
  EXPECT_TRUE(s.WindowWraps());
  EXPECT_EQ(s.NormalIntervalMinutes(), 5);
  EXPECT_EQ(s.WindowIntervalMinutes(), 1);
  EXPECT_EQ(s.StartupDelayMs(), 1000);
  EXPECT_EQ(s.lpp, "");
  EXPECT_EQ(s.wav, std::string(kFolder) + "norv.wav");
}

TEST_F(SettingsLoad, TextValuesAreTakenAsStored) {
  Own("lpp", "0");
  Own("lpa", "proxy.example 8080");
  Own("wav", "D:\\サウンド\\鐘.wav");
  const Settings s = Load();
  EXPECT_EQ(s.lpp, "0");
  EXPECT_EQ(s.lpa, "proxy.example 8080");
  EXPECT_EQ(s.wav, "D:\\サウンド\\鐘.wav");
}

TEST_F(SettingsLoad, UnparsableNumbersTakeTheMissingDefault) {
  Own("in1", "often");
  Own("snd", "no");
  const Settings s = Load();
  EXPECT_EQ(s.in1, 1);
  EXPECT_TRUE(s.snd);
}

TEST_F(SettingsLoad, CompanionOptionsCountOnlyForInstalledCompanions) {
  installed = {kDamson};
  for (const char* name : {"dm0", "dm3", "cd0", "cd1", "bc2", "el3"}) {
    Own(name, "1");
  }
  const Settings s = Load();
  EXPECT_EQ(s.dm, (std::array<bool, 4>{true, false, false, true}));
  EXPECT_EQ(s.cd, (std::array<bool, 4>{}));
  EXPECT_EQ(s.bc, (std::array<bool, 4>{}));
  EXPECT_EQ(s.el, (std::array<bool, 4>{}));
}

TEST_F(SettingsLoad, AlderIsOffFromVistaOnWithoutTouchingTheStoredValues) {
  installed = {kAlder};
  for (const char* name : {"ad0", "ad1", "ad2", "ad3", "ad4"}) {
    Own(name, "1");
  }
  env.versionCode = 4;
  const Settings vista = Load();
  EXPECT_EQ(vista.ad, (std::array<bool, 4>{}));
  EXPECT_FALSE(vista.ad4);
  EXPECT_EQ(Stored("ad4"), "1");
  EXPECT_EQ(Stored("ad0"), "1");

  env.versionCode = 3;
  const Settings xp = Load();
  EXPECT_EQ(xp.ad, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_TRUE(xp.ad4);
}

TEST_F(SettingsLoad, AnAbsentPositionCentresTheWindow) {
  const Settings s = Load();
  EXPECT_EQ(s.pox, (1280 - 608) / 2);
  EXPECT_EQ(s.poy, (1024 - 508) / 2);
}

TEST_F(SettingsLoad, AStoredPositionOffTheWorkAreaIsPulledBack) {
  Own("pox", "-500");
  Own("poy", "5000");
  const Settings s = Load();
  EXPECT_EQ(s.pox, 3);
  EXPECT_EQ(s.poy, 4 + 1024 - 508 - 1);
}

TEST_F(SettingsLoad, AFreshStartRaisesTheStampsAndCountsOne) {
  storage.Write("BIRCH", "now", "0030");
  storage.Write("FENNEL", "now", "0011");
  Settings s = Load();
  RecordStart(storage, s);
  EXPECT_EQ(s.now, 51);
  EXPECT_EQ(s.newest, 51);
  EXPECT_EQ(s.birchNow, 30);
  EXPECT_EQ(s.fennelNow, 11);
  EXPECT_EQ(s.cedarNow, 0);
  EXPECT_EQ(s.cnt, 1);
  EXPECT_EQ(Stored("now"), "0051");
  EXPECT_EQ(Stored("new"), "0051");
  EXPECT_EQ(Stored("cnt"), "1");
}

TEST_F(SettingsLoad, NewerStampsAreKeptAndNotRewritten) {
  Own("now", "0060");
  Own("new", "0052");
  Own("new3", "0021");
  Own("cnt", "60");
  storage.written.clear();
  Settings s = Load();
  RecordStart(storage, s);
  EXPECT_EQ(s.now, 60);
  EXPECT_EQ(s.newest, 52);
  EXPECT_EQ(s.new3, 21);
  EXPECT_EQ(s.cnt, 60);
  EXPECT_TRUE(storage.written.empty());
}

TEST_F(SettingsLoad, TheStartCounterStopsAtSixty) {
  Own("cnt", "59");
  Settings s = Load();
  RecordStart(storage, s);
  EXPECT_EQ(Stored("cnt"), "60");
  RecordStart(storage, s);
  EXPECT_EQ(Stored("cnt"), "60");
}

TEST_F(SettingsLoad, ADamagedStartCounterStartsOverInsteadOfStoppingStartUp) {
  Own("cnt", "lots");
  Settings s = Load();
  RecordStart(storage, s);
  EXPECT_EQ(s.cnt, 1);
  EXPECT_EQ(Stored("cnt"), "1");
}

const EdgeMetrics kEdge{600, 4, 1280};  // outer size 608

TEST(WindowPosition, APositionInsideTheWorkAreaIsKept) {
  EXPECT_EQ(PlaceLeftEdge(100, kEdge), 100);
  EXPECT_EQ(PlaceTopEdge(100, kEdge), 100);
  EXPECT_EQ(PlaceLeftEdge(3, kEdge), 3);
}

TEST(WindowPosition, APositionLeftOrAboveTheWorkAreaGoesToTheBorder) {
  EXPECT_EQ(PlaceLeftEdge(2, kEdge), 3);
  EXPECT_EQ(PlaceTopEdge(INT_MIN, kEdge), 3);
}

TEST(WindowPosition, TheTopRuleKeepsOneMorePixelThanTheLeftRule) {
  const int flush = 1280 - 608 + 4;  // right edge exactly at the work area's edge
  EXPECT_EQ(PlaceLeftEdge(flush, kEdge), flush);
  EXPECT_EQ(PlaceLeftEdge(flush + 1, kEdge), flush);
  EXPECT_EQ(PlaceTopEdge(flush - 1, kEdge), flush - 1);
  EXPECT_EQ(PlaceTopEdge(flush, kEdge), flush - 1);
  EXPECT_EQ(PlaceTopEdge(INT_MAX, kEdge), flush - 1);
}

TEST(WindowPosition, AWorkAreaNoWiderThanTheWindowPutsItAtTheBorder) {
  const EdgeMetrics narrow{600, 4, 608};
  EXPECT_EQ(PlaceLeftEdge(CentredEdge(narrow), narrow), 3);
  EXPECT_EQ(PlaceTopEdge(50, narrow), 3);
  EXPECT_EQ(PlaceLeftEdge(50, {600, 4, 400}), 3);
}

TEST(WindowPosition, TheCentredDefaultIsTruncatedTowardZero) {
  EXPECT_EQ(CentredEdge({600, 4, 1281}), 336);
  EXPECT_EQ(CentredEdge({600, 4, 605}), -1);
}

}  // namespace
}  // namespace norv
