#pragma once
// Reading the process environment, the one way a test or a demonstration
// points the program at another service.

#include <optional>
#include <string>

namespace norv {

// The variable's value as UTF-8, or nothing when it is not set.
std::optional<std::string> ReadEnvironment(const char* name);

}  // namespace norv
