#pragma once
// Dialog templates (DLGTEMPLATEEX) built in memory, laid out in dialog units.

#include <windows.h>

#include <string_view>
#include <vector>

namespace norv {

struct DialogRect {
  short x, y, cx, cy;
};

class DialogTemplate {
 public:
  DialogTemplate(DWORD style, DialogRect rect, std::string_view title, std::string_view fontName,
                 WORD pointSize);

  void AddButton(int id, std::string_view text, DialogRect rect, DWORD style = BS_PUSHBUTTON);
  void AddCheckBox(int id, std::string_view text, DialogRect rect);
  void AddLabel(int id, std::string_view text, DialogRect rect);
  void AddGroupBox(int id, std::string_view text, DialogRect rect);
  void AddEdit(int id, DialogRect rect);
  // rect.cy is the height with the list dropped down.
  void AddDropDownList(int id, DialogRect rect);
  void AddControl(const wchar_t* className, int id, std::string_view text, DialogRect rect, DWORD style);

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddItem(WORD classAtom, const wchar_t* className, int id, std::string_view text, DialogRect rect,
               DWORD style);
  void PushWord(WORD value);
  void PushDword(DWORD value);
  void PushText(std::string_view utf8);
  void AlignToDword();

  // WORDs keep the WORD alignment the format needs; the vector's storage is
  // DWORD-aligned as well.
  std::vector<WORD> words_;
  std::size_t countIndex_ = 0;
};

}  // namespace norv
