#pragma once
// PopupMenu1, the tray menu. Windows menus have no hidden items, so the menu
// is kept as a model and built afresh from the visible items at each popup.

#include <windows.h>

#include <array>
#include <string_view>
#include <vector>

namespace norv {

class TrayMenu {
 public:
  TrayMenu();

  // ShowTrayMenu's part: N1..N8 all shown or all hidden.
  void SetTopLevelVisible(bool visible);
  void SetVisible(int command, bool visible);
  void SetEnabled(int command, bool enabled);
  bool IsVisible(int command) const;
  bool IsEnabled(int command) const;

  // Opens at the screen point and sends the chosen item to `owner` as WM_COMMAND.
  void Popup(HWND owner, POINT at) const;

 private:
  struct Item {
    int command;  // for a submenu holder: its own identifier, never sent
    int parent;   // 0 = top level
    std::string_view caption;
    bool visible = true;
    bool enabled = true;
  };
  Item* Find(int command);
  const Item* Find(int command) const;
  HMENU Build(int parent) const;

  std::vector<Item> items_;
};

}  // namespace norv
