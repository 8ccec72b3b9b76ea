#pragma once
// The stall limit of the test build's checks (norv_probed.exe): long beside
// the test service's slow replies (2 s), short beside the shipped program's
// 60 s, so that a check against a hanging address ends within seconds.

#include <chrono>

namespace norv::testing {

inline constexpr std::chrono::milliseconds kTestBuildStallLimit{10000};

}  // namespace norv::testing
