#include <windows.h>
#include <commdlg.h>

#include <string>

#include "base/unicode_win.h"
#include "resources/options_strings.h"
#include "settings/options_controls_win.h"
#include "settings/options_pages_win.h"

namespace norv {

using namespace options;

namespace {

// The filter text uses '|' between its parts; the dialog wants NULs and a
// double NUL at the end.
std::wstring SoundFilter() {
  std::wstring filter = Widen(text::kSoundFilter);
  for (wchar_t& c : filter) {
    if (c == L'|') {
      c = L'\0';
    }
  }
  filter.push_back(L'\0');
  return filter;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

DialogTemplate GeneralPage::Layout() const {
  DialogTemplate page = EmptyPage();
  page.AddCheckBox(CheckBox1, text::kStartWithWindows, {10, 10, 316, 12});
  page.AddCheckBox(CheckBox2, text::kShowNewData, {10, 28, 316, 12});
  page.AddCheckBox(CheckBox3, text::kShowUpdateMessage, {10, 46, 316, 12});
  page.AddCheckBox(CheckBox4, text::kPlayUpdateSound, {10, 64, 316, 12});
  page.AddLabel(Label1, text::kUpdateSound, {24, 86, 36, 12});
  page.AddEdit(Edit1, {62, 84, 212, 14});
  page.AddButton(Button5, text::kBrowseButton, {278, 83, 48, 16});
  return page;
}

void GeneralPage::Fill(const OptionsForm& form) {
  Check(CheckBox1, form.win);
  Check(CheckBox2, form.dkg);
  Check(CheckBox3, form.msg);
  Check(CheckBox4, form.snd);
  SetItemText(Edit1, form.wav);
  CheckBox4Click();
}

void GeneralPage::Collect(OptionsForm& form) const {
  form.win = IsChecked(CheckBox1);
  form.dkg = IsChecked(CheckBox2);
  form.msg = IsChecked(CheckBox3);
  form.snd = IsChecked(CheckBox4);
  form.wav = ItemText(Edit1);
}

void GeneralPage::ShowSoundFile(std::string_view path) { SetItemText(Edit1, path); }

void GeneralPage::OnCommand(int id, int code) {
  if (code != BN_CLICKED) {
    return;
  }
  if (id == CheckBox4) {
    CheckBox4Click();
  } else if (id == Button5) {
    Button5Click();
  }
}

void GeneralPage::CheckBox4Click() {
  OptionsForm form;
  Collect(form);
  const bool enabled = EnablingFor(form).soundFile;
  EnableItem(Label1, enabled);
  EnableItem(Edit1, enabled);
  EnableItem(Button5, enabled);
}

void GeneralPage::Button5Click() {
  const std::wstring filter = SoundFilter();
  const std::wstring folder = FolderOf(Widen(ItemText(Edit1)));
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ::GetAncestor(Handle(), GA_ROOT);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (::GetOpenFileNameW(&dialog)) {
    file.resize(::wcsnlen(file.c_str(), file.size()));
    SetItemText(Edit1, Narrow(file));
  }
}

}  // namespace norv
