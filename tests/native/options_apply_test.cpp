#include <gtest/gtest.h>

#include "tests/native/recording_storage.h"

#include <set>
#include <string>
#include <vector>

#include "settings/memory_storage.h"
#include "settings/options_apply.h"
#include "settings/options_form.h"

namespace norv {
namespace {

class OptionsApply : public ::testing::Test {
 protected:
  OptionsApply() {
    settings.wav = "C:\\Norvale\\norv.wav";
    settings.lpp = "0";
    env.fileExists = [this](const std::string& path) { return files.count(path) > 0; };
    env.setStartupEntry = [this](bool start) { startupCalls.push_back(start); };
    form = FormFromSettings(settings);
  }
  ApplyOutcome Apply() {
    storage.written.clear();
    return ApplyOptions(form, settings, storage, env);
  }
  std::string Stored(std::string_view name) const { return storage.Read("T-NORV", name).value_or("<absent>"); }

  Settings settings;
  RecordingStorage storage;
  ApplyEnvironment env;
  std::set<std::string> files;
  std::vector<bool> startupCalls;
  OptionsForm form;
};

TEST_F(OptionsApply, AnUntouchedFormWritesNothing) {
  settings.mod = true;
  settings.lpa = "proxy.example";
  settings.lpp = "8080";
  settings.dm = {true, false, true, false};
  form = FormFromSettings(settings);

  const ApplyOutcome outcome = Apply();

  EXPECT_TRUE(storage.written.empty());
  EXPECT_TRUE(startupCalls.empty());
  EXPECT_FALSE(outcome.restartNeeded);
  EXPECT_FALSE(outcome.soundFileRefused);
  EXPECT_FALSE(outcome.portRefused);
}

TEST_F(OptionsApply, ChangedValuesAreStoredInTheFixedOrderAndOnlyOnce) {
  files.insert("D:\\chime.wav");
  form.win = true, form.dkg = true, form.msg = false, form.snd = false;
  form.wav = "D:\\chime.wav";
  form.in1 = 5, form.in2 = 3, form.tm1 = 19, form.tm2 = 0, form.tm3 = 21, form.tm4 = 1, form.kid = 2;
  form.ldf = false, form.lpx = true, form.lpa = "proxy", form.lpp = "3128";
  form.csv = false, form.elj = false;
  form.dm[0] = true, form.el[3] = true;

  Apply();

  const std::vector<std::string> expected = {"win", "dkg", "msg", "snd", "wav", "in1", "in2", "tm1", "tm2", "tm3",
                                             "kid", "ldf", "lpx", "lpa", "lpp", "csv", "elj", "dm0", "el3"};
  EXPECT_EQ(storage.written, expected);
  EXPECT_EQ(Stored("tm4"), "<absent>") << "tm4 was 1 already";
  EXPECT_EQ(settings.WindowStart(), 1900);
  EXPECT_EQ(settings.WindowEnd(), 2105);
  EXPECT_EQ(settings.NormalIntervalMinutes(), 60);
  EXPECT_EQ(settings.WindowIntervalMinutes(), 5);

  Apply();
  EXPECT_TRUE(storage.written.empty()) << "a second apply without changes writes nothing";
}

TEST_F(OptionsApply, TheStartupEntryFollowsOnlyAChangeOfTheFlag) {
  form.win = true;
  Apply();
  Apply();
  form.win = false;
  Apply();
  EXPECT_EQ(startupCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(Stored("win"), "0");
}

TEST_F(OptionsApply, ABareEntryOfAnEarlierReleaseIsRewrittenWhileTheBoxStaysTicked) {
  bool bare = true;
  env.startupEntryIsBare = [&] { return bare; };
  settings.win = true;
  form = FormFromSettings(settings);
  Apply();
  EXPECT_EQ(startupCalls, (std::vector<bool>{true}));
  EXPECT_TRUE(storage.written.empty()) << "win itself is unchanged";

  bare = false;
  Apply();
  EXPECT_EQ(startupCalls, (std::vector<bool>{true})) << "a quoted entry is left alone";

  bare = true;
  settings.win = form.win = false;
  Apply();
  EXPECT_EQ(startupCalls, (std::vector<bool>{true})) << "nor is any entry while the box is clear";
}

TEST_F(OptionsApply, ResidencyIsWrittenButTheRunningModeStays) {
  form.mod = true;

  EXPECT_TRUE(Apply().restartNeeded);
  EXPECT_EQ(Stored("mod"), "1");
  EXPECT_FALSE(settings.mod);

  // Answered No: every later apply in the same dialog asks again.
  EXPECT_TRUE(Apply().restartNeeded);
  EXPECT_EQ(storage.written, std::vector<std::string>{"mod"});

  form.mod = false;
  EXPECT_FALSE(Apply().restartNeeded);
  EXPECT_TRUE(storage.written.empty());
}

TEST_F(OptionsApply, ADialogOpenedAfterANoShowsTheRunningModeAndKeepsTheStoredOne) {
  form.mod = true;
  Apply();

  form = FormFromSettings(settings);
  EXPECT_FALSE(form.mod);
  EXPECT_FALSE(Apply().restartNeeded);
  EXPECT_EQ(Stored("mod"), "1");
}

TEST_F(OptionsApply, ASoundFileMustExistAndEndInWav) {
  files = {"D:\\a.mp3", "D:\\b.WaV", "D:\\wav"};
  for (const char* refused : {"D:\\missing.wav", "D:\\a.mp3", "D:\\wav", "", "   "}) {
    form.wav = refused;
    const ApplyOutcome outcome = Apply();
    EXPECT_TRUE(outcome.soundFileRefused) << refused;
    EXPECT_EQ(form.wav, "C:\\Norvale\\norv.wav") << refused;
    EXPECT_TRUE(storage.written.empty()) << refused;
  }

  form.wav = "  D:\\b.WaV\t";
  EXPECT_FALSE(Apply().soundFileRefused);
  EXPECT_EQ(Stored("wav"), "D:\\b.WaV");
  EXPECT_EQ(settings.wav, "D:\\b.WaV");

  Apply();
  EXPECT_TRUE(storage.written.empty()) << "blanks around the stored path are no change";
}

TEST_F(OptionsApply, ClearingThePortStoresZeroOnlyWhenAPortWasStored) {
  form.lpp = "  ";
  Apply();
  EXPECT_TRUE(storage.written.empty());

  settings.lpp = "8080";
  form.lpp = "";
  Apply();
  EXPECT_EQ(Stored("lpp"), "0");
  EXPECT_EQ(settings.lpp, "0");
}

TEST_F(OptionsApply, APortThatIsNoNumberGetsTheStoredValueBack) {
  settings.lpp = "8080";
  for (const char* refused : {"abc", "-1", "80 80", "0x50", "70000", "-8"}) {
    form.lpp = refused;
    EXPECT_TRUE(Apply().portRefused) << refused;
    EXPECT_EQ(form.lpp, "8080") << refused;
    EXPECT_TRUE(storage.written.empty()) << refused;
  }

  settings.lpp = "0";
  form.lpp = "abc";
  Apply();
  EXPECT_EQ(form.lpp, "") << "a stored 0 is shown as an empty field";
}

TEST_F(OptionsApply, APortIsStoredAsPlainDecimal) {
  form.lpp = " +0080 ";
  Apply();
  EXPECT_EQ(Stored("lpp"), "80");
  EXPECT_EQ(PortToStore("65535"), "65535");
}

TEST_F(OptionsApply, TickingTheDefaultConnectionStoresTheProxyOff) {
  settings.ldf = false;
  settings.lpx = true;
  form = FormFromSettings(settings);

  form.ldf = true;
  SettleProxyChoice(form);
  Apply();

  EXPECT_EQ(Stored("ldf"), "1");
  EXPECT_EQ(Stored("lpx"), "0");
}

TEST_F(OptionsApply, WithoutAlderItsValuesAreNeverChanged) {
  env.alderAvailable = false;
  form.ad4 = false;
  form.ad = {true, true, true, true};
  form.bc[1] = true;

  Apply();

  EXPECT_EQ(storage.written, std::vector<std::string>{"bc1"});
  EXPECT_TRUE(settings.ad4);
  EXPECT_EQ(settings.ad, (std::array<bool, 4>{}));
  EXPECT_TRUE(AlderAvailable(3));
  EXPECT_FALSE(AlderAvailable(4));
}

TEST(OptionsForm, AStoredZeroPortShowsAsAnEmptyField) {
  Settings settings;
  settings.lpp = "0";
  EXPECT_EQ(FormFromSettings(settings).lpp, "");
  settings.lpp = "8080";
  EXPECT_EQ(FormFromSettings(settings).lpp, "8080");
}

TEST(OptionsForm, CompanionBoxesFollowTheirTabs) {
  Settings settings;
  settings.dm[0] = true;
  settings.el[3] = true;
  const OptionsForm form = FormFromSettings(settings);
  EXPECT_EQ(form.dm, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(form.el, (std::array<bool, 4>{false, false, false, true}));
  EXPECT_EQ(ProductId(CompanionTabs()[0].product), 4);
  EXPECT_EQ(CompanionBoxCaption("Damson", 0), "DATA更新時にDamsonのDATAも同時更新する");
  EXPECT_EQ(CompanionBoxCaption("Elder", 2), "DATA更新時にElderを当選番号チェックモードで起動＆実行する");
}

TEST(OptionsEnablingRules, TheTimeWindowNeedsResidencyAndAWindowInterval) {
  OptionsForm form;
  form.mod = true;
  form.in2 = 0;
  EXPECT_TRUE(EnablingFor(form).checkMethod);
  EXPECT_FALSE(EnablingFor(form).timeWindow);
  form.in2 = 3;
  EXPECT_TRUE(EnablingFor(form).timeWindow);
  form.mod = false;
  EXPECT_FALSE(EnablingFor(form).checkMethod);
  EXPECT_FALSE(EnablingFor(form).timeWindow);
}

TEST(OptionsEnablingRules, TheDefaultConnectionLocksTheProxyOut) {
  OptionsForm form;
  form.ldf = false;
  form.lpx = true;
  EXPECT_TRUE(EnablingFor(form).proxyChoice);
  EXPECT_TRUE(EnablingFor(form).proxyServer);
  form.ldf = true;
  SettleProxyChoice(form);
  EXPECT_FALSE(form.lpx);
  EXPECT_FALSE(EnablingFor(form).proxyChoice);
  EXPECT_FALSE(EnablingFor(form).proxyServer);
}

}  // namespace
}  // namespace norv
