#include "tools/drawservice/http_server.h"

#include <httplib.h>

#include <iostream>

namespace norv::drawservice {

namespace {

constexpr std::chrono::seconds kHangLimit{300};
// Hanging replies each hold a worker; leave plenty for everything else.
constexpr std::size_t kWorkers = 48;

void SetBrokenBody(httplib::Response& response, const Reply& reply) {
  auto body = std::make_shared<std::string>(reply.body);
  response.set_content_provider(body->size(), reply.contentType,
                                [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                  const std::size_t half = body->size() / 2;
                                  if (offset >= half) {
                                    return false;  // the connection closes short of the announced length
                                  }
                                  return sink.write(body->data() + offset, half - offset);
                                });
}

void SetFillerBody(httplib::Response& response, const Reply& reply) {
  response.set_content_provider(static_cast<std::size_t>(reply.fillerBytes), reply.contentType,
                                [](std::size_t, std::size_t length, httplib::DataSink& sink) {
                                  static const std::string chunk(64 * 1024, 'a');
                                  return sink.write(chunk.data(), std::min(length, chunk.size()));
                                });
}

}  // namespace

struct HttpFrontEnd::Impl {
  DrawService& service;
  httplib::Server server;

  void Handle(const httplib::Request& in, httplib::Response& out) {
    Request request;
    request.path = in.path;
    request.target = in.target;
    request.agent = in.get_header_value("User-Agent");
    for (const auto& [key, value] : in.params) {
      request.query.emplace(key, value);
    }
    const Reply reply = service.Handle(request);
    if (reply.delivery == Reply::Delivery::Hang) {
      service.Hold(kHangLimit);
      out.status = 503;
      out.set_content("released\n", "text/plain");
      return;
    }
    if (reply.delay.count() > 0) {
      service.Hold(reply.delay);
    }
    out.status = reply.status;
    if (reply.fillerBytes > 0) {
      SetFillerBody(out, reply);
    } else if (reply.delivery == Reply::Delivery::Broken) {
      SetBrokenBody(out, reply);
    } else {
      out.set_content(reply.body, reply.contentType);
    }
  }
};

HttpFrontEnd::HttpFrontEnd(DrawService& service, bool verbose) : impl_(new Impl{service, {}}) {
  impl_->server.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
  impl_->server.Get(".*", [this](const httplib::Request& in, httplib::Response& out) { impl_->Handle(in, out); });
  if (verbose) {
    impl_->server.set_logger([](const httplib::Request& in, const httplib::Response& out) {
      std::cerr << out.status << ' ' << in.target << ' ' << in.get_header_value("User-Agent") << '\n';
    });
  }
}

HttpFrontEnd::~HttpFrontEnd() = default;

int HttpFrontEnd::Bind(int port) {
  if (port == 0) {
    return impl_->server.bind_to_any_port("127.0.0.1");
  }
  return impl_->server.bind_to_port("127.0.0.1", port) ? port : -1;
}

bool HttpFrontEnd::Serve() { return impl_->server.listen_after_bind(); }

void HttpFrontEnd::Stop() { impl_->server.stop(); }

}  // namespace norv::drawservice
