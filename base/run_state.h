#pragma once
// Process-wide state outside the check cycle (the check's own run state is
// AppCheckState(), base/check_state.h).

#include <atomic>

namespace norv {

// Set by the options dialog when the user accepts the restart question; read
// once by the process entry after the message loop has ended.
inline std::atomic<bool> RestartRequested{false};

}  // namespace norv
