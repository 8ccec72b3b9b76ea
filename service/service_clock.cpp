#include "service/service_clock.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace norv::service {

std::chrono::system_clock::time_point ServiceNow() {
  if (const char* set = std::getenv("NORV_SERVICE_NOW")) {
    const std::string_view text = set;
    long long seconds = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error == std::errc() && rest == text.data() + text.size() && !text.empty()) {
      return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
    }
  }
  return std::chrono::system_clock::now();
}

long long UnixSeconds(std::chrono::system_clock::time_point when) {
  return std::chrono::duration_cast<std::chrono::seconds>(when.time_since_epoch()).count();
}

}  // namespace norv::service
