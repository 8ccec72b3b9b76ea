#pragma once
// The program's four data files, and what they must hold: the file each
// game's whole published history makes, as the program writes it.

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "acquisition/full_refresh.h"
#include "tests/win/helpers/soak/soak_games.h"
#include "tests/win/helpers/soak/soak_service.h"
#include "tests/win/norv_process.h"

namespace norv::soak {

using DataFiles = std::array<std::string, 4>;

inline std::filesystem::path DataFilePath(const GameNames& game) {
  return std::filesystem::path(testing::DataFolderPath() + game.dataFile);
}

inline std::string ReadDataFile(const GameNames& game) {
  std::ifstream in(DataFilePath(game), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool WriteDataFiles(const DataFiles& files) {
  std::error_code error;
  std::filesystem::create_directories(testing::DataFolderPath(), error);
  for (std::size_t g = 0; g < kGames.size(); ++g) {
    std::ofstream out(DataFilePath(kGames[g]), std::ios::binary | std::ios::trunc);
    out << files[g];
    if (!out) return false;
  }
  return true;
}

// Nothing when the service gave no whole history of a game. The history
// counts are held at the published ones only for these reads: the program
// itself always sees the newest draw one behind.
inline std::optional<DataFiles> PublishedDataFiles(const SoakService& service) {
  const std::optional<ServiceState> state = service.State();
  if (!state || !service.HoldHistoriesAt(state->published)) return std::nullopt;
  DataFiles files;
  bool complete = true;
  for (std::size_t g = 0; g < kGames.size(); ++g) {
    const std::optional<std::string> file = BuildHistoryFile(kGames[g].game, service.History(kGames[g]), {});
    complete = complete && file.has_value();
    files[g] = file.value_or("");
  }
  if (!service.ReleaseHistories() || !complete) return std::nullopt;
  return files;
}

// What a data file may hold at any moment: the first records of the
// published history, each whole. A file is only ever old or new, never cut
// or wrong, whatever failed or was killed on the way.
inline bool IsWholeRecordsPrefix(const std::string& held, const std::string& published) {
  if (held.size() > published.size() || published.compare(0, held.size(), held) != 0) return false;
  return held.empty() || held.back() == '\n';
}

}  // namespace norv::soak
