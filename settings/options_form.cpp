#include "settings/options_form.h"

#include "resources/options_strings.h"

namespace norv {

namespace {

constexpr std::array<CompanionTab, 5> kTabs{{
    {Product::Damson, &OptionsForm::dm, &OptionsForm::dml},
    {Product::Cedar, &OptionsForm::cd, &OptionsForm::cdm},
    {Product::Alder, &OptionsForm::ad, &OptionsForm::ad4},
    {Product::Birch, &OptionsForm::bc, &OptionsForm::bc4},
    {Product::Elder, &OptionsForm::el, &OptionsForm::elj},
}};

constexpr bool InCompanionOrder() {
  for (std::size_t i = 0; i < kTabs.size(); ++i) {
    if (kTabs[i].product != kCompanionOrder[i]) return false;
  }
  return true;
}
static_assert(InCompanionOrder(), "the tabs follow the buttons' order");

}  // namespace

const std::array<CompanionTab, 5>& CompanionTabs() { return kTabs; }

std::string CompanionBoxCaption(std::string_view companionName, int box) {
  const std::string name(companionName);
  const std::string onUpdate(text::kOnUpdate);
  switch (box) {
    case 0:
      return onUpdate + name + std::string(text::kAlsoUpdateData);
    case 1:
      return onUpdate + name + std::string(text::kLaunch);
    case 2:
      return onUpdate + name + std::string(text::kLaunchCheckMode);
    default:
      return std::string(text::kListInTrayMenu);
  }
}

bool AlderAvailable(int versionCode) { return RunsOnThisWindows(InfoOf(Product::Alder), versionCode); }

std::string ShownPort(std::string_view storedPort) {
  return storedPort == "0" ? std::string() : std::string(storedPort);
}

OptionsForm FormFromSettings(const Settings& s) {
  OptionsForm form;
  form.win = s.win, form.dkg = s.dkg, form.msg = s.msg, form.snd = s.snd;
  form.wav = s.wav;
  form.mod = s.mod;
  form.in1 = s.in1, form.in2 = s.in2;
  form.tm1 = s.tm1, form.tm2 = s.tm2, form.tm3 = s.tm3, form.tm4 = s.tm4;
  form.kid = s.kid;
  form.ldf = s.ldf, form.lpx = s.lpx;
  form.lpa = s.lpa;
  form.lpp = ShownPort(s.lpp);
  form.csv = s.csv, form.shp = s.shp, form.dhp = s.dhp, form.chp = s.chp, form.hlp = s.hlp;
  for (const CompanionTab& tab : CompanionTabs()) {
    const ProductInfo& companion = InfoOf(tab.product);
    form.*tab.boxes = s.*companion.options;
    form.*tab.button = s.*companion.buttonShown;
  }
  return form;
}

OptionsEnabling EnablingFor(const OptionsForm& form) {
  OptionsEnabling enabling;
  enabling.soundFile = form.snd;
  enabling.checkMethod = form.mod;
  enabling.timeWindow = form.mod && form.in2 != 0;
  enabling.proxyChoice = !form.ldf;
  enabling.proxyServer = !form.ldf && form.lpx;
  return enabling;
}

void SettleProxyChoice(OptionsForm& form) {
  if (form.ldf) {
    form.lpx = false;
  }
}

}  // namespace norv
