#pragma once
// The object behind a window of the program's own classes.

#include <windows.h>

namespace norv {

// The object passed as the create parameter is kept with the window from
// WM_NCCREATE on and learns its window handle there, before any other message.
// Returns the object, or nullptr before WM_NCCREATE and after it is detached.
template <typename T>
T* WindowInstance(HWND window, UINT message, LPARAM lParam, HWND T::*handle) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->*handle = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  return reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace norv
