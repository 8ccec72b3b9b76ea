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
    parsed = ParseArguments(args, {"--bank", "--metrics"});
    if (parsed.words.size() != 1) throw UsageError("update takes one STORE");
  } catch (const UsageError& error) {
    err << "norv-service update: " << error.what() << '\n' << kUsage;
    return kExitBadInput;
  }
  const auto option = [&parsed](std::string_view name, std::string_view otherwise) -> std::string_view {
    const auto found = parsed.options.find(name);
    return found == parsed.options.end() ? otherwise : std::string_view(found->second);
  };
  const int status =
      RunUpdateJob({parsed.words.front(), option("--bank", kDefaultBank), option("--metrics", ""),
                    "norv-service update: ",
                    [&out](const Draw& draw) { out << Describe(draw) << '\n' << std::flush; }},
                   err);
  if (status == kExitBadInput) err << kUsage;
  return status;
}

}  // namespace norv::service
