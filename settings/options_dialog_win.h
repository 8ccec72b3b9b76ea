#pragma once
// The options dialog TForm2: a modeless dialog that stands in for the main
// window while it is open and is destroyed when it closes.

#include <windows.h>

#include "settings/options_host_win.h"

namespace norv {

// Opens a new dialog filled from the settings in memory. The main window is
// hidden when it was visible (and shown again after OK or Cancel); otherwise
// the tray menu is emptied. While a dialog is open, it is brought forward
// instead. `host` must outlive the dialog.
HWND OpenOptionsDialog(OptionsHost& host, bool mainWindowVisible);

// For the message loop, before TranslateMessage: true when the message was
// the options dialog's keyboard input and has been handled.
bool RouteDialogMessage(MSG& message);

}  // namespace norv
