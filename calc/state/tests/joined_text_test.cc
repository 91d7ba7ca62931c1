// joinWithBlank against the format it stands for.
#include <gtest/gtest.h>

#include <cstdio>

#include "calc/state/joined_text.h"

namespace {

// Two texts joined with a blank read as snprintf's "%s %s" at every size,
// cut ones included.
TEST(JoinWithBlankTest, WritesWhatTheFormatWould) {
  const struct {
    const char* first;
    const char* second;
  } texts[] = {{"ACME", "TOOLS INC"}, {"", "TOOLS"}, {"ACME", ""}, {"", ""}};
  for (const auto& t : texts) {
    for (std::size_t size = 1; size <= 16; ++size) {
      char joined[16];
      char expected[16];
      std::snprintf(expected, size, "%s %s", t.first, t.second);
      EXPECT_STREQ(expected, StateCalculationMgmt::joinWithBlank(joined, size, t.first, t.second))
          << t.first << "|" << t.second << " " << size;
    }
  }
  char untouched[2] = "x";
  StateCalculationMgmt::joinWithBlank(untouched, 0, "a", "b");
  EXPECT_STREQ("x", untouched);
}

}  // namespace
