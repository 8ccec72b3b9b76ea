#pragma once
// Settings kept in memory: the stand-in for the registry in portable builds
// and tests.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "settings/settings_storage.h"

namespace norv {

class MemorySettingsStorage : public SettingsStorage {
 public:
  std::optional<std::string> Read(std::string_view section, std::string_view name) const override;
  bool Write(std::string_view section, std::string_view name, std::string_view value) override;
  bool DeleteValue(std::string_view section, std::string_view name) override;

  // Number of successful writes so far, so callers can tell a skipped write.
  int WriteCount() const;

 private:
  using Key = std::pair<std::string, std::string>;
  mutable std::mutex mutex_;
  std::map<Key, std::string, std::less<>> values_;
  int writeCount_ = 0;
};

}  // namespace norv
