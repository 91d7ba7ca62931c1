#include "entry/module_entry.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

TEST(CompatVersion, IsSixOneZeroOneAsSixteenBits) {
  static_assert(std::is_same<decltype(compatVersion()), uint16_t>::value, "16-bit result");
  EXPECT_EQ(compatVersion(), 6101);
  EXPECT_EQ(compatVersion(), 6101);
}

}  // namespace
