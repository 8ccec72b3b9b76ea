#pragma once
// Applying the options dialog: every setting whose control differs from the
// value in memory is stored (memory and registry), in a fixed order.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/options_form.h"
#include "settings/settings.h"
#include "settings/settings_storage.h"

namespace norv {

struct ApplyEnvironment {
  bool alderAvailable = true;
  std::function<bool(const std::string& path)> fileExists;
  // Writes (true) or deletes (false) the start-with-Windows entry.
  std::function<void(bool startWithWindows)> setStartupEntry;
  // Whether the entry is the bare path an earlier release wrote.
  std::function<bool()> startupEntryIsBare;
};

struct ApplyOutcome {
  // The residency box differs from the running mode: the new mode takes
  // effect only after a restart.
  bool restartNeeded = false;
  // The field got the stored value back; the dialog shows the form's text.
  bool soundFileRefused = false;
  bool portRefused = false;
};

// An existing file whose name ends in ".wav", in any letter case.
bool IsUsableSoundFile(std::string_view path, const std::function<bool(const std::string&)>& fileExists);

// A port field's text (trimmed, empty meaning "0") as the decimal text to
// store, or nullopt when it is no port number.
std::optional<std::string> PortToStore(std::string_view fieldText);

// `form` gets the stored value back in each field that was refused.
ApplyOutcome ApplyOptions(OptionsForm& form, Settings& settings, SettingsStorage& storage,
                          const ApplyEnvironment& environment);

}  // namespace norv
