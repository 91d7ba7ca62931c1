// PA Schedule G-L, the credit for taxes paid to other states: a single
// filer's rows, the proration without income to spread over and row 7
// (the golden returns hold a joint return's credit).
#include <cmath>
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleGLTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAScheduleGL); }
  double value(const FieldId& field) { return sched().getIR(field); }
  void enterGL(const FieldId& field, double v) { number(kFormID_PAScheduleGL, field, v); }
  void state(const std::string& name) { text(kFormID_PAScheduleGL, PAScheduleGL::kOtherState, name); }
  void deductions(double taxpayer) {
    number(kFormID_PADeductions, PADeductions::kTaxpayerAllowedDeductions, taxpayer);
  }
};

// Off a joint return the copy is the taxpayer's, whatever the boxes say,
// and row 1 spreads the deductions over the total PA income; a Schedule D
// loss reads as 0 and row 4's other-state amount is not below 0.
TEST_F(ScheduleGLTest, ASingleFilersRows) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  mark(kFormID_PAScheduleGL, PAScheduleGL::kSpouseBox);
  for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id()}) {
    enter(*field, 50000);
  }
  enter(PA40::kTotalTaxableIncome, 60000);
  enter(PA40::kTaxpayerBusinessIncome, 3000);
  number(kFormID_PAScheduleD, PAScheduleD::kTotalGain, -500);
  deductions(6000);
  state("NY");
  enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 10000);
  enterGL(PAScheduleGL::kFirstEntityIncome.at(3), -100);
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(sched().xMarked(PAScheduleGL::kTaxpayerBox) && sched().isProtected(PAScheduleGL::kTaxpayerBox));
  // Row 1: 50000 less 50000 / 60000 (total PA income) of the deductions.
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kRowPAIncome.at(0)), 45000);
  EXPECT_EQ(value(PAScheduleGL::kRowLesserIncome.at(0)), 10000);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kRowPAIncome.at(3)), 3000 - 3000.0 / 53000 * 6000);
  EXPECT_EQ(value(PAScheduleGL::kRowOtherStateIncome.at(3)), 0);
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(4)), 0);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kTaxpayerCredit), value(PAScheduleGL::kCredit));
}

// Interest is not part of the income the deductions are spread over; that
// income is 0, or below 0 with a loss on the PA-40's interest line.
TEST_F(ScheduleGLTest, ADivisorOfZeroOrLessKeepsTheRowAmount) {
  for (double income : {0.0, -5000.0}) {
    restart();
    enter(PA40::kTaxpayerInterest, income);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 500);
    deductions(1000);
    state("NJ");
    compute(kFormID_PAScheduleGL);
    EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(1)), 500) << income;
    EXPECT_TRUE(std::isfinite(value(PAScheduleGL::kRowPAIncome.at(1))));
  }
}

TEST_F(ScheduleGLTest, RowSevenAddsEveryScheduleJCopyOfThePerson) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  for (uint16_t copy : {1, 2}) {
    number(kFormID_PAScheduleJ, PAScheduleJ::kTaxpayerTotal, 300.0 * copy, copy);
    number(kFormID_PAScheduleJ, PAScheduleJ::kSpouseTotal, 100.0 * copy, copy);
  }
  state("NJ");
  compute(kFormID_PAScheduleGL);
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(6)), 900);
  mark(kFormID_PAScheduleGL, PAScheduleGL::kSpouseBox);
  sched().setNull(PAScheduleGL::kTaxpayerBox);
  compute(kFormID_PAScheduleGL);
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(6)), 300);
}

}  // namespace

// The part of the other state's tax not attributable to doubly-taxed
// income is that of the tax as now entered, not of the lesser tax a run
// before this one left: 381 x 4,000 / 17,400 off 381, so one run after
// the tax is corrected gives the credit the correction calls for.
TEST_F(ScheduleGLTest, TheTaxNotAttributableIsOfTheTaxAsEntered) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id()}) {
    enter(*field, 13400);
  }
  enter(PA40::kTotalTaxableIncome, 13400);
  state("NY");
  enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 17400);
  enterGL(PAScheduleGL::kOtherStateTax, 381);
  enterGL(PAScheduleGL::kSecondOtherStateTax, 381);
  enterGL(PAScheduleGL::kLesserOtherStateTax, 900);  // before the correction
  compute(kFormID_PAScheduleGL);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kTaxNotAttributable), 381 * (4000.0 / 17400));
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kCredit), 381 - 381 * (4000.0 / 17400));
}

// Doubly-taxed income of 1 against 1,000,000 of other-state income: a
// ratio of one millionth, so all but a millionth of the tax falls on
// income PA does not tax (only a ratio of 1 leaves none of it there).
TEST_F(ScheduleGLTest, ARatioOfOneMillionthLeavesTheTaxNotAttributable) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id()}) {
    enter(*field, 1);
  }
  enter(PA40::kTotalTaxableIncome, 1);
  state("NY");
  enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 1000000);
  enterGL(PAScheduleGL::kOtherStateTax, 381);
  enterGL(PAScheduleGL::kSecondOtherStateTax, 381);
  compute(kFormID_PAScheduleGL);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kRatioMillionths), 1);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kComplementMillionths), 999999);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kTaxNotAttributable), 381 * 0.999999);
}

namespace {

// A full-year resident of New York's tax: compensation of 13,400, which
// New York taxed with 4,000 more (two entity amounts of row 1), tax 381.
class ScheduleGLEntriesTest : public ScheduleGLTest {
 protected:
  void SetUp() override {
    ScheduleGLTest::SetUp();
    setFilingStatus(PADataMgmt::kFilingSingle);
    setResidency(PADataMgmt::kFullYearResident);
    for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id()}) {
      enter(*field, 13400);
    }
    enter(PA40::kTotalTaxableIncome, 13400);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 200);
    state("NY");
    enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 13400);
    enterGL(PAScheduleGL::kSecondEntityIncome.at(0), 4000);
    taxes();
  }
  void taxes() {
    enterGL(PAScheduleGL::kOtherStateTax, 381);
    enterGL(PAScheduleGL::kSecondOtherStateTax, 381);
  }
  void residency(int residency) {
    for (const FieldId* box : {&PAReturnInfo::kFullYearResidentBox.id(), &PAReturnInfo::kPartYearResidentBox.id(),
                               &PAReturnInfo::kNonresidentBox.id()}) {
      put(kFormID_PAReturnInfo, *box, DataMgmt::FieldValue());
    }
    setResidency(residency);
  }
  // The entity amounts the user typed are there as typed.
  void expectEntityAmounts() {
    EXPECT_EQ(value(PAScheduleGL::kFirstEntityIncome.at(0)), 13400);
    EXPECT_EQ(value(PAScheduleGL::kSecondEntityIncome.at(0)), 4000);
  }
  // What the calculation figured beyond the credit is gone.
  void expectNoFigures() {
    for (const FieldId* f : {&PAScheduleGL::kEntityIncomeSum.at(0), &PAScheduleGL::kInterestDividendsTotal.id(),
                             &PAScheduleGL::kDoublyTaxedIncomeCopy.id(), &PAScheduleGL::kOtherStateIncomeTotal.id(),
                             &PAScheduleGL::kRatioMillionths.id(), &PAScheduleGL::kComplementMillionths.id(),
                             &PAScheduleGL::kTaxNotAttributableCopy.id()}) {
      EXPECT_TRUE(isNull(kFormID_PAScheduleGL, *f)) << f->getNumber();
    }
    EXPECT_EQ(value(PAScheduleGL::kCredit), 0);
  }
  const double kCredit = 381 - 381 * (4000.0 / 17400);
};

// A copy set to "PA" by a slip and set back: what the calculation figured
// goes with "PA", the entity amounts stay, and with the taxes typed again
// the credit is what it was.
TEST_F(ScheduleGLEntriesTest, ACopySetToPAAndBackKeepsTheEntityAmounts) {
  compute(kFormID_PAScheduleGL);
  ASSERT_DOUBLE_EQ(value(PAScheduleGL::kCredit), kCredit);
  ASSERT_EQ(value(PAScheduleGL::kEntityIncomeSum.at(0)), 17400);
  ASSERT_GT(value(PAScheduleGL::kRatioMillionths), 0);

  state("PA");
  compute(kFormID_PAScheduleGL);
  expectEntityAmounts();
  expectNoFigures();

  state("NY");
  taxes();
  compute(kFormID_PAScheduleGL);
  expectEntityAmounts();
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kCredit), kCredit);
}

// A return switched to nonresident and back: the nonresident's copy holds
// none of the credit's figures (no ratio, entity sum, interest total or
// person's credit, no copy of the state emptied), the entity amounts stay.
TEST_F(ScheduleGLEntriesTest, ANonresidentSwitchedBackKeepsTheEntityAmounts) {
  compute(kFormID_PAScheduleGL);
  ASSERT_DOUBLE_EQ(value(PAScheduleGL::kTaxpayerCredit), kCredit);
  ASSERT_EQ(textOf(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateCopy), "NY");

  residency(PADataMgmt::kNonresident);
  compute(kFormID_PAScheduleGL);
  expectEntityAmounts();
  expectNoFigures();
  EXPECT_TRUE(isNull(kFormID_PAScheduleGL, PAScheduleGL::kTaxpayerCredit));
  EXPECT_TRUE(isNull(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateCopy));

  residency(PADataMgmt::kFullYearResident);
  state("NY");
  taxes();
  compute(kFormID_PAScheduleGL);
  expectEntityAmounts();
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kTaxpayerCredit), kCredit);
}

// The copy of the state follows it, emptied with it.
TEST_F(ScheduleGLEntriesTest, TheStatesCopyIsEmptiedWithTheState) {
  compute(kFormID_PAScheduleGL);
  ASSERT_EQ(textOf(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateCopy), "NY");
  put(kFormID_PAScheduleGL, PAScheduleGL::kOtherState, DataMgmt::FieldValue());
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(isNull(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateCopy));
}

// The taxes, and the entity amounts of a row without PA income, are closed
// while no income is taxed twice and stay empty once there is again: they
// are the user's as the calculation left them, and typed again they give
// the credit.
TEST_F(ScheduleGLEntriesTest, EntriesClosedWithoutIncomeTaxedTwiceStayEmpty) {
  const auto compensation = [this](double amount) {
    for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id(),
                                 &PA40::kTotalTaxableIncome.id()}) {
      enter(*field, amount);
    }
  };
  compensation(0);
  compute(kFormID_PAScheduleGL);
  ASSERT_TRUE(closed(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateTax));
  ASSERT_TRUE(closed(kFormID_PAScheduleGL, PAScheduleGL::kSecondOtherStateTax));
  ASSERT_TRUE(closed(kFormID_PAScheduleGL, PAScheduleGL::kFirstEntityIncome.at(0)));

  compensation(13400);
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(isNull(kFormID_PAScheduleGL, PAScheduleGL::kFirstEntityIncome.at(0)));
  enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 13400);
  enterGL(PAScheduleGL::kSecondEntityIncome.at(0), 4000);
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(isNull(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateTax));
  EXPECT_EQ(value(PAScheduleGL::kCredit), 0);
  taxes();
  compute(kFormID_PAScheduleGL);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kCredit), kCredit);
}

}  // namespace
