#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"

namespace norv {

using namespace options;

DialogTemplate CompanionPage::Layout() const {
  DialogTemplate page = EmptyPage();
  const std::string_view name = InfoOf(CompanionTabs()[tab_].product).name;
  for (int box = 0; box < 4; ++box) {
    page.AddCheckBox(FirstCompanionBox(tab_) + box, CompanionBoxCaption(name, box),
                     {10, static_cast<short>(10 + 18 * box), 316, 12});
  }
  return page;
}

// Boxes ticked by filling go through the installation test as the user's
// ticks do, so a companion removed since the start cannot stay ticked.
void CompanionPage::Fill(const OptionsForm& form) {
  const auto& boxes = form.*CompanionTabs()[tab_].boxes;
  for (int box = 0; box < 4; ++box) {
    Check(FirstCompanionBox(tab_) + box, boxes[box]);
  }
  for (int box = 0; box < 4; ++box) {
    if (boxes[box]) {
      BoxTicked(FirstCompanionBox(tab_) + box);
    }
  }
}

void CompanionPage::Collect(OptionsForm& form) const {
  auto& boxes = form.*CompanionTabs()[tab_].boxes;
  for (int box = 0; box < 4; ++box) {
    boxes[box] = IsChecked(FirstCompanionBox(tab_) + box);
  }
}

void CompanionPage::OnCommand(int id, int code) {
  const int first = FirstCompanionBox(tab_);
  if (code == BN_CLICKED && id >= first && id < first + 4 && IsChecked(id)) {
    BoxTicked(id);
  }
}

void CompanionPage::BoxTicked(int id) {
  if (!host_.IsCompanionInstalled(ProductId(CompanionTabs()[tab_].product), true)) {
    Check(id, false);
  }
}

}  // namespace norv
