#include "base/exception_display_win.h"

#include <exception>
#include <string>
#include <utility>

#include "base/exception_burst.h"
#include "base/unicode_win.h"

namespace norv {

namespace {

// All window-thread state, as the display itself is.
struct ExceptionReport {
  ExceptionBurst burst;
  ExceptionOwner owner = nullptr;
  std::wstring caption;
};

ExceptionReport& Report() {
  static ExceptionReport report;
  return report;
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

void SetExceptionReport(ExceptionOwner owner, std::wstring caption) {
  Report().owner = owner;
  Report().caption = std::move(caption);
}

void ShowEscapedException() noexcept {
  ExceptionReport& report = Report();
  if (!report.burst.Arrived(::GetTickCount64())) {
    return;
  }
  try {
    const std::wstring text = CurrentExceptionText();
    const HWND owner = report.owner ? report.owner() : nullptr;
    ::MessageBoxW(owner, text.c_str(), report.caption.empty() ? nullptr : report.caption.c_str(),
                  MB_OK | MB_ICONERROR);
  } catch (...) {
  }
  report.burst.Shown(::GetTickCount64());
}

}  // namespace norv
