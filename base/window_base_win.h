#pragma once
// The one skeleton behind every window of the program's own classes: the
// object is bound to its window at WM_NCCREATE, before any other message,
// each message goes to its handler, and no exception leaves a callback.

#include <windows.h>

#include "base/exception_display_win.h"

namespace norv {

// The program's one exception policy for a callback from Windows (window,
// dialog and subclass procedures, worker tasks): whatever escapes is shown
// once per burst and `fallback` is answered instead. Answering the default
// handling would turn, say, a refused close into an exit.
template <typename Result, typename Call>
Result GuardCallback(Result fallback, Call&& call) noexcept {
  try {
    return call();
  } catch (...) {
    ShowEscapedException();
    return fallback;
  }
}

class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;
  // A window still there is detached first, so no handler runs on a half
  // destroyed object, then destroyed.
  virtual ~WindowBase();

  HWND Handle() const { return window_; }

  // The window procedure to register for every class of such windows.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // CreateWindowExW with this object as the create parameter.
  HWND CreateFor(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, POINT at, SIZE size,
                 HWND parent, HINSTANCE instance);

  // Every message but WM_NCDESTROY; a message left alone goes to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Last, after the window is gone and detached. The object may free itself
  // here (a modeless window's owner releases it): nothing of it is touched after.
  virtual void OnNcDestroy() {}

  HWND window_ = nullptr;
};

}  // namespace norv
