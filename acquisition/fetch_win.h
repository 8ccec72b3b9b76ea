#pragma once
// The program's one way onto the network: WinInet, a fresh session per fetch.

#include <chrono>
#include <string>

#include "acquisition/fetch.h"
#include "acquisition/fetch_reply.h"
#include "base/handles_win.h"

namespace norv {

class WinInetFetcher : public UrlFetcher {
 public:
  // Longest wait for the next sign of progress (connection, data) before the
  // fetch gives up, in case WinInet's own time-outs do not fire.
  static constexpr std::chrono::milliseconds kDefaultStallLimit{60000};

  // The agent is the running executable's name without its extension.
  explicit WinInetFetcher(InternetAccess access);
  WinInetFetcher(InternetAccess access, std::string agent,
                 std::chrono::milliseconds stallLimit = kDefaultStallLimit);

  std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token& stop) override;

 private:
  InternetAccess access_;
  std::string agent_;
  std::chrono::milliseconds stallLimit_;
};

std::string ExecutableAgentName();

// Every request is read from the server and kept out of the cache.
inline constexpr DWORD kFetchOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// The Internet handle of one fetch, with the program's time-outs and connect
// retries set; empty when WinInet gives none.
UniqueInternet OpenFetchSession(const InternetAccess& access, const std::string& agent);

}  // namespace norv
