#include "settings/dialog_template_win.h"

#include <string>

#include "base/unicode_win.h"

namespace norv {

namespace {

// Predefined control classes, by the ordinals the template format uses.
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kComboBoxAtom = 0x0085;

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE;

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, DialogRect rect, std::string_view title, std::string_view fontName,
                               WORD pointSize) {
  PushWord(1);       // dlgVer
  PushWord(0xFFFF);  // signature of the extended format
  PushDword(0);      // helpID
  PushDword(0);      // exStyle
  PushDword(style | DS_SETFONT);
  countIndex_ = words_.size();
  PushWord(0);  // cDlgItems, counted as items are added
  PushWord(static_cast<WORD>(rect.x));
  PushWord(static_cast<WORD>(rect.y));
  PushWord(static_cast<WORD>(rect.cx));
  PushWord(static_cast<WORD>(rect.cy));
  PushWord(0);  // no menu
  PushWord(0);  // the standard dialog class
  PushText(title);
  PushWord(pointSize);
  PushWord(FW_NORMAL);
  PushWord(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, charset
  PushText(fontName);
}

void DialogTemplate::AddButton(int id, std::string_view text, DialogRect rect, DWORD style) {
  AddItem(kButtonAtom, nullptr, id, text, rect, kChildStyle | WS_TABSTOP | style);
}

void DialogTemplate::AddCheckBox(int id, std::string_view text, DialogRect rect) {
  AddItem(kButtonAtom, nullptr, id, text, rect, kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX);
}

void DialogTemplate::AddLabel(int id, std::string_view text, DialogRect rect) {
  AddItem(kStaticAtom, nullptr, id, text, rect, kChildStyle | SS_LEFT | SS_NOPREFIX);
}

void DialogTemplate::AddGroupBox(int id, std::string_view text, DialogRect rect) {
  AddItem(kButtonAtom, nullptr, id, text, rect, kChildStyle | BS_GROUPBOX);
}

void DialogTemplate::AddEdit(int id, DialogRect rect) {
  AddItem(kEditAtom, nullptr, id, "", rect, kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL);
}

void DialogTemplate::AddDropDownList(int id, DialogRect rect) {
  AddItem(kComboBoxAtom, nullptr, id, "", rect, kChildStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

void DialogTemplate::AddControl(const wchar_t* className, int id, std::string_view text, DialogRect rect,
                                DWORD style) {
  AddItem(0, className, id, text, rect, kChildStyle | style);
}

void DialogTemplate::AddItem(WORD classAtom, const wchar_t* className, int id, std::string_view text,
                             DialogRect rect, DWORD style) {
  AlignToDword();
  PushDword(0);  // helpID
  PushDword(0);  // exStyle
  PushDword(style);
  PushWord(static_cast<WORD>(rect.x));
  PushWord(static_cast<WORD>(rect.y));
  PushWord(static_cast<WORD>(rect.cx));
  PushWord(static_cast<WORD>(rect.cy));
  PushDword(static_cast<DWORD>(id));
  if (className) {
    for (const wchar_t* c = className; *c; ++c) {
      PushWord(static_cast<WORD>(*c));
    }
    PushWord(0);
  } else {
    PushWord(0xFFFF);
    PushWord(classAtom);
  }
  PushText(text);
  PushWord(0);  // no creation data
  ++words_[countIndex_];
}

void DialogTemplate::PushWord(WORD value) { words_.push_back(value); }

void DialogTemplate::PushDword(DWORD value) {
  PushWord(LOWORD(value));
  PushWord(HIWORD(value));
}

void DialogTemplate::PushText(std::string_view utf8) {
  for (wchar_t c : Widen(utf8)) {
    PushWord(static_cast<WORD>(c));
  }
  PushWord(0);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) {
    PushWord(0);
  }
}

}  // namespace norv
