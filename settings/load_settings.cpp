#include "settings/load_settings.h"

#include <array>
#include <string_view>

#include "base/text_basics.h"
#include "settings/setting_access.h"
#include "settings/setting_values.h"

namespace norv {

namespace {

constexpr int kAlderId = 1;
constexpr int kFirstVistaVersionCode = 4;
constexpr int kThisRelease = 51;
constexpr int kCountedStarts = 60;

struct CompanionOptions {
  int id;
  std::string_view prefix;
  std::array<bool, 4> Settings::*flags;
};

// In the order of the settings table: dm0, cd0, ad0, bc0, el0, dm1, …
constexpr CompanionOptions kCompanionOptions[] = {
    {4, "dm", &Settings::dm}, {3, "cd", &Settings::cd}, {1, "ad", &Settings::ad},
    {2, "bc", &Settings::bc}, {5, "el", &Settings::el},
};

class OwnValueReader {
 public:
  OwnValueReader(const SettingsStorage& storage, std::string_view programFolder)
      : storage_(storage), programFolder_(programFolder) {}

  bool Flag(std::string_view name) const {
    return ReadFlagSetting(storage_, kSettingsSection, name, MissingText(name, programFolder_));
  }
  int Integer(std::string_view name) const {
    return ReadIntegerSetting(storage_, kSettingsSection, name, MissingText(name, programFolder_));
  }
  std::string Text(std::string_view name) const {
    return ReadSetting(storage_, kSettingsSection, name, MissingText(name, programFolder_));
  }

 private:
  const SettingsStorage& storage_;
  std::string_view programFolder_;
};

void ReadGeneralOptions(const OwnValueReader& read, Settings& s) {
  s.win = read.Flag("win");
  s.dkg = read.Flag("dkg");
  s.msg = read.Flag("msg");
  s.snd = read.Flag("snd");
  s.wav = read.Text("wav");
  s.mod = read.Flag("mod");
  s.in1 = read.Integer("in1");
  s.in2 = read.Integer("in2");
  s.tm1 = read.Integer("tm1");
  s.tm2 = read.Integer("tm2");
  s.tm3 = read.Integer("tm3");
  s.tm4 = read.Integer("tm4");
  s.kid = read.Integer("kid");
  s.ldf = read.Flag("ldf");
  s.lpx = read.Flag("lpx");
  s.lpa = read.Text("lpa");
  s.lpp = read.Text("lpp");
}

void ReadButtonOptions(const OwnValueReader& read, Settings& s) {
  s.csv = read.Flag("csv");
  s.shp = read.Flag("shp");
  s.dhp = read.Flag("dhp");
  s.chp = read.Flag("chp");
  s.hlp = read.Flag("hlp");
  s.dml = read.Flag("dml");
  s.cdm = read.Flag("cdm");
  s.ad4 = read.Flag("ad4");
  s.bc4 = read.Flag("bc4");
  s.elj = read.Flag("elj");
}

// A companion that is not installed keeps its options off for the run,
// whatever is stored, so no export or launch is attempted for it.
void ReadCompanionOptions(const OwnValueReader& read, const LoadEnvironment& env, Settings& s) {
  std::array<bool, std::size(kCompanionOptions)> installed{};
  for (std::size_t c = 0; c < installed.size(); ++c) {
    installed[c] = env.isCompanionInstalled && env.isCompanionInstalled(kCompanionOptions[c].id);
  }
  for (std::size_t option = 0; option < 4; ++option) {
    for (std::size_t c = 0; c < installed.size(); ++c) {
      const CompanionOptions& companion = kCompanionOptions[c];
      const std::string name = std::string(companion.prefix) + static_cast<char>('0' + option);
      (s.*companion.flags)[option] = installed[c] && read.Flag(name);
    }
  }
}

// Alder does not run on Vista and later; only memory changes, so the stored
// choice comes back on an older system.
void DisableAlderFromVista(const LoadEnvironment& env, Settings& s) {
  if (env.versionCode < kFirstVistaVersionCode) {
    return;
  }
  s.ad.fill(false);
  s.ad4 = false;
}

int ReadPosition(const SettingsStorage& storage, std::string_view name, const EdgeMetrics& metrics) {
  return ReadIntegerSetting(storage, kSettingsSection, name, IntegerText(CentredEdge(metrics)));
}

int ReadCompanionVersion(const SettingsStorage& storage, std::string_view section) {
  return ReadIntegerSetting(storage, section, "now", "0");
}

int ReadOwnStamp(const SettingsStorage& storage, std::string_view name) {
  return ReadIntegerSetting(storage, kSettingsSection, name, "0");
}

// The counter has no numeric fallback of its own; a damaged value counts as
// no starts so start-up goes on and the counter repairs itself.
void CountStart(SettingsStorage& storage, Settings& s) {
  s.cnt = ParseInteger(ReadSetting(storage, kSettingsSection, "cnt", "0")).value_or(0);
  if (s.cnt < kCountedStarts) {
    ++s.cnt;
    WriteSetting(storage, "cnt", IntegerText(s.cnt));
  }
}

}  // namespace

Settings LoadSettings(const SettingsStorage& storage, const LoadEnvironment& environment) {
  const OwnValueReader read(storage, environment.programFolder);
  Settings s;
  ReadGeneralOptions(read, s);
  ReadButtonOptions(read, s);
  ReadCompanionOptions(read, environment, s);
  DisableAlderFromVista(environment, s);
  s.pox = PlaceLeftEdge(ReadPosition(storage, "pox", environment.horizontal), environment.horizontal);
  s.poy = PlaceTopEdge(ReadPosition(storage, "poy", environment.vertical), environment.vertical);
  return s;
}

void RecordStart(SettingsStorage& storage, Settings& s) {
  s.new2 = ReadOwnStamp(storage, "new2");
  s.birchNow = ReadCompanionVersion(storage, kBirchSection);
  s.new3 = ReadOwnStamp(storage, "new3");
  s.cedarNow = ReadCompanionVersion(storage, kCedarSection);
  s.new4 = ReadOwnStamp(storage, "new4");
  s.damsonNow = ReadCompanionVersion(storage, kDamsonSection);
  s.new5 = ReadOwnStamp(storage, "new5");
  s.elderNow = ReadCompanionVersion(storage, kElderSection);
  s.new6 = ReadOwnStamp(storage, "new6");
  s.fennelNow = ReadCompanionVersion(storage, kFennelSection);
  s.newest = ReadOwnStamp(storage, "new");
  s.now = ReadOwnStamp(storage, "now");
  if (s.now < kThisRelease) {
    s.now = kThisRelease;
    WriteSetting(storage, "now", VersionStampText(kThisRelease));
  }
  if (s.newest < kThisRelease) {
    s.newest = kThisRelease;
    WriteSetting(storage, "new", VersionStampText(kThisRelease));
  }
  CountStart(storage, s);
}

}  // namespace norv
