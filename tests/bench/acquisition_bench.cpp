#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>

#include "acquisition/full_refresh.h"
#include "acquisition/result_page_parser.h"
#include "base/text_fields.h"
#include "tests/native/bank_pages.h"
#include "tests/native/scripted_fetcher.h"
#include "tests/native/temp_data_folder.h"

namespace norv {
namespace {

// The bank's page: the five newest draws among some 60 KB of navigation.
std::string RealisticLoto6Page() {
  std::vector<testing::DrawOnPage> draws;
  for (int draw = 545; draw >= 541; --draw) {
    draws.push_back(testing::Loto6Draw(draw));
  }
  return testing::ResultPageHtml(draws, 60 * 1024);
}

// tools/bench-parse.sh parses the very same bytes with BeautifulSoup: it
// names the file to leave them in.
void KeepPageFor(const std::string& page) {
  if (const char* path = std::getenv("NORVALE_BENCH_PAGE")) {
    std::ofstream(path, std::ios::binary) << page;
  }
}

void BM_ParseLoto6ResultPage(benchmark::State& state) {
  testing::ScriptedFetcher fetcher;
  const std::string page = RealisticLoto6Page();
  KeepPageFor(page);
  fetcher.Serve("http://takarakuji.bank.test/loto6.html", page);
  UrlTable urls;
  const AcquisitionContext context{fetcher, urls, "", {}};
  const FailureSink ignore = [](int, int) {};
  for (auto _ : state) {
    fetcher.requests.clear();
    // The oldest draw on the page is the furthest to search for.
    std::string record = ParseResultPage(Game::Loto6, "http://takarakuji.bank.test/loto6.html", 0, 541, context, ignore);
    if (record.size() != 56) state.SkipWithError("page not read");
    benchmark::DoNotOptimize(record);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
  state.counters["page_bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_ParseLoto6ResultPage);

void BM_RefreshLoto6With9999Records(benchmark::State& state) {
  std::string history;
  for (int draw = 1; draw <= 9999; ++draw) {
    history += FixedDigits(draw, 4) + std::string(52, static_cast<char>('0' + draw % 10));
  }
  testing::ScriptedFetcher fetcher;
  testing::TempDataFolder folder;
  UrlTable urls;
  urls.slots[2] = "http://data.pellmark.test/loto6.txt";
  fetcher.Serve(urls[2], history);
  folder.Write("dat_lot6.tan", "");
  const AcquisitionContext context{fetcher, urls, folder.Prefix(), {}};
  const FailureSink ignore = [](int, int) {};
  for (auto _ : state) {
    fetcher.requests.clear();
    if (RefreshDataFile(Game::Loto6, false, true, 0, context, ignore) != 9999) state.SkipWithError("not replaced");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 9999 * 58);
}
BENCHMARK(BM_RefreshLoto6With9999Records)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace norv
