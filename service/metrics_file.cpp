#include "service/metrics_file.h"

#include <charconv>
#include <functional>
#include <system_error>

#include "service/commands.h"

namespace norv::service {

namespace {

constexpr std::string_view kLastSuccess = "norv_update_last_success_timestamp_seconds";
constexpr std::size_t kMostPreviousBytes = 1024 * 1024;
constexpr long long kSecondsPerDay = 24 * 60 * 60;

class Exposition {
 public:
  void Family(std::string_view name, std::string_view help) {
    name_ = name;
    text_ += "# HELP " + std::string(name) + " " + std::string(help) + "\n";
    text_ += "# TYPE " + std::string(name) + " gauge\n";
  }
  void Sample(long long value) { text_ += name_ + " " + std::to_string(value) + "\n"; }
  void Sample(Game game, long long value) {
    text_ += name_ + "{game=\"" + std::string(RulesOf(game).storeName) + "\"} " + std::to_string(value) + "\n";
  }
  const std::string& Text() const { return text_; }

 private:
  std::string name_;
  std::string text_;
};

// One family with a sample for each game that `value` gives one for.
void PerGame(Exposition& out, const RunFigures& figures, std::string_view name, std::string_view help,
             const std::function<std::optional<long long>(const Freshness&)>& value) {
  if (figures.freshness.empty()) return;
  out.Family(name, help);
  for (const Freshness& game : figures.freshness) {
    if (const auto sample = value(game)) out.Sample(game.game, *sample);
  }
}

bool Succeeded(int exitCode) { return exitCode == 0 || exitCode == kExitStale; }

}  // namespace

std::string MetricsText(const RunFigures& figures, std::optional<long long> previousSuccess) {
  Exposition out;
  PerGame(out, figures, "norv_newest_draw", "The newest draw held of each game.",
          [](const Freshness& game) -> std::optional<long long> {
            if (game.newest == 0) return std::nullopt;
            return game.newest;
          });
  PerGame(out, figures, "norv_newest_draw_timestamp_seconds",
          "The date of the newest draw held, as Unix time at midnight Japan time.",
          [](const Freshness& game) -> std::optional<long long> {
            if (game.newestDate.empty()) return std::nullopt;
            return JapanMidnightUnixSeconds(game.newestDate);
          });
  PerGame(out, figures, "norv_allowance_seconds",
          "How long a game may go without a new draw: its longest gap between draws in five years, plus one day.",
          [](const Freshness& game) -> std::optional<long long> {
            if (!game.allowance) return std::nullopt;
            return game.allowance->days * kSecondsPerDay;
          });
  PerGame(out, figures, "norv_stale", "1 when the newest draw held is older than the game's allowance.",
          [](const Freshness& game) -> std::optional<long long> { return game.stale ? 1 : 0; });
  PerGame(out, figures, "norv_update_added", "Draws added by the last update.",
          [&figures](const Freshness& game) -> std::optional<long long> {
            return figures.added[static_cast<std::size_t>(GameIndex(game.game))];
          });
  const std::optional<long long> lastSuccess = Succeeded(figures.exitCode) ? figures.endedAt : previousSuccess;
  if (lastSuccess) {
    out.Family(kLastSuccess, "When an update last ended with status 0 or 3, as Unix time.");
    out.Sample(*lastSuccess);
  }
  out.Family("norv_update_exit_code", "The last update's status: 0 success, 1 failure, 2 bad input, 3 stale.");
  out.Sample(figures.exitCode);
  return out.Text();
}

std::optional<long long> LastSuccessIn(std::string_view metricsText) {
  const std::string prefix = std::string(kLastSuccess) + " ";
  for (std::size_t start = 0; start < metricsText.size();) {
    std::size_t end = metricsText.find('\n', start);
    if (end == std::string_view::npos) end = metricsText.size();
    const std::string_view line = metricsText.substr(start, end - start);
    if (line.starts_with(prefix)) {
      long long value = 0;
      const std::string_view digits = line.substr(prefix.size());
      const auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
      if (error == std::errc() && rest == digits.data() + digits.size()) return value;
    }
    start = end + 1;
  }
  return std::nullopt;
}

void WriteMetricsFile(const std::filesystem::path& path, const RunFigures& figures, const ReplaceStepHook& afterStep) {
  std::optional<long long> previousSuccess;
  if (!Succeeded(figures.exitCode)) {
    // A missing or unreadable earlier file only means no success is known.
    try {
      previousSuccess = LastSuccessIn(ReadWholeFile(path, kMostPreviousBytes));
    } catch (const std::system_error&) {
    }
  }
  ReplaceFileDurably(path, MetricsText(figures, previousSuccess), afterStep);
}

}  // namespace norv::service
