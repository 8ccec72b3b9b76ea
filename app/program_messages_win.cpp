#include "app/program_messages_win.h"

#include <windows.h>

#include "app/main_window_win.h"
#include "app/open_target_win.h"
#include "app/program_message.h"
#include "base/unicode_win.h"
#include "resources/strings.h"

namespace norv {

namespace {

constexpr int kExitQuestionCode = 1;

int ShowBox(int code, int number) {
  const std::wstring body = Widen(ProgramMessageText(code, number));
  const std::wstring caption = Widen(text::kProductName);
  const UINT buttons = code == kExitQuestionCode ? MB_YESNO : MB_OK;
  return ::MessageBoxW(MainWindowHandle(), body.c_str(), caption.c_str(), buttons | MB_ICONINFORMATION);
}

}  // namespace

bool ShowProgramMessage(int code, int number) {
  if (code >= kFirstUtilityCode) {
    OpenTarget(TargetKind::MessageUtility, MessageUtilityParameters(code, number));
    return true;
  }
  const int answer = ShowBox(code, number);
  if (code == kExitQuestionCode) {
    if (answer != IDYES) {
      return false;
    }
    // Hidden first, so the close handler takes the exit path even when resident.
    HWND main = MainWindowHandle();
    ::ShowWindow(main, SW_HIDE);
    ::SendMessageW(main, WM_CLOSE, 0, 0);
    return true;
  }
  return answer == IDOK;
}

void ShowWinsMessage(const std::string& winText) {
  OpenTarget(TargetKind::MessageUtility, MessageUtilityWinsParameters(winText));
}

}  // namespace norv
