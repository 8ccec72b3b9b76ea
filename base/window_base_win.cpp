#include "base/window_base_win.h"

namespace norv {

namespace {

WindowBase* Attached(HWND window) { return reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }

}  // namespace

WindowBase::~WindowBase() {
  if (window_) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

HWND WindowBase::CreateFor(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, POINT at, SIZE size,
                           HWND parent, HINSTANCE instance) {
  return ::CreateWindowExW(exStyle, className, caption, style, at.x, at.y, size.cx, size.cy, parent, nullptr,
                           instance, this);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  WindowBase* self = Attached(window);
  if (!self) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
    GuardCallback(0, [self] {
      self->OnNcDestroy();
      return 0;
    });
    return result;
  }
  return GuardCallback<LRESULT>(0, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace norv
