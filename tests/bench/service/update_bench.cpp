// How long `update` takes to bring the real history up by one new draw per
// game, against a local bank: open the store, fetch, read, store. One new draw
// per game costs six requests (three files, three answers of 404), so at the
// bank's pace of one request a second five seconds of it are waiting; the
// unpaced figure is the work itself.
#include <benchmark/benchmark.h>

#include <memory>

#include "service/bank_update.h"
#include "service/seed.h"
#include "tests/service/support/bank_file_writer.h"
#include "tests/service/support/local_bank.h"
#include "tests/service/support/temp_folder.h"

namespace {

using namespace norv;
using namespace norv::service;

struct Scene {
  testing::TempFolder temp;
  testing::LocalBank bank;

  explicit Scene(const Histories& seed) {
    const Store store = Store::Create(temp / "store", seed);
    const auto next = [&](Game game) { return testing::SampleDraw(game, store.NewestNumber(game) + 1); };
    bank.PublishDraw(next(Game::Loto6));
    bank.PublishDraw(next(Game::MiniLoto));
    bank.PublishNumbers(next(Game::Numbers4), next(Game::Numbers3));
  }
};

void BM_UpdateOneNewDrawPerGame(benchmark::State& state) {
  const Histories seed = BundledSeed();
  FetchLimits limits;
  limits.interval = std::chrono::milliseconds(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto scene = std::make_unique<Scene>(seed);
    state.ResumeTiming();
    Store store = Store::Open(scene->temp / "store");
    BankClient client(scene->bank.base(), limits);
    std::size_t added = 0;
    const auto failures = UpdateStore(store, client, [&added](const Draw&) { ++added; });
    state.PauseTiming();
    if (!failures.empty() || added != 4) state.SkipWithError("the update did not add the four draws");
    scene.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_UpdateOneNewDrawPerGame)->ArgName("interval_ms")->Arg(1000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdateOneNewDrawPerGame)->ArgName("interval_ms")->Arg(0)->MinTime(2.0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
