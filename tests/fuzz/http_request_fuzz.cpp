// The test service's request parser on any bytes: a complete request names
// a path, takes no more bytes than it was given, ends exactly where its head
// and announced body end (the same bytes cut one short are not complete), and
// holds no line feed without its carriage return.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/test_service/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace norv::service::http;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParseResult result = ParseRequest(bytes);
  if (result.status != ParseStatus::Complete) {
    if (result.status == ParseStatus::Bad && result.errorStatus < 400) __builtin_trap();
    return 0;
  }
  if (result.consumed == 0 || result.consumed > size) __builtin_trap();
  if (result.request.path.empty() || result.request.path.front() != '/') __builtin_trap();
  const std::string_view taken = bytes.substr(0, result.consumed);
  const ParseResult again = ParseRequest(taken);
  if (again.status != ParseStatus::Complete || again.consumed != result.consumed) __builtin_trap();
  if (ParseRequest(taken.substr(0, taken.size() - 1)).status == ParseStatus::Complete) __builtin_trap();
  const std::size_t headEnd = taken.find("\r\n\r\n");
  for (std::size_t at = taken.find('\n'); at < headEnd; at = taken.find('\n', at + 1)) {
    if (at == 0 || taken[at - 1] != '\r') __builtin_trap();
  }
  return 0;
}
