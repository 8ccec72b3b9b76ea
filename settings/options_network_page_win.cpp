#include "resources/options_strings.h"
#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"

namespace norv {

using namespace options;

DialogTemplate NetworkPage::Layout() const {
  DialogTemplate page = EmptyPage();
  page.AddCheckBox(CheckBox6, text::kUseDefaultConnection, {10, 10, 316, 12});
  page.AddCheckBox(CheckBox7, text::kUseProxy, {10, 30, 316, 12});
  page.AddLabel(Label8, text::kProxyAddress, {24, 52, 44, 12});
  page.AddEdit(Edit2, {70, 50, 200, 14});
  page.AddLabel(Label9, text::kProxyPort, {24, 72, 44, 12});
  page.AddEdit(Edit3, {70, 70, 60, 14});
  return page;
}

void NetworkPage::Fill(const OptionsForm& form) {
  Check(CheckBox6, form.ldf);
  Check(CheckBox7, form.lpx);
  SetItemText(Edit2, form.lpa);
  SetItemText(Edit3, form.lpp);
  CheckBox6Click();
}

void NetworkPage::Collect(OptionsForm& form) const {
  form.ldf = IsChecked(CheckBox6);
  form.lpx = IsChecked(CheckBox7);
  form.lpa = ItemText(Edit2);
  form.lpp = ItemText(Edit3);
}

void NetworkPage::ShowPort(std::string_view port) { SetItemText(Edit3, port); }

void NetworkPage::OnCommand(int id, int code) {
  if (code != BN_CLICKED) {
    return;
  }
  if (id == CheckBox6) {
    CheckBox6Click();
  } else if (id == CheckBox7) {
    ApplyEnabling();
  }
}

void NetworkPage::CheckBox6Click() {
  OptionsForm form;
  Collect(form);
  SettleProxyChoice(form);
  Check(CheckBox7, form.lpx);
  ApplyEnabling();
}

void NetworkPage::ApplyEnabling() {
  OptionsForm form;
  Collect(form);
  const OptionsEnabling enabling = EnablingFor(form);
  EnableItem(CheckBox7, enabling.proxyChoice);
  for (int id : {Label8, Label9, Edit2, Edit3}) {
    EnableItem(id, enabling.proxyServer);
  }
}

}  // namespace norv
