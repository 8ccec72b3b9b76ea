#pragma once
// TAboutBox: the small modeless box with the program's icon, name, version,
// the maker's notice and web address. It shows itself (fading in where the
// look allows), and OK is the only way to close it.

#include <windows.h>

#include <functional>

namespace norv {

struct AboutBoxRequest {
  HWND mainWindow = nullptr;  // owner; the box first sits centred on it
  bool fromOptions = false;   // AboutFromOptions: false moves it to the desktop centre
  bool classicLook = false;   // ClassicLook
  int versionCode = 0;        // VersionCode
  // Run after OK, just before the box goes: the tray opener gives the tray
  // menu its entries back, the options dialog enables itself again.
  std::function<void()> onClosed;
};

// Creates the box, transparent and hidden; its own timer shows it about 1 ms
// later. False when a box is already open (it comes to the front instead) or
// the window cannot be created; onClosed is then never run.
bool OpenAboutBox(const AboutBoxRequest& request);

// The open box, or null.
HWND AboutBoxWindow();

// Child control identifiers, for tests and accessibility tools.
enum AboutControl : int {
  kAboutProgramIcon = 101,
  kAboutProductName = 102,
  kAboutVersion = 103,
  kAboutLabel1 = 104,
  kAboutCopyright = 105,
  kAboutComments = 106,
  kAboutOkButton = IDOK,
};

}  // namespace norv
