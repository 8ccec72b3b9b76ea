#pragma once
// A command's arguments: words in order, and options of the form
// "--name VALUE" (or "--name" alone for a flag) anywhere among them. Every
// command of norv-service, and the test service, reads its arguments here, so
// that bad usage is one error type with one exit status.

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "service/commands.h"

namespace norv::service {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options a command takes.
struct OptionSpec {
  std::vector<std::string_view> values = {};    // "--name VALUE", at most once
  std::vector<std::string_view> repeated = {};  // "--name VALUE", any number of times
  std::vector<std::string_view> flags = {};     // "--name"
};

struct ParsedArguments {
  std::vector<std::string> words;
  std::vector<std::pair<std::string, std::string>> options;  // in the order given; a flag's value is empty

  bool Has(std::string_view name) const;
  // The value of an option taken once; `otherwise` when it was not given.
  std::string Value(std::string_view name, std::string_view otherwise = {}) const;
  // A whole number from `lowest` to `highest`; nothing when the option was
  // not given. Throws UsageError for anything else.
  std::optional<int> Number(std::string_view name, int lowest, int highest) const;
};

// Throws UsageError for an option the option table does not name, one without its
// value, or one given twice that may be given once.
ParsedArguments ParseArguments(Arguments args, const OptionSpec& spec);

// Says on `err` what is wrong ("norv-service update: ...") and how the command
// is used; returns the exit status of bad usage.
int BadUsage(std::string_view command, const UsageError& error, std::string_view usage, std::ostream& err);

}  // namespace norv::service
