#include "settings/options_form.h"

#include "resources/options_strings.h"

namespace norv {

const std::array<CompanionTab, 5>& CompanionTabs() {
  static const std::array<CompanionTab, 5> tabs = {{
      {4, "Damson", "dm", &Settings::dm, &OptionsForm::dm},
      {3, "Cedar", "cd", &Settings::cd, &OptionsForm::cd},
      {kAlderId, "Alder", "ad", &Settings::ad, &OptionsForm::ad},
      {2, "Birch", "bc", &Settings::bc, &OptionsForm::bc},
      {5, "Elder", "el", &Settings::el, &OptionsForm::el},
  }};
  return tabs;
}

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

bool AlderAvailable(int versionCode) { return versionCode < 4; }

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
  form.dml = s.dml, form.cdm = s.cdm, form.ad4 = s.ad4, form.bc4 = s.bc4, form.elj = s.elj;
  for (const CompanionTab& tab : CompanionTabs()) {
    form.*tab.boxes = s.*tab.options;
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
