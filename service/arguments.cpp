#include "service/arguments.h"

#include <algorithm>

namespace norv::service {

ParsedArguments ParseArguments(Arguments args, std::initializer_list<std::string_view> valueOptions) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      parsed.words.push_back(arg);
      continue;
    }
    if (std::find(valueOptions.begin(), valueOptions.end(), arg) == valueOptions.end()) {
      throw UsageError("no option " + arg);
    }
    if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
    if (!parsed.options.emplace(arg, args[++i]).second) throw UsageError(arg + " is given twice");
  }
  return parsed;
}

}  // namespace norv::service
