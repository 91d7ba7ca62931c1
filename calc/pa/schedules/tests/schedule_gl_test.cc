// PA Schedule G-L on fixture returns. Fields are named by host field number,
// so the member mapping is checked independently of the code.
#include <cmath>
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleGLTest : public PA40Test {
 protected:
  static const FieldId& f(int hostField) { return kPAScheduleGLFieldIds.byNumber(hostField); }

  DataMgmt::TaxForm& sched(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleGL, copy); }
  double value(int hostField, uint16_t copy = 1) { return sched(copy).getIR(f(hostField)); }
  bool isNull(int hostField) { return sched().isNull(f(hostField)); }
  bool isProtected(int hostField) { return sched().isProtected(f(hostField)); }
  bool yes(int hostField, uint16_t copy = 1) { return sched(copy).xMarked(f(hostField)); }
  bool no(int hostField, uint16_t copy = 1) { return sched(copy).isNo(f(hostField)); }
  void enter(int hostField, double v, uint16_t copy = 1) {
    number(kFormID_PAScheduleGL, f(hostField), v, copy);
  }
  void state(const std::string& name, uint16_t copy = 1) { text(kFormID_PAScheduleGL, f(9), name, copy); }
  void run(uint16_t copy = 1) { engine->computeScheduleGL(holder(kFormID_PAScheduleGL, copy), copy, 1); }
  bool entered() { return sched().isDataEntered() && sched().getCalcMark(); }

  void pa40Amount(int hostField, double v) { number(kFormID_PA40, pa40(hostField), v); }
  void deductions(double taxpayer, double spouse) {
    number(kFormID_PADeductions, kPADeductionsFieldIds.byNumber(36569), taxpayer);
    number(kFormID_PADeductions, kPADeductionsFieldIds.byNumber(36570), spouse);
  }
  void interest(uint16_t copy, double v) {
    number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), v, copy);
  }
  void dividends(uint16_t copy, double v) {
    number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), v, copy);
  }
  // The four detail amounts the other state taxed, from `first` on.
  void details(int first, double a, double b = 0, double c = 0, double d = 0) {
    const double values[] = {a, b, c, d};
    for (int k = 0; k < 4; ++k) enter(first + k, values[k]);
  }

  // A single full-year resident: compensation 50000 less 10000, total PA
  // income 60000, row 4 income 3000, a Schedule D loss, deductions 6000.
  void singleResident() {
    setFilingStatus(1);
    mark(kFormID_PAReturnInfo, info(46));
    pa40Amount(134, 50000);
    pa40Amount(138, 10000);
    pa40Amount(36520, 50000);
    pa40Amount(36526, 10000);
    pa40Amount(170, 60000);
    pa40Amount(292, 3000);
    number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), -500);
    deductions(6000, 0);
    interest(1, 2000);
    dividends(1, 1000);
    state("NY");
  }
};

TEST_F(ScheduleGLTest, SingleResidentRowsCreditAndBoxes) {
  singleResident();
  details(158235, 10000, 5000);
  details(158240, 500);
  details(158250, -100);
  enter(36184, 600);
  enter(36185, 550);
  run();

  EXPECT_TRUE(yes(21));
  EXPECT_TRUE(no(22));
  EXPECT_TRUE(isProtected(21));
  EXPECT_EQ(StateEngineTest::textOf(kFormID_PAScheduleGL, f(16)), "NY");
  // Row 1: 40000 less 40000 / 60000 (total PA income) of the deductions.
  EXPECT_EQ(value(36171), 50000);
  EXPECT_EQ(value(36173), 10000);
  EXPECT_DOUBLE_EQ(value(36174), 36000);
  EXPECT_EQ(value(36172), 15000);
  EXPECT_EQ(value(36175), 15000);
  EXPECT_EQ(value(36176), 15000);
  // Rows 2 to 8 spread the deductions over income T = 43000.
  EXPECT_EQ(value(159110), 3000);
  EXPECT_DOUBLE_EQ(value(36177), 2000 - 2000.0 / 43000 * 6000);
  EXPECT_EQ(value(36179), 500);
  EXPECT_DOUBLE_EQ(value(36180), 1000 - 1000.0 / 43000 * 6000);
  EXPECT_EQ(value(36182), 0);
  EXPECT_EQ(value(161754), 1);
  EXPECT_DOUBLE_EQ(value(158216), 3000 - 3000.0 / 43000 * 6000);
  EXPECT_EQ(value(158254), -100);
  EXPECT_EQ(value(158217), 0);  // row 4's other-state amount is not below 0
  EXPECT_EQ(value(158218), 0);
  EXPECT_EQ(value(158219), 0);  // the Schedule D loss reads as 0
  EXPECT_TRUE(isProtected(158255));
  EXPECT_TRUE(isNull(158220));
  // Credit: ratio 1, so nothing of the other state's tax is set aside.
  EXPECT_EQ(value(36183), 15500);
  EXPECT_EQ(value(50647), 15500);
  EXPECT_EQ(value(50648), 1000000);
  EXPECT_EQ(value(50649), 0);
  EXPECT_EQ(value(36187), 0);
  EXPECT_EQ(value(36186), 550);
  EXPECT_DOUBLE_EQ(value(36189), 15500 * 0.0307);
  EXPECT_DOUBLE_EQ(value(14), 475.85);
  EXPECT_DOUBLE_EQ(value(48744), 475.85);
  EXPECT_TRUE(isNull(48745));
  EXPECT_TRUE(no(159108));
  EXPECT_TRUE(no(46173));  // no row box was marked before this run
  EXPECT_TRUE(yes(36162));
  EXPECT_TRUE(yes(36163));
  EXPECT_TRUE(yes(36164));
  for (int box : {36165, 36166, 36167, 36168}) EXPECT_TRUE(no(box)) << box;
  EXPECT_TRUE(entered());

  run();
  EXPECT_TRUE(yes(46173));  // the row boxes of the first run
}

TEST_F(ScheduleGLTest, TaxNotAttributableUsesThePreviousLesserTax) {
  setFilingStatus(1);
  mark(kFormID_PAReturnInfo, info(48));
  pa40Amount(134, 1000);
  pa40Amount(36520, 1000);
  state("OH");
  details(158235, 2000);
  enter(36184, 50);
  enter(36185, 50);
  run();
  EXPECT_EQ(value(36183), 1000);
  EXPECT_DOUBLE_EQ(value(36189), 30.7);  // not rounded
  EXPECT_EQ(value(50648), 500000);
  EXPECT_EQ(value(50649), 500000);
  EXPECT_EQ(value(36187), 0);  // 36186 was empty
  EXPECT_DOUBLE_EQ(value(14), 30.7);

  enter(36185, 30);
  run();
  EXPECT_EQ(value(36187), 25);  // half of the previous run's 50
  EXPECT_EQ(value(50650), 25);
  EXPECT_EQ(value(36186), 30);
  EXPECT_EQ(value(36188), 5);
  EXPECT_EQ(value(14), 5);
}

TEST_F(ScheduleGLTest, NoOtherStateIncomeGivesRatioZero) {
  singleResident();
  enter(36186, 80);  // an earlier run
  run();
  EXPECT_EQ(value(50647), 0);
  EXPECT_EQ(value(50648), 0);
  EXPECT_EQ(value(50649), 0);
  EXPECT_EQ(value(36187), 0);
  EXPECT_EQ(value(36183), 0);
  EXPECT_TRUE(isProtected(36184));
  EXPECT_EQ(value(14), 0);
  EXPECT_FALSE(sched().isDataEntered());
  EXPECT_FALSE(sched().getCalcMark());
}

TEST_F(ScheduleGLTest, DeductionsAboveIncomeTurnRowsNegativeAndStillMarkRowsFourToSix) {
  setFilingStatus(1);
  pa40Amount(292, 1000);
  deductions(3000, 0);
  state("NJ");
  details(158250, 400);
  run();
  EXPECT_EQ(value(158216), -2000);
  EXPECT_TRUE(isProtected(158250));  // closed: the PA income is not positive
  EXPECT_TRUE(isNull(158217));
  EXPECT_TRUE(yes(36164));
}

TEST_F(ScheduleGLTest, ADivisorOfZeroOrLessKeepsTheRowAmount) {
  // Interest is not part of the income the deductions are spread over;
  // that income is 0, or below 0 with a loss on PA-40 field 46956.
  for (double income : {0.0, -5000.0}) {
    restart();
    setFilingStatus(1);
    pa40Amount(46956, income);
    interest(1, 500);
    deductions(1000, 0);
    state("NJ");
    run();
    EXPECT_EQ(value(36177), 500) << income;
    EXPECT_TRUE(std::isfinite(value(36177)));
  }
}

TEST_F(ScheduleGLTest, RowSevenAddsEveryScheduleJCopy) {
  setFilingStatus(2);
  mark(kFormID_PAReturnInfo, info(46));
  for (uint16_t copy : {1, 2}) {
    number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36894), 300.0 * copy, copy);
    number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36895), 100.0 * copy, copy);
  }
  state("NJ");
  run();
  EXPECT_EQ(value(158225), 900);
  mark(kFormID_PAScheduleGL, f(22));
  copyOf(kFormID_PAScheduleGL).setNull(f(21));
  run();
  EXPECT_EQ(value(158225), 300);
}

TEST_F(ScheduleGLTest, OtherStatePAClearsTheComputation) {
  singleResident();
  state("PA");
  details(158235, 10000);
  enter(36174, 9);
  enter(36184, 600);
  enter(36185, 550);
  enter(36187, 4);
  run();
  for (int field : {36171, 36174, 36176, 36183, 36184, 36185, 50646}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_TRUE(isProtected(36184));
  EXPECT_TRUE(isProtected(36185));
  EXPECT_EQ(value(36188), 0);
  EXPECT_EQ(value(14), 0);
  EXPECT_EQ(value(48744), 0);
  EXPECT_TRUE(no(36162));
  EXPECT_TRUE(no(159108));
}

TEST_F(ScheduleGLTest, NonresidentKeepsNoAmounts) {
  singleResident();
  mark(kFormID_PAReturnInfo, info(47));
  enter(36174, 9);
  enter(14, 9);
  run();
  for (int field : {9, 36171, 36174, 36183, 14}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_TRUE(no(159108));
  EXPECT_TRUE(no(36162));
  EXPECT_FALSE(sched().isDataEntered());
}

TEST_F(ScheduleGLTest, JointSpouseCopyUsesTheSpousesAmounts) {
  setFilingStatus(2);
  mark(kFormID_PAReturnInfo, info(46));
  mark(kFormID_PAScheduleGL, f(22));
  pa40Amount(36520, 9000);
  pa40Amount(36521, 20000);
  pa40Amount(36527, 4000);
  pa40Amount(46957, 4000);
  deductions(100, 2000);
  state("DE");
  details(158235, 6000);
  enter(36184, 300);
  enter(36185, 300);
  run();
  EXPECT_FALSE(isProtected(21));
  EXPECT_FALSE(yes(21));  // the user's mark on 22 stands
  EXPECT_EQ(value(36171), 20000);
  EXPECT_EQ(value(36173), 4000);
  // Income S = 16000 + 4000.
  EXPECT_DOUBLE_EQ(value(36174), 16000 - 16000.0 / 20000 * 2000);
  EXPECT_EQ(value(36176), 6000);
  EXPECT_DOUBLE_EQ(value(14), 6000 * 0.0307);
  EXPECT_TRUE(isNull(48744));
  EXPECT_DOUBLE_EQ(value(48745), 6000 * 0.0307);
}

TEST_F(ScheduleGLTest, JointExcessBoxesSumEachPersonsCopies) {
  setFilingStatus(2);
  // Copy 2 is the spouse's, copies 3 and 4 the taxpayer's; copy 1
  // (calculated) defaults to the taxpayer's and holds nothing. The PA
  // income of a person is that of his last copy, not a sum.
  enter(36178, 10, 2);
  enter(36177, 20, 2);
  mark(kFormID_PAScheduleGL, f(21), 3);
  enter(36174, 200, 3);
  mark(kFormID_PAScheduleGL, f(21), 4);
  enter(36175, 100, 4);
  enter(36174, 50, 4);
  state("NY");
  run();
  EXPECT_TRUE(yes(159108));
  EXPECT_TRUE(no(159109));

  enter(36178, 30, 2);
  enter(36175, 40, 4);
  run();
  EXPECT_TRUE(no(159108));
  EXPECT_TRUE(yes(159109));
}

TEST_F(ScheduleGLTest, SingleExcessComparesAllCopiesWithCopyOne) {
  singleResident();
  details(158235, 10000, 5000);
  mark(kFormID_PAScheduleGL, f(159109));
  enter(36172, 30000, 2);  // another state's copy
  run();
  EXPECT_TRUE(yes(159108));  // 45000 reported against 36000
  EXPECT_TRUE(yes(159109));  // not touched on a return that is not joint
}

}  // namespace
