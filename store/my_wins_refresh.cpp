#include "store/my_wins_refresh.h"

#include <cstdint>

#include "base/text_basics.h"
#include "resources/my_numbers_strings.h"
#include "store/csv_export.h"
#include "store/csv_line.h"
#include "store/file_replace.h"
#include "store/my_numbers_file.h"

namespace norv {

namespace {

std::string SeenPath(const std::string& dataFolder) { return dataFolder + std::string(kMyWinsSeenFileName); }

std::string WinLine(const MyWin& win) {
  std::string line(GameName(win.game));
  line.append(" ").append(text::kDrawPrefix).append(std::to_string(win.draw)).append(text::kDrawSuffix);
  line.append(" ").append(WinClassText(win.winClass)).append(" ").append(PrizeText(win.prize));
  if (win.prize > 0) line.append(text::kYen);
  return line;
}

const DrawTable* TableOf(const TablesByGame& tables, Game game) {
  return tables[static_cast<std::size_t>(GameIndex(game))];
}

// FNV-1a over every cell of the rows up to `upTo`: a full refresh that
// changed an old draw shows here, and the history is matched again.
std::uint64_t Fingerprint(const TablesByGame& tables, const DrawsByGame& upTo) {
  std::uint64_t hash = 14695981039346656037ull;
  for (Game game : kAllGames) {
    const DrawTable* table = TableOf(tables, game);
    if (!table) continue;
    for (const DrawRow& row : table->rows) {
      if (row.empty() || row[0] > upTo[static_cast<std::size_t>(GameIndex(game))]) continue;
      for (std::int32_t cell : row) hash = (hash ^ static_cast<std::uint32_t>(cell)) * 1099511628211ull;
    }
  }
  return hash;
}

// The wins in the added draws before those remembered, game by game.
std::vector<MyWin> Merge(const std::vector<MyWin>& added, const std::vector<MyWin>& remembered) {
  std::vector<MyWin> wins;
  wins.reserve(added.size() + remembered.size());
  for (Game game : kAllGames) {
    for (const std::vector<MyWin>* part : {&added, &remembered}) {
      for (const MyWin& win : *part) {
        if (win.game == game) wins.push_back(win);
      }
    }
  }
  return wins;
}

}  // namespace

std::optional<DrawsByGame> ReadSeenDraws(const std::string& dataFolder, FileSystem& files) {
  const std::optional<std::string> bytes = files.ReadWhole(SeenPath(dataFolder));
  if (!bytes) return std::nullopt;
  const std::vector<std::string_view> lines = SplitLines(*bytes);
  if (lines.size() != kAllGames.size()) return std::nullopt;
  DrawsByGame seen{};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::optional<int> draw = ParseDigits(lines[i]);
    if (!draw) return std::nullopt;
    seen[i] = *draw;
  }
  return seen;
}

bool WriteSeenDraws(const DrawsByGame& seen, const std::string& dataFolder, FileSystem& files) {
  std::string text;
  for (int draw : seen) text.append(std::to_string(draw)).append("\r\n");
  const std::string path = SeenPath(dataFolder);
  return WriteTwinAndReplace(CsvTwinPath(path), path, text, files) == ReplaceOutcome::Replaced;
}

DrawsByGame NewestDraws(const TablesByGame& tables) {
  DrawsByGame newest{};
  for (Game game : kAllGames) {
    const DrawTable* table = TableOf(tables, game);
    if (table && !table->rows.empty() && !table->rows.front().empty()) {
      newest[static_cast<std::size_t>(GameIndex(game))] = table->rows.front().front();
    }
  }
  return newest;
}

bool IsNewWin(const MyWin& win, const DrawsByGame& seen) {
  return win.draw > seen[static_cast<std::size_t>(GameIndex(win.game))];
}

std::vector<MyWin> RefreshMyWins(const std::string& dataFolder, const TablesByGame& tables,
                                 const DrawsByGame& drawsBefore, WinsMemory& memory, FileSystem& files) {
  const std::string linesPath = MyNumbersPath(dataFolder);
  const std::optional<std::string> bytes = files.ReadWhole(linesPath);
  if (!bytes && files.SizeOf(linesPath)) return {};
  const std::vector<MyLine> lines = bytes ? ParseMyNumbers(*bytes).PlayedLines() : std::vector<MyLine>{};
  const std::string winsPath = MyWinsPath(dataFolder);
  // Someone who never entered a line gets no files of wins.
  if (lines.empty() && !files.SizeOf(winsPath)) return {};
  const bool remembered = memory.valid && memory.linesBytes == bytes.value_or("") &&
                          memory.heldDraws == drawsBefore &&
                          memory.heldFingerprint == Fingerprint(tables, drawsBefore);
  std::vector<MyWin> added = FindWins(lines, tables, drawsBefore);
  std::vector<MyWin> wins = remembered ? Merge(added, memory.wins) : FindWins(lines, tables);
  WriteMyWinsFile(wins, winsPath, files);
  if (!ReadSeenDraws(dataFolder, files)) WriteSeenDraws(drawsBefore, dataFolder, files);
  const DrawsByGame held = NewestDraws(tables);
  memory = {true, bytes.value_or(""), held, Fingerprint(tables, held), std::move(wins)};
  return added;
}

std::string WinNoticeText(const std::vector<MyWin>& wins, std::size_t most) {
  if (wins.empty()) return {};
  std::string text(text::kWinNoticeTitle);
  for (std::size_t i = 0; i < wins.size() && i < most; ++i) text.append("\n").append(WinLine(wins[i]));
  if (wins.size() > most) {
    text.append("\n").append(text::kMoreWinsPrefix).append(std::to_string(wins.size() - most));
    text.append(text::kMoreWinsSuffix);
  }
  return text;
}

}  // namespace norv
