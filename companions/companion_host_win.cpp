#include "companions/companion_host_win.h"

#include "base/unicode_win.h"
#include "companions/shell_open_win.h"

namespace norv {

// The installation test runs on the window thread only, so the main window
// can own the box.
void WindowsCompanionHost::ShowInfo(std::string_view caption, std::string_view text) {
  ::MessageBoxW(owner_.load(), Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONINFORMATION);
}

void WindowsCompanionHost::OpenTarget(const std::string& path, const std::string& parameters) {
  ShellOpen(owner_.load(), path, parameters);
}

}  // namespace norv
