#pragma once
// The program's one way onto the network: WinInet, a fresh session per fetch.

#include <string>

#include "acquisition/fetch.h"
#include "acquisition/fetch_reply.h"

namespace norv {

class WinInetFetcher : public UrlFetcher {
 public:
  // The agent is the running executable's name without its extension.
  explicit WinInetFetcher(InternetAccess access);
  WinInetFetcher(InternetAccess access, std::string agent);

  std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token& stop) override;

 private:
  InternetAccess access_;
  std::string agent_;
};

std::string ExecutableAgentName();

}  // namespace norv
