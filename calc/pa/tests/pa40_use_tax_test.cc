// The PA-40's use tax: county rate, estimate table and credit.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PACalculationMgmt::PATaxReturnCalcEngine;

TEST(UseTaxTable, EstimateByIncomeAndCounty) {
  struct Row {
    const char* county;
    double income;
    double estimate;
  };
  const Row rows[] = {
      {"Allegheny", 0, 7},
      {"Allegheny", 15000, 7},
      {"Allegheny", 15001, 14},
      {"Allegheny", 200000, 66},
      {"Allegheny", 200001, 200001 * 0.00035},  // above the table: not rounded
      {"Allegheny", 300000, 88},                // 105, capped
      {"Philadelphia", 30000, 17},
      {"Philadelphia", 30001, 22},
      {"Philadelphia", 150001, 76},
      {"Philadelphia", 240000, 96},
      {"Philadelphia", 1000000, 100},
      {"Bucks", 100000, 32},
      {"Bucks", 100001, 44},
      {"Bucks", 210000, 63},
      {"", 75000, 23},
      {"ALLEGHENY", 15000, 6},    // the comparison is exact
      {"Allegheny ", 15000, 6},
  };
  for (const Row& row : rows) {
    EXPECT_DOUBLE_EQ(PATaxReturnCalcEngine::estimatedUseTax(row.income, row.county), row.estimate)
        << "'" << row.county << "' " << row.income;
  }
  EXPECT_EQ(PATaxReturnCalcEngine::estimatedUseTax(20000, nullptr), 12);
}

class PA40UseTaxTest : public PA40Test {
 protected:
  void county(const std::string& name) { text(kFormID_PAReturnInfo, info(94), name); }
  void useTax() { engine->computePA40UseTax(holder(kFormID_PA40)); }
};

TEST_F(PA40UseTaxTest, PurchasesAtTheCountyRate) {
  struct Case {
    const char* county;
    double rate, tax;
  };
  for (const Case& c : {Case{"Philadelphia", 8, 80}, Case{"PHILADELPHIA", 6, 60}, Case{"Allegheny", 7, 70},
                        Case{"", 6, 60}}) {
    restart();
    county(c.county);
    enter(131101, 600);
    enter(131102, 300);
    enter(139385, 100);
    useTax();
    SCOPED_TRACE(c.county);
    EXPECT_EQ(amount(131103), 1000);
    EXPECT_EQ(amount(131104), c.rate);
    EXPECT_DOUBLE_EQ(amount(131105), c.tax);
    EXPECT_DOUBLE_EQ(amount(131110), c.tax);
    EXPECT_DOUBLE_EQ(amount(131111), c.tax);
  }
}

TEST_F(PA40UseTaxTest, NoPurchasesClosesTheRate) {
  county("Philadelphia");
  enter(131104, 8);
  useTax();
  EXPECT_TRUE(isNull(131104));
  EXPECT_TRUE(isProtected(131104));
  EXPECT_EQ(amount(131105), 0);
  EXPECT_FALSE(isNull(131105));
}

TEST_F(PA40UseTaxTest, EstimateOnlyWhenAsked) {
  enter(170, 40000);
  useTax();
  EXPECT_TRUE(marked(131107));  // the default: no estimate
  EXPECT_TRUE(markedNo(131106));
  EXPECT_EQ(amount(131108), 0);
  EXPECT_TRUE(marked(131098));
  EXPECT_TRUE(markedNo(131099));
}

TEST_F(PA40UseTaxTest, CreditIsCutToTheTax) {
  mark(kFormID_PA40, pa40(131106));
  enter(170, 40000);
  enter(131109, 500);
  useTax();
  EXPECT_EQ(amount(131108), 17);
  EXPECT_EQ(amount(131109), 17);
  EXPECT_EQ(amount(131110), 0);
  EXPECT_EQ(amount(131111), 0);
}

TEST_F(PA40UseTaxTest, PurchasesBoxFollowsTheSchedules) {
  useTax();
  EXPECT_TRUE(markedNo(139384));
  number(kFormID_PAScheduleE, kPAScheduleEFieldIds.byNumber(106), 1, 2);
  useTax();
  EXPECT_TRUE(marked(139384));
}

TEST_F(PA40UseTaxTest, WholeRoutineUsesThisRunsGrossIncome) {
  mark(kFormID_PA40, pa40(131106));
  county("Allegheny");
  w2(1, 15001, 0);
  run();
  EXPECT_EQ(amount(170), 15001);
  EXPECT_EQ(amount(131108), 14);
}

}  // namespace
