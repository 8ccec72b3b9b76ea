#include "app/exception_display_win.h"

#include <windows.h>

#include <exception>
#include <string>

#include "app/exception_burst.h"
#include "app/main_window_win.h"
#include "base/unicode_win.h"
#include "resources/strings.h"

namespace norv {

namespace {

ExceptionBurst& Burst() {
  static ExceptionBurst burst;
  return burst;
}

std::wstring CurrentExceptionText() {
  try {
    const std::exception_ptr current = std::current_exception();
    if (current) std::rethrow_exception(current);
  } catch (const std::exception& e) {
    try {
      return Widen(e.what());
    } catch (...) {
    }
  } catch (...) {
  }
  return {};
}

}  // namespace

void ShowEscapedException() noexcept {
  if (!Burst().Arrived(::GetTickCount64())) {
    return;
  }
  try {
    const std::wstring text = CurrentExceptionText();
    const std::wstring caption = Widen(text::kProductName);
    ::MessageBoxW(MainWindowHandle(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
  }
  Burst().Shown(::GetTickCount64());
}

}  // namespace norv
