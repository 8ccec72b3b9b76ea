#include "service/store_histories.h"

#include <fstream>
#include <sstream>

#include "service/history_csv.h"

namespace norv::service {

StoreHistories ReadStoreHistories(const std::filesystem::path& store) {
  StoreHistories histories;
  for (Game game : kAllGames) {
    const std::filesystem::path path = store / HistoryFileName(game);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw StoreReadError("cannot read " + path.string());
    std::ostringstream text;
    text << file.rdbuf();
    try {
      histories[static_cast<std::size_t>(GameIndex(game))] = ReadHistoryCsv(game, text.str());
    } catch (const HistoryFormatError& error) {
      throw StoreReadError(path.string() + ": " + error.what());
    }
  }
  return histories;
}

}  // namespace norv::service
