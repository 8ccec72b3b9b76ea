#pragma once
// The main window TForm1: created once by the process entry, lives for the run.

#include <windows.h>

namespace norv {

// Registers and creates the main window, then runs the message loop until
// the main window is closed.
void RunApplication(HINSTANCE instance);

// The main window, null before it exists and after it is gone. Owner of the
// program's message boxes and shell launches.
HWND MainWindowHandle();

}  // namespace norv
