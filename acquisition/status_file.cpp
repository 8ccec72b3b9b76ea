#include "acquisition/status_file.h"

#include "base/text_fields.h"
#include "base/status_layout.h"

namespace norv {

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
  return ParseDigits(FieldAt(text, position, status_layout::kFieldWidth));
}

int StatusNumberAt(std::string_view text, int position) {
  return StatusFieldAt(text, position).value_or(kStatusUnknown);
}

StatusFile ReadStatusFile(std::string_view text) {
  namespace layout = status_layout;
  const auto count = [text](Game game) {
    return StatusNumberAt(text, layout::kDrawCounts[static_cast<std::size_t>(GameIndex(game))]);
  };
  StatusFile status;
  status.birchRelease = StatusNumberAt(text, layout::kBirchRelease);
  status.cedarRelease = StatusNumberAt(text, layout::kCedarRelease);
  status.damsonRelease = StatusNumberAt(text, layout::kDamsonRelease);
  status.programRelease = StatusNumberAt(text, layout::kNorvaleRelease);
  status.elderRelease = StatusNumberAt(text, layout::kElderRelease);
  status.numbers3Count = count(Game::Numbers3);
  status.numbers4Count = count(Game::Numbers4);
  status.miniLotoCount = count(Game::MiniLoto);
  status.loto6Count = count(Game::Loto6);
  status.fennelRelease = StatusNumberAt(text, layout::kFennelRelease);
  return status;
}

}  // namespace norv
