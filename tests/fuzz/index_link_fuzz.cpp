// The first byte picks the game and the mode. Raw: the rest is any index
// page; a link read from it is never empty text next to a failure, holds no
// link end marker, has no blanks at its ends and stands in the page after a
// link start that opens before the button image. Built: the rest gives a link
// and junk around a page of both buttons of the game's family; the link read
// is exactly the one around the game's button.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "acquisition/latest_draw_reader.h"
#include "base/text_basics.h"
#include "tests/native/bank_pages.h"

namespace {

void CheckRaw(norv::Game game, std::string_view page) {
  const norv::IndexLink found = norv::ReadIndexLink(game, page);
  if (found.link.empty()) {
    if (found.failureOffset != 3 && found.failureOffset != 4) __builtin_trap();
    return;
  }
  if (found.failureOffset != 0) __builtin_trap();
  if (found.link.find('"') != std::string::npos) __builtin_trap();
  if (norv::TrimControls(found.link).size() != found.link.size()) __builtin_trap();
  if (page.find(found.link) == std::string_view::npos) __builtin_trap();
}

// Link text as a page may write it: no quote, no blank or control at the ends.
std::string CleanLink(std::string text) {
  std::erase(text, '"');
  return std::string(norv::TrimControls(text));
}

void CheckBuilt(norv::Game game, FuzzedDataProvider& input) {
  const std::string link = CleanLink(input.ConsumeRandomLengthString(200));
  const std::string before = input.ConsumeRandomLengthString(300);
  const std::string after = input.ConsumeRemainingBytesAsString();
  const bool loto = game == norv::Game::Loto6 || game == norv::Game::MiniLoto;
  const norv::Game partner = loto ? (game == norv::Game::Loto6 ? norv::Game::MiniLoto : norv::Game::Loto6)
                                  : (game == norv::Game::Numbers4 ? norv::Game::Numbers3 : norv::Game::Numbers4);
  // Neither the junk nor the link may hold a button image or a link start
  // of its own (a link ending in "href=" makes one with its closing quote).
  if (norv::UpperAscii(link).find("HREF") != std::string::npos ||
      norv::UpperAscii(link).find("BTN_") != std::string::npos) {
    return;
  }
  for (const std::string& junk : {before, after}) {
    const std::string upper = norv::UpperAscii(junk);
    if (upper.find("BTN_") != std::string::npos || upper.find("HREF") != std::string::npos ||
        junk.find('"') != std::string::npos) {
      return;
    }
  }
  const std::string page = before +
                           norv::testing::IndexPageHtml({{norv::testing::ButtonLinkOf(partner),
                                                          norv::testing::ButtonImageOf(partner)},
                                                         {link, norv::testing::ButtonImageOf(game)}}) +
                           after;
  const norv::IndexLink found = norv::ReadIndexLink(game, page);
  if (found.link != link) __builtin_trap();
  if (found.failureOffset != (link.empty() ? 3 : 0)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const norv::Game game = static_cast<norv::Game>(1 + data[0] % 4);
  if ((data[0] & 0x80) == 0) {
    CheckRaw(game, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
  }
  FuzzedDataProvider input(data + 1, size - 1);
  CheckBuilt(game, input);
  return 0;
}
