#include "store/draw_table.h"

#include <array>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <optional>
#include <string_view>

#include "store/paths.h"

namespace norv {

namespace {

constexpr std::chrono::milliseconds kBusyPollInterval{1000};

// Holds the flag for one load and gives it back on every way out, including
// an exception from a hook or an allocation.
class BusyHold {
 public:
  explicit BusyHold(GameData& data) : data_(data) {}
  BusyHold(const BusyHold&) = delete;
  BusyHold& operator=(const BusyHold&) = delete;
  ~BusyHold() { data_.ReleaseBusy(); }

 private:
  GameData& data_;
};

// Polls the flag once a second, as the CSV export holds it only briefly.
// The pause ends at once on a stop request, so closing the program never
// waits for an export; the caller then gives up without the flag.
bool WaitAndTakeBusy(GameData& data, const std::stop_token& stop) {
  std::mutex mutex;
  std::condition_variable_any wakeUp;
  std::unique_lock lock(mutex);
  while (!data.TryTakeBusy()) {
    wakeUp.wait_for(lock, stop, kBusyPollInterval, [] { return false; });
    if (stop.stop_requested()) {
      return false;
    }
  }
  return true;
}

// The whole file in one read: far quicker than one read per record.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string content;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0 || !in) {
    return std::nullopt;
  }
  content.resize(static_cast<std::size_t>(size));
  in.read(content.data(), size);
  if (in.bad()) {
    return std::nullopt;
  }
  // A file cut shorter since its size was taken keeps only what was read.
  content.resize(static_cast<std::size_t>(in.gcount()));
  return content;
}

// Rows newest first: the last record of the file becomes row 0. Bytes after
// the last whole record (a write cut short) are left out, so every whole
// record keeps its draw. A stop request ends the parsing early; the rows not
// reached then hold zeros, which the grid can draw.
std::vector<DrawRow> RowsFromRecords(Game game, std::string_view content, int count,
                                     const std::stop_token& stop) {
  const RecordLayout& layout = LayoutOf(game);
  const std::size_t recordBytes = static_cast<std::size_t>(layout.recordBytes);
  std::vector<DrawRow> rows(static_cast<std::size_t>(count));
  int index = count;
  for (std::size_t at = 0; index > 0 && !stop.stop_requested(); at += recordBytes) {
    --index;
    rows[static_cast<std::size_t>(index)] = ParseRecordText(game, content.substr(at, recordBytes));
  }
  for (int i = 0; i < index; ++i) {
    rows[static_cast<std::size_t>(i)].assign(layout.fields.size(), 0);
  }
  return rows;
}

void RunHook(const std::function<void(Game)>& hook, Game game) {
  if (hook) {
    hook(game);
  }
}

}  // namespace

GameData& GameDataOf(Game game) {
  static std::array<GameData, kAllGames.size()> games;
  return games[static_cast<std::size_t>(GameIndex(game))];
}

bool LoadDrawTable(Game game, const std::string& dataFolder, const std::stop_token& stop,
                   const ReloadHooks& hooks) {
  GameData& data = GameDataOf(game);
  if (!WaitAndTakeBusy(data, stop)) {
    return false;
  }
  const BusyHold hold(data);
  RunHook(hooks.beginGridReload, game);

  const RecordLayout& layout = LayoutOf(game);
  const std::optional<std::string> content =
      ReadWholeFile(PathFromUtf8(dataFolder) / PathFromUtf8(layout.dataFile));
  if (!content) {
    return false;  // the grid stays hidden until a later load succeeds
  }
  // The four-digit draw number bounds a good file far below int's range; a
  // larger file is damaged and is read only as far as int counts.
  const std::size_t whole = content->size() / static_cast<std::size_t>(layout.recordBytes);
  const int count = whole > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(whole);
  data.table.rows = RowsFromRecords(game, *content, count, stop);
  data.drawCount.store(count);

  RunHook(hooks.endGridReload, game);
  return true;
}

}  // namespace norv
