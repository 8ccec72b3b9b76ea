// Stand-in for the about box until about/ is merged: a plain box with the
// product name, then the same closing call the real box makes.

#if !__has_include("about/about_box_win.h")

#include "app/about_box_fallback_win.h"
#include "app/unicode_win.h"
#include "resources/strings.h"

namespace norv {

void OpenAboutBox(HWND mainWindow, bool, std::function<void()> onClosed) {
  const std::wstring name = Widen(text::kProductName);
  ::MessageBoxW(mainWindow, name.c_str(), name.c_str(), MB_OK | MB_ICONINFORMATION);
  if (onClosed) {
    onClosed();
  }
}

}  // namespace norv

#endif
