#include "app/startup_run_win.h"

#include <thread>

#include "app/app_messages.h"
#include "app/main_form_win.h"
#include "store/draw_table.h"

namespace norv {

namespace {

ReloadHooks GridHooksFor(HWND window) {
  return {
      [window](Game game) { RunOnWindowThread(window, [game](MainWindow& form) { form.BeginGridReload(game); }); },
      [window](Game game) { RunOnWindowThread(window, [game](MainWindow& form) { form.EndGridReload(game); }); },
  };
}

bool LoadOneTable(Game game, const std::string& dataFolder, const std::stop_token& stop, const ReloadHooks& hooks) {
  try {
    return LoadDrawTable(game, dataFolder, stop, hooks);
  } catch (...) {
    return false;
  }
}

void RunStartupLoads(HWND window, const std::stop_token& stop, const std::string& dataFolder) {
  const ReloadHooks hooks = GridHooksFor(window);
  for (Game game : kAllGames) {
    if (stop.stop_requested()) {
      break;
    }
    if (!LoadOneTable(game, dataFolder, stop, hooks)) {
      // The failed game's grid stays hidden; the rest are not loaded.
      RunOnWindowThread(window, [](MainWindow& form) { form.NotifyLoadFailure(); });
      return;
    }
  }
  RunOnWindowThread(window, [](MainWindow& form) { form.EndOfCheckStep({}); });
}

}  // namespace

void LaunchStartupRun(HWND window, std::stop_token stop, std::string dataFolder) {
  std::thread([window, stop = std::move(stop), folder = std::move(dataFolder)] {
    try {
      RunStartupLoads(window, stop, folder);
    } catch (...) {
      // No exception leaves the thread.
    }
  }).detach();
}

}  // namespace norv
