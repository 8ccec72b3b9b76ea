#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stop_token>
#include <string>

#include <unistd.h>

#include "base/text_fields.h"
#include "store/draw_table.h"

namespace norv {
namespace {

constexpr int kFullLoto6History = 9999;

std::string Loto6Record(int draw) {
  std::string text = FixedDigits(draw, 4);
  for (int n = 1; n <= 7; ++n) {
    text += FixedDigits((draw * 7 + n * 5) % 43 + 1, 2);
  }
  text += FixedDigits(200000000 + draw * 13, 10) + FixedDigits(draw * 977, 9) + FixedDigits(draw * 31, 8) +
          FixedDigits(9100, 6) + FixedDigits(1000, 5);
  return text + "\r\n";
}

// The largest file a game can have: every four-digit draw number used.
void BM_LoadFullLoto6Table(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("norv_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    std::ofstream out(folder / "dat_lot6.tan", std::ios::binary);
    for (int draw = 1; draw <= kFullLoto6History; ++draw) {
      out << Loto6Record(draw);
    }
  }
  const std::string dataFolder = folder.string() + "/";
  for (auto _ : state) {
    if (!LoadDrawTable(Game::Loto6, dataFolder, std::stop_token{}, ReloadHooks{})) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(GameDataOf(Game::Loto6).table.rows.data());
  }
  state.counters["rows"] = static_cast<double>(GameDataOf(Game::Loto6).drawCount.load());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadFullLoto6Table)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norv
