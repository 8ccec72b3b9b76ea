#pragma once
// Process-wide run state shared by the window thread and the checker thread.

#include <atomic>

namespace norv {

// Set by the options dialog when the user accepts the restart question; read
// once by the process entry after the message loop has ended.
inline std::atomic<bool> RestartRequested{false};

}  // namespace norv
