// The PA deductions schedule: the contribution caps, the income limits and
// what an empty schedule is marked.
#include "calc/pa/tests/pa40_fixture.h"

namespace {

using DeductionField = NamedField<PADeductionsFieldIds>;
using DeductionColumn = NamedColumn<PADeductionsFieldIds>;

class DeductionsTest : public PA40Test {
 protected:
  double value(const FieldId& field) { return valueOf(kFormID_PADeductions, field); }
  void enterD(const FieldId& field, double v) { number(kFormID_PADeductions, field, v); }
};

// Each spouse's limit is that spouse's own PA income; a class with a loss
// (business, gains, rents, estates and trusts over every copy, gambling)
// counts as 0. A limit below 0 allows nothing but takes nothing off the
// other spouse.
TEST_F(DeductionsTest, JointIncomeLimits) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  enter(PA40::kTaxpayerCompensation, 10000);
  enter(PA40::kTaxpayerExpenses, 1000);
  number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 200, 1);
  number(kFormID_PAScheduleB, PAScheduleB::kTotalDividends, 300, 2);
  enter(PA40::kTaxpayerBusinessIncome, -5000);
  number(kFormID_PAScheduleD, PAScheduleD::kTotalGain, -700, 1);
  enter(PA40::kTaxpayerRentsTotal, -900);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, -150, 1);
  number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, -250, 2);
  number(kFormID_PAW2GIncome, PAW2GIncome::kTaxpayerNetWinnings, -100);
  number(kFormID_PAScheduleJ, PAScheduleJ::kSpouseTotal, -500, 2);
  enter(PA40::kSpouseCompensation, 100);
  enter(PA40::kSpouseExpenses, 600);
  enterD(PADeductions::kTaxpayerTuitionContribution.at(0), 15000);
  enterD(PADeductions::kSpouseTuitionContribution.at(0), 2000);
  compute(kFormID_PADeductions);
  EXPECT_EQ(value(PADeductions::kTaxpayerIncomeLimit), 10000 - 1000 + 200);
  EXPECT_EQ(value(PADeductions::kSpouseIncomeLimit), 100 - 600 + 300);
  EXPECT_EQ(value(PADeductions::kTaxpayerAllowedDeductions), 9200);
  EXPECT_EQ(value(PADeductions::kSpouseAllowedDeductions), 0);
  EXPECT_EQ(value(PADeductions::kTotalAllowedDeductions), 9200);
  EXPECT_EQ(textOf(kFormID_PADeductions, PADeductions::kCodeLetter), "T");  // tuition alone
  EXPECT_TRUE(entered(kFormID_PADeductions));

  restart();  // nothing allowed: the copy is not marked
  enterD(PADeductions::kTaxpayerTuitionContribution.at(0), 1000);
  compute(kFormID_PADeductions);
  EXPECT_FALSE(copyOf(kFormID_PADeductions).isDataEntered() || copyOf(kFormID_PADeductions).getCalcMark());
}

// Tuition contributions are capped per beneficiary only; ABLE
// contributions per beneficiary and, over all of them, per contributor,
// each spouse on their own.
TEST_F(DeductionsTest, ContributionCaps) {
  const struct {
    const DeductionColumn& column;
    double rows[3];
    const DeductionField& total;
    double expected;
  } kCases[] = {
      {PADeductions::kTaxpayerAbleContribution, {9000, 8000, 0}, PADeductions::kTaxpayerAbleTotal, 15000},
      {PADeductions::kSpouseAbleContribution, {10000, 10000, 10000}, PADeductions::kSpouseAbleTotal, 15000},
      {PADeductions::kTaxpayerAbleContribution, {20000, 0, 0}, PADeductions::kTaxpayerAbleTotal, 15000},
      {PADeductions::kSpouseAbleContribution, {6000, 5000, 0}, PADeductions::kSpouseAbleTotal, 11000},
      {PADeductions::kTaxpayerTuitionContribution, {15000, 15000, 20000}, PADeductions::kTaxpayerTuitionTotal,
       45000},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(PADataMgmt::kFilingJoint);
    enter(PA40::kTotalTaxableIncome, 200000);
    for (int r = 0; r < 3; ++r) enterD(c.column.at(r), c.rows[r]);
    compute(kFormID_PADeductions);
    EXPECT_EQ(value(c.total), c.expected) << c.rows[0] << " " << c.rows[1] << " " << c.rows[2];
  }
}

}  // namespace
