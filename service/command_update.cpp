#include <ostream>

#include "service/arguments.h"
#include "service/bank_client.h"
#include "service/commands.h"
#include "service/update_once.h"

namespace norv::service {

namespace {

constexpr std::string_view kUsage = "usage: norv-service update STORE [--bank URL] [--metrics FILE]\n";

}  // namespace

// Prints each draw as soon as it is stored, so a script sees what was added
// even when a later file fails.
int RunUpdate(Arguments args, std::ostream& out, std::ostream& err) {
  ParsedArguments parsed;
  try {
    parsed = ParseArguments(args, {.values = {"--bank", "--metrics"}});
    if (parsed.words.size() != 1) throw UsageError("update takes one STORE");
  } catch (const UsageError& error) {
    return BadUsage("norv-service update", error, kUsage, err);
  }
  const std::string bank = parsed.Value("--bank", kDefaultBank);
  const int status = RunUpdateJob({parsed.words.front(), bank, parsed.Value("--metrics"), "norv-service update: ",
                                   [&out](const Draw& draw) { out << Describe(draw) << '\n' << std::flush; }},
                                  err);
  if (status == kExitBadInput) err << kUsage;
  return status;
}

}  // namespace norv::service
