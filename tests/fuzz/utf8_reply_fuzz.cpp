// The first byte sets the read size; the rest is a reply collected in reads
// of that size. A page comes out as valid UTF-8 without CR, LF or zero
// bytes, the same whatever the reads, and unchanged when it was valid;
// RepairUtf8 changes nothing in its own output. Any other reply keeps every
// byte but CR and LF, and a reply past the limit comes out empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/fetch_reply.h"
#include "base/utf8.h"

namespace {

constexpr std::size_t kLimit = 8192;

std::string Without(std::string_view text, std::string_view bytes) {
  std::string out;
  for (char c : text) {
    if (bytes.find(c) == std::string_view::npos) out.push_back(c);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t readSize = 1 + data[0] % 64;
  const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);

  norv::ReplyCollector chunked(kLimit);
  for (std::size_t at = 0; at < reply.size(); at += readSize) chunked.Append(reply.substr(at, readSize));
  norv::ReplyCollector whole(kLimit);
  whole.Append(reply);

  const std::string page = chunked.Finish(true);
  const std::string raw = chunked.Finish(false);
  if (reply.size() > kLimit) {
    if (!page.empty() || !raw.empty() || !chunked.TooLarge()) __builtin_trap();
    return 0;
  }
  if (page != whole.Finish(true)) __builtin_trap();
  if (!norv::IsValidUtf8(page)) __builtin_trap();
  if (page.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
  if (norv::IsValidUtf8(reply) && page != Without(reply, std::string_view("\r\n\0", 3))) __builtin_trap();
  if (raw != Without(reply, "\r\n")) __builtin_trap();

  const std::string repaired = norv::RepairUtf8(reply);
  if (!norv::IsValidUtf8(repaired)) __builtin_trap();
  if (norv::RepairUtf8(repaired) != repaired) __builtin_trap();
  if (repaired.size() > reply.size() * 3) __builtin_trap();
  return 0;
}
