#pragma once
// The update tool's small progress window: a bar, the bytes of the total,
// and Cancel. It follows the dpi of the monitor it is on.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "base/window_base_win.h"

namespace norv {

class UpdateProgressWindow final : public WindowBase {
 public:
  // `received` is read on a timer; Cancel (or closing the window) sets `cancel`.
  UpdateProgressWindow(std::uint64_t total, const std::atomic<std::uint64_t>& received, std::atomic<bool>& cancel);
  ~UpdateProgressWindow() override;
  UpdateProgressWindow(const UpdateProgressWindow&) = delete;
  UpdateProgressWindow& operator=(const UpdateProgressWindow&) = delete;

  // Shows the window and runs its messages until Finish is called from any thread.
  void RunUntilFinished();
  void Finish();

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void FormCreate();
  void Layout();
  void Timer1Timer();
  void CancelButtonClick();

  HWND bar_ = nullptr;
  HWND label_ = nullptr;
  HWND cancelButton_ = nullptr;
  HFONT font_ = nullptr;
  const std::uint64_t total_;
  const std::atomic<std::uint64_t>& received_;
  std::atomic<bool>& cancel_;
};

}  // namespace norv
