#include "app/tray_menu_win.h"

#include "app/command_ids.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "resources/strings.h"

namespace norv {

namespace {
// Submenu holders have identifiers of their own so the model can address them.
constexpr int kN4 = 2100;
constexpr int kN5 = 2101;
constexpr int kN6 = 2102;
constexpr std::array<int, 9> kTopLevel{kN1, kN2, kN3, kN9, kN4, kN5, kN6, kN7, kN8};
}  // namespace

TrayMenu::TrayMenu() {
  using namespace text;
  items_ = {
      {kN1, 0, kMenuShowData},
      {kN2, 0, kMenuOptions},
      {kN3, 0, kMenuCheck},
      {kN9, 0, kMenuMyNumbers},
      {kN4, 0, kMenuCompanions},
      {kN41, kN4, kMenuDamson, false},
      {kN42, kN4, kMenuCedar, false},
      {kN43, kN4, kMenuAlder, false},
      {kN44, kN4, kMenuBirch, false},
      {kN45, kN4, kMenuElder, false},
      {kN46, kN4, kMenuUnregistered, false, false},
      {kN5, 0, kMenuVersions},
      {kN51, kN5, kMenuAbout},
      {kN52, kN5, kMenuLiveUpdate},
      {kN6, 0, kMenuHomePages},
      {kN61, kN6, kMenuSupportPage},
      {kN62, kN6, kMenuBankPage},
      {kN63, kN6, kMenuMakerPage},
      {kN7, 0, kMenuHelp},
      {kN8, 0, kMenuExit},
  };
}

TrayMenu::Item* TrayMenu::Find(int command) {
  for (Item& item : items_) {
    if (item.command == command) {
      return &item;
    }
  }
  return nullptr;
}

const TrayMenu::Item* TrayMenu::Find(int command) const {
  return const_cast<TrayMenu*>(this)->Find(command);
}

void TrayMenu::SetTopLevelVisible(bool visible) {
  for (int command : kTopLevel) {
    SetVisible(command, visible);
  }
}

void TrayMenu::SetVisible(int command, bool visible) {
  if (Item* item = Find(command)) {
    item->visible = visible;
  }
}

void TrayMenu::SetEnabled(int command, bool enabled) {
  if (Item* item = Find(command)) {
    item->enabled = enabled;
  }
}

bool TrayMenu::IsVisible(int command) const {
  const Item* item = Find(command);
  return item && item->visible;
}

bool TrayMenu::IsEnabled(int command) const {
  const Item* item = Find(command);
  return item && item->enabled;
}

HMENU TrayMenu::Build(int parent) const {
  HMENU menu = ::CreatePopupMenu();
  for (const Item& item : items_) {
    if (item.parent != parent || !item.visible) {
      continue;
    }
    const std::wstring caption = Widen(item.caption);
    const UINT state = item.enabled ? MF_ENABLED : MF_GRAYED;
    const bool holder = item.command == kN4 || item.command == kN5 || item.command == kN6;
    if (holder) {
      ::AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(Build(item.command)), caption.c_str());
    } else {
      ::AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(item.command), caption.c_str());
    }
  }
  return menu;
}

void TrayMenu::Popup(HWND owner, POINT at) const {
  UniqueMenu menu(Build(0));
  // While the window is up every item is hidden; an empty popup would still
  // flash a bare frame on some systems, so nothing opens at all.
  if (::GetMenuItemCount(menu.get()) <= 0) {
    return;
  }
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(owner);
  ::TrackPopupMenu(menu.get(), TPM_RIGHTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace norv
