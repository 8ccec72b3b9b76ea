#pragma once
// The test service's controls (norv-test-service): made-up draws after the
// store's real ones, held-back histories, other release numbers, faults on
// any path, a request log, and the fetch-test endpoints. None of this is in
// the product, and nothing of it reaches the store: it changes only what is
// served.
//
//   /control/publish?game=G[&count=N]   the next N (1) made-up draws of G (1..4, lot6, mini, num4, num3)
//   /control/fault?path=P&kind=K[&ms=T] a fault on path P: 404 empty truncated broken wrongscheme
//                                       slow hang lowercase letter emptycells zerobyte oneshort nines
//                                       huge, or none to remove it
//   /control/status?lot6=N&...&norv=N&birch=N...&mark=C   hold histories back (auto undoes it),
//                                       set release numbers and the status file's first character
//   /control/reset                      back to the store's draws and the configured releases
//   /control/log[?clear=1]              the requests so far: target TAB User-Agent, one per line
//   /control/state                      published and history counts, status line, faults
//   /test/lines /test/utf8 /test/agent /test/hang /test/big?mib=M&bytes=N

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "service/site_layout.h"
#include "tests/test_service/http_request.h"
#include "tests/test_service/sample_draws.h"
#include "service/site_content.h"
#include "tests/test_service/site_server.h"

namespace norv::service {

enum class FaultKind {
  NotFound,
  Empty,
  Truncated,
  Broken,
  WrongScheme,
  Slow,
  Hang,
  Lowercase,
  Letter,
  EmptyCells,  // the newest draw of a result page without its numbers
  ZeroByte,    // one byte in the middle becomes a zero byte
  OneShort,    // one character less: a directory body of 1399
  Nines,       // every draw count of a status file reads 9999
  Huge,        // the reply padded to 20 MiB
};
std::optional<FaultKind> ParseFaultKind(std::string_view name);
std::string_view FaultKindName(FaultKind kind);

// 1023 ASCII bytes, then Japanese text: 1024-byte reads cut characters in two,
// the first read right after the first byte of one.
std::string SplitUtf8TestText();

using Query = std::map<std::string, std::string>;
Query ParseQuery(std::string_view query);

class TestControls {
 public:
  struct Hooks {
    std::function<void()> republish;     // rebuild and publish the served site now
    std::function<void()> releaseHolds;  // answer every held request now
  };

  explicit TestControls(std::uint64_t seed = kDefaultSampleSeed);
  void SetHooks(Hooks hooks);

  // The served state on top of the store's: made-up draws appended, history
  // counts held back, releases and mark, sample download lists when the
  // site names none. `origin` is the service's address without the final "/".
  void Apply(SiteInput& input, std::string_view origin);

  // The notice on every page that shows a made-up draw of the last Apply:
  // `files` as BuildSite made them from its input.
  void MarkSamples(std::vector<SiteFile>& files, const SiteLayout& layout) const;

  // A request in test mode: the control and test endpoints, faults and the
  // log, and everything else from `site`.
  http::Reply Handle(const http::Request& request, const SiteServer& site);

 private:
  struct Fault {
    FaultKind kind;
    std::chrono::milliseconds delay;
  };
  struct Served {
    std::array<int, 4> storeCounts{};  // draws the store held at the last Apply
    std::array<int, 4> extra{};        // made-up draws after them
    std::array<std::optional<int>, 4> historyCounts;
    std::optional<Releases> releases;  // set by /control/status
    std::optional<char> mark;
    Releases configured;               // from the settings, at the last Apply
  };

  http::Reply Control(const http::Request& request, const Query& query, const SiteServer& site);
  http::Reply Publish(const Query& query);
  http::Reply SetFault(const Query& query);
  http::Reply SetStatus(const Query& query, const SiteServer& site);
  http::Reply TestEndpoint(const http::Request& request, const Query& query) const;
  http::Reply Faulted(const Fault& fault, const http::Request& request, const SiteServer& site) const;
  std::string StateText(const SiteServer& site) const;
  void Log(const http::Request& request);
  void Republish();
  void ReleaseHolds();

  const std::uint64_t seed_;
  Hooks hooks_;
  mutable std::mutex mutex_;
  Served served_;
  std::string origin_;
  std::map<std::string, Fault> faults_;
  std::deque<std::string> log_;
};

}  // namespace norv::service
