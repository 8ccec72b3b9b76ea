#pragma once
// The histories a new store starts from: the snapshot bundled into the
// program at build time (service/seed/), or four files in the same layout.

#include <filesystem>
#include <string_view>

#include "service/store.h"

namespace norv::service {

// The bundled snapshot's file for the game, as it stands in service/seed/.
std::string_view BundledSeedFile(Game game);

// Both throw StoreError naming the file for a history that is not whole.
Histories BundledSeed();
Histories SeedFromFolder(const std::filesystem::path& folder);

}  // namespace norv::service
