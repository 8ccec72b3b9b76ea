#pragma once
// Filling the in-memory settings at start, and the start-up bookkeeping that
// follows: version stamps and the start counter.

#include <functional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_storage.h"
#include "settings/window_position.h"

namespace norv {

struct LoadEnvironment {
  std::string programFolder;  // ends in a backslash
  int versionCode = 0;        // 4 and above: Windows Vista or later
  // Asked once per companion id (1 Alder … 5 Elder), without messages.
  std::function<bool(int companionId)> isCompanionInstalled;
  EdgeMetrics horizontal;  // main window width, SM_CXEDGE + SM_CXFIXEDFRAME, work-area width
  EdgeMetrics vertical;    // the same with heights
};

// Reads "win" to "el3" and the window position. The caller applies the
// result to the button bar and the companion menu.
Settings LoadSettings(const SettingsStorage& storage, const LoadEnvironment& environment);

// Reads the announced releases and the companions' installed versions,
// raises "now" and "new" to this release and counts the start.
void RecordStart(SettingsStorage& storage, Settings& settings);

}  // namespace norv
