#include "notices/notice_host_win.h"

#include "base/unicode_win.h"
#include "companions/shell_open_win.h"

namespace norv {

// The box runs its own message loop on the calling (checker) thread. A box
// that could not be shown counts as No, so the release is offered again
// rather than silenced.
NoticeAnswer WindowsNoticeHost::AskYesNoCancel(std::string_view caption, std::string_view text) {
  const int answer = ::MessageBoxW(owner_.load(), Widen(text).c_str(), Widen(caption).c_str(),
                                   MB_YESNOCANCEL | MB_ICONINFORMATION | MB_SETFOREGROUND);
  switch (answer) {
    case IDYES: return NoticeAnswer::Yes;
    case IDCANCEL: return NoticeAnswer::Cancel;
    default: return NoticeAnswer::No;
  }
}

void WindowsNoticeHost::OpenTarget(const std::string& target, const std::string& parameters) {
  ShellOpen(owner_.load(), target, parameters);
}

void WindowsNoticeHost::CloseMainWindow() {
  if (closeMainWindow_) closeMainWindow_();
}

}  // namespace norv
