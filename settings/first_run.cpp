#include "settings/first_run.h"

#include "settings/setting_access.h"
#include "settings/setting_values.h"

namespace norv {

// "win" is the first value written, so its presence marks a user who has
// started the program before; an empty text counts as absent.
bool RunFirstRunStep(SettingsStorage& storage, std::string_view programFolder) {
  if (!ReadSetting(storage, kSettingsSection, "win", "").empty()) {
    return false;
  }
  for (const NamedText& value : FirstRunValues(programFolder)) {
    WriteSetting(storage, value.name, value.text);
  }
  return true;
}

}  // namespace norv
