#include "acquisition/status_file.h"

#include "base/text_fields.h"

namespace norv {

namespace {
constexpr int kFieldWidth = 4;
}

int StatusFile::DrawCountOf(Game game) const {
  switch (game) {
    case Game::Loto6: return loto6Count;
    case Game::MiniLoto: return miniLotoCount;
    case Game::Numbers4: return numbers4Count;
    case Game::Numbers3: return numbers3Count;
  }
  return kStatusUnknown;
}

bool IsValidStatusText(std::string_view text) {
  return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

std::optional<int> StatusFieldAt(std::string_view text, int position) {
  // FieldAt never cuts a field short, so a file that ends inside a field gives
  // nothing here rather than a number with fewer digits.
  return ParseDigits(FieldAt(text, position, kFieldWidth));
}

int StatusNumberAt(std::string_view text, int position) {
  return StatusFieldAt(text, position).value_or(kStatusUnknown);
}

StatusFile ReadStatusFile(std::string_view text) {
  StatusFile status;
  status.birchRelease = StatusNumberAt(text, 5);
  status.cedarRelease = StatusNumberAt(text, 9);
  status.damsonRelease = StatusNumberAt(text, 13);
  status.programRelease = StatusNumberAt(text, 17);
  status.elderRelease = StatusNumberAt(text, 25);
  status.numbers3Count = StatusNumberAt(text, 33);
  status.numbers4Count = StatusNumberAt(text, 37);
  status.miniLotoCount = StatusNumberAt(text, 41);
  status.loto6Count = StatusNumberAt(text, 45);
  status.fennelRelease = StatusNumberAt(text, 97);
  return status;
}

}  // namespace norv
