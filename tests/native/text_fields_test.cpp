#include "acquisition/text_fields.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

TEST(FieldAt, TakesWholeFieldsOnlyAndNeverCutsShort) {
  EXPECT_EQ(FieldAt("ABCDE", 4, 3), "");
  EXPECT_EQ(FieldAt("ABCDE", 4, 2), "DE");
  EXPECT_EQ(FieldAt("ABCDE", 6, 1), "");
  EXPECT_EQ(FieldAt("ABCDE", 2, 0), "BCDE");
}

}  // namespace
}  // namespace norv
