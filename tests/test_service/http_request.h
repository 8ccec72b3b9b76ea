#pragma once
// The HTTP/1.x requests the built-in server understands, taken from the bytes
// a connection has received, and the replies it sends. No sockets here.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace norv::service {
class MemoryFile;
}

namespace norv::service::http {

inline constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
inline constexpr std::size_t kMaxRequestBodyBytes = 64 * 1024;

struct Request {
  std::string method;
  std::string target;  // as sent, for logs
  std::string path;    // decoded; a request in proxy form ("http://host/p") gives "/p"
  std::string query;   // after "?", without it
  std::string userAgent;
  bool keepAlive = true;  // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only when asked
  bool http10 = false;
  int socket = -1;  // the accepted connection, for handlers that look at it
};

struct Reply {
  int status = 200;
  std::string_view contentType = "text/plain; charset=UTF-8";  // a constant text, never freed
  // Status line and headers up to the Content-Length line, ready made; when
  // empty, they are made from status, contentType and the body's length.
  std::shared_ptr<const std::string> head;
  std::shared_ptr<const std::string> body;
  // The same bytes as `body` in a memory file, sent from there when set.
  std::shared_ptr<const MemoryFile> bodyFile;
  std::uint64_t fillerBytes = 0;  // instead of a body: this many bytes of 'a'
  bool broken = false;            // announces the whole body, sends half, then closes
  // Answered only after this long, or as soon as the server releases its holds.
  std::chrono::milliseconds hold{0};
  bool close = false;  // the connection closes after this reply
};

enum class ParseStatus { Incomplete, Complete, Bad };

struct ParseResult {
  ParseStatus status = ParseStatus::Incomplete;
  std::size_t consumed = 0;  // bytes of the request, headers and any body
  Request request;
  int errorStatus = 400;  // for Bad: what to answer before closing
};

// The first request in `bytes`. Incomplete while its headers (and any body
// its Content-Length announces) have not all arrived.
ParseResult ParseRequest(std::string_view bytes);

std::string_view ReasonPhrase(int status);

// "HTTP/1.1 200 OK\r\nServer: ...\r\nContent-Type: ...\r\nContent-Length: N\r\n"
std::string MakeHead(int status, std::string_view contentType, std::uint64_t contentLength);

Reply TextReply(int status, std::string body, std::string_view contentType = "text/plain; charset=UTF-8");

// The body a reply announces in its Content-Length.
std::uint64_t ContentLength(const Reply& reply);

}  // namespace norv::service::http
