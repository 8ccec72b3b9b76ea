#include <windows.h>

#include <gtest/gtest.h>

TEST(WineHarness, RunsWindowsCode) {
  EXPECT_NE(::GetCurrentProcessId(), 0u);
}
