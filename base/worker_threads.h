#pragma once
// Threads kept for work that must run off the caller's thread, such as a
// blocking network call the caller may stop waiting for. A task goes to a
// thread that is waiting for work, or to a new one when every thread is busy,
// so a task stuck in a call never holds up the next, and a steady stream of
// tasks reuses the same few threads: starting a thread is costly on some
// platforms (milliseconds under Wine).

#include <cstddef>
#include <deque>
#include <functional>

#include "base/thread_sync.h"

namespace norv {

// A set is never destroyed: its threads are detached and wait on it for good.
class WorkerThreads {
 public:
  WorkerThreads() = default;
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Runs `task` soon on one of the threads. The task must not throw. Throws
  // std::system_error when a thread was needed and none could be started;
  // the task has not run then.
  void Post(std::function<void()> task);

  // Threads started so far (waiting or busy), and those waiting for work.
  std::size_t Started() const;
  std::size_t Waiting() const;

 private:
  void Serve(std::function<void()> first);

  mutable Mutex mutex_;
  ConditionVariable work_;
  std::deque<std::function<void()>> tasks_;
  std::size_t waiting_ = 0;  // threads waiting for work, less the tasks promised to them
  std::size_t started_ = 0;
};

// The process's own set: a thread may still be in a call while the process ends.
WorkerThreads& AppWorkerThreads();

}  // namespace norv
