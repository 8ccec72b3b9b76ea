// The first byte picks the game; the rest is a downloaded history. What comes
// out is nothing or whole records of digits, each beginning with its own draw
// number and ended by CR LF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/full_refresh.h"
#include "store/draw_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const norv::Game game = static_cast<norv::Game>(1 + data[0] % 4);
  const std::string_view history(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto file = norv::BuildHistoryFile(game, history, {});
  if (!file) return 0;
  const norv::RecordLayout& layout = norv::LayoutOf(game);
  const std::size_t textBytes = static_cast<std::size_t>(layout.textBytes);
  const std::size_t recordBytes = static_cast<std::size_t>(layout.recordBytes);
  if (file->empty() || file->size() % recordBytes != 0) __builtin_trap();
  if (file->size() / recordBytes != history.size() / textBytes) __builtin_trap();
  for (std::size_t at = 0; at < file->size(); at += recordBytes) {
    for (std::size_t i = 0; i < textBytes; ++i) {
      const char c = (*file)[at + i];
      if (c < '0' || c > '9') __builtin_trap();
    }
    if ((*file)[at + textBytes] != '\r' || (*file)[at + textBytes + 1] != '\n') __builtin_trap();
    if (std::stoi(file->substr(at, 4)) != static_cast<int>(at / recordBytes) + 1) __builtin_trap();
  }
  return 0;
}
