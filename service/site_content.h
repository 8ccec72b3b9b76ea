#pragma once
// The whole published site as files in memory: what `publish` writes to a
// folder and what `serve` answers from. One draw of lag: the status counts and
// the full histories hold every draw but the newest, which only the result
// pages show, so a client one draw behind reads one small page, and a client
// further behind takes the history and then the page.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "service/draw.h"
#include "service/site_pages.h"

namespace norv::service {

struct SiteFile {
  std::string path;  // relative to the site root, "svc1/status.txt"
  std::string_view contentType;
  std::shared_ptr<const std::string> body;  // the primary and fallback copies share one
};

struct GameSource {
  std::vector<Draw> draws;  // 1..N in order
  // Draws the history and the status count hold; nothing for all but the newest.
  std::optional<int> historyCount;

  // The history count actually published: never more than the draws held.
  int PublishedHistoryCount() const;
};

struct SiteInput {
  std::string base;  // without a BaseUrlProblem
  std::array<GameSource, 4> games;  // by game index
  char mark = '1';
  Releases releases;
  std::vector<std::pair<std::string, std::string>> downloadLists;  // file name, address it holds
  int resultDraws = 3;  // newest draws on each result page
};

// Why the site for `input` cannot be published; nothing when it can.
std::optional<std::string> SiteProblem(const SiteInput& input);

// Every file of the site. `input` must have no SiteProblem.
std::vector<SiteFile> BuildSite(const SiteInput& input);

}  // namespace norv::service
