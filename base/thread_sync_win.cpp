#include <windows.h>

#include <algorithm>

#include "base/thread_sync.h"

namespace norv {

struct Mutex::State {
  SRWLOCK lock = SRWLOCK_INIT;
};

struct ConditionVariable::State {
  CONDITION_VARIABLE condition = CONDITION_VARIABLE_INIT;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { ::AcquireSRWLockExclusive(&state_->lock); }
void Mutex::unlock() { ::ReleaseSRWLockExclusive(&state_->lock); }

ConditionVariable::ConditionVariable() : state_(std::make_unique<State>()) {}
ConditionVariable::~ConditionVariable() = default;

void ConditionVariable::Wait(std::unique_lock<Mutex>& lock) {
  ::SleepConditionVariableSRW(&state_->condition, &lock.mutex()->state_->lock, INFINITE, 0);
}

bool ConditionVariable::WaitUntil(std::unique_lock<Mutex>& lock, Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return false;
  // INFINITE is all ones; a wait that long is no deadline, so stay below it.
  const DWORD wait = static_cast<DWORD>(std::min<long long>(left, INFINITE - 1));
  if (::SleepConditionVariableSRW(&state_->condition, &lock.mutex()->state_->lock, wait, 0)) return true;
  return ::GetLastError() != ERROR_TIMEOUT;
}

void ConditionVariable::NotifyOne() { ::WakeConditionVariable(&state_->condition); }
void ConditionVariable::NotifyAll() { ::WakeAllConditionVariable(&state_->condition); }

}  // namespace norv
