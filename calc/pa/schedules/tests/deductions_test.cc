// The PA deductions schedule: contributions, the medical and health
// savings amounts by residency, the code letter and the income limits.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PADataMgmt::kFilingJoint;
using PADataMgmt::kFilingSingle;

class DeductionsTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PADeductions); }
  void enterD(const FieldId& field, double value) { number(kFormID_PADeductions, field, value); }
  double value(const FieldId& field) { return sched().getIR(field); }
  bool closed(const FieldId& field) { return sched().isNull(field) && sched().isProtected(field); }
  std::string letter() { return StateEngineTest::textOf(kFormID_PADeductions, PADeductions::kCodeLetter); }
  void runD() { engine->computeDeductions(holder(kFormID_PADeductions), 1, 1); }

  // Federal amounts by pull code: medical savings, health savings and its
  // two shares.
  void federalMedical(long amount) { federal()->setCommonItem(64, amount); }
  void federalHealth(long amount, long taxpayer, long spouse) {
    federal()->setCommonItem(167, amount);
    federal()->setCommonItem(177, taxpayer);
    federal()->setCommonItem(178, spouse);
  }
  // Income enough that no limit applies.
  void plentyOfIncome() {
    for (const FieldId* field : {&PA40::kTotalTaxableIncome.id(), &PA40::kTaxpayerCompensation.id(),
                                 &PA40::kSpouseCompensation.id()}) {
      enter(*field, 1000000);
    }
  }
};

TEST_F(DeductionsTest, ContributionsAreCappedInTheRowsAndTheAbleTotals) {
  setFilingStatus(kFilingJoint);
  plentyOfIncome();
  enterD(PADeductions::kTaxpayerTuitionContribution.at(0), 20000);
  enterD(PADeductions::kTaxpayerTuitionContribution.at(9), 700);
  enterD(PADeductions::kSpouseTuitionContribution.at(0), 16000);
  for (int r = 0; r < 3; ++r) enterD(PADeductions::kTaxpayerAbleContribution.at(r), 10000);
  runD();
  EXPECT_EQ(value(PADeductions::kTaxpayerTuitionContribution.at(0)), 15000);
  EXPECT_EQ(value(PADeductions::kSpouseTuitionContribution.at(0)), 15000);
  EXPECT_EQ(value(PADeductions::kTaxpayerTuitionTotal), 15700);
  EXPECT_EQ(value(PADeductions::kTaxpayerAbleContribution.at(2)), 10000);
  EXPECT_EQ(value(PADeductions::kTaxpayerAbleTotal), 15000);
  EXPECT_EQ(value(PADeductions::kTotalAllowedDeductions), 45700);
  EXPECT_EQ(letter(), "C");
}

// Each spouse's limit is that spouse's own PA income; losses of business,
// gains and rents count as 0, those of estates and gambling do not. A limit
// below 0 allows nothing but takes nothing off the other spouse.
TEST_F(DeductionsTest, JointIncomeLimits) {
  setFilingStatus(kFilingJoint);
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
  enterD(PADeductions::kTaxpayerTuitionContribution.at(0), 15000);
  enterD(PADeductions::kSpouseTuitionContribution.at(0), 2000);
  runD();
  EXPECT_EQ(value(PADeductions::kTaxpayerIncomeLimit), 10000 - 1000 + 200 - 400 - 100);
  EXPECT_EQ(value(PADeductions::kSpouseIncomeLimit), 300 - 500);
  EXPECT_EQ(value(PADeductions::kTaxpayerAllowedDeductions), 8700);
  EXPECT_EQ(value(PADeductions::kSpouseAllowedDeductions), 0);
  EXPECT_EQ(value(PADeductions::kTotalAllowedDeductions), 8700);
  EXPECT_TRUE(sched().isDataEntered() && sched().getCalcMark());

  restart();  // nothing allowed: the copy is not marked
  enterD(PADeductions::kTaxpayerTuitionContribution.at(0), 1000);
  runD();
  EXPECT_FALSE(sched().isDataEntered() || sched().getCalcMark());
}

}  // namespace
