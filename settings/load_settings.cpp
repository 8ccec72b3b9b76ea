#include "settings/load_settings.h"

#include <array>
#include <string_view>

#include "base/text_basics.h"
#include "settings/products.h"
#include "settings/setting_access.h"
#include "settings/setting_values.h"

namespace norv {

namespace {

constexpr int kThisRelease = 51;
constexpr int kCountedStarts = 60;

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
  for (const Product product : kCompanionOrder) {
    const ProductInfo& companion = InfoOf(product);
    s.*companion.buttonShown = read.Flag(companion.buttonSetting);
  }
}

// A companion that is not installed keeps its options off for the run,
// whatever is stored, so no export or launch is attempted for it.
// In the order of the settings table: dm0, cd0, ad0, bc0, el0, dm1, …
void ReadCompanionOptions(const OwnValueReader& read, const LoadEnvironment& env, Settings& s) {
  std::array<bool, kCompanionOrder.size()> installed{};
  for (std::size_t c = 0; c < installed.size(); ++c) {
    installed[c] = env.isCompanionInstalled && env.isCompanionInstalled(ProductId(kCompanionOrder[c]));
  }
  for (std::size_t option = 0; option < 4; ++option) {
    for (std::size_t c = 0; c < installed.size(); ++c) {
      const ProductInfo& companion = InfoOf(kCompanionOrder[c]);
      const std::string name = std::string(companion.optionPrefix) + static_cast<char>('0' + option);
      (s.*companion.options)[option] = installed[c] && read.Flag(name);
    }
  }
}

// A companion that does not run on this Windows (Alder from Vista on) keeps
// its options and button off; only memory changes, so the stored choice comes
// back on an older system.
void DisableWhatDoesNotRunHere(const LoadEnvironment& env, Settings& s) {
  for (const Product product : kCompanionOrder) {
    const ProductInfo& companion = InfoOf(product);
    if (RunsOnThisWindows(companion, env.versionCode)) continue;
    (s.*companion.options).fill(false);
    s.*companion.buttonShown = false;
  }
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
  DisableWhatDoesNotRunHere(environment, s);
  s.pox = PlaceLeftEdge(ReadPosition(storage, "pox", environment.horizontal), environment.horizontal);
  s.poy = PlaceTopEdge(ReadPosition(storage, "poy", environment.vertical), environment.vertical);
  return s;
}

void RecordStart(SettingsStorage& storage, Settings& s) {
  for (const ProductInfo& product : kProducts) {
    if (product.announced) s.*product.announced = ReadOwnStamp(storage, product.announcedName);
    if (product.installedVersion) s.*product.installedVersion = ReadCompanionVersion(storage, product.section);
  }
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
