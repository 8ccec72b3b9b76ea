#include <array>
#include <string>
#include <string_view>

#include "resources/options_strings.h"
#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"

namespace norv {

using namespace options;

namespace {

constexpr int kTimeWindowControls[] = {ComboBox3, ComboBox4, ComboBox5, ComboBox6, Label3, Label4, Label5, Label6};
constexpr int kCheckMethodControls[] = {Label2, ComboBox1, Label20, ComboBox2, Label7, ComboBox7};

std::array<std::string, 24> HourItems() {
  std::array<std::string, 24> items;
  for (int hour = 0; hour < 24; ++hour) {
    items[hour] = {static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10)};
  }
  return items;
}

std::array<std::string, 12> MinuteItems() {
  std::array<std::string, 12> items;
  for (int step = 0; step < 12; ++step) {
    const int minute = step * 5;
    items[step] = {static_cast<char>('0' + minute / 10), static_cast<char>('0' + minute % 10)};
  }
  return items;
}

template <std::size_t N>
std::array<std::string_view, N> Views(const std::array<std::string, N>& texts) {
  std::array<std::string_view, N> views;
  for (std::size_t i = 0; i < N; ++i) {
    views[i] = texts[i];
  }
  return views;
}

}  // namespace

DialogTemplate CheckMethodPage::Layout() const {
  DialogTemplate page = EmptyPage();
  page.AddCheckBox(CheckBox5, text::kResident, {10, 10, 316, 12});
  page.AddLabel(Label2, text::kNormalInterval, {16, 34, 170, 12});
  page.AddDropDownList(ComboBox1, {190, 32, 70, 120});
  page.AddLabel(Label20, text::kWindowInterval, {16, 54, 170, 12});
  page.AddDropDownList(ComboBox2, {190, 52, 70, 120});
  page.AddDropDownList(ComboBox3, {40, 74, 38, 120});
  page.AddLabel(Label3, text::kHour, {81, 76, 14, 12});
  page.AddDropDownList(ComboBox4, {97, 74, 38, 120});
  page.AddLabel(Label4, text::kMinuteTo, {138, 76, 30, 12});
  page.AddDropDownList(ComboBox5, {170, 74, 38, 120});
  page.AddLabel(Label5, text::kHour, {211, 76, 14, 12});
  page.AddDropDownList(ComboBox6, {227, 74, 38, 120});
  page.AddLabel(Label6, text::kMinute, {268, 76, 16, 12});
  page.AddLabel(Label7, text::kStartupCheck, {16, 100, 170, 12});
  page.AddDropDownList(ComboBox7, {190, 98, 70, 120});
  return page;
}

void CheckMethodPage::OnInitDialog() {
  AddItems(ComboBox1, text::kNormalIntervalItems);
  AddItems(ComboBox2, text::kWindowIntervalItems);
  const auto hours = HourItems();
  const auto minutes = MinuteItems();
  for (int id : {ComboBox3, ComboBox5}) {
    AddItems(id, Views(hours));
  }
  for (int id : {ComboBox4, ComboBox6}) {
    AddItems(id, Views(minutes));
  }
  AddItems(ComboBox7, text::kStartupCheckItems);
}

void CheckMethodPage::Fill(const OptionsForm& form) {
  filled_ = form;
  Check(CheckBox5, form.mod);
  Select(ComboBox1, form.in1);
  Select(ComboBox2, form.in2);
  Select(ComboBox3, form.tm1);
  Select(ComboBox4, form.tm2);
  Select(ComboBox5, form.tm3);
  Select(ComboBox6, form.tm4);
  Select(ComboBox7, form.kid);
  ApplyEnabling();
}

// A value edited outside the program can be beyond the list; the box then
// shows nothing, and the stored value stays rather than becoming -1.
int CheckMethodPage::SelectionOr(int id, int filled) const {
  const int selected = Selection(id);
  return selected == CB_ERR ? filled : selected;
}

void CheckMethodPage::Collect(OptionsForm& form) const {
  form.mod = IsChecked(CheckBox5);
  form.in1 = SelectionOr(ComboBox1, filled_.in1);
  form.in2 = SelectionOr(ComboBox2, filled_.in2);
  form.tm1 = SelectionOr(ComboBox3, filled_.tm1);
  form.tm2 = SelectionOr(ComboBox4, filled_.tm2);
  form.tm3 = SelectionOr(ComboBox5, filled_.tm3);
  form.tm4 = SelectionOr(ComboBox6, filled_.tm4);
  form.kid = SelectionOr(ComboBox7, filled_.kid);
}

void CheckMethodPage::OnCommand(int id, int code) {
  if ((id == CheckBox5 && code == BN_CLICKED) || (id == ComboBox2 && code == CBN_SELCHANGE)) {
    ApplyEnabling();
  }
}

void CheckMethodPage::ApplyEnabling() {
  OptionsForm form;
  Collect(form);
  const OptionsEnabling enabling = EnablingFor(form);
  for (int id : kCheckMethodControls) {
    EnableItem(id, enabling.checkMethod);
  }
  for (int id : kTimeWindowControls) {
    EnableItem(id, enabling.timeWindow);
  }
}

}  // namespace norv
