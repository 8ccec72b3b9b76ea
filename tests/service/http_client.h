#pragma once
// A plain blocking HTTP client over one loopback connection, for the server
// tests: it sends the bytes it is given and reads replies by their length.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace norv::service::testing {

struct RawReply {
  int status = 0;
  std::string head;
  std::string body;
};

class Connection {
 public:
  explicit Connection(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    timeval wait{5, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Connection() { ::close(fd_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Connected() const { return connected_; }

  void Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }

  // One reply, read up to its Content-Length (or to the close, for a head
  // request or a broken reply); nothing when no reply head arrives.
  std::optional<RawReply> Receive(bool headOnly = false) {
    std::size_t end;
    while ((end = pending_.find("\r\n\r\n")) == std::string::npos) {
      if (!Fill()) return std::nullopt;
    }
    RawReply reply;
    reply.head = pending_.substr(0, end + 4);
    pending_.erase(0, end + 4);
    reply.status = std::stoi(reply.head.substr(9, 3));
    const std::size_t length = headOnly ? 0 : ContentLength(reply.head);
    while (pending_.size() < length && Fill()) {
    }
    reply.body = pending_.substr(0, length);
    pending_.erase(0, std::min(length, pending_.size()));
    return reply;
  }

  std::optional<RawReply> Get(std::string_view path, std::string_view headers = "") {
    Send("GET " + std::string(path) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + std::string(headers) + "\r\n");
    return Receive();
  }

  // No more bytes from this side: the server answers what it has, then closes.
  void FinishSending() { ::shutdown(fd_, SHUT_WR); }

  // Every byte until the server closes the connection (or 5 s pass quietly).
  std::string ReceiveAll() {
    while (Fill()) {
    }
    return std::exchange(pending_, std::string());
  }

  // Whether the server has closed the connection by now, without waiting.
  bool ClosedNow() {
    char byte;
    const ssize_t n = ::recv(fd_, &byte, 1, MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
  }

  // Whether the server closed the connection: reading gives end of file
  // (or a reset), not a time-out.
  bool ClosedByServer() {
    char byte;
    const ssize_t n = ::recv(fd_, &byte, 1, 0);
    return n == 0 || (n < 0 && errno == ECONNRESET);
  }

 private:
  static std::size_t ContentLength(const std::string& head) {
    const std::size_t at = head.find("Content-Length: ");
    return at == std::string::npos ? 0 : std::stoul(head.substr(at + 16));
  }

  bool Fill() {
    char buffer[65536];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(n));
    return true;
  }

  int fd_ = -1;
  bool connected_ = false;
  std::string pending_;
};

}  // namespace norv::service::testing
