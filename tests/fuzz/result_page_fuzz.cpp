// The first byte picks the game's parser; the rest is a result page searched
// for draw 541. A record is always whole, all digits and numbered 0541, and a
// failure never comes with a record.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "acquisition/result_page_parser.h"
#include "store/draw_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const norv::Game game = static_cast<norv::Game>(1 + data[0] % 4);
  const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
  const norv::PageReading reading = norv::ReadResultText(game, page, 541);
  if (reading.record.empty()) {
    const int f = reading.failureOffset;
    if (f != 0 && (f < 7 || f > 10)) __builtin_trap();
    return 0;
  }
  if (reading.failureOffset != 0) __builtin_trap();
  if (reading.record.size() != static_cast<std::size_t>(norv::LayoutOf(game).textBytes)) __builtin_trap();
  if (reading.record.compare(0, 4, "0541") != 0) __builtin_trap();
  for (char c : reading.record) {
    if (c < '0' || c > '9') __builtin_trap();
  }
  return 0;
}
