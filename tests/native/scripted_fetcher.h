#pragma once
// A fetcher that serves fixed replies by address, records what was asked and
// can throw for an address, standing in for the network.

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/fetch.h"

namespace norv::testing {

class ScriptedFetcher : public UrlFetcher {
 public:
  struct Request {
    std::string url;
    bool fromUtf8;
  };

  void Serve(std::string url, std::string reply) { replies_[std::move(url)] = std::move(reply); }
  void Throw(std::string url) { throwing_.insert(std::move(url)); }
  // Runs after each fetch, for example to request a stop mid-way.
  void AfterEachFetch(std::function<void()> hook) { afterFetch_ = std::move(hook); }

  std::string FetchUrlText(std::string_view url, bool fromUtf8, const std::stop_token&) override {
    requests.push_back({std::string(url), fromUtf8});
    if (throwing_.count(std::string(url)) != 0) {
      throw std::runtime_error("broken transfer");
    }
    const auto found = replies_.find(std::string(url));
    std::string reply = found == replies_.end() ? std::string() : found->second;
    if (afterFetch_) {
      afterFetch_();
    }
    return reply;
  }

  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (const Request& r : requests) {
      urls.push_back(r.url);
    }
    return urls;
  }

  std::vector<Request> requests;

 private:
  std::map<std::string, std::string, std::less<>> replies_;
  std::set<std::string> throwing_;
  std::function<void()> afterFetch_;
};

}  // namespace norv::testing
