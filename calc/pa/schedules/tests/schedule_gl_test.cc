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
    compensation(13400);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 200);
    state("NY");
    enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 13400);
    enterGL(PAScheduleGL::kSecondEntityIncome.at(0), 4000);
    enterGL(PAScheduleGL::kOtherStateTax, 381);
    enterGL(PAScheduleGL::kSecondOtherStateTax, 381);
  }
  void compensation(double amount) {
    for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id(),
                                 &PA40::kTotalTaxableIncome.id()}) {
      enter(*field, amount);
    }
  }
  bool isNullGL(const FieldId& field) { return isNull(kFormID_PAScheduleGL, field); }
};

// A copy set to "PA", or of a nonresident, holds none of the figures of
// the credit (no entity sum, interest total, ratio or credit; for the
// nonresident no person's credit or copy of the state either) and keeps
// the state and the entity amounts typed (pahost's tests set the copy
// back).
TEST_F(ScheduleGLEntriesTest, ACopyOfNoCreditKeepsTheEntityAmountsAlone) {
  for (bool nonresident : {false, true}) {
    restart();
    compute(kFormID_PAScheduleGL);
    ASSERT_GT(value(PAScheduleGL::kRatioMillionths), 0);
    ASSERT_GT(value(PAScheduleGL::kTaxpayerCredit), 0);
    if (nonresident) {
      put(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox, DataMgmt::FieldValue());
      setResidency(PADataMgmt::kNonresident);
      enterGL(PAScheduleGL::kSpouseCredit, 120);  // as a joint return's copy held it
    } else {
      state("PA");
    }
    compute(kFormID_PAScheduleGL);
    EXPECT_EQ(value(PAScheduleGL::kFirstEntityIncome.at(0)), 13400);
    EXPECT_EQ(value(PAScheduleGL::kSecondEntityIncome.at(0)), 4000);
    for (const FieldId* f : {&PAScheduleGL::kEntityIncomeSum.at(0), &PAScheduleGL::kInterestDividendsTotal.id(),
                             &PAScheduleGL::kDoublyTaxedIncomeCopy.id(), &PAScheduleGL::kOtherStateIncomeTotal.id(),
                             &PAScheduleGL::kRatioMillionths.id(), &PAScheduleGL::kComplementMillionths.id(),
                             &PAScheduleGL::kTaxNotAttributableCopy.id()}) {
      EXPECT_TRUE(isNullGL(*f)) << nonresident << " " << f->getNumber();
    }
    EXPECT_EQ(value(PAScheduleGL::kTaxpayerCredit), 0);
    EXPECT_EQ(value(PAScheduleGL::kSpouseCredit), 0);
    EXPECT_EQ(isNullGL(PAScheduleGL::kOtherStateCopy), nonresident);
    EXPECT_EQ(textOf(kFormID_PAScheduleGL, PAScheduleGL::kOtherState), nonresident ? "NY" : "PA");
  }
  // A resident's copy follows the state too, emptied with it.
  restart();
  compute(kFormID_PAScheduleGL);
  ASSERT_EQ(textOf(kFormID_PAScheduleGL, PAScheduleGL::kOtherStateCopy), "NY");
  state("");
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(isNullGL(PAScheduleGL::kOtherStateCopy));
}

// The taxes, and the entity amounts of a row without PA income, are closed
// while no income is taxed twice and stay empty once there is again: they
// are the user's as the calculation left them.
TEST_F(ScheduleGLEntriesTest, EntriesClosedWithoutIncomeTaxedTwiceStayEmpty) {
  compensation(0);
  compute(kFormID_PAScheduleGL);
  for (const FieldId* f : {&PAScheduleGL::kOtherStateTax.id(), &PAScheduleGL::kSecondOtherStateTax.id(),
                           &PAScheduleGL::kFirstEntityIncome.at(0)}) {
    ASSERT_TRUE(closed(kFormID_PAScheduleGL, *f)) << f->getNumber();
  }
  compensation(13400);
  compute(kFormID_PAScheduleGL);
  EXPECT_TRUE(isNullGL(PAScheduleGL::kFirstEntityIncome.at(0)));
  EXPECT_TRUE(isNullGL(PAScheduleGL::kOtherStateTax));
  EXPECT_EQ(value(PAScheduleGL::kCredit), 0);
}

}  // namespace
