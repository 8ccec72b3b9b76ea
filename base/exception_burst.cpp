#include "base/exception_burst.h"

namespace norv {

bool ExceptionBurst::Arrived(std::uint64_t nowMs) {
  const bool sameBurst = seen_ && nowMs - lastMs_ < kQuietMs;
  seen_ = true;
  lastMs_ = nowMs;
  if (showing_ || sameBurst) return false;
  showing_ = true;
  return true;
}

// The time the box was up counts as part of the burst: a failure that repeats
// right after the box closed is still the same one.
void ExceptionBurst::Shown(std::uint64_t nowMs) {
  showing_ = false;
  seen_ = true;
  lastMs_ = nowMs;
}

}  // namespace norv
