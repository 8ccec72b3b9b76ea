#include "base/utf8.h"

#include <algorithm>
#include <iterator>

namespace norv {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

struct LeadByte {
  std::size_t length = 0;  // 0: the byte cannot start a sequence
  unsigned char secondMin = 0x80;
  unsigned char secondMax = 0xBF;
};

// The second byte's range is narrowed after E0, ED, F0 and F4 so that overlong
// forms, surrogates and code points above U+10FFFF are caught at the second
// byte already, as the Unicode standard's table of well-formed sequences does.
LeadByte ClassifyLead(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
  if (b == 0xE0) return {3, 0xA0, 0xBF};
  if (b == 0xED) return {3, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
  if (b == 0xF0) return {4, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
  if (b == 0xF4) return {4, 0x80, 0x8F};
  return {};
}

bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

// Length of the well-formed sequence at `at`, or 0 with `consumed` set to the
// maximal ill-formed prefix (at least one byte) that one U+FFFD replaces.
std::size_t SequenceAt(std::string_view bytes, std::size_t at, std::size_t& consumed) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) {
    return 1;
  }
  const LeadByte kind = ClassifyLead(lead);
  consumed = 1;
  if (kind.length == 0) {
    return 0;
  }
  for (std::size_t i = 1; i < kind.length; ++i) {
    if (at + i >= bytes.size()) {
      return 0;
    }
    const auto b = static_cast<unsigned char>(bytes[at + i]);
    const bool fits = i == 1 ? (b >= kind.secondMin && b <= kind.secondMax) : IsContinuation(b);
    if (!fits) {
      return 0;
    }
    consumed = i + 1;
  }
  return kind.length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t consumed = 0;
    const std::size_t length = SequenceAt(bytes, at, consumed);
    if (length == 0) {
      return false;
    }
    at += length;
  }
  return true;
}

std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t consumed = 0;
    const std::size_t length = SequenceAt(bytes, at, consumed);
    if (length == 0) {
      out.append(kReplacement);
      at += consumed;
    } else {
      out.append(bytes.substr(at, length));
      at += length;
    }
  }
  return out;
}

std::string RemoveLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(out), [](char c) { return c != '\r' && c != '\n'; });
  return out;
}

}  // namespace norv
