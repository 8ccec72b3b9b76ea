#include "tests/test_service/http_request.h"

#include <algorithm>
#include <array>

#include "base/text_basics.h"

namespace norv::service::http {

namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Whether the comma-separated tokens of a Connection header name `token`.
bool HasToken(std::string_view list, std::string_view token) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (SameLetters(Trimmed(list.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigitValue(text[i + 1]);
    const int low = HexDigitValue(text[i + 2]);
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return std::nullopt;
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return decoded;
}

// A proxy client names the whole address; the path is what follows the host.
std::string_view OriginForm(std::string_view target) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (target.size() > scheme.size() && SameLetters(target.substr(0, scheme.size()), scheme)) {
      const std::size_t slash = target.find('/', scheme.size());
      return slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
    }
  }
  return target;
}

// A header name is a token: no space (which a folded line or a space before
// the colon would bring), no control character, no separator.
bool IsToken(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return c > ' ' && c < 0x7f && std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
  });
}

// A line feed without its carriage return: another server would end a line
// there, and read the request's headers otherwise than this one.
bool HasBareLineFeed(std::string_view head) {
  for (std::size_t at = head.find('\n'); at != std::string_view::npos; at = head.find('\n', at + 1)) {
    if (at == 0 || head[at - 1] != '\r') return true;
  }
  return false;
}

ParseResult Bad(int status) {
  ParseResult result;
  result.status = ParseStatus::Bad;
  result.errorStatus = status;
  return result;
}

bool ReadRequestLine(std::string_view line, Request& request) {
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == std::string_view::npos || first == last) return false;
  request.method = line.substr(0, first);
  request.target = line.substr(first + 1, last - first - 1);
  const std::string_view version = line.substr(last + 1);
  if (version == "HTTP/1.0") {
    request.http10 = true;
    request.keepAlive = false;
  } else if (version != "HTTP/1.1") {
    return false;
  }
  if (request.method.empty() || request.target.empty() || request.target.find(' ') != std::string::npos) return false;
  const std::string_view origin = OriginForm(request.target);
  if (origin.empty() || origin.front() != '/') return false;
  const std::size_t question = origin.find('?');
  auto path = PercentDecoded(origin.substr(0, question));
  if (!path) return false;
  request.path = std::move(*path);
  if (question != std::string_view::npos) request.query = origin.substr(question + 1);
  return true;
}

}  // namespace

ParseResult ParseRequest(std::string_view bytes) {
  // Blank lines before a request are allowed and skipped.
  std::size_t start = 0;
  while (bytes.substr(start).starts_with("\r\n")) start += 2;
  const std::size_t end = bytes.find(kHeaderEnd, start);
  if (end == std::string_view::npos) {
    if (bytes.size() - start > kMaxHeaderBytes) return Bad(431);
    return {};
  }
  if (end - start > kMaxHeaderBytes) return Bad(431);
  if (HasBareLineFeed(bytes.substr(start, end - start + 2))) return Bad(400);

  ParseResult result;
  Request& request = result.request;
  std::string_view head = bytes.substr(start, end - start);
  const std::size_t lineEnd = head.find("\r\n");
  if (!ReadRequestLine(head.substr(0, lineEnd), request)) return Bad(400);
  head = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);

  std::optional<std::size_t> bodyLength;
  while (!head.empty()) {
    const std::size_t next = head.find("\r\n");
    const std::string_view line = head.substr(0, next);
    head = next == std::string_view::npos ? std::string_view() : head.substr(next + 2);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return Bad(400);
    const std::string_view name = line.substr(0, colon);
    if (!IsToken(name)) return Bad(400);
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (SameLetters(name, "connection")) {
      if (HasToken(value, "close")) request.keepAlive = false;
      if (request.http10 && HasToken(value, "keep-alive")) request.keepAlive = true;
    } else if (SameLetters(name, "user-agent")) {
      request.userAgent = value;
    } else if (SameLetters(name, "transfer-encoding")) {
      return Bad(501);
    } else if (SameLetters(name, "content-length")) {
      if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return Bad(400);
      }
      const std::size_t length = std::stoul(std::string(value));
      if (bodyLength && *bodyLength != length) return Bad(400);  // which one is meant cannot be known
      if (length > kMaxRequestBodyBytes) return Bad(413);
      bodyLength = length;
    }
  }
  const std::size_t total = end + kHeaderEnd.size() + bodyLength.value_or(0);
  if (bytes.size() < total) return {};  // the body has yet to arrive; it is read and dropped
  result.status = ParseStatus::Complete;
  result.consumed = total;
  return result;
}

std::string_view ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 413:
      return "Content Too Large";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 501:
      return "Not Implemented";
    case 503:
      return "Service Unavailable";
    default:
      return "Unknown";
  }
}

std::string MakeHead(int status, std::string_view contentType, std::uint64_t contentLength) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + std::string(ReasonPhrase(status)) +
                     "\r\nServer: norv-service\r\n";
  if (status == 405) head += "Allow: GET, HEAD\r\n";
  head += "Content-Type: " + std::string(contentType) + "\r\nContent-Length: " + std::to_string(contentLength) + "\r\n";
  return head;
}

Reply TextReply(int status, std::string body, std::string_view contentType) {
  Reply reply;
  reply.status = status;
  reply.contentType = contentType;
  reply.body = std::make_shared<const std::string>(std::move(body));
  return reply;
}

std::uint64_t ContentLength(const Reply& reply) {
  if (reply.fillerBytes > 0) return reply.fillerBytes;
  return reply.body ? reply.body->size() : 0;
}

}  // namespace norv::service::http
