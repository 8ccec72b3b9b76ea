#pragma once
// The store's four histories as the publishing side reads them: STORE holds
// one history file per game (loto6.csv, miniloto.csv, numbers4.csv,
// numbers3.csv) in the layout of history_csv.h.

#include <array>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "service/draw.h"

namespace norv::service {

using StoreHistories = std::array<std::vector<Draw>, 4>;  // by game index

class StoreReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws StoreReadError naming the file and the line.
StoreHistories ReadStoreHistories(const std::filesystem::path& store);

}  // namespace norv::service
