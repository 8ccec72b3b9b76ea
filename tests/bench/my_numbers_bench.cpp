#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stop_token>
#include <string>

#include <unistd.h>

#include "base/text_fields.h"
#include "store/draw_table.h"
#include "store/file_replace.h"
#include "store/my_numbers_file.h"
#include "store/my_wins_refresh.h"

namespace norv {
namespace {

constexpr int kFullHistory = 9999;
constexpr int kLinesPerGame = 250;

int NumberFields(Game game) {
  switch (game) {
    case Game::Loto6: return 7;
    case Game::MiniLoto: return 6;
    case Game::Numbers4: return 4;
    case Game::Numbers3: return 3;
  }
  return 0;
}

// A record of made-up draws: numbers in the game's range, prizes of every width.
std::string Record(Game game, int draw, std::mt19937& random) {
  const RecordLayout& layout = LayoutOf(game);
  const int highest = game == Game::Loto6 ? 43 : game == Game::MiniLoto ? 31 : 9;
  const int lowest = highest == 9 ? 0 : 1;
  std::string text = FixedDigits(draw, layout.fields[0].width);
  for (int i = 1; i < layout.columns(); ++i) {
    const int width = layout.fields[static_cast<std::size_t>(i)].width;
    const long long value = i <= NumberFields(game)
                                ? std::uniform_int_distribution<int>(lowest, highest)(random)
                                : std::uniform_int_distribution<long long>(0, 999999)(random);
    text += FixedDigits(value, width);
  }
  return text + "\r\n";
}

std::string History(Game game, int draws) {
  std::mt19937 random(static_cast<unsigned>(GameIndex(game)) + 7);
  std::string bytes;
  for (int draw = 1; draw <= draws; ++draw) bytes += Record(game, draw, random);
  return bytes;
}

std::string LineOf(Game game, std::mt19937& random) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  if (game == Game::Loto6 || game == Game::MiniLoto) {
    const int count = game == Game::Loto6 ? 6 : 5;
    std::string numbers;
    for (int i = 0; i < count; ++i) numbers += std::to_string(pick(1, game == Game::Loto6 ? 43 : 31)) + " ";
    return std::string(GameName(game)) + "," + numbers + ",,1,,";
  }
  static constexpr const char* ways[] = {"ストレート", "ボックス", "セット", "ミニ"};
  const int wayCount = game == Game::Numbers3 ? 4 : 3;
  const std::string way = ways[pick(0, wayCount - 1)];
  const int digits = way == "ミニ" ? 2 : (game == Game::Numbers4 ? 4 : 3);
  std::string numbers;
  for (int i = 0; i < digits; ++i) numbers += static_cast<char>('0' + pick(0, 9));
  return std::string(GameName(game)) + "," + numbers + "," + way + ",1,,";
}

// 1,000 lines, 250 per game; a line the rules refuse (a number twice, all
// the same digits for a box) is drawn again.
std::string ThousandLines() {
  std::mt19937 random(42);
  std::string text = "ゲーム,数字,買い方,開始回,終了回,メモ\n";
  for (Game game : kAllGames) {
    for (int made = 0; made < kLinesPerGame;) {
      const std::string line = LineOf(game, random);
      if (!ParseMyNumbers(line).PlayedLines().empty()) {
        text += line + "\n";
        ++made;
      }
    }
  }
  return text;
}

class BenchFolder {
 public:
  BenchFolder()
      : path_(std::filesystem::temp_directory_path() / ("norv_mybench_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  std::string Folder() const { return path_.string() + "/"; }
  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(path_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  void Remove(std::string_view name) const { std::filesystem::remove(path_ / name); }

 private:
  std::filesystem::path path_;
};

TablesByGame LoadedTables(const std::string& folder) {
  TablesByGame tables{};
  for (Game game : kAllGames) {
    LoadDrawTable(game, folder, std::stop_token{}, ReloadHooks{});
    tables[static_cast<std::size_t>(GameIndex(game))] = &GameDataOf(game).table;
  }
  return tables;
}

void BM_MatchThousandLinesAgainstFourFullHistories(benchmark::State& state) {
  BenchFolder folder;
  for (Game game : kAllGames) folder.Write(LayoutOf(game).dataFile, History(game, kFullHistory));
  const TablesByGame tables = LoadedTables(folder.Folder());
  const std::vector<MyLine> lines = ParseMyNumbers(ThousandLines()).PlayedLines();
  std::size_t wins = 0;
  for (auto _ : state) {
    wins = FindWins(lines, tables).size();
    benchmark::DoNotOptimize(wins);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["wins"] = static_cast<double>(wins);
}
BENCHMARK(BM_MatchThousandLinesAgainstFourFullHistories)->Unit(benchmark::kMillisecond);

// The store's part of a check that finds one new draw of every game, as a
// resident program runs it after an earlier check: the record appended
// through its twin, the four tables loaded again, and the user's wins
// refreshed. Argument: the lines registered (0 or 1,000).
void BM_CheckFindingANewDraw(benchmark::State& state) {
  BenchFolder folder;
  std::array<std::string, 4> before;
  std::array<std::string, 4> record;
  for (Game game : kAllGames) {
    const std::string full = History(game, kFullHistory);
    const std::size_t recordBytes = static_cast<std::size_t>(LayoutOf(game).recordBytes);
    before[static_cast<std::size_t>(GameIndex(game))] = full.substr(0, full.size() - recordBytes);
    record[static_cast<std::size_t>(GameIndex(game))] = full.substr(full.size() - recordBytes);
  }
  if (state.range(0) > 0) folder.Write(kMyNumbersFileName, ThousandLines());
  const DrawsByGame drawsBefore{kFullHistory - 1, kFullHistory - 1, kFullHistory - 1, kFullHistory - 1};

  // The earlier check, which found the draws up to the one before.
  for (Game game : kAllGames) folder.Write(LayoutOf(game).dataFile, before[static_cast<std::size_t>(GameIndex(game))]);
  WinsMemory earlier;
  RefreshMyWins(folder.Folder(), LoadedTables(folder.Folder()), {}, earlier);

  // Kept across checks, as the resident program keeps it.
  WinsMemory memory;
  for (auto _ : state) {
    state.PauseTiming();
    for (Game game : kAllGames) {
      folder.Write(LayoutOf(game).dataFile, before[static_cast<std::size_t>(GameIndex(game))]);
    }
    memory = earlier;
    state.ResumeTiming();
    for (Game game : kAllGames) {
      const RecordLayout& layout = LayoutOf(game);
      AppendRecordViaTwin(folder.Folder() + std::string(layout.tempFile), folder.Folder() + std::string(layout.dataFile),
                          record[static_cast<std::size_t>(GameIndex(game))]);
    }
    const std::vector<MyWin> added = RefreshMyWins(folder.Folder(), LoadedTables(folder.Folder()), drawsBefore, memory);
    benchmark::DoNotOptimize(added.data());
  }
}
BENCHMARK(BM_CheckFindingANewDraw)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norv
