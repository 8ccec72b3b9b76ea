#pragma once
// The maker's service in test mode as the soak drives it: made-up draws,
// faults, history counts held at the published ones, and the addresses the
// program asked for (see service/test_controls.h for the controls).

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "acquisition/fetch_reply.h"
#include "acquisition/fetch_win.h"
#include "tests/win/helpers/soak/soak_games.h"

namespace norv::soak {

struct ServiceState {
  std::array<int, 4> published{};
  std::vector<std::string> faultPaths;
};

// The program's agent in the request log: its executable's name, norv.exe.
inline constexpr std::string_view kProgramAgent = "norv";

// A fault path as a query value; the service undoes %XX.
inline std::string QueryEscaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       c == '/' || c == '.' || c == '-' || c == '_' || c == '~';
    if (plain) {
      out.push_back(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", byte);
      out += hex;
    }
  }
  return out;
}

// The number after `label` in `text`, or nothing.
inline std::optional<int> NumberAfter(std::string_view text, std::string_view label) {
  const std::size_t at = text.find(label);
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t from = at + label.size();
  int value = 0;
  bool any = false;
  for (; from < text.size() && text[from] >= '0' && text[from] <= '9'; ++from) {
    value = value * 10 + (text[from] - '0');
    any = true;
  }
  if (!any) return std::nullopt;
  return value;
}

class SoakService {
 public:
  explicit SoakService(int port) : origin_("http://127.0.0.1:" + std::to_string(port)) {}

  const std::string& Origin() const { return origin_; }

  // The reply as one line (line breaks removed); empty on any failure.
  std::string Get(const std::string& path) const {
    WinInetFetcher fetcher(AccessFromSettings(false, false, "", ""));
    std::stop_source never;
    return fetcher.FetchUrlText(origin_ + path, false, never.get_token());
  }

  // For replies that are never empty: a request that failed on the way is
  // asked twice more, so one lost reply does not end a soak.
  std::string Ask(const std::string& path) const {
    std::string reply = Get(path);
    for (int attempt = 1; reply.empty() && attempt < 3; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
      reply = Get(path);
    }
    return reply;
  }

  bool Reset() const { return Ask("/control/reset") == "ok"; }

  // Up to `count` more made-up draws; the game's published count after it.
  std::optional<int> Publish(const GameNames& game, int count) const {
    return NumberAfter(Ask("/control/publish?game=" + std::string(game.key) + "&count=" + std::to_string(count)),
                       "published=");
  }

  bool SetFault(const std::string& path, std::string_view kind, int delayMs = 0) const {
    std::string query = "/control/fault?path=" + QueryEscaped(path) + "&kind=" + std::string(kind);
    if (delayMs > 0) query += "&ms=" + std::to_string(delayMs);
    return Ask(query) == "ok";
  }

  bool ClearFault(const std::string& path) const { return SetFault(path, "none"); }

  // Nothing when the service did not answer with its four games.
  std::optional<ServiceState> State() const {
    const std::string text = Ask("/control/state");
    ServiceState state;
    for (std::size_t g = 0; g < kGames.size(); ++g) {
      const std::optional<int> published = NumberAfter(text, std::string(kGames[g].stateName) + " published ");
      if (!published) return std::nullopt;
      state.published[g] = *published;
    }
    // The line breaks are gone: a fault entry is "fault PATH KIND".
    for (std::size_t at = text.find("fault /"); at != std::string::npos; at = text.find("fault /", at + 1)) {
      const std::size_t from = at + 6;
      state.faultPaths.push_back(text.substr(from, text.find(' ', from) - from));
    }
    return state;
  }

  // Every history served whole, up to the newest published draw, instead of
  // one draw behind; false when the service refused.
  bool HoldHistoriesAt(const std::array<int, 4>& counts) const {
    std::string query = "/control/status?";
    for (std::size_t g = 0; g < kGames.size(); ++g) {
      query += std::string(g ? "&" : "") + kGames[g].key + "=" + std::to_string(counts[g]);
    }
    return !Ask(query).empty();
  }

  // Back to the served default, one draw behind the newest.
  bool ReleaseHistories() const { return !Ask("/control/status?lot6=auto&mini=auto&num4=auto&num3=auto").empty(); }

  std::string History(const GameNames& game) const { return Ask("/svc1/" + std::string(game.key) + ".txt"); }

  // The paths (without queries) the program asked for since the last call.
  std::vector<std::string> TakeProgramRequests() const { return ProgramPathsIn(Get("/control/log?clear=1")); }

  // The log arrives as one line of "target TAB agent" entries: a target
  // begins with "/", and an agent runs from the tab to the next "/", as no
  // agent name holds one.
  static std::vector<std::string> ProgramPathsIn(const std::string& log) {
    std::vector<std::string> paths;
    std::size_t at = log.find('/');
    while (at != std::string::npos) {
      const std::size_t tab = log.find('\t', at);
      if (tab == std::string::npos) break;
      const std::size_t next = log.find('/', tab);
      const std::string target = log.substr(at, tab - at);
      const std::string agent = log.substr(tab + 1, next == std::string::npos ? std::string::npos : next - tab - 1);
      if (agent == kProgramAgent) paths.push_back(target.substr(0, target.find('?')));
      at = next;
    }
    return paths;
  }

 private:
  std::string origin_;
};

}  // namespace norv::soak
