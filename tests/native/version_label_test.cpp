#include "about/version_label.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

TEST(VersionLabel, ThisReleaseReadsFivePointOne) {
  EXPECT_EQ(VersionLabel("0051"), "5.1");
}

TEST(VersionLabel, LeadingZerosGoAndThePointPrecedesTheLastDigit) {
  EXPECT_EQ(VersionLabel("0120"), "12.0");
  EXPECT_EQ(VersionLabel("1234"), "123.4");
  EXPECT_EQ(VersionLabel("0005"), "0.5");
  EXPECT_EQ(VersionLabel("0000"), "0.0");
}

TEST(VersionLabel, AStampThatIsNotANumberIsShownUnchanged) {
  EXPECT_EQ(VersionLabel("5.1a"), "5.1a");
  EXPECT_EQ(VersionLabel(""), "");
}

}  // namespace
}  // namespace norv
