#pragma once
// In-memory mirror of each game's data file, and its loader.

#include <atomic>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "store/draw_record.h"

namespace norv {

// Rows newest first: row 0 is the last record of the file.
struct DrawTable {
  std::vector<DrawRow> rows;
};

// Per-game state, process-wide. Only the checker thread writes the table and
// the count; the window thread reads them while the grid is shown or while it
// holds the busy flag for a CSV export.
class GameData {
 public:
  DrawTable table;
  std::atomic<int> drawCount{0};

  // One test-and-set step: true when this caller now holds the flag.
  bool TryTakeBusy() { return !busy_.exchange(true); }
  void ReleaseBusy() { busy_.store(false); }
  bool Busy() const { return busy_.load(); }

 private:
  std::atomic<bool> busy_{false};
};

GameData& GameDataOf(Game game);

// Run on the window thread, synchronously, around a rebuild.
struct ReloadHooks {
  std::function<void(Game)> beginGridReload;
  std::function<void(Game)> endGridReload;
};

// Rebuilds the game's table and count from `dataFolder` + its data file.
// Waits for the busy flag (polling every second), holds it during the rebuild
// and releases it on every path. Returns false when the file cannot be opened
// or read; endGridReload is then not run, so the grid stays hidden. A stop
// request while it waits for the flag gives up at once: false, no hook run,
// the flag left to its holder.
bool LoadDrawTable(Game game, const std::string& dataFolder, const std::stop_token& stop,
                   const ReloadHooks& hooks);

}  // namespace norv
