#include "app/app_messages.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

namespace norv {

namespace {

// The calls of this process now waiting in SendMessage. A message from any
// other sender names no call in here, so its lParam is never followed.
class InFlightCalls {
 public:
  void Add(const WindowThreadCall* call) {
    const std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }
  // Takes the call out, so each runs at most once; nullptr for a stranger's value.
  const WindowThreadCall* Claim(LPARAM value) {
    const std::lock_guard lock(mutex_);
    const auto found = std::find_if(calls_.begin(), calls_.end(), [value](const WindowThreadCall* call) {
      return reinterpret_cast<std::uintptr_t>(call) == static_cast<std::uintptr_t>(value);
    });
    if (found == calls_.end()) return nullptr;
    const WindowThreadCall* call = *found;
    calls_.erase(found);
    return call;
  }
  void Remove(const WindowThreadCall* call) {
    const std::lock_guard lock(mutex_);
    calls_.erase(std::remove(calls_.begin(), calls_.end(), call), calls_.end());
  }

 private:
  std::mutex mutex_;
  std::vector<const WindowThreadCall*> calls_;
};

// Never destroyed: a checker may still be sending while the process ends.
InFlightCalls& Calls() {
  static InFlightCalls* const calls = new InFlightCalls;
  return *calls;
}

}  // namespace

bool RunOnWindowThread(HWND window, const WindowThreadCall& call) {
  if (!::IsWindow(window)) {
    return false;
  }
  Calls().Add(&call);
  const LRESULT ran = ::SendMessageW(window, kMsgRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&call));
  Calls().Remove(&call);
  return ran == 1;
}

const WindowThreadCall* ClaimWindowThreadCall(LPARAM lParam) {
  return Calls().Claim(lParam);
}

}  // namespace norv
