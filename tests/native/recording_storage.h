#pragma once
// An in-memory settings storage that also notes the name of every write.

#include <string>
#include <string_view>
#include <vector>

#include "settings/memory_storage.h"

namespace norv {

class RecordingStorage : public MemorySettingsStorage {
 public:
  bool Write(std::string_view section, std::string_view name, std::string_view value) override {
    written.emplace_back(name);
    return MemorySettingsStorage::Write(section, name, value);
  }
  std::vector<std::string> written;
};

}  // namespace norv
