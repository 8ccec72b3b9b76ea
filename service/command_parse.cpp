#include <ostream>

#include "service/arguments.h"
#include "service/bank_csv.h"
#include "service/commands.h"
#include "service/draw_files.h"

namespace norv::service {

namespace {

constexpr std::string_view kUsage = "usage: norv-service parse FILE...\n";

}  // namespace

// One line per draw, "numbers4 ..." before "numbers3 ..." for an A50 file:
// the game and the record text Norvale stores. Nothing is printed unless
// every file reads whole.
int RunParse(Arguments args, std::ostream& out, std::ostream& err) {
  ParsedArguments parsed;
  try {
    parsed = ParseArguments(args, {});
  } catch (const UsageError& error) {
    return BadUsage("norv-service parse", error, kUsage, err);
  }
  if (parsed.words.empty()) {
    err << kUsage;
    return kExitBadInput;
  }
  try {
    const std::vector<Draw> draws = ReadDrawFiles(parsed.words);
    for (const Draw& draw : draws) out << RulesOf(draw.game).storeName << ' ' << RecordText(draw) << '\n';
    return 0;
  } catch (const BankFileError& error) {
    err << "norv-service parse: " << error.what() << '\n';
    return kExitBadInput;
  } catch (const std::exception& error) {
    err << "norv-service parse: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace norv::service
