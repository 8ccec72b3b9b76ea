#include "service/update_once.h"

#include <optional>
#include <ostream>

#include "service/bank_client.h"
#include "service/bank_update.h"
#include "service/commands.h"
#include "service/freshness.h"
#include "service/metrics_file.h"
#include "service/service_clock.h"
#include "service/store.h"

namespace norv::service {

namespace {

std::optional<BankClient> OpenBank(std::string_view base, std::string& problem) {
  try {
    return std::optional<BankClient>(std::in_place, base);
  } catch (const FetchError& error) {
    problem = error.what();
    return std::nullopt;
  }
}

std::string AnswerFor(const BankAnswers& answers, Game game) {
  const auto answer = answers.find(SeriesOf(game));
  return answer == answers.end() ? "was not asked in this run" : answer->second;
}

// One line per stale game; whether there was any.
bool ReportStale(const std::vector<Freshness>& judged, const BankAnswers& answers, const UpdateJob& job,
                 std::ostream& err) {
  bool stale = false;
  for (const Freshness& game : judged) {
    if (!game.stale) continue;
    stale = true;
    err << job.prefix << StaleText(game, AnswerFor(answers, game.game)) << '\n';
  }
  return stale;
}

// Not a store, or a history that is not whole: bad input, reported before
// anything is asked of the bank.
std::optional<Store> OpenStore(const UpdateJob& job, std::ostream& err) {
  try {
    return Store::Open(job.store);
  } catch (const StoreError& error) {
    err << job.prefix << error.what() << '\n';
    return std::nullopt;
  }
}

// Fills `figures` with what the run learnt and returns its status. The games
// are judged even when the bank could not be asked: a stale store says so
// whatever else went wrong.
int Update(const UpdateJob& job, RunFigures& figures, std::ostream& err) {
  std::optional<Store> opened = OpenStore(job, err);
  if (!opened) return kExitBadInput;
  Store& store = *opened;
  std::string problem;
  std::optional<BankClient> bank = OpenBank(job.bank, problem);
  std::vector<std::string> failures{problem};
  BankAnswers answers;
  if (bank) {
    failures = UpdateStore(store, *bank, [&](const Draw& draw) {
      ++figures.added[static_cast<std::size_t>(GameIndex(draw.game))];
      if (job.added) job.added(draw);
    }, &answers);
  }
  for (const std::string& failure : failures) err << job.prefix << failure << '\n';
  figures.freshness = JudgeFreshness(store.AllDraws(), JapanToday(ServiceNow()));
  const bool stale = ReportStale(figures.freshness, answers, job, err);
  if (!bank) return kExitBadInput;
  if (!failures.empty()) return kExitFailure;
  return stale ? kExitStale : 0;
}

}  // namespace

int RunUpdateJob(const UpdateJob& job, std::ostream& err) {
  RunFigures figures;
  try {
    figures.exitCode = Update(job, figures, err);
  } catch (const std::exception& error) {
    err << job.prefix << error.what() << '\n';
    figures.exitCode = kExitFailure;
  }
  if (job.metrics.empty()) return figures.exitCode;
  figures.endedAt = UnixSeconds(ServiceNow());
  try {
    WriteMetricsFile(job.metrics, figures);
  } catch (const std::exception& error) {
    err << job.prefix << "cannot write the metrics: " << error.what() << '\n';
    if (figures.exitCode == 0) return kExitFailure;
  }
  return figures.exitCode;
}

int RunUpdateOnce(const std::filesystem::path& store, std::string_view bank, std::ostream& err,
                  const std::filesystem::path& metrics) {
  return RunUpdateJob({store, bank, metrics, "norv-service serve: update: ",
                       [&err](const Draw& draw) { err << "norv-service serve: added " << Describe(draw) << '\n'; }},
                      err);
}

}  // namespace norv::service
