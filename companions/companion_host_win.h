#pragma once
// The Windows side of the companion operations: message boxes and the shell.

#include <windows.h>

#include <atomic>

#include "companions/companion_host.h"

namespace norv {

class WindowsCompanionHost : public CompanionHost {
 public:
  explicit WindowsCompanionHost(HWND owner = nullptr) : owner_(owner) {}
  // The main window, once it exists; owns the boxes and the started programs.
  void SetOwner(HWND owner) { owner_.store(owner); }

  void ShowInfo(std::string_view caption, std::string_view text) override;
  void OpenTarget(const std::string& path, const std::string& parameters) override;

 private:
  std::atomic<HWND> owner_;
};

}  // namespace norv
