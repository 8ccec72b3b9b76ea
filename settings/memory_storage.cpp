#include "settings/memory_storage.h"

namespace norv {

// The checker thread reads companion sections while the window thread may
// write options, as both do against the registry; the lock keeps that safe.

std::optional<std::string> MemorySettingsStorage::Read(std::string_view section, std::string_view name) const {
  std::lock_guard lock(mutex_);
  const auto found = values_.find(Key(section, name));
  if (found == values_.end()) {
    return std::nullopt;
  }
  return found->second;
}

bool MemorySettingsStorage::Write(std::string_view section, std::string_view name, std::string_view value) {
  std::lock_guard lock(mutex_);
  values_[Key(section, name)] = std::string(value);
  ++writeCount_;
  return true;
}

bool MemorySettingsStorage::DeleteValue(std::string_view section, std::string_view name) {
  std::lock_guard lock(mutex_);
  values_.erase(Key(section, name));
  return true;
}

int MemorySettingsStorage::WriteCount() const {
  std::lock_guard lock(mutex_);
  return writeCount_;
}

}  // namespace norv
