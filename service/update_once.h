#pragma once
// One run of `update` on a store, as the `update` command and
// `serve --update-every` make it: reads the bank's newest per-draw files, adds
// what the store lacks, judges each game's freshness and, when asked, writes
// the run's figures for monitoring. What a person must read goes to `err`.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>

#include "service/draw.h"

namespace norv::service {

struct UpdateJob {
  std::filesystem::path store;
  std::string_view bank;
  std::filesystem::path metrics;                 // empty: no metrics file
  std::string_view prefix;                       // starts each line on `err`
  std::function<void(const Draw&)> added = {};   // hears each draw stored
};

// Returns the exit status `update` gives: 0, kExitFailure, kExitBadInput (a
// folder that is not a store, or the bank's address) or kExitStale (the run went well but a game is stale). A
// failed run also names the stale games. The metrics file is written after
// every run; when it cannot be, a run that went well is a failure.
int RunUpdateJob(const UpdateJob& job, std::ostream& err);

// `serve --update-every`: the server's own log names each draw it added.
int RunUpdateOnce(const std::filesystem::path& store, std::string_view bank, std::ostream& err,
                  const std::filesystem::path& metrics = {});

}  // namespace norv::service
