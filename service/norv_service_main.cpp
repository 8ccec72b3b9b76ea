// norv-service: holds the real draw history, keeps it current from the bank's
// per-draw files and publishes it in the formats Norvale reads.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "service/commands.h"

namespace {

using norv::service::Arguments;

struct Subcommand {
  std::string_view name;
  int (*run)(Arguments, std::ostream&, std::ostream&);
};

constexpr Subcommand kSubcommands[] = {
    {"init", norv::service::RunInit},       {"parse", norv::service::RunParse},
    {"import", norv::service::RunImport},   {"update", norv::service::RunUpdate},
    {"publish", norv::service::RunPublish}, {"serve", norv::service::RunServe},
    {"keygen", norv::service::RunKeygen},   {"sign-release", norv::service::RunSignRelease},
};

constexpr std::string_view kUsage =
    "usage: norv-service init STORE [--seed DIR]\n"
    "       norv-service parse FILE...\n"
    "       norv-service import STORE FILE...\n"
    "       norv-service update STORE [--bank URL] [--metrics FILE]\n"
    "       norv-service publish STORE SITE --base URL [--config FILE]\n"
    "       norv-service serve STORE [--port N] [--bind ADDR] [--update-every MIN]\n"
    "       norv-service keygen KEYFILE\n"
    "       norv-service sign-release SETUP.EXE --release norvale=NNNN --url URL --key KEYFILE [--expires DAYS]\n";

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) {
    std::cerr << kUsage;
    return norv::service::kExitBadInput;
  }
  const std::string_view name = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const Subcommand& subcommand : kSubcommands) {
    if (subcommand.name == name) {
      const int status = subcommand.run(args, std::cout, std::cerr);
      std::cout.flush();
      return status;
    }
  }
  std::cerr << "norv-service: no subcommand \"" << name << "\"\n" << kUsage;
  return norv::service::kExitBadInput;
}
