#pragma once
// The dialog "マイ数字": the user's lines per game (add, edit, delete) and
// every win of them with the total and a CSV export. Modeless and owned by
// the main window; a second request brings the open one forward.

#include <windows.h>

#include <string>

namespace norv {

// `dataFolder` ends in a separator. A new dialog opens at `page` (a
// mynumbers::MyNumbersPage); an open one keeps its page.
HWND OpenMyNumbersDialog(HWND owner, const std::string& dataFolder, int page = 0);

// For the message loop, before the accelerators: true when the message was
// the dialog's keyboard input and has been handled.
bool RouteMyNumbersDialogMessage(MSG& message);

}  // namespace norv
