#pragma once
// What the options dialog's controls hold, named by the setting each one
// edits, and the rules that switch controls on and off.

#include <array>
#include <string>
#include <string_view>

#include "settings/products.h"
#include "settings/settings.h"

namespace norv {

struct OptionsForm {
  bool win = false, dkg = false, msg = false, snd = false;
  std::string wav;
  bool mod = false;
  int in1 = 0, in2 = 0;
  int tm1 = 0, tm2 = 0, tm3 = 0, tm4 = 0;
  int kid = 0;
  bool ldf = false, lpx = false;
  std::string lpa;
  std::string lpp;  // as shown: a stored "0" is an empty field
  bool csv = false, shp = false, dhp = false, chp = false, hlp = false;
  bool dml = false, cdm = false, ad4 = false, bc4 = false, elj = false;
  std::array<bool, 4> dm{}, cd{}, ad{}, bc{}, el{};
};

// One companion tab: the companion (its name, settings and registry names are
// in the product table) and the form's fields for its four options and its
// button.
struct CompanionTab {
  Product product;
  std::array<bool, 4> OptionsForm::*boxes;
  bool OptionsForm::*button;
};

// In tab order: Damson, Cedar, Alder, Birch, Elder (kCompanionOrder).
const std::array<CompanionTab, 5>& CompanionTabs();

// The caption of a companion tab's box 0..3.
std::string CompanionBoxCaption(std::string_view companionName, int box);

// Alder's tab and options exist only before Windows Vista (VersionCode 4).
bool AlderAvailable(int versionCode);

// The port as the field shows it.
std::string ShownPort(std::string_view storedPort);

OptionsForm FormFromSettings(const Settings& settings);

// Which controls take input in the current state of the form.
struct OptionsEnabling {
  bool soundFile = false;    // Label1, Edit1, Button5
  bool checkMethod = false;  // Label2, ComboBox1, Label20, ComboBox2, Label7, ComboBox7
  bool timeWindow = false;   // ComboBox3 to ComboBox6, Label3 to Label6
  bool proxyChoice = false;  // CheckBox7
  bool proxyServer = false;  // Label8, Label9, Edit2, Edit3
};

OptionsEnabling EnablingFor(const OptionsForm& form);

// The system's default connection settings leave no room for a proxy: ticking
// that box unticks the proxy box.
void SettleProxyChoice(OptionsForm& form);

}  // namespace norv
