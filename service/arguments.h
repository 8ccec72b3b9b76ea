#pragma once
// A subcommand's arguments: words in order, and options of the form
// "--name VALUE" anywhere among them.

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "service/commands.h"

namespace norv::service {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ParsedArguments {
  std::vector<std::string> words;
  std::map<std::string, std::string, std::less<>> options;  // "--seed" -> "DIR"
};

// Throws UsageError for an option not in `valueOptions`, one without its
// value, or one given twice.
ParsedArguments ParseArguments(Arguments args, std::initializer_list<std::string_view> valueOptions);

}  // namespace norv::service
