#include <condition_variable>
#include <mutex>

#include "base/thread_sync.h"

namespace norv {

struct Mutex::State {
  std::mutex mutex;
};

struct ConditionVariable::State {
  std::condition_variable_any condition;
};

Mutex::Mutex() : state_(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { state_->mutex.lock(); }
void Mutex::unlock() { state_->mutex.unlock(); }

ConditionVariable::ConditionVariable() : state_(std::make_unique<State>()) {}
ConditionVariable::~ConditionVariable() = default;

void ConditionVariable::Wait(std::unique_lock<Mutex>& lock) { state_->condition.wait(lock); }

bool ConditionVariable::WaitUntil(std::unique_lock<Mutex>& lock, Clock::time_point deadline) {
  return state_->condition.wait_until(lock, deadline) == std::cv_status::no_timeout;
}

void ConditionVariable::NotifyOne() { state_->condition.notify_one(); }
void ConditionVariable::NotifyAll() { state_->condition.notify_all(); }

}  // namespace norv
