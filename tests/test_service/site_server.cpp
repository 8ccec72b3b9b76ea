#include "tests/test_service/site_server.h"

#include "tests/test_service/memory_file.h"

namespace norv::service {

namespace {

// Small replies go out faster copied with their head in one send.
constexpr std::size_t kMemoryFileFrom = 32 * 1024;

}  // namespace

SiteReplies::SiteReplies(const std::vector<SiteFile>& files) {
  std::unordered_map<const std::string*, std::shared_ptr<const MemoryFile>> memoryFiles;  // one per shared body
  for (const SiteFile& file : files) {
    http::Reply reply;
    reply.contentType = file.contentType;
    reply.body = file.body;
    if (file.body->size() >= kMemoryFileFrom) {
      auto& memory = memoryFiles[file.body.get()];
      if (!memory) memory = MemoryFile::Holding(*file.body);
      reply.bodyFile = memory;
    }
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
