#pragma once
// The settings in the current user's registry: sections below
// HKEY_CURRENT_USER\Software\Pellmark, every value a REG_SZ string.

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_storage.h"

namespace norv {

class RegistrySettingsStorage : public SettingsStorage {
 public:
  std::optional<std::string> Read(std::string_view section, std::string_view name) const override;
  bool Write(std::string_view section, std::string_view name, std::string_view value) override;
  bool DeleteValue(std::string_view section, std::string_view name) override;
};

// The "start with Windows" entry: the value "T-NORV" under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, the
// program's path in quotes.
bool WriteStartupEntry(std::string_view programFolder);
bool DeleteStartupEntry();
std::optional<std::string> ReadStartupEntry();

}  // namespace norv
