// The PA-40's use tax: county rate, estimate table and credit.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PACalculationMgmt::PATaxReturnCalcEngine;

// Pins of the published table at its edges: the bound is exclusive, above
// the last row the factor applies unrounded up to the cap, and the county
// text is compared whole and exactly.
TEST(UseTaxTable, EstimateByIncomeAndCounty) {
  const struct {
    const char* county;
    double income, estimate;
  } kRows[] = {
      {"Allegheny", 15000, 7}, {"Allegheny", 15001, 14}, {"Allegheny", 200001, 200001 * 0.00035},
      {"Allegheny", 300000, 88}, {"Philadelphia", 30001, 22}, {"Philadelphia", 1000000, 100},
      {"Bucks", 100001, 44}, {"", 75000, 23}, {"ALLEGHENY", 15000, 6}, {"Allegheny ", 15000, 6}
  };
  for (const auto& row : kRows) {
    EXPECT_DOUBLE_EQ(PATaxReturnCalcEngine::estimatedUseTax(row.income, row.county), row.estimate)
        << "'" << row.county << "' " << row.income;
  }
  EXPECT_EQ(PATaxReturnCalcEngine::estimatedUseTax(20000, nullptr), 12);
}

class PA40UseTaxTest : public PA40Test {
 protected:
  void county(const std::string& name) { infoText(PAReturnInfo::kCounty, name); }
  void useTax() { engine->computePA40UseTax(holder(kFormID_PA40)); }
};

// Purchases at the county's rate; without purchases there is no rate.
TEST_F(PA40UseTaxTest, PurchasesAtTheCountyRate) {
  county("Philadelphia");
  enter(PA40::kPurchasesPartOne, 600);
  enter(PA40::kPurchasesPartThree, 400);
  useTax();
  EXPECT_EQ(amount(PA40::kUseTaxRate), 8);
  EXPECT_DOUBLE_EQ(amount(PA40::kUseTax), 80);
  restart();
  enter(PA40::kUseTaxRate, 8);
  useTax();
  EXPECT_TRUE(isNull(PA40::kUseTaxRate) && isProtected(PA40::kUseTaxRate));
}

// The estimate only when asked (No by default), from this run's gross
// taxable income; the credit is cut to the tax.
TEST_F(PA40UseTaxTest, EstimateOnlyWhenAskedAndTheCreditCutToTheTax) {
  w2(1, 15001, 0);
  run();
  EXPECT_TRUE(marked(PA40::kEstimatedUseTaxNoBox));
  EXPECT_EQ(amount(PA40::kEstimatedUseTax), 0);
  restart();
  mark(kFormID_PA40, PA40::kEstimatedUseTaxYesBox);
  county("Allegheny");
  w2(1, 15001, 0);
  enter(PA40::kUseTaxCredit, 500);
  run();
  EXPECT_EQ(amount(PA40::kEstimatedUseTax), 14);
  EXPECT_EQ(amount(PA40::kUseTaxCredit), 14);
  EXPECT_EQ(amount(PA40::kUseTax), 0);
}

}  // namespace
