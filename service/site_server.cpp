#include "service/site_server.h"

namespace norv::service {

SiteReplies::SiteReplies(const std::vector<SiteFile>& files) {
  for (const SiteFile& file : files) {
    http::Reply reply;
    reply.contentType = file.contentType;
    reply.body = file.body;
    reply.head = std::make_shared<const std::string>(http::MakeHead(200, file.contentType, file.body->size()));
    replies_.insert_or_assign("/" + file.path, std::move(reply));
  }
}

const http::Reply* SiteReplies::Find(std::string_view path) const {
  const auto found = replies_.find(path);
  return found == replies_.end() ? nullptr : &found->second;
}

void SiteServer::Publish(const std::vector<SiteFile>& files) {
  current_.store(std::make_shared<const SiteReplies>(files));
}

http::Reply SiteServer::Handle(const http::Request& request) const {
  const std::shared_ptr<const SiteReplies> replies = current_.load();
  if (replies) {
    if (const http::Reply* reply = replies->Find(request.path)) return *reply;
  }
  return NotFoundReply();
}

http::Reply NotFoundReply() {
  return http::TextReply(404, "<html><body><h1>404 Not Found</h1></body></html>\r\n", "text/html; charset=UTF-8");
}

}  // namespace norv::service
