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

struct Fingerprints {
  std::uint64_t before;
  std::uint64_t held;
};

// The cells weighted by odd constants, one per column: a change to any one
// cell changes the sum, and the cells need no chain of multiplies.
std::uint64_t RowSum(const DrawRow& row) {
  constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
  std::uint64_t sum = row.size();
  std::uint64_t weight = kOdd;
  for (std::int32_t cell : row) {
    sum += static_cast<std::uint32_t>(cell) * weight;
    weight += 2 * kOdd;
  }
  return sum;
}

// The rows up to `before`, and those up to `held`, each chained FNV-1a style
// over their sums in one pass. Each step of the chain is one-to-one, so a
// full refresh that changed any one old draw shows here, and the history is
// matched again.
Fingerprints FingerprintsOf(const TablesByGame& tables, const DrawsByGame& before, const DrawsByGame& held) {
  constexpr std::uint64_t kPrime = 1099511628211ull;
  Fingerprints prints{14695981039346656037ull, 14695981039346656037ull};
  for (Game game : kAllGames) {
    const DrawTable* table = TableOf(tables, game);
    if (!table) continue;
    const std::size_t index = static_cast<std::size_t>(GameIndex(game));
    for (const DrawRow& row : table->rows) {
      if (row.empty()) continue;
      const std::uint64_t sum = RowSum(row);
      if (row[0] <= before[index]) prints.before = (prints.before ^ sum) * kPrime;
      if (row[0] <= held[index]) prints.held = (prints.held ^ sum) * kPrime;
    }
  }
  return prints;
}

// The lines of `bytes`, read again only when they changed; wins remembered
// for other lines are forgotten.
const std::vector<MyLine>& LinesOf(std::string bytes, WinsMemory& memory) {
  if (memory.linesBytes == bytes) return memory.lines;
  memory = {};
  memory.lines = ParseMyNumbers(bytes).PlayedLines();
  memory.linesBytes = std::move(bytes);
  return memory.lines;
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
  std::optional<std::string> bytes = files.ReadWhole(linesPath);
  if (!bytes && files.SizeOf(linesPath)) return {};
  const std::vector<MyLine>& lines = LinesOf(std::move(bytes).value_or(""), memory);
  const std::string winsPath = MyWinsPath(dataFolder);
  // Someone who never entered a line gets no files of wins.
  if (lines.empty() && !files.SizeOf(winsPath)) return {};
  const DrawsByGame held = NewestDraws(tables);
  const Fingerprints prints = FingerprintsOf(tables, drawsBefore, held);
  const bool remembered = memory.valid && memory.heldDraws == drawsBefore && memory.heldFingerprint == prints.before;
  std::vector<MyWin> added = FindWins(lines, tables, drawsBefore);
  std::optional<MyWinsFileBytes> file =
      remembered ? WithNewerWins(std::move(memory.file), added) : MyWinsFileOf(FindWins(lines, tables));
  if (file) WriteMyWinsBytes(*file, winsPath, files);
  if (!ReadSeenDraws(dataFolder, files)) WriteSeenDraws(drawsBefore, dataFolder, files);
  memory.valid = file.has_value();
  memory.heldDraws = held;
  memory.heldFingerprint = prints.held;
  memory.file = file ? std::move(*file) : MyWinsFileBytes{};
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
