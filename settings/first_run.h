#pragma once
// The first start of a user without settings writes the first-run values.

#include <string_view>

#include "settings/settings_storage.h"

namespace norv {

// true when this was the first start and the values were written.
bool RunFirstRunStep(SettingsStorage& storage, std::string_view programFolder);

}  // namespace norv
