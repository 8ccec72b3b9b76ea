#include "service/arguments.h"

#include <algorithm>
#include <ostream>

#include "base/text_basics.h"

namespace norv::service {

namespace {

bool Names(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool ParsedArguments::Has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(), [name](const auto& option) { return option.first == name; });
}

std::string ParsedArguments::Value(std::string_view name, std::string_view otherwise) const {
  for (const auto& [option, value] : options) {
    if (option == name) return value;
  }
  return std::string(otherwise);
}

std::optional<int> ParsedArguments::Number(std::string_view name, int lowest, int highest) const {
  if (!Has(name)) return std::nullopt;
  const std::optional<int> number = ParseDigits(Value(name));
  if (!number || *number < lowest || *number > highest) {
    throw UsageError(std::string(name) + " takes a number from " + std::to_string(lowest) + " to " +
                     std::to_string(highest));
  }
  return number;
}

ParsedArguments ParseArguments(Arguments args, const OptionSpec& spec) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      parsed.words.push_back(arg);
      continue;
    }
    if (Names(spec.flags, arg)) {
      if (parsed.Has(arg)) throw UsageError(arg + " is given twice");
      parsed.options.emplace_back(arg, std::string());
      continue;
    }
    const bool once = Names(spec.values, arg);
    if (!once && !Names(spec.repeated, arg)) throw UsageError("no option " + arg);
    if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
    if (once && parsed.Has(arg)) throw UsageError(arg + " is given twice");
    parsed.options.emplace_back(arg, args[++i]);
  }
  return parsed;
}

int BadUsage(std::string_view command, const UsageError& error, std::string_view usage, std::ostream& err) {
  err << command << ": " << error.what() << '\n' << usage;
  return kExitBadInput;
}

}  // namespace norv::service
