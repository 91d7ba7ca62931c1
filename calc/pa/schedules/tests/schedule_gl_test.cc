// PA Schedule G-L, the credit for taxes paid to other states.
#include <cmath>
#include <string>

#include "calc/pa/tax_parameters.h"
#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleGLTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& sched(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleGL, copy); }
  double value(const FieldId& field, uint16_t copy = 1) { return sched(copy).getIR(field); }
  bool yes(const FieldId& box) { return sched().xMarked(box); }
  bool no(const FieldId& box) { return sched().isNo(box); }
  void enterGL(const FieldId& field, double v, uint16_t copy = 1) {
    number(kFormID_PAScheduleGL, field, v, copy);
  }
  void state(const std::string& name) { text(kFormID_PAScheduleGL, PAScheduleGL::kOtherState, name); }
  void runGL() { engine->computeScheduleGL(holder(kFormID_PAScheduleGL), 1, 1); }
  void deductions(double taxpayer, double spouse) {
    number(kFormID_PADeductions, PADeductions::kTaxpayerAllowedDeductions, taxpayer);
    number(kFormID_PADeductions, PADeductions::kSpouseAllowedDeductions, spouse);
  }

  // A single full-year resident: compensation 50000 less 10000, total PA
  // income 60000, business income 3000, a Schedule D loss, deductions 6000,
  // interest 2000 and dividends 1000; New York taxed 15000 of the
  // compensation.
  void singleResident() {
    setFilingStatus(PADataMgmt::kFilingSingle);
    setResidency(PADataMgmt::kFullYearResident);
    for (const FieldId* field : {&PA40::kGrossCompensation.id(), &PA40::kTaxpayerCompensation.id()}) {
      enter(*field, 50000);
    }
    enter(PA40::kUnreimbursedExpenses, 10000);
    enter(PA40::kTaxpayerExpenses, 10000);
    enter(PA40::kTotalTaxableIncome, 60000);
    enter(PA40::kTaxpayerBusinessIncome, 3000);
    number(kFormID_PAScheduleD, PAScheduleD::kTotalGain, -500);
    deductions(6000, 0);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 2000);
    number(kFormID_PAScheduleB, PAScheduleB::kTotalDividends, 1000);
    state("NY");
    enterGL(PAScheduleGL::kFirstEntityIncome.at(0), 10000);
    enterGL(PAScheduleGL::kSecondEntityIncome.at(0), 5000);
  }
};

TEST_F(ScheduleGLTest, SingleResidentRowsCreditAndBoxes) {
  singleResident();
  enterGL(PAScheduleGL::kFirstEntityIncome.at(3), -100);
  enterGL(PAScheduleGL::kOtherStateTax, 600);
  enterGL(PAScheduleGL::kSecondOtherStateTax, 550);
  runGL();

  // Row 1: 40000 less 40000 / 60000 (total PA income) of the deductions.
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kRowPAIncome.at(0)), 36000);
  EXPECT_EQ(value(PAScheduleGL::kRowLesserIncome.at(0)), 15000);
  // Rows 2 to 8 spread the deductions over income T = 43000.
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kRowPAIncome.at(1)), 2000 - 2000.0 / 43000 * 6000);
  EXPECT_EQ(value(PAScheduleGL::kRowOtherStateIncome.at(3)), 0);  // row 4's is not below 0
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(4)), 0);          // the Schedule D loss reads as 0
  // Credit: ratio 1, so nothing of the other state's tax is set aside;
  // the PA tax on the doubly-taxed 15,000 is the lesser.
  EXPECT_EQ(value(PAScheduleGL::kTaxNotAttributable), 0);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kCredit), 15000 * PATax2018::kTaxRate);
  EXPECT_DOUBLE_EQ(value(PAScheduleGL::kTaxpayerCredit), value(PAScheduleGL::kCredit));
  EXPECT_TRUE(no(PAScheduleGL::kTaxpayerExcessBox));
  EXPECT_TRUE(no(PAScheduleGL::kAnyIncomeRowBox));  // no row box was marked before this run
  EXPECT_TRUE(yes(PAScheduleGL::kCompensationBox) && yes(PAScheduleGL::kBusinessIncomeBox));
  EXPECT_TRUE(sched().isDataEntered() && sched().getCalcMark());
  runGL();
  EXPECT_TRUE(yes(PAScheduleGL::kAnyIncomeRowBox));  // the row boxes of the first run
}

// Interest is not part of the income the deductions are spread over; that
// income is 0, or below 0 with a loss on the PA-40's interest line.
TEST_F(ScheduleGLTest, ADivisorOfZeroOrLessKeepsTheRowAmount) {
  for (double income : {0.0, -5000.0}) {
    restart();
    enter(PA40::kTaxpayerInterest, income);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 500);
    deductions(1000, 0);
    state("NJ");
    runGL();
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
  runGL();
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(6)), 900);
  mark(kFormID_PAScheduleGL, PAScheduleGL::kSpouseBox);
  sched().setNull(PAScheduleGL::kTaxpayerBox);
  runGL();
  EXPECT_EQ(value(PAScheduleGL::kRowPAIncome.at(6)), 300);
}

}  // namespace
