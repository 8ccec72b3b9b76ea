#include <ostream>

#include "service/arguments.h"
#include "service/commands.h"
#include "service/seed.h"
#include "service/store.h"

namespace norv::service {

namespace {

constexpr std::string_view kUsage = "usage: norv-service init STORE [--seed DIR]\n";

Histories ChosenSeed(const ParsedArguments& parsed) {
  return parsed.Has("--seed") ? SeedFromFolder(parsed.Value("--seed")) : BundledSeed();
}

}  // namespace

// Prints the newest draw of each game the new store holds: "loto6 2085".
int RunInit(Arguments args, std::ostream& out, std::ostream& err) {
  try {
    const ParsedArguments parsed = ParseArguments(args, {.values = {"--seed"}});
    if (parsed.words.size() != 1) throw UsageError("init takes one STORE");
    Histories seed;
    try {
      seed = ChosenSeed(parsed);
    } catch (const StoreError& error) {
      err << "norv-service init: " << error.what() << '\n';
      return kExitBadInput;
    }
    const Store store = Store::Create(parsed.words.front(), seed);
    for (Game game : kAllGames) out << RulesOf(game).storeName << ' ' << store.NewestNumber(game) << '\n';
    return 0;
  } catch (const UsageError& error) {
    return BadUsage("norv-service init", error, kUsage, err);
  } catch (const std::exception& error) {
    err << "norv-service init: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace norv::service
