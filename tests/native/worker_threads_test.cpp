#include "base/worker_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace norv {
namespace {

using namespace std::chrono_literals;

// Each test's set is never destroyed, as the class asks: its threads keep waiting on it.
WorkerThreads& FreshSet() { return *new WorkerThreads; }

void WaitUntilWaiting(const WorkerThreads& threads, std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (threads.Waiting() < count && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  ASSERT_EQ(threads.Waiting(), count);
}

TEST(WorkerThreads, TasksOneAfterAnotherShareOneThread) {
  WorkerThreads& threads = FreshSet();
  std::vector<std::thread::id> ran;
  for (int i = 0; i < 20; ++i) {
    std::promise<std::thread::id> done;
    threads.Post([&done] { done.set_value(std::this_thread::get_id()); });
    ran.push_back(done.get_future().get());
    WaitUntilWaiting(threads, 1);
  }
  EXPECT_EQ(threads.Started(), 1u);
  for (const std::thread::id id : ran) EXPECT_EQ(id, ran.front());
  EXPECT_NE(ran.front(), std::this_thread::get_id());
}

// A task stuck in a call (a network read that never returns) must not hold
// up the next one; once it returns, its thread serves again.
TEST(WorkerThreads, AStuckTaskDoesNotHoldUpTheNext) {
  WorkerThreads& threads = FreshSet();
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> stuckStarted;
  threads.Post([released, &stuckStarted] {
    stuckStarted.set_value();
    released.wait();
  });
  stuckStarted.get_future().wait();

  std::promise<void> next;
  threads.Post([&next] { next.set_value(); });
  EXPECT_EQ(next.get_future().wait_for(10s), std::future_status::ready);
  EXPECT_EQ(threads.Started(), 2u);

  release.set_value();
  WaitUntilWaiting(threads, 2);
  std::promise<void> last;
  threads.Post([&last] { last.set_value(); });
  EXPECT_EQ(last.get_future().wait_for(10s), std::future_status::ready);
  EXPECT_EQ(threads.Started(), 2u);
}

TEST(WorkerThreads, EveryTaskOfABurstRunsOnce) {
  WorkerThreads& threads = FreshSet();
  constexpr int kTasks = 200;
  std::atomic<int> runs{0};
  std::promise<void> all;
  for (int i = 0; i < kTasks; ++i) {
    threads.Post([&] {
      if (runs.fetch_add(1) + 1 == kTasks) all.set_value();
    });
  }
  ASSERT_EQ(all.get_future().wait_for(10s), std::future_status::ready);
  WaitUntilWaiting(threads, threads.Started());
  EXPECT_EQ(runs.load(), kTasks);
  EXPECT_LE(threads.Started(), static_cast<std::size_t>(kTasks));
}

}  // namespace
}  // namespace norv
