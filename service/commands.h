#pragma once
// The subcommands of norv-service. Each does one thing: what a script reads
// goes to `out`, what a person must read goes to `err`, and the result is the
// process's exit status (0 success, 1 failure, 2 bad input or usage, 3 an
// update that left a game stale: behind the draw calendar).

#include <iosfwd>
#include <span>
#include <string>

namespace norv::service {

using Arguments = std::span<const std::string>;  // after the subcommand's name

int RunInit(Arguments args, std::ostream& out, std::ostream& err);
int RunParse(Arguments args, std::ostream& out, std::ostream& err);
int RunImport(Arguments args, std::ostream& out, std::ostream& err);
int RunUpdate(Arguments args, std::ostream& out, std::ostream& err);
int RunPublish(Arguments args, std::ostream& out, std::ostream& err);
int RunServe(Arguments args, std::ostream& out, std::ostream& err);
int RunKeygen(Arguments args, std::ostream& out, std::ostream& err);
int RunSignRelease(Arguments args, std::ostream& out, std::ostream& err);

inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitStale = 3;

}  // namespace norv::service
