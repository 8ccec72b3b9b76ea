// The main window's start-up and close steps reach the settings store here,
// with the window's own measurements for the position rule.

#include <windows.h>

#include "app/main_window_win.h"
#include "app/settings_store_link.h"
#include "settings/first_run.h"
#include "settings/load_settings.h"
#include "settings/setting_access.h"
#include "settings/settings.h"
#include "settings/settings_storage.h"

namespace norv {

namespace {

LoadEnvironment StartEnvironment(const std::string& programFolder, int versionCode) {
  RECT window{};
  ::GetWindowRect(MainWindowHandle(), &window);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  LoadEnvironment environment;
  environment.programFolder = programFolder;
  environment.versionCode = versionCode;
  // Companion detection joins with the companion integration; until then no
  // companion counts as installed and its options stay off for the run.
  environment.isCompanionInstalled = [](int) { return false; };
  environment.horizontal = {window.right - window.left,
                            ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXFIXEDFRAME),
                            work.right - work.left};
  environment.vertical = {window.bottom - window.top,
                          ::GetSystemMetrics(SM_CYEDGE) + ::GetSystemMetrics(SM_CYFIXEDFRAME),
                          work.bottom - work.top};
  return environment;
}

}  // namespace

void RunFirstRunStep(const std::string& programFolder) { RunFirstRunStep(AppStorage(), programFolder); }

void LoadSettings(const std::string& programFolder, int versionCode) {
  const Settings loaded = LoadSettings(AppStorage(), StartEnvironment(programFolder, versionCode));
  AppSettings().Update([&](Settings& s) { s = loaded; });
}

WindowPosition LoadWindowPosition(int, int) {
  // Placed by LoadSettings, which measured this same window.
  const Settings s = AppSettings().Snapshot();
  return {s.pox, s.poy};
}

void ReadVersionStampsAndStartCount() {
  Settings s = AppSettings().Snapshot();
  RecordStart(AppStorage(), s);
  AppSettings().Update([&](Settings& current) { current = s; });
}

void WriteSetting(std::string_view name, std::string_view text) { WriteSetting(AppStorage(), name, text); }

}  // namespace norv
