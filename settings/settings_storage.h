#pragma once
// Where the settings live: named text values grouped in sections below the
// maker's key. The program's own values are in kSettingsSection; each
// companion keeps a section named by its code name (settings/products.h).
// Text is UTF-8.

#include <optional>
#include <string>
#include <string_view>

#include "resources/strings.h"

namespace norv {

inline constexpr std::string_view kSettingsSection = text::kProductCode;

class SettingsStorage {
 public:
  virtual ~SettingsStorage() = default;

  // nullopt when the value or its section is absent or cannot be read.
  virtual std::optional<std::string> Read(std::string_view section, std::string_view name) const = 0;
  // false when the value could not be stored.
  virtual bool Write(std::string_view section, std::string_view name, std::string_view value) = 0;
  // true when the value is gone afterwards, also when it was never there.
  virtual bool DeleteValue(std::string_view section, std::string_view name) = 0;
};

// The process's storage: the current user's registry on Windows, an
// in-memory stand-in in the portable build.
SettingsStorage& AppStorage();

}  // namespace norv
