#include <ostream>

#include "service/arguments.h"
#include "service/bank_client.h"
#include "service/bank_update.h"
#include "service/commands.h"
#include "service/store.h"

namespace norv::service {

namespace {

constexpr std::string_view kUsage = "usage: norv-service update STORE [--bank URL]\n";

}  // namespace

// Prints each draw as soon as it is stored, so a script sees what was added
// even when a later file fails.
int RunUpdate(Arguments args, std::ostream& out, std::ostream& err) {
  try {
    const ParsedArguments parsed = ParseArguments(args, {"--bank"});
    if (parsed.words.size() != 1) throw UsageError("update takes one STORE");
    const auto bankOption = parsed.options.find("--bank");
    const std::string_view base = bankOption == parsed.options.end() ? kDefaultBank : bankOption->second;
    Store store = Store::Open(parsed.words.front());
    BankClient bank = [&] {
      try {
        return BankClient(base);
      } catch (const FetchError& error) {
        throw UsageError(error.what());
      }
    }();
    const std::vector<std::string> failures =
        UpdateStore(store, bank, [&out](const Draw& draw) { out << Describe(draw) << '\n'
                                                                << std::flush; });
    for (const std::string& failure : failures) err << "norv-service update: " << failure << '\n';
    return failures.empty() ? 0 : kExitFailure;
  } catch (const UsageError& error) {
    err << "norv-service update: " << error.what() << '\n' << kUsage;
    return kExitBadInput;
  } catch (const std::exception& error) {
    err << "norv-service update: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace norv::service
