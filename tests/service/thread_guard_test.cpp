#include "service/thread_guard.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <thread>

namespace norv::service {
namespace {

// A serving thread's work that throws must neither end the process nor stop
// the thread: one line says what failed, and the next piece of work runs.
TEST(RunGuarded, AFailureIsOneLineAndTheThreadGoesOn) {
  std::ostringstream err;
  int ran = 0;
  std::thread thread([&] {
    RunGuarded("scheduled update", [] { throw std::runtime_error("disk full"); }, err);
    RunGuarded("scheduled update", [] { throw 42; }, err);
    RunGuarded("scheduled update", [&] { ++ran; }, err);
  });
  thread.join();
  EXPECT_EQ(err.str(),
            "norv-service serve: scheduled update failed: disk full; still serving\n"
            "norv-service serve: scheduled update failed: unknown error; still serving\n");
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace norv::service
