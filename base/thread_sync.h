#pragma once
// A mutex and a condition variable for handing work between threads. On
// Windows they are the system's slim reader/writer lock and condition
// variable: the C++ library's own (winpthreads) make every wait and wake-up a
// round trip through kernel objects, which under Wine is a wineserver request
// and costs a check about a millisecond a fetch on a loaded machine.

#include <chrono>
#include <memory>
#include <mutex>

namespace norv {

class Mutex {
 public:
  Mutex();
  ~Mutex();
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void lock();
  void unlock();

 private:
  friend class ConditionVariable;
  struct State;
  std::unique_ptr<State> state_;
};

class ConditionVariable {
 public:
  using Clock = std::chrono::steady_clock;

  ConditionVariable();
  ~ConditionVariable();
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;

  // Both may wake without a notification; callers check their condition.
  void Wait(std::unique_lock<Mutex>& lock);
  // False when the deadline passed.
  bool WaitUntil(std::unique_lock<Mutex>& lock, Clock::time_point deadline);
  void NotifyOne();
  void NotifyAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace norv
