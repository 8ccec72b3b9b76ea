#include "acquisition/environment.h"

#include <cstdlib>

namespace norv {

std::optional<std::string> ReadEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) {
    return std::nullopt;
  }
  return std::string(value);
}

}  // namespace norv
