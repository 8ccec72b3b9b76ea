// Every field of any status text is a four-digit number or the unknown mark.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "acquisition/status_file.h"

namespace {
bool Plausible(int value) {
  return value >= 0 && value <= norv::kStatusUnknown;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool valid = norv::IsValidStatusText(text);
  if (valid && (text.empty() || text[0] < '0' || text[0] > '9')) __builtin_trap();
  const norv::StatusFile status = norv::ReadStatusFile(text);
  for (int value : {status.birchRelease, status.cedarRelease, status.damsonRelease, status.programRelease,
                    status.elderRelease, status.numbers3Count, status.numbers4Count, status.miniLotoCount,
                    status.loto6Count, status.fennelRelease}) {
    if (!Plausible(value)) __builtin_trap();
  }
  if (size < 48 && status.loto6Count != norv::kStatusUnknown) __builtin_trap();
  return 0;
}
