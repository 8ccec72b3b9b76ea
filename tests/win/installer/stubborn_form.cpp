// Test-only stand-in for a copy of Norvale that will not end: a hidden window
// of the main window's class that answers the setup program's end request as
// Norvale does, and then goes on running until it is killed.

#include <windows.h>

#include "app/app_messages.h"

namespace {

UINT endRequest = 0;

LRESULT CALLBACK StubbornProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == endRequest && endRequest != 0) {
    return norv::kEndForUpgradeAnswer;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  endRequest = ::RegisterWindowMessageW(norv::kEndForUpgradeMessage);
  WNDCLASSW wc{};
  wc.lpfnWndProc = StubbornProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"TForm1";
  if (!::RegisterClassW(&wc) ||
      !::CreateWindowExW(0, L"TForm1", L"Norvale", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, instance,
                         nullptr)) {
    return 1;
  }
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::DispatchMessageW(&msg);
  }
  return 0;
}
