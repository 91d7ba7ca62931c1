// Schedule SP Part B: which federal dependents count as children, the rows
// they fill and the count the forgiveness bounds use; and the forgiveness
// table with its published bounds.
#include <gtest/gtest.h>

#include "calc/pa/schedules/schedule_sp_table.h"
#include "calc/pa/schedules/tests/schedule_sp_fixture.h"

namespace {

using PACalculationMgmt::ScheduleSP::forgivenessBound;
using PACalculationMgmt::ScheduleSP::forgivenessPercent;
using PACalculationMgmt::ScheduleSP::MaritalClass;

class ScheduleSPDependentsTest : public ScheduleSPTest {
 protected:
  // An unmarried filer, so Part B is kept.
  void SetUp() override {
    ScheduleSPTest::SetUp();
    setStatus(PADataMgmt::kFilingSingle);
  }
  void expectRowNull(int row) {
    for (const auto* column : {&PAScheduleSP::kDependentName, &PAScheduleSP::kDependentAge,
                               &PAScheduleSP::kDependentRelationship, &PAScheduleSP::kDependentSSN}) {
      EXPECT_TRUE(isNull(column->at(row))) << "row " << row << " field " << column->at(row);
    }
  }
  std::string name(int row) { return textOf(PAScheduleSP::kDependentName.at(row)); }
};

// Rows follow the copies in order, past gaps in the copy numbers; rows
// no child fills are emptied.
TEST_F(ScheduleSPDependentsTest, ChildrenFillTheRowsInCopyOrder) {
  addDependent(2, "Ann", "daughter", true, 4, "111-11-1111");  // the case does not count
  addDependent(3, "Bob", "SON", false);
  addDependent(5, "Cal", "STEPCHILD", true, 9);
  addDependent(6, "Dee", "MOTHER", true);
  text(kFormID_PAScheduleSP, PAScheduleSP::kDependentName.at(3), "Old row");
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kDependentCount), 2);
  EXPECT_EQ(name(0), "Ann Doe");
  EXPECT_EQ(amount(PAScheduleSP::kDependentAge.at(0)), 4);
  EXPECT_EQ(textOf(PAScheduleSP::kDependentRelationship.at(0)), "daughter");
  EXPECT_EQ(textOf(PAScheduleSP::kDependentSSN.at(0)), "111-11-1111");
  EXPECT_EQ(name(1), "Cal Doe");
  EXPECT_EQ(amount(PAScheduleSP::kDependentAge.at(1)), 9);
  expectRowNull(2);
  expectRowNull(3);
}

TEST_F(ScheduleSPDependentsTest, FiveChildrenAreListedOnAnAttachment) {
  for (uint16_t copy = 1; copy <= 5; ++copy) addDependent(copy, "Kid", "SON", true);
  setPA40(54000, 500, 0);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kDependentCount), 5);
  EXPECT_EQ(name(0), "See attached schedule");
  EXPECT_TRUE(isNull(PAScheduleSP::kDependentAge.at(0)));
  expectRowNull(3);
  EXPECT_EQ(amount(PAScheduleSP::kForgivenessPercentage), 100);  // below the five-child bound 54,001
}

TEST_F(ScheduleSPDependentsTest, NoChildNullsPartB) {
  for (int row = 0; row < 4; ++row) text(kFormID_PAScheduleSP, PAScheduleSP::kDependentName.at(row), "Old");
  enter(PAScheduleSP::kDependentCount, 2);
  runSP();
  EXPECT_TRUE(isNull(PAScheduleSP::kDependentCount));
  for (int row = 0; row < 4; ++row) expectRowNull(row);
}

TEST(ForgivenessTableTest, PublishedBounds) {
  const struct {
    MaritalClass maritalClass;
    int row, children;
    double bound;
  } kBounds[] = {
      {MaritalClass::kUnmarried, 0, 0, 6501}, {MaritalClass::kUnmarried, 0, 1, 16001},
      {MaritalClass::kUnmarried, 9, 0, 8751}, {MaritalClass::kUnmarried, 9, 9, 94251},
      {MaritalClass::kMarried, 0, 0, 13001},  {MaritalClass::kMarried, 9, 0, 15251},
      {MaritalClass::kMarried, 6, 9, 100001}, {MaritalClass::kMarried, 0, -3, 13001}
  };
  for (const auto& b : kBounds) {
    EXPECT_DOUBLE_EQ(forgivenessBound(b.maritalClass, b.row, b.children), b.bound)
        << "row " << b.row << " children " << b.children;
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
      {MaritalClass::kMarried, 2, 32000, 100},     {MaritalClass::kMarried, 2, 34251, 0},
      {MaritalClass::kUnmarried, 12, 120500, 100}, {MaritalClass::kUnmarried, 12, 120501, 90},
      {MaritalClass::kMarried, 0, 13000.5, 100},   {MaritalClass::kUnmarried, 0, -2500, 100}
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(forgivenessPercent(c.maritalClass, c.income, c.children), c.percent)
        << "income " << c.income << " children " << c.children;
  }
}

}  // namespace
