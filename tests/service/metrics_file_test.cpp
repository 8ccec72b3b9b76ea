// The metrics file for node_exporter's textfile collector: Prometheus text,
// whole after a kill at any of its write steps, and the last success kept
// through failed runs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "service/commands.h"
#include "service/metrics_file.h"
#include "tests/service/prometheus_text.h"
#include "tests/service/support/temp_folder.h"

namespace norv::service {
namespace {

using testing::FileText;
using testing::ReadPrometheusText;

Freshness GameFigures(norv::Game game, int newest, std::string date, int allowanceDays, bool stale) {
  Freshness freshness;
  freshness.game = game;
  freshness.newest = newest;
  freshness.newestDate = std::move(date);
  if (allowanceDays > 0) freshness.allowance = Allowance{allowanceDays, allowanceDays - 1, "x", "y"};
  freshness.stale = stale;
  return freshness;
}

RunFigures Figures(int exitCode, long long endedAt) {
  RunFigures figures;
  figures.freshness = {GameFigures(norv::Game::Loto6, 2085, "2026-03-16", 8, true),
                       GameFigures(norv::Game::MiniLoto, 1353, "2025-09-23", 15, true),
                       GameFigures(norv::Game::Numbers4, 7055, "2026-08-24", 8, false),
                       GameFigures(norv::Game::Numbers3, 0, "", 0, false)};
  figures.added = {0, 0, 1, 0};
  figures.exitCode = exitCode;
  figures.endedAt = endedAt;
  return figures;
}

TEST(MetricsFile, TheFiguresAreWrittenAsPrometheusTextUnderTheirFixedNames) {
  const auto read = ReadPrometheusText(MetricsText(Figures(kExitStale, 1796702400), std::nullopt));
  ASSERT_EQ(read.problem, "");
  const std::map<std::string, std::string> expected{
      {"norv_newest_draw{game=\"loto6\"}", "2085"},
      {"norv_newest_draw{game=\"miniloto\"}", "1353"},
      {"norv_newest_draw{game=\"numbers4\"}", "7055"},
      {"norv_newest_draw_timestamp_seconds{game=\"loto6\"}", "1773586800"},  // 2026-03-16 00:00 in Japan
      {"norv_newest_draw_timestamp_seconds{game=\"miniloto\"}", "1758553200"},
      {"norv_newest_draw_timestamp_seconds{game=\"numbers4\"}", "1787497200"},
      {"norv_allowance_seconds{game=\"loto6\"}", "691200"},
      {"norv_allowance_seconds{game=\"miniloto\"}", "1296000"},
      {"norv_allowance_seconds{game=\"numbers4\"}", "691200"},
      {"norv_stale{game=\"loto6\"}", "1"},
      {"norv_stale{game=\"miniloto\"}", "1"},
      {"norv_stale{game=\"numbers4\"}", "0"},
      {"norv_stale{game=\"numbers3\"}", "0"},
      {"norv_update_added{game=\"loto6\"}", "0"},
      {"norv_update_added{game=\"miniloto\"}", "0"},
      {"norv_update_added{game=\"numbers4\"}", "1"},
      {"norv_update_added{game=\"numbers3\"}", "0"},
      {"norv_update_last_success_timestamp_seconds", "1796702400"},
      {"norv_update_exit_code", "3"},
  };
  EXPECT_EQ(read.samples, expected);
}

TEST(MetricsFile, AFailedRunKeepsTheLastSuccessAndAStoreNotReadGivesOnlyTheRunsFigures) {
  RunFigures failed;
  failed.exitCode = kExitFailure;
  failed.endedAt = 1796706000;
  for (const auto& [previous, expected] :
       {std::pair<std::optional<long long>, std::map<std::string, std::string>>{
            1796702400,
            {{"norv_update_last_success_timestamp_seconds", "1796702400"}, {"norv_update_exit_code", "1"}}},
        {std::nullopt, {{"norv_update_exit_code", "1"}}}}) {
    const auto read = ReadPrometheusText(MetricsText(failed, previous));
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.samples, expected);
  }
  EXPECT_EQ(LastSuccessIn(MetricsText(Figures(0, 1796702400), std::nullopt)), 1796702400);
  EXPECT_EQ(LastSuccessIn("norv_update_last_success_timestamp_seconds 12x\n"), std::nullopt);
  EXPECT_EQ(LastSuccessIn("# HELP norv_update_last_success_timestamp_seconds When\n"), std::nullopt);
}

TEST(MetricsFile, TheFileCarriesTheLastSuccessThroughFailedRuns) {
  testing::TempFolder temp;
  const auto path = temp / "norv.prom";
  WriteMetricsFile(path, Figures(0, 1000));
  WriteMetricsFile(path, Figures(kExitFailure, 2000));
  WriteMetricsFile(path, Figures(kExitBadInput, 3000));
  EXPECT_EQ(LastSuccessIn(FileText(path)), 1000);
  EXPECT_EQ(ReadPrometheusText(FileText(path)).samples.at("norv_update_exit_code"), "2");
  WriteMetricsFile(path, Figures(kExitStale, 4000));
  EXPECT_EQ(LastSuccessIn(FileText(path)), 4000);
  // An unreadable earlier file loses only the last success.
  testing::WriteFileText(path, "garbage");
  WriteMetricsFile(path, Figures(kExitFailure, 5000));
  EXPECT_EQ(LastSuccessIn(FileText(path)), std::nullopt);
}

// Kills a child process right after `step` of writing `figures` to `path`.
void KillAfter(const std::filesystem::path& path, const RunFigures& figures, ReplaceStep step) {
  const pid_t child = ::fork();
  if (child == 0) {
    WriteMetricsFile(path, figures, [step](ReplaceStep done) {
      if (done == step) ::kill(::getpid(), SIGKILL);
    });
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

std::vector<std::string> PromFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".prom") names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(MetricsFile, AKillAtEachWriteStepLeavesTheOldFileOrTheNewOneWhole) {
  const RunFigures older = Figures(0, 1000), newer = Figures(kExitStale, 2000);
  const std::string oldText = MetricsText(older, std::nullopt), newText = MetricsText(newer, std::nullopt);
  for (bool firstWrite : {true, false}) {
    for (ReplaceStep step : kAllReplaceSteps) {
      SCOPED_TRACE(std::string(firstWrite ? "first write, step " : "step ") +
                   std::to_string(static_cast<int>(step)));
      testing::TempFolder temp;
      const auto path = temp / "norv.prom";
      if (!firstWrite) WriteMetricsFile(path, older);
      KillAfter(path, newer, step);
      const bool renamed = step >= ReplaceStep::Renamed;
      if (firstWrite && !renamed) {
        EXPECT_FALSE(std::filesystem::exists(path));
      } else {
        const std::string text = FileText(path);
        EXPECT_EQ(text, renamed ? newText : oldText);
        EXPECT_EQ(ReadPrometheusText(text).problem, "");
      }
      // The collector reads only "*.prom": a temporary file left behind is not one.
      EXPECT_EQ(PromFiles(temp.path()).size(), firstWrite && !renamed ? 0u : 1u);
      WriteMetricsFile(path, newer);
      EXPECT_EQ(FileText(path), newText);
    }
  }
}

}  // namespace
}  // namespace norv::service
