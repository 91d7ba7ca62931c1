#include "catalogs/run_notation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> read(const char* text) {
  std::vector<int> out;
  RunNotation::RunReader reader(text);
  for (int n = reader.next(); n != 0; n = reader.next()) out.push_back(n);
  return out;
}

TEST(RunNotation, CountsAndReadsRuns) {
  static_assert(RunNotation::count("32784-32787, 56039, 81494-81495, 133645-133647") == 10, "");
  EXPECT_EQ(read("1, 96-99, 7"), (std::vector<int>{1, 96, 97, 98, 99, 7}));
  EXPECT_EQ(read(" 5 , "
                 "6-6 "),
            (std::vector<int>{5, 6}));
  EXPECT_TRUE(read("").empty());
}

TEST(RunNotation, MalformedTextsCountZero) {
  const char* bad[] = {"0", "5-3", "12a", "1,,x", "-4", "1-", "99999999999"};
  for (const char* text : bad) EXPECT_EQ(RunNotation::count(text), 0u) << text;
}

}  // namespace
