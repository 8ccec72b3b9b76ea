#pragma once
// The built-in HTTP/1.1 server of `serve`: a few event loops (epoll), each
// holding any number of kept-alive connections without a thread per
// connection, every accepted socket with TCP_NODELAY so that a reply never
// waits for the client's delayed acknowledgement. Replies come from a handler
// that must be safe to call from several loops at once.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_service/http_request.h"

namespace norv::service::http {

using Handler = std::function<Reply(const Request&)>;
// Called after each reply has been handed over; from the loops' threads.
using RequestLogger = std::function<void(const Request&, int status)>;

struct ServerOptions {
  std::string bindAddress = "127.0.0.1";
  int port = 0;     // 0 picks a free port
  int threads = 0;  // event loops; 0 for one per processor
  std::chrono::seconds idleTimeout{60};
  RequestLogger logger;
};

class ServerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Server {
 public:
  // Binds and listens at once (so the port is known); throws ServerError.
  Server(Handler handler, ServerOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  int Port() const { return port_; }
  void Start();
  // Ends the loops and closes every connection; waits for the loop threads.
  void Stop();
  // Every held reply goes out now.
  void ReleaseHolds();

 private:
  class Loop;

  Handler handler_;
  ServerOptions options_;
  int listener_ = -1;
  int port_ = 0;
  std::vector<std::unique_ptr<Loop>> loops_;
  std::vector<std::thread> threads_;
  std::atomic<bool> stopping_{false};
  std::atomic<std::uint64_t> releases_{0};
};

}  // namespace norv::service::http
