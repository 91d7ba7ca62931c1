// The special tax forgiveness table: the published bounds, the step at
// each bound, and children beyond the tabulated nine.
#include <gtest/gtest.h>

#include "calc/pa/schedules/schedule_sp_table.h"

namespace {

using PACalculationMgmt::ScheduleSP::forgivenessBound;
using PACalculationMgmt::ScheduleSP::forgivenessPercent;
using PACalculationMgmt::ScheduleSP::MaritalClass;

// Every tabulated bound is base + 250 per row + 9,500 per child; a typo in
// the table shows here.
TEST(ForgivenessTableTest, BoundsFollowTheRule) {
  const struct {
    MaritalClass maritalClass;
    double base;
  } kClasses[] = {{MaritalClass::kUnmarried, 6501}, {MaritalClass::kMarried, 13001}};
  for (const auto& c : kClasses) {
    for (int row = 0; row < 10; ++row) {
      for (int children = 0; children <= 14; ++children) {
        EXPECT_DOUBLE_EQ(forgivenessBound(c.maritalClass, row, children),
                         c.base + 250 * row + 9500 * children)
            << "row " << row << " children " << children;
      }
    }
  }
}

TEST(ForgivenessTableTest, PercentAtTheBounds) {
  const struct {
    MaritalClass maritalClass;
    int children;
    double income;
    int percent;
  } kCases[] = {
      {MaritalClass::kUnmarried, 0, 6500, 100},    {MaritalClass::kUnmarried, 0, 6501, 90},
      {MaritalClass::kUnmarried, 0, 8750, 10},     {MaritalClass::kUnmarried, 0, 8751, 0},
      {MaritalClass::kMarried, 2, 32000, 100},     {MaritalClass::kMarried, 2, 32001, 90},
      {MaritalClass::kMarried, 2, 34250, 10},      {MaritalClass::kMarried, 2, 34251, 0},
      {MaritalClass::kUnmarried, 12, 120500, 100}, {MaritalClass::kUnmarried, 12, 120501, 90},
      {MaritalClass::kMarried, 0, 13000.5, 100},   {MaritalClass::kMarried, 0, 14000, 60},
      {MaritalClass::kUnmarried, 0, 0, 100},       {MaritalClass::kUnmarried, 0, -2500, 100},
      {MaritalClass::kUnmarried, -3, 6501, 90},    {MaritalClass::kMarried, 9, 100751, 0},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(forgivenessPercent(c.maritalClass, c.income, c.children), c.percent)
        << "income " << c.income << " children " << c.children;
  }
}

}  // namespace
