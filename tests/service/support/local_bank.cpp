#include "tests/service/support/local_bank.h"

#include <httplib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "tests/service/support/bank_file_writer.h"

namespace norv::service::testing {

struct LocalBank::Impl {
  httplib::Server server;
  int port = 0;
  std::thread thread;
  mutable std::mutex mutex;
  std::condition_variable released;
  bool stopping = false;
  std::map<std::string, BankReply> replies;
  std::vector<BankRequest> requests;

  BankReply ReplyFor(const httplib::Request& in) {
    std::lock_guard lock(mutex);
    requests.push_back({in.path, in.get_header_value("User-Agent"), std::chrono::steady_clock::now()});
    const auto found = replies.find(in.path);
    if (found != replies.end()) return found->second;
    return BankReply{BankReply::Kind::Whole, 404, "<html><body>404 Not Found</body></html>", "", 0};
  }

  void Handle(const httplib::Request& in, httplib::Response& out) {
    const BankReply reply = ReplyFor(in);
    if (reply.kind == BankReply::Kind::Hang) {
      std::unique_lock lock(mutex);
      released.wait(lock, [this] { return stopping; });
      out.status = 503;
      return;
    }
    out.status = reply.status;
    if (!reply.location.empty()) out.set_header("Location", reply.location);
    if (reply.kind == BankReply::Kind::Chunked) {
      const std::size_t total = reply.chunkedBytes;
      out.set_chunked_content_provider("text/csv",
                                       [total, sent = std::size_t{0}](std::size_t, httplib::DataSink& sink) mutable {
                                         static const std::string chunk(16 * 1024, 'x');
                                         if (sent >= total) {
                                           sink.done();
                                           return true;
                                         }
                                         const std::size_t bytes = std::min(chunk.size(), total - sent);
                                         sent += bytes;
                                         return sink.write(chunk.data(), bytes);
                                       });
      return;
    }
    out.set_content(reply.body, "application/octet-stream");
  }
};

LocalBank::LocalBank() : impl_(new Impl) {
  impl_->server.set_tcp_nodelay(true);  // no Nagle stall between headers and body
  impl_->server.Get(".*", [this](const httplib::Request& in, httplib::Response& out) { impl_->Handle(in, out); });
  impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
  // stop() only ends a loop that has started.
  while (!impl_->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalBank::~LocalBank() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->released.notify_all();
  impl_->server.stop();
  impl_->thread.join();
}

std::string LocalBank::base() const { return "http://127.0.0.1:" + std::to_string(impl_->port); }

void LocalBank::Set(const std::string& path, BankReply reply) {
  std::lock_guard lock(impl_->mutex);
  impl_->replies[path] = std::move(reply);
}

void LocalBank::Publish(BankFileId id, std::string bytes) {
  BankReply reply;
  reply.body = std::move(bytes);
  Set(BankFilePath(id), std::move(reply));
}

void LocalBank::PublishDraw(const Draw& draw) {
  Publish({SeriesOf(draw.game), draw.number}, ShiftJis(BankFileText(draw)));
}

void LocalBank::PublishNumbers(const Draw& numbers4, const Draw& numbers3) {
  Publish({BankSeries::Numbers, numbers4.number}, ShiftJis(BankNumbersFileText(numbers4, numbers3)));
}

std::vector<BankRequest> LocalBank::Requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

std::string AccessDeniedPage() {
  return "<HTML><HEAD>\n<TITLE>Access Denied</TITLE>\n</HEAD><BODY>\n<H1>Access Denied</H1>\n \n"
         "You don't have permission to access \"http&#58;&#47;&#47;www&#46;example&#46;jp&#47;\" on this server.<P>\n"
         "Reference&#32;&#35;18&#46;5a3c1602&#46;1700000000&#46;1f2e3d4c\n</BODY>\n</HTML>\n";
}

}  // namespace norv::service::testing
