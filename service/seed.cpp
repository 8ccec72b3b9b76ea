#include "service/seed.h"

#include <system_error>

#include "service/durable_file.h"
#include "service/history_csv.h"

// The snapshot is part of the program, so that a deployed norv-service needs
// no data files beside it. The assembler copies each file into read-only data
// between two symbols.
#define NORV_SEED_FILE(name)                                                      \
  ".pushsection .rodata\n"                                                        \
  ".global norv_seed_" name "_begin\n.hidden norv_seed_" name "_begin\n"          \
  ".global norv_seed_" name "_end\n.hidden norv_seed_" name "_end\n"              \
  "norv_seed_" name "_begin:\n.incbin \"" NORVALE_SEED_DIR "/" name ".csv\"\n"    \
  "norv_seed_" name "_end:\n.popsection\n"

__asm__(NORV_SEED_FILE("loto6") NORV_SEED_FILE("miniloto") NORV_SEED_FILE("numbers4") NORV_SEED_FILE("numbers3"));

extern "C" {
extern const char norv_seed_loto6_begin[], norv_seed_loto6_end[];
extern const char norv_seed_miniloto_begin[], norv_seed_miniloto_end[];
extern const char norv_seed_numbers4_begin[], norv_seed_numbers4_end[];
extern const char norv_seed_numbers3_begin[], norv_seed_numbers3_end[];
}

namespace norv::service {

namespace {

std::string_view Between(const char* begin, const char* end) {
  return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

std::vector<Draw> ReadSeedHistory(Game game, std::string_view text, const std::string& where) {
  try {
    return ReadHistoryCsv(game, text);
  } catch (const HistoryFormatError& error) {
    throw StoreError(where + ": " + error.what());
  }
}

}  // namespace

std::string_view BundledSeedFile(Game game) {
  switch (game) {
    case Game::Loto6: return Between(norv_seed_loto6_begin, norv_seed_loto6_end);
    case Game::MiniLoto: return Between(norv_seed_miniloto_begin, norv_seed_miniloto_end);
    case Game::Numbers4: return Between(norv_seed_numbers4_begin, norv_seed_numbers4_end);
    case Game::Numbers3: break;
  }
  return Between(norv_seed_numbers3_begin, norv_seed_numbers3_end);
}

Histories BundledSeed() {
  Histories histories;
  for (Game game : kAllGames) {
    histories[static_cast<std::size_t>(GameIndex(game))] =
        ReadSeedHistory(game, BundledSeedFile(game), "the bundled " + HistoryFileName(game));
  }
  return histories;
}

Histories SeedFromFolder(const std::filesystem::path& folder) {
  Histories histories;
  for (Game game : kAllGames) {
    const std::filesystem::path path = folder / HistoryFileName(game);
    std::string text;
    try {
      text = ReadWholeFile(path);
    } catch (const std::system_error& error) {
      throw StoreError(error.what());
    }
    histories[static_cast<std::size_t>(GameIndex(game))] = ReadSeedHistory(game, text, path.string());
  }
  return histories;
}

}  // namespace norv::service
