#include "base/worker_threads.h"

#include <mutex>
#include <thread>
#include <utility>

namespace norv {

void WorkerThreads::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (waiting_ > 0) {
      --waiting_;
      tasks_.push_back(std::move(task));
      work_.NotifyOne();
      return;
    }
  }
  // The new thread takes its first task with it, so no waiting thread can
  // take that one and leave the new thread's own count wrong.
  std::thread([this, first = std::move(task)]() mutable { Serve(std::move(first)); }).detach();
  std::lock_guard lock(mutex_);
  ++started_;
}

std::size_t WorkerThreads::Started() const {
  std::lock_guard lock(mutex_);
  return started_;
}

std::size_t WorkerThreads::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

void WorkerThreads::Serve(std::function<void()> first) {
  std::function<void()> task = std::move(first);
  for (;;) {
    task();
    task = nullptr;  // what the task holds goes before the thread waits
    std::unique_lock lock(mutex_);
    ++waiting_;
    while (tasks_.empty()) work_.Wait(lock);
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
}

WorkerThreads& AppWorkerThreads() {
  static WorkerThreads* const threads = new WorkerThreads;
  return *threads;
}

}  // namespace norv
