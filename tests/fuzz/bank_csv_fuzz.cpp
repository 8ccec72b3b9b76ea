// The bytes are a file downloaded from the bank. The reader either refuses it
// with a one-line reason or gives the draws of one series, each storable as a
// record of its game's length, and reads the same when asked for that draw.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/bank_csv.h"
#include "store/draw_record.h"

namespace {

void CheckDraws(const std::vector<norv::service::Draw>& draws) {
  using norv::Game;
  if (draws.empty() || draws.size() > 2) __builtin_trap();
  if (draws.size() == 2 &&
      (draws[0].game != Game::Numbers4 || draws[1].game != Game::Numbers3 || draws[0].number != draws[1].number)) {
    __builtin_trap();
  }
  for (const norv::service::Draw& draw : draws) {
    if (norv::service::DrawProblem(draw)) __builtin_trap();
    if (norv::service::RecordText(draw).size() != static_cast<std::size_t>(norv::LayoutOf(draw.game).textBytes)) {
      __builtin_trap();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<norv::service::Draw> draws;
  try {
    draws = norv::service::ReadBankFile(bytes);
  } catch (const norv::service::BankFileError& error) {
    if (std::string_view(error.what()).find('\n') != std::string_view::npos) __builtin_trap();
    return 0;
  }
  CheckDraws(draws);
  const norv::service::BankFileId id{norv::service::SeriesOf(draws[0].game), draws[0].number};
  if (norv::service::ReadBankFile(bytes, id) != draws) __builtin_trap();
  return 0;
}
