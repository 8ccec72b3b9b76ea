#pragma once
// What the service tests share: a store made from the bundled snapshot, a
// published site read back through Norvale's own fetch rules, and the
// subcommands run in-process.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/fetch.h"
#include "acquisition/fetch_reply.h"
#include "service/commands.h"
#include "service/history_csv.h"
#include "service/seed.h"
#include "service/store.h"
#include "tests/native/temp_folder.h"

namespace norv::service::testing {

using norv::testing::TempFolder;

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteWhole(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::vector<Draw> SeedDraws(Game game) {
  static const Histories seed = BundledSeed();
  return seed[static_cast<std::size_t>(GameIndex(game))];
}

// A store in `folder` holding the snapshot's first draws of each game (all of
// them for a negative count).
inline void MakeStore(const std::filesystem::path& folder, std::array<int, 4> counts = {-1, -1, -1, -1}) {
  Histories histories;
  for (Game game : kAllGames) {
    std::vector<Draw> draws = SeedDraws(game);
    const int count = counts[static_cast<std::size_t>(GameIndex(game))];
    if (count >= 0 && count < static_cast<int>(draws.size())) draws.resize(static_cast<std::size_t>(count));
    histories[static_cast<std::size_t>(GameIndex(game))] = std::move(draws);
  }
  Store::Create(folder, histories);
}

// The draws' records, each followed by CR LF, as Norvale's data file holds them.
inline std::string DataFileOf(const std::vector<Draw>& draws, std::size_t count) {
  std::string file;
  for (std::size_t i = 0; i < count && i < draws.size(); ++i) file += RecordText(draws[i]) + "\r\n";
  return file;
}

struct CommandResult {
  int status;
  std::string out, err;
};

inline CommandResult RunCommand(int (*command)(Arguments, std::ostream&, std::ostream&),
                                std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = command(args, out, err);
  return {status, out.str(), err.str()};
}

// Answers the addresses under `base` from the files of the published site at
// `site`, as a web server would, and hands them over as Norvale's fetch does.
class SiteFetcher : public UrlFetcher {
 public:
  SiteFetcher(std::string base, std::filesystem::path site) : base_(std::move(base)), site_(std::move(site)) {}

  std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token&) override {
    urls.emplace_back(url);
    if (!url.starts_with(base_)) return {};
    const std::string_view path = url.substr(base_.size(), url.find('?') - base_.size());
    std::error_code error;
    if (!std::filesystem::is_regular_file(site_ / path, error)) return {};
    ReplyCollector reply;
    reply.Append(ReadWhole(site_ / path));
    return reply.Finish(fromUtf8);
  }

  std::vector<std::string> urls;

 private:
  std::string base_;
  std::filesystem::path site_;
};

}  // namespace norv::service::testing
