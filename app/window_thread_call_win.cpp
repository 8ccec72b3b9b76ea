#include "app/app_messages.h"

namespace norv {

bool RunOnWindowThread(HWND window, const WindowThreadCall& call) {
  if (!::IsWindow(window)) {
    return false;
  }
  return ::SendMessageW(window, kMsgRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&call)) == 1;
}

}  // namespace norv
