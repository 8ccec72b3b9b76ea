#include "app/main_window_win.h"

#include "app/unicode_win.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr wchar_t kClassName[] = L"TForm1";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_DESTROY) {
      ::PostQuitMessage(0);
      return 0;
    }
  } catch (...) {
    // No exception crosses a window procedure.
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

void RunApplication(HINSTANCE instance) {
  if (!RegisterMainWindowClass(instance)) {
    return;
  }
  const std::wstring caption = Widen(text::kProductName);
  HWND window = ::CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 560, 300, nullptr, nullptr, instance, nullptr);
  if (!window) {
    return;
  }
  ::ShowWindow(window, SW_SHOWNORMAL);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace norv
