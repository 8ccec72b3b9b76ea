// Process entry: one copy per logon, the main window and its message loop,
// and the self-restart the options dialog asks for.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "base/exception_display_win.h"
#include "base/folders_win.h"
#include "app/main_window_win.h"
#include "base/run_state.h"
#include "app/single_instance_win.h"
#include "base/unicode_win.h"
#include "resources/strings.h"

namespace {

bool StartedForRestart() {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv) {
    return false;
  }
  const bool restart = argc > 1 && norv::Narrow(argv[1]) == norv::text::kRestartArgument;
  ::LocalFree(argv);
  return restart;
}

void RunMainWindow(HINSTANCE instance) {
  try {
    norv::RunApplication(instance);
  } catch (...) {
    norv::ShowEscapedException();
  }
}

void LaunchRestartedCopy() {
  const std::wstring argument = norv::Widen(norv::text::kRestartArgument);
  ::ShellExecuteW(nullptr, nullptr, norv::OwnExecutablePath().c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    if (StartedForRestart()) {
      // Lets the copy that asked for the restart end and drop its mutex first.
      ::Sleep(3000);
    }
    if (norv::AnotherInstanceRuns()) {
      norv::RefuseSecondStart();
      return 0;
    }
    norv::InstanceMutex mutex;
    if (mutex.LostRace()) {
      norv::RefuseSecondStart();
      return 0;
    }
    RunMainWindow(instance);
    mutex.Release();
    if (norv::RestartRequested.load()) {
      LaunchRestartedCopy();
    }
  } catch (...) {
    // Exit code 0 on every path.
  }
  // A checker asked to stop may still be finishing its last step; ending the
  // process here, rather than returning into the runtime's exit, keeps the
  // static objects it may still touch from being destroyed under it.
  ::ExitProcess(0);
}
