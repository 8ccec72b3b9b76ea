#pragma once
// Application messages of the main window TForm1, numbered from WM_APP.
//
// kMsgRunOnWindowThread is the one way a worker thread changes the window: it
// sends (never posts) the message with lParam pointing to a WindowThreadCall
// that lives on the sender's stack and is registered as in flight while it
// waits. The window procedure runs only a registered call, with the window
// object, and returns 1; the sender waits in SendMessage until then. Any other
// program can send or post the same number, so lParam is looked up, never
// followed blindly.
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

// Probes that only the test build of the program (norv_probed.exe, which the
// Windows tests start) answers; norv.exe leaves them to DefWindowProc, so no
// other program can read or hold its state through them.
//
// Answers the first body row in view of the active tab's grid, or 0 while
// that grid is hidden; lets outside probes read the view without the grid.
inline constexpr UINT kMsgActiveGridTopRow = WM_APP + 3;
// Answers the run state as kProbe* bits, so outside probes can follow a check
// and a pending notice without a tray host.
inline constexpr UINT kMsgRunStateProbe = WM_APP + 4;
inline constexpr LRESULT kProbeNoticePending = 1;
inline constexpr LRESULT kProbeTrayAnimating = 2;
inline constexpr LRESULT kProbeCheckRunning = 4;
inline constexpr LRESULT kProbeForcedRefresh = 8;
// Takes (lParam 1) or gives back (lParam 0) the TableBusy flag of game index
// wParam, as a table rebuild does; answers 1 when taken. Lets outside probes
// hold a game busy for as long as they need, which no real rebuild does.
inline constexpr UINT kMsgHoldTableBusy = WM_APP + 5;
// Throws from inside the window procedure (post it: the handling shows a box).
inline constexpr UINT kMsgThrowProbe = WM_APP + 63;

// The setup program's way in, a registered message because it comes from
// another program: before replacing the program files it asks a running copy
// to end. The window ends as the tray menu's exit does after its Yes, without
// the question, and answers kEndForUpgradeAnswer, which tells the asker that
// this "TForm1" is Norvale's (another program's window answers 0).
inline constexpr wchar_t kEndForUpgradeMessage[] = L"Norvale.EndForUpgrade";
inline constexpr LRESULT kEndForUpgradeAnswer = 0x4E4F5256;  // "NORV"

// Runs `call` on the thread of `window` and waits for it. False when the
// window is gone and the call was skipped.
bool RunOnWindowThread(HWND window, const WindowThreadCall& call);

// The window procedure's side: the in-flight call that kMsgRunOnWindowThread's
// lParam names, taken out so it runs once, or nullptr for any other value.
const WindowThreadCall* ClaimWindowThreadCall(LPARAM lParam);

}  // namespace norv
