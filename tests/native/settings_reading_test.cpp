#include <gtest/gtest.h>

#include <climits>

#include "settings/memory_storage.h"
#include "settings/setting_access.h"
#include "settings/settings.h"

namespace norv {
namespace {

TEST(SettingsReadingRule, DecimalTextIsTakenAsItsInteger) {
  EXPECT_EQ(TextToInteger("42", "1"), 42);
  EXPECT_EQ(TextToInteger("-3", "1"), -3);
  EXPECT_EQ(TextToInteger("0051", "0"), 51);
}

TEST(SettingsReadingRule, UnparsableTextFallsBackToTheDefault) {
  EXPECT_EQ(TextToInteger("abc", "5"), 5);
  EXPECT_EQ(TextToInteger("", "1"), 1);
  EXPECT_EQ(TextToInteger("7 ", "1"), 1);
  EXPECT_EQ(TextToInteger("99999999999", "1"), 1);
  EXPECT_EQ(TextToInteger("x", "also not a number"), 0);
}

TEST(SettingsReadingRule, AFlagIsAnyNonZeroInteger) {
  EXPECT_TRUE(TextToFlag("2", "0"));
  EXPECT_TRUE(TextToFlag("-1", "0"));
  EXPECT_FALSE(TextToFlag("0", "1"));
  EXPECT_TRUE(TextToFlag("yes", "1"));
  EXPECT_FALSE(TextToFlag("yes", "0"));
}

TEST(SettingsReadingRule, AbsentValueOrSectionGivesTheDefaultButStoredEmptyTextStays) {
  MemorySettingsStorage storage;
  storage.Write("T-NORV", "lpa", "");
  EXPECT_EQ(ReadSetting(storage, "T-NORV", "lpa", "dflt"), "");
  EXPECT_EQ(ReadSetting(storage, "T-NORV", "missing", "dflt"), "dflt");
  EXPECT_EQ(ReadIntegerSetting(storage, "NO-SUCH-SECTION", "now", "0"), 0);
  EXPECT_TRUE(ReadFlagSetting(storage, "T-NORV", "lpa", "1"));
}

TEST(SettingsDerivedValues, IndexesOutsideTheTablesSwitchTheIntervalOff) {
  Settings s;
  for (int index : {-1, 7, INT_MAX}) {
    s.in1 = s.in2 = s.kid = index;
    EXPECT_EQ(s.NormalIntervalMinutes(), 0) << index;
    EXPECT_EQ(s.WindowIntervalMinutes(), 0) << index;
    EXPECT_EQ(s.StartupDelayMs(), 0) << index;
  }
  s.in1 = s.in2 = s.kid = 6;
  EXPECT_EQ(s.NormalIntervalMinutes(), 90);
  EXPECT_EQ(s.WindowIntervalMinutes(), 30);
  EXPECT_EQ(s.StartupDelayMs(), 60000);
}

TEST(SettingsDerivedValues, AnEveningWindowDoesNotWrap) {
  Settings s;
  s.tm1 = 19, s.tm2 = 1, s.tm3 = 21, s.tm4 = 11;
  EXPECT_EQ(s.WindowStart(), 1905);
  EXPECT_EQ(s.WindowEnd(), 2155);
  EXPECT_FALSE(s.WindowWraps());
}

TEST(SettingsDerivedValues, AWindowPastMidnightOrWithEqualEndsWraps) {
  Settings s;
  s.tm1 = 22, s.tm2 = 0, s.tm3 = 2, s.tm4 = 6;
  EXPECT_TRUE(s.WindowWraps());
  s.tm3 = 22, s.tm4 = 0;
  EXPECT_TRUE(s.WindowWraps());
}

TEST(SettingsDerivedValues, HugeStoredTimesSaturateInsteadOfOverflowing) {
  Settings s;
  s.tm1 = INT_MAX, s.tm2 = INT_MAX, s.tm3 = INT_MIN, s.tm4 = 0;
  EXPECT_EQ(s.WindowStart(), INT_MAX);
  EXPECT_EQ(s.WindowEnd(), INT_MIN);
  EXPECT_TRUE(s.WindowWraps());
}

class FailingStorage : public MemorySettingsStorage {
 public:
  bool Write(std::string_view, std::string_view, std::string_view) override { return false; }
};

TEST(SettingsStoreIfChanged, AnEqualValueIsNotWritten) {
  MemorySettingsStorage storage;
  bool flag = true;
  int number = 3;
  std::string text = "proxy";
  EXPECT_EQ(StoreIfChanged(storage, "msg", flag, true), StoreResult::Unchanged);
  EXPECT_EQ(StoreIfChanged(storage, "in1", number, 3), StoreResult::Unchanged);
  EXPECT_EQ(StoreIfChanged(storage, "lpa", text, "proxy"), StoreResult::Unchanged);
  EXPECT_EQ(storage.WriteCount(), 0);
}

TEST(SettingsStoreIfChanged, AChangedValueIsWrittenInItsTextFormAndKeptInMemory) {
  MemorySettingsStorage storage;
  bool flag = true;
  int number = 3;
  int stamp = 51;
  EXPECT_EQ(StoreIfChanged(storage, "msg", flag, false), StoreResult::Written);
  EXPECT_EQ(StoreIfChanged(storage, "in1", number, 15), StoreResult::Written);
  EXPECT_EQ(StoreVersionStampIfChanged(storage, "new4", stamp, 21), StoreResult::Written);
  EXPECT_FALSE(flag);
  EXPECT_EQ(number, 15);
  EXPECT_EQ(stamp, 21);
  EXPECT_EQ(storage.Read("T-NORV", "msg"), "0");
  EXPECT_EQ(storage.Read("T-NORV", "in1"), "15");
  EXPECT_EQ(storage.Read("T-NORV", "new4"), "0021");
}

TEST(SettingsStoreIfChanged, ARefusedWriteIsReportedAsFailed) {
  FailingStorage storage;
  std::string wav = "a.wav";
  EXPECT_EQ(StoreIfChanged(storage, "wav", wav, "b.wav"), StoreResult::Failed);
  EXPECT_EQ(wav, "b.wav");
}

}  // namespace
}  // namespace norv
