#pragma once
// The figures of one `update` in the Prometheus text exposition format, for
// node_exporter's textfile collector. The names are fixed: alert rules name
// them. The file is written beside its final name and renamed into place
// (durable_file.h), as the collector requires; the temporary name does not
// end in ".prom", so the collector never reads half a file.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/durable_file.h"
#include "service/freshness.h"

namespace norv::service {

struct RunFigures {
  std::vector<Freshness> freshness;  // empty when the store could not be read
  std::array<int, 4> added{};        // draws added by this run, by GameIndex
  int exitCode = 0;
  long long endedAt = 0;  // Unix time
};

// The last success is this run's end for status 0 or 3, else `previousSuccess`
// (left out when there is none).
std::string MetricsText(const RunFigures& figures, std::optional<long long> previousSuccess);

// The last success recorded in an earlier file's text, if any.
std::optional<long long> LastSuccessIn(std::string_view metricsText);

// Takes the last success from the file being replaced, when this run failed.
// Throws std::system_error when the file cannot be written.
void WriteMetricsFile(const std::filesystem::path& path, const RunFigures& figures,
                      const ReplaceStepHook& afterStep = {});

}  // namespace norv::service
