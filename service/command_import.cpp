#include <ostream>

#include "service/arguments.h"
#include "service/bank_csv.h"
#include "service/commands.h"
#include "service/draw_files.h"
#include "service/store.h"

namespace norv::service {

namespace {

constexpr std::string_view kUsage = "usage: norv-service import STORE FILE...\n";

void PrintAdded(const std::vector<Draw>& added, std::ostream& out) {
  for (const Draw& draw : added) out << Describe(draw) << '\n';
}

}  // namespace

// Every file is read before anything is stored: one bad file, or one draw the
// store refuses, and the store stays as it was. Prints each draw added.
int RunImport(Arguments args, std::ostream& out, std::ostream& err) {
  ParsedArguments parsed;
  try {
    parsed = ParseArguments(args, {});
  } catch (const UsageError& error) {
    return BadUsage("norv-service import", error, kUsage, err);
  }
  if (parsed.words.size() < 2) {
    err << kUsage;
    return kExitBadInput;
  }
  std::optional<Store> store;
  try {
    store.emplace(Store::Open(parsed.words.front()));
  } catch (const StoreError& error) {
    err << "norv-service import: " << error.what() << '\n';
    return kExitBadInput;  // not a store, or a history that is not whole
  }
  try {
    const std::vector<Draw> draws = ReadDrawFiles(Arguments(parsed.words).subspan(1));
    const AddResult result = store->Add(draws);
    for (const std::string& refusal : result.refusals) err << "norv-service import: " << refusal << '\n';
    if (!result.refusals.empty()) return kExitBadInput;
    PrintAdded(result.added, out);
    return 0;
  } catch (const BankFileError& error) {
    err << "norv-service import: " << error.what() << "; nothing was stored\n";
    return kExitBadInput;
  } catch (const StoreWriteError& error) {
    PrintAdded(error.added(), out);
    err << "norv-service import: " << error.what() << '\n';
    return kExitFailure;
  } catch (const std::exception& error) {
    err << "norv-service import: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace norv::service
