#include "base/exception_burst.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

TEST(ExceptionBurst, TheFirstExceptionIsShownAndNoneWhileItsBoxIsUp) {
  ExceptionBurst burst;
  EXPECT_TRUE(burst.Arrived(10'000));
  EXPECT_FALSE(burst.Arrived(10'001)) << "nested in the box's own message loop";
  EXPECT_FALSE(burst.Arrived(60'000)) << "still inside the first box";
  burst.Shown(61'000);
  EXPECT_TRUE(burst.Arrived(61'000 + ExceptionBurst::kQuietMs));
}

// A handler failing on every paint or tick: one box for the whole run of them.
TEST(ExceptionBurst, ExceptionsFollowingCloselyAreOneBurst) {
  ExceptionBurst burst;
  ASSERT_TRUE(burst.Arrived(0));
  burst.Shown(5'000);
  for (std::uint64_t at = 5'100; at < 20'000; at += 500) {
    EXPECT_FALSE(burst.Arrived(at)) << at;
  }
  EXPECT_TRUE(burst.Arrived(19'600 + ExceptionBurst::kQuietMs));
}

}  // namespace
}  // namespace norv
