// Any reply either fills the table with trimmed 100-character fields or leaves it alone.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "acquisition/url_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char*>(data), size);
  norv::UrlTable table;
  table.slots.fill("untouched");
  if (!norv::ParseUrlDirectory(reply, "http://dir.pellmark.test/url.cgi?SFT=0", table)) {
    for (const std::string& slot : table.slots) {
      if (slot != "untouched") __builtin_trap();
    }
    return 0;
  }
  for (const std::string& slot : table.slots) {
    if (slot.size() > 100) __builtin_trap();
    if (!slot.empty() && (static_cast<unsigned char>(slot.front()) <= 32 ||
                          static_cast<unsigned char>(slot.back()) <= 32)) {
      __builtin_trap();
    }
  }
  if (table[0].compare(0, 7, "http://") != 0) __builtin_trap();
  return 0;
}
