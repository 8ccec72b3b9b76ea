#include "resources/options_strings.h"
#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"

namespace norv {

using namespace options;

namespace {

// The boxes in caption order, each with the flag it edits.
constexpr bool OptionsForm::*kButtonFlags[] = {&OptionsForm::csv, &OptionsForm::shp, &OptionsForm::dhp,
                                               &OptionsForm::chp, &OptionsForm::hlp, &OptionsForm::dml,
                                               &OptionsForm::cdm, &OptionsForm::ad4, &OptionsForm::bc4,
                                               &OptionsForm::elj};

}  // namespace

// Two columns: the page buttons on the left, the companions on the right.
DialogTemplate DisplayPage::Layout() const {
  DialogTemplate page = EmptyPage();
  page.AddGroupBox(GroupBox1, text::kButtonGroup, {8, 6, 320, 96});
  for (int i = 0; i < 10; ++i) {
    const short x = i < 5 ? 18 : 170;
    const short y = static_cast<short>(22 + 15 * (i % 5));
    page.AddCheckBox(CheckBox8 + i, text::kButtonBoxes[i], {x, y, 150, 12});
  }
  return page;
}

void DisplayPage::OnInitDialog() {
  if (!alderAvailable_) {
    ShowItem(CheckBox15, false);
  }
}

void DisplayPage::Fill(const OptionsForm& form) {
  for (int i = 0; i < 10; ++i) {
    Check(CheckBox8 + i, form.*kButtonFlags[i]);
  }
}

void DisplayPage::Collect(OptionsForm& form) const {
  for (int i = 0; i < 10; ++i) {
    form.*kButtonFlags[i] = IsChecked(CheckBox8 + i);
  }
}

}  // namespace norv
