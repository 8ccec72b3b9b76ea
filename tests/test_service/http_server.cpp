#include "tests/test_service/http_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>
#include <unordered_map>

#include "tests/test_service/memory_file.h"

namespace norv::service::http {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kFillerChunk = 64 * 1024;
// A client that sends this much without reading its replies is dropped.
constexpr std::size_t kMaxPendingInput = 1024 * 1024;
constexpr int kMaxEvents = 256;
constexpr std::chrono::milliseconds kSweepInterval{1000};

char kListenerTag;
char kWakeTag;

[[noreturn]] void Fail(const std::string& what) { throw ServerError(what + ": " + std::strerror(errno)); }

void SetNoDelay(int fd) {
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

struct BoundAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
};

BoundAddress ParseAddress(const std::string& address, int port) {
  BoundAddress bound;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&bound.storage);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&bound.storage);
  if (::inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(port));
    bound.length = sizeof(sockaddr_in);
  } else if (::inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<std::uint16_t>(port));
    bound.length = sizeof(sockaddr_in6);
  } else {
    throw ServerError("\"" + address + "\" is not a numeric IPv4 or IPv6 address");
  }
  return bound;
}

int Listen(const ServerOptions& options, int& port) {
  if (options.port < 0 || options.port > 65535) throw ServerError("no port " + std::to_string(options.port));
  BoundAddress address = ParseAddress(options.bindAddress, options.port);
  const int fd = ::socket(address.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail("cannot open a socket");
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address.storage), address.length) != 0 || ::listen(fd, SOMAXCONN) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    Fail("cannot listen on " + options.bindAddress + " port " + std::to_string(options.port));
  }
  socklen_t length = sizeof address.storage;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address.storage), &length);
  port = ntohs(address.storage.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&address.storage)->sin_port
                                                    : reinterpret_cast<sockaddr_in6*>(&address.storage)->sin6_port);
  return fd;
}

struct Connection {
  int fd = -1;
  std::string input;
  bool peerClosed = false;
  bool dead = false;
  Clock::time_point lastActive;
  // The reply on its way out.
  bool writing = false;
  std::string head;
  std::size_t headSent = 0;
  std::shared_ptr<const std::string> body;
  std::size_t bodySent = 0, bodyEnd = 0;
  std::uint64_t fillerLeft = 0;
  std::shared_ptr<const MemoryFile> file;  // the body, sent by the kernel from there
  off_t fileSent = 0;
  off_t fileEnd = 0;
  bool closeAfter = false;
  // A reply held back until a time or a release.
  bool held = false;
  Clock::time_point holdUntil;
  std::uint64_t holdRelease = 0;
  Request heldRequest;
  Reply heldReply;
};

}  // namespace

class Server::Loop {
 public:
  Loop(Server& server, bool acceptor) : server_(server), acceptor_(acceptor), buffer_(kReadChunk) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (epoll_ < 0 || wake_ < 0) Fail("cannot create an event loop");
    Watch(wake_, &kWakeTag, EPOLLIN);
    if (acceptor_) {
      Watch(server_.listener_, &kListenerTag, EPOLLIN);
      reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
  }

  ~Loop() {
    for (auto& [key, connection] : connections_) ::close(connection->fd);
    for (int fd : adopted_) ::close(fd);
    if (reserve_ >= 0) ::close(reserve_);
    ::close(wake_);
    ::close(epoll_);
  }

  void Wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
  }

  // A connection accepted by the acceptor loop for this one.
  void Adopt(int fd) {
    {
      std::lock_guard lock(adoptMutex_);
      adopted_.push_back(fd);
    }
    Wake();
  }

  void Run() {
    epoll_event events[kMaxEvents];
    lastSweep_ = Clock::now();
    while (!server_.stopping_.load()) {
      const int count = ::epoll_wait(epoll_, events, kMaxEvents, Timeout(Clock::now()));
      if (count < 0 && errno != EINTR) break;
      for (int i = 0; i < count; ++i) OnEvent(events[i]);
      const Clock::time_point now = Clock::now();
      CheckHolds(now);
      if (now - lastSweep_ >= kSweepInterval) SweepIdle(now);
      FreeClosed();
    }
    CloseAll();
  }

 private:
  void Watch(int fd, void* tag, std::uint32_t events) {
    epoll_event event{};
    event.events = events;
    event.data.ptr = tag;
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0) Fail("cannot watch a socket");
  }

  void OnEvent(const epoll_event& event) {
    if (event.data.ptr == &kListenerTag) {
      AcceptAll();
    } else if (event.data.ptr == &kWakeTag) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t read = ::read(wake_, &count, sizeof count);
      AddAdopted();
    } else {
      Connection& connection = *static_cast<Connection*>(event.data.ptr);
      if (connection.dead) return;
      if ((event.events & EPOLLERR) != 0) return Close(connection);
      if ((event.events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP)) != 0) ReadAll(connection);
      // A client that gave up on a held reply is not kept until the hold ends.
      if (!connection.dead && connection.held && connection.peerClosed) return Close(connection);
      if (!connection.dead && connection.writing && (event.events & EPOLLOUT) != 0) WriteSome(connection);
      if (!connection.dead) ProcessInput(connection);
    }
  }

  void AcceptAll() {
    for (;;) {
      const int fd = ::accept4(server_.listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if ((errno == EMFILE || errno == ENFILE) && reserve_ >= 0) ShedOneConnection();
        return;
      }
      SetNoDelay(fd);
      Loop& target = *server_.loops_[nextLoop_++ % server_.loops_.size()];
      if (&target == this) {
        AddConnection(fd);
      } else {
        target.Adopt(fd);
      }
    }
  }

  // Out of descriptors: the spare one makes room to take the waiting
  // connection and close it, so the listener does not wake the loop forever.
  void ShedOneConnection() {
    ::close(reserve_);
    const int fd = ::accept4(server_.listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) ::close(fd);
    reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  }

  void AddAdopted() {
    std::vector<int> fds;
    {
      std::lock_guard lock(adoptMutex_);
      fds.swap(adopted_);
    }
    for (int fd : fds) AddConnection(fd);
  }

  void AddConnection(int fd) {
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    connection->lastActive = Clock::now();
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.ptr = connection.get();
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) != 0) {
      ::close(fd);
      return;
    }
    Connection* key = connection.get();
    connections_.emplace(key, std::move(connection));
  }

  void ReadAll(Connection& c) {
    for (;;) {
      if (c.input.size() > kMaxPendingInput) return Close(c);
      const ssize_t n = ::recv(c.fd, buffer_.data(), buffer_.size(), 0);
      if (n > 0) {
        c.input.append(buffer_.data(), static_cast<std::size_t>(n));
        c.lastActive = Clock::now();
      } else if (n == 0) {
        c.peerClosed = true;
        return;
      } else if (errno == EINTR) {
        continue;
      } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
        return;
      } else {
        return Close(c);
      }
    }
  }

  void ProcessInput(Connection& c) {
    while (!c.dead && !c.writing && !c.held) {
      if (c.input.empty()) {
        if (c.peerClosed) Close(c);
        return;
      }
      ParseResult parsed = ParseRequest(c.input);
      if (parsed.status == ParseStatus::Incomplete) {
        if (c.peerClosed) Close(c);
        return;
      }
      if (parsed.status == ParseStatus::Bad) {
        c.input.clear();
        Reply reply = TextReply(parsed.errorStatus, std::string(ReasonPhrase(parsed.errorStatus)) + "\n");
        reply.close = true;
        StartReply(c, Request{}, reply);
        return;
      }
      c.input.erase(0, parsed.consumed);
      Dispatch(c, std::move(parsed.request));
    }
  }

  void Dispatch(Connection& c, Request request) {
    request.socket = c.fd;
    Reply reply;
    if (request.method != "GET" && request.method != "HEAD") {
      reply = TextReply(405, "Method Not Allowed\n");
    } else {
      try {
        reply = server_.handler_(request);
      } catch (...) {
        reply = TextReply(500, "Internal Server Error\n");
      }
    }
    if (reply.hold.count() > 0) {
      c.held = true;
      c.holdUntil = Clock::now() + reply.hold;
      c.holdRelease = server_.releases_.load();
      c.heldRequest = std::move(request);
      c.heldReply = std::move(reply);
      held_.push_back(&c);
      return;
    }
    StartReply(c, request, reply);
  }

  void StartReply(Connection& c, const Request& request, const Reply& reply) {
    const bool close = reply.close || reply.broken || !request.keepAlive || server_.stopping_.load();
    c.head = reply.head ? *reply.head : MakeHead(reply.status, reply.contentType, ContentLength(reply));
    c.head += DateLine();
    if (close && !request.http10) c.head += "Connection: close\r\n";
    if (!close && request.http10) c.head += "Connection: keep-alive\r\n";
    c.head += "\r\n";
    c.headSent = 0;
    const bool headOnly = request.method == "HEAD";
    c.file = headOnly ? nullptr : reply.bodyFile;
    c.fileSent = 0;
    c.fileEnd = c.file ? static_cast<off_t>(reply.broken ? c.file->Size() / 2 : c.file->Size()) : 0;
    c.body = headOnly || c.file ? nullptr : reply.body;
    c.bodySent = 0;
    c.bodyEnd = c.body ? (reply.broken ? c.body->size() / 2 : c.body->size()) : 0;
    c.fillerLeft = headOnly ? 0 : reply.fillerBytes;
    c.closeAfter = close;
    c.writing = true;
    if (server_.options_.logger) server_.options_.logger(request, reply.status);
    WriteSome(c);
  }

  void WriteSome(Connection& c) {
    while (c.writing) {
      const bool sent = c.headSent < c.head.size() || c.bodySent < c.bodyEnd || c.fillerLeft > 0 ? SendBytes(c)
                        : c.fileSent < c.fileEnd                                                 ? SendFile(c)
                                                                                                 : Finished(c);
      if (!sent) return;
    }
  }

  // False when the socket is full (EPOLLOUT brings the rest) or closed.
  bool SendBytes(Connection& c) {
    static const std::string filler(kFillerChunk, 'a');
    iovec parts[3];
    std::size_t count = 0;
    if (c.headSent < c.head.size()) parts[count++] = {c.head.data() + c.headSent, c.head.size() - c.headSent};
    if (c.bodySent < c.bodyEnd) parts[count++] = {const_cast<char*>(c.body->data()) + c.bodySent, c.bodyEnd - c.bodySent};
    if (c.fillerLeft > 0) {
      parts[count++] = {const_cast<char*>(filler.data()),
                        static_cast<std::size_t>(std::min<std::uint64_t>(c.fillerLeft, filler.size()))};
    }
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = count;
    // A head followed by a file body leaves in the same segments as its start.
    const int more = c.fileSent < c.fileEnd ? MSG_MORE : 0;
    const ssize_t sent = ::sendmsg(c.fd, &message, MSG_NOSIGNAL | more);
    if (sent < 0) return SendFailed(c);
    Advance(c, static_cast<std::size_t>(sent));
    c.lastActive = Clock::now();
    return true;
  }

  bool SendFile(Connection& c) {
    const ssize_t sent = ::sendfile(c.fd, c.file->Descriptor(), &c.fileSent, static_cast<std::size_t>(c.fileEnd - c.fileSent));
    if (sent < 0) return SendFailed(c);
    if (sent == 0) {  // the file is shorter than it said: give up on this reply
      Close(c);
      return false;
    }
    c.lastActive = Clock::now();
    return true;
  }

  bool SendFailed(Connection& c) {
    if (errno == EINTR) return true;
    if (errno != EAGAIN && errno != EWOULDBLOCK) Close(c);
    return false;
  }

  bool Finished(Connection& c) {
    FinishReply(c);
    return false;
  }

  static void Advance(Connection& c, std::size_t sent) {
    const std::size_t head = std::min(sent, c.head.size() - c.headSent);
    c.headSent += head;
    sent -= head;
    const std::size_t body = std::min(sent, c.bodyEnd - c.bodySent);
    c.bodySent += body;
    sent -= body;
    c.fillerLeft -= std::min<std::uint64_t>(sent, c.fillerLeft);
  }

  void FinishReply(Connection& c) {
    c.writing = false;
    c.body.reset();
    c.file.reset();
    if (c.closeAfter) Close(c);
  }

  void CheckHolds(Clock::time_point now) {
    const std::uint64_t releases = server_.releases_.load();
    for (std::size_t i = 0; i < held_.size();) {
      Connection& c = *held_[i];
      if (!c.dead && now < c.holdUntil && releases == c.holdRelease) {
        ++i;
        continue;
      }
      held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
      if (c.dead) continue;
      c.held = false;
      StartReply(c, c.heldRequest, c.heldReply);
      c.heldReply = Reply{};
      if (!c.dead) ProcessInput(c);
    }
  }

  int Timeout(Clock::time_point now) const {
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kSweepInterval);
    for (const Connection* c : held_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(c->holdUntil - now) +
                        std::chrono::milliseconds(1);
      wait = std::min(wait, std::max(left, std::chrono::milliseconds(0)));
    }
    return static_cast<int>(wait.count());
  }

  void SweepIdle(Clock::time_point now) {
    lastSweep_ = now;
    std::vector<Connection*> idle;
    for (auto& [key, c] : connections_) {
      if (!c->held && now - c->lastActive > server_.options_.idleTimeout) idle.push_back(key);
    }
    for (Connection* c : idle) Close(*c);
  }

  void Close(Connection& c) {
    if (c.dead) return;
    c.dead = true;
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, c.fd, nullptr);
    ::close(c.fd);
    const auto found = connections_.find(&c);
    if (found != connections_.end()) {
      closed_.push_back(std::move(found->second));
      connections_.erase(found);
    }
  }

  void CloseAll() {
    std::vector<Connection*> open;
    for (auto& [key, c] : connections_) open.push_back(key);
    for (Connection* c : open) Close(*c);
    FreeClosed();
  }

  // Connections closed during one round of events are freed after it, when
  // no event of that round can name them any more.
  void FreeClosed() {
    if (closed_.empty()) return;
    std::erase_if(held_, [](const Connection* c) { return c->dead; });
    closed_.clear();
  }

  const std::string& DateLine() {
    const std::time_t now = std::time(nullptr);
    if (now != dateSecond_) {
      dateSecond_ = now;
      std::tm utc{};
      ::gmtime_r(&now, &utc);
      char text[64];
      std::strftime(text, sizeof text, "Date: %a, %d %b %Y %H:%M:%S GMT\r\n", &utc);
      dateLine_ = text;
    }
    return dateLine_;
  }

  Server& server_;
  const bool acceptor_;
  int epoll_ = -1;
  int wake_ = -1;
  int reserve_ = -1;
  std::vector<char> buffer_;
  std::unordered_map<Connection*, std::unique_ptr<Connection>> connections_;
  std::vector<Connection*> held_;
  std::vector<std::unique_ptr<Connection>> closed_;
  std::mutex adoptMutex_;
  std::vector<int> adopted_;
  std::size_t nextLoop_ = 0;
  std::time_t dateSecond_ = 0;
  std::string dateLine_;
  Clock::time_point lastSweep_;
};

Server::Server(Handler handler, ServerOptions options) : handler_(std::move(handler)), options_(std::move(options)) {
  listener_ = Listen(options_, port_);
  const int threads = options_.threads > 0 ? options_.threads
                                           : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  try {
    for (int i = 0; i < threads; ++i) loops_.push_back(std::make_unique<Loop>(*this, i == 0));
  } catch (...) {
    loops_.clear();
    ::close(listener_);
    throw;
  }
}

Server::~Server() {
  Stop();
  loops_.clear();
  ::close(listener_);
}

void Server::Start() {
  for (auto& loop : loops_) threads_.emplace_back([&loop] { loop->Run(); });
}

void Server::Stop() {
  stopping_.store(true);
  for (auto& loop : loops_) loop->Wake();
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  threads_.clear();
}

void Server::ReleaseHolds() {
  releases_.fetch_add(1);
  for (auto& loop : loops_) loop->Wake();
}

}  // namespace norv::service::http
