#pragma once
// Application messages of the main window TForm1, numbered from WM_APP.
//
// kMsgRunOnWindowThread is the one way a worker thread changes the window: it
// sends (never posts) the message with lParam pointing to a WindowThreadCall
// that lives on the sender's stack. The window procedure runs the call with the
// window object and returns 1; the sender waits in SendMessage until then.
// Modal loops (message boxes, the wait loops that pump messages) service sent
// messages, so a worker never waits on a window thread that is waiting for it.
// Once the window is destroyed SendMessage returns 0 at once: the call is
// skipped, and a worker finishing after the close never blocks the exit.

#include <windows.h>

#include <functional>

namespace norv {

class MainWindow;

using WindowThreadCall = std::function<void(MainWindow&)>;

inline constexpr UINT kMsgRunOnWindowThread = WM_APP + 1;  // lParam: const WindowThreadCall*
inline constexpr UINT kMsgTrayIcon = WM_APP + 2;           // the tray icon's callback message
// Answers the first body row in view of the active tab's grid, or 0 while
// that grid is hidden; lets outside probes read the view without the grid.
inline constexpr UINT kMsgActiveGridTopRow = WM_APP + 3;

// Runs `call` on the thread of `window` and waits for it. False when the
// window is gone and the call was skipped.
bool RunOnWindowThread(HWND window, const WindowThreadCall& call);

}  // namespace norv
