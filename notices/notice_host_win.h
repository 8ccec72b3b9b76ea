#pragma once
// The Windows side of the version notices: the question box, the shell, and
// the main window's close supplied by the window.

#include <windows.h>

#include <atomic>
#include <functional>

#include "notices/version_notice.h"

namespace norv {

class WindowsNoticeHost : public NoticeHost {
 public:
  // `closeMainWindow` closes the main window as its close button does; when
  // called from the checker thread it must run that on the window thread and
  // wait for it.
  WindowsNoticeHost(HWND owner, std::function<void()> closeMainWindow)
      : owner_(owner), closeMainWindow_(std::move(closeMainWindow)) {}
  void SetOwner(HWND owner) { owner_.store(owner); }

  NoticeAnswer AskYesNoCancel(std::string_view caption, std::string_view text) override;
  void OpenTarget(const std::string& target, const std::string& parameters) override;
  void CloseMainWindow() override;

 private:
  std::atomic<HWND> owner_;
  std::function<void()> closeMainWindow_;
};

}  // namespace norv
