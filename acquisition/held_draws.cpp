#include "acquisition/held_draws.h"

#include <algorithm>

namespace norv {

namespace {

std::size_t WholeRecords(std::string_view content, std::size_t recordBytes) { return content.size() / recordBytes; }

std::string_view RecordAt(std::string_view content, std::size_t index, std::size_t recordBytes) {
  if (index >= WholeRecords(content, recordBytes)) return {};
  return content.substr(index * recordBytes, recordBytes);
}

}  // namespace

bool KeepsHeldDraws(std::string_view offered, std::string_view held, std::string_view witness,
                    std::size_t recordBytes) {
  const std::size_t shared = std::min(WholeRecords(offered, recordBytes), WholeRecords(held, recordBytes));
  // Nearly always the same; one comparison spares the walk.
  if (offered.substr(0, shared * recordBytes) == held.substr(0, shared * recordBytes)) return true;
  for (std::size_t i = 0; i < shared; ++i) {
    const std::string_view record = RecordAt(offered, i, recordBytes);
    if (record != RecordAt(held, i, recordBytes) && record != RecordAt(witness, i, recordBytes)) return false;
  }
  return true;
}

std::string WithHeldDrawsBeyond(std::string offered, std::string_view held, std::size_t recordBytes) {
  const std::size_t from = WholeRecords(offered, recordBytes) * recordBytes;
  const std::size_t to = WholeRecords(held, recordBytes) * recordBytes;
  if (to > from) offered.append(held.substr(from, to - from));
  return offered;
}

}  // namespace norv
