#pragma once
// The service's clock: the real time, unless NORV_SERVICE_NOW holds Unix
// seconds. Only the tests set it, to judge a store on a day of their choosing.

#include <chrono>

namespace norv::service {

std::chrono::system_clock::time_point ServiceNow();

long long UnixSeconds(std::chrono::system_clock::time_point when);

}  // namespace norv::service
