#include "settings/memory_storage.h"
#include "settings/settings_storage.h"

namespace norv {

// Portable builds have no registry; the settings last for the process.
SettingsStorage& AppStorage() {
  static MemorySettingsStorage storage;
  return storage;
}

}  // namespace norv
