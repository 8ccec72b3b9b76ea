#pragma once
// The program's message boxes (titled Norvale) are answered as they come, so
// a failed check ends instead of waiting for a user; their texts are kept
// for the soak's report.

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/unicode_win.h"
#include "tests/win/helpers/process_windows.h"

namespace norv::soak {

class MessageBoxAnswerer {
 public:
  // Presses OK on every box of process `pid` now on screen; the number pressed.
  int AnswerAll(DWORD pid) {
    // A handle may come back for a later box once its window is gone.
    std::erase_if(pressed_, [](HWND box) { return !::IsWindow(box); });
    int answered = 0;
    for (const HWND box : BoxesOf(pid)) {
      if (pressed_.contains(box)) continue;  // posted already, not yet gone
      ++texts_[Narrow(LabelOf(box))];
      ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
      pressed_.insert(box);
      ++answered;
    }
    return answered;
  }

  int Total() const {
    int total = 0;
    for (const auto& [text, count] : texts_) total += count;
    return total;
  }

  const std::map<std::string, int>& Texts() const { return texts_; }

 private:
  static std::vector<HWND> BoxesOf(DWORD pid) { return testing::WindowsOfProcess(pid, L"#32770", L"Norvale"); }

  // Asked of the window itself: WM_GETTEXT reaches another process's
  // controls, and a hung one does not stop the soak.
  static std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return std::wstring(text, copied);
  }
  // The message label of a standard message box has the control id 0xFFFF.
  static std::wstring LabelOf(HWND box) { return TextOf(::GetDlgItem(box, 0xFFFF)); }

  std::set<HWND> pressed_;
  std::map<std::string, int> texts_;
};

}  // namespace norv::soak
