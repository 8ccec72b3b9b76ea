#pragma once
// Answers requests for the published site from memory: every file's reply
// (headers and body) is made once per publish, and a new publish replaces
// the whole set in one step, so a request sees one version or the other.

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tests/test_service/http_request.h"
#include "service/site_content.h"

namespace norv::service {

class SiteReplies {
 public:
  explicit SiteReplies(const std::vector<SiteFile>& files);

  // The reply for a decoded request path ("/svc1/status.txt"), or nothing.
  const http::Reply* Find(std::string_view path) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, http::Reply, Hash, std::equal_to<>> replies_;
};

class SiteServer {
 public:
  void Publish(const std::vector<SiteFile>& files);
  std::shared_ptr<const SiteReplies> Current() const { return current_.load(); }

  // The file's reply, or 404.
  http::Reply Handle(const http::Request& request) const;

 private:
  std::atomic<std::shared_ptr<const SiteReplies>> current_;
};

http::Reply NotFoundReply();

}  // namespace norv::service
