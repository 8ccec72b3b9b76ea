#include "companions/shell_open_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "base/unicode_win.h"

namespace norv {

namespace {

// The shell may hand the target to an extension that needs COM; the checker
// thread, which also starts companions, has not initialised it.
class ComForThisCall {
 public:
  ComForThisCall() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                                           COINIT_DISABLE_OLE1DDE))) {}
  ComForThisCall(const ComForThisCall&) = delete;
  ComForThisCall& operator=(const ComForThisCall&) = delete;
  ~ComForThisCall() {
    if (initialised_) ::CoUninitialize();
  }

 private:
  bool initialised_;
};

}  // namespace

void ShellOpen(HWND owner, std::string_view target, std::string_view parameters) {
  const ComForThisCall com;
  const std::wstring file = Widen(target);
  const std::wstring arguments = Widen(parameters);
  ::ShellExecuteW(owner, nullptr, file.c_str(), arguments.empty() ? nullptr : arguments.c_str(), nullptr,
                  SW_SHOWNORMAL);
}

}  // namespace norv
