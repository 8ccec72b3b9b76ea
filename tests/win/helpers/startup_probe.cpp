// Times one start of the program's test build, norv_probed.exe (beside this
// program): milliseconds from CreateProcess to a visible main window whose
// first grid is loaded. Prints the figure, then ends the program it started.

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "app/app_messages.h"
#include "../norv_process.h"

int wmain() {
  const auto start = std::chrono::steady_clock::now();
  norv::testing::NorvProcess norv;
  HWND window = nullptr;
  const bool shown = norv::testing::WaitUntil(
      [&] {
        window = norv.MainWindow();
        return window && ::IsWindowVisible(window) && ::SendMessageW(window, norv::kMsgActiveGridTopRow, 0, 0) != 0;
      },
      60000);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  if (!shown) {
    std::printf("no window\n");
    return 1;
  }
  std::printf("%lld\n", static_cast<long long>(elapsed.count()));
  return 0;
}
