// PA Schedule OC on fixture returns. Fields are named by host field number,
// so the member mapping is checked independently of the code.
#include "calc/pa/tests/pa40_fixture.h"

namespace {

// Host fields of the twenty credit lines: the amount, then its companions.
struct Line {
  int amount;
  int paired[3];
};
const Line kLines[] = {
    {8, {46464, 75894}},       {9, {46465, 75895}},       {10, {46466, 75896}},
    {12235, {46467, 75897}},   {46470, {46468, 75899}},   {46472, {46469, 75900}},
    {46474, {46471, 75901}},   {50720, {46473, 75903}},   {140347, {50717, 140346}},
    {140349, {50719, 140348}}, {147630, {50721, 147629}}, {36893, {50723, 75898}},
    {188762, {132863, 188761}}, {198891, {140350, 198890}}, {207060, {162733, 207059}},
    {207063, {207061, 207062}}, {207066, {207064, 207065}}, {207069, {207067, 207068}},
    {207072, {207070, 207071}}, {132865, {207073, 132864, 132866}},
};

class ScheduleOCTest : public PA40Test {
 protected:
  static const FieldId& f(int hostField) { return kPAScheduleOCFieldIds.byNumber(hostField); }

  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAScheduleOC); }
  double value(int hostField) { return sched().getIR(f(hostField)); }
  bool isNull(int hostField) { return sched().isNull(f(hostField)); }
  bool isProtected(int hostField) { return sched().isProtected(f(hostField)); }
  bool yes(int hostField) { return sched().xMarked(f(hostField)); }
  bool no(int hostField) { return sched().isNo(f(hostField)); }
  void enter(int hostField, double v) { number(kFormID_PAScheduleOC, f(hostField), v); }
  void run() { engine->computeScheduleOC(holder(kFormID_PAScheduleOC), 1, 1); }
  bool entered() { return sched().isDataEntered() && sched().getCalcMark(); }

  // Line n (1-20): the amount and an entry in each companion field.
  void line(int n, double amount) {
    const Line& l = kLines[n - 1];
    enter(l.amount, amount);
    for (int paired : l.paired) {
      if (paired != 0) enter(paired, 1);
    }
  }
  // Whether line n's companions are open (unprotected, entries kept) or
  // closed (protected and null).
  void expectOpen(int n, bool open) {
    for (int paired : kLines[n - 1].paired) {
      if (paired == 0) continue;
      EXPECT_EQ(isProtected(paired), !open) << "line " << n << " field " << paired;
      EXPECT_EQ(isNull(paired), !open) << "line " << n << " field " << paired;
    }
  }
};

TEST_F(ScheduleOCTest, EveryLineCountsAndNegativeAmountsCloseTheirCompanions) {
  setFilingStatus(1);
  for (int n = 1; n <= 20; ++n) line(n, 0);
  line(1, 100);
  line(2, -20);
  line(4, -5);
  line(20, 50);
  line(13, 0.5);
  run();
  EXPECT_DOUBLE_EQ(value(11), 100 - 20 - 5 + 50 + 0.5);
  expectOpen(1, true);
  expectOpen(2, false);
  expectOpen(3, false);
  expectOpen(13, true);
  expectOpen(20, true);
  // Line 4 leaves its companions as they are.
  EXPECT_EQ(value(46467), 1);
  EXPECT_EQ(value(75897), 1);
  EXPECT_TRUE(entered());
}

TEST_F(ScheduleOCTest, JointReturnCountsLinesEightAndNineOnlyAndKeepsTheOthers) {
  setFilingStatus(2);
  for (int n : {1, 7, 8, 9, 10, 11, 20}) line(n, 10 * n);
  mark(kFormID_PAScheduleOC, f(20));
  run();
  EXPECT_EQ(value(11), 80 + 90);
  for (int n : {1, 7, 8, 9, 10, 11, 20}) {
    EXPECT_EQ(value(kLines[n - 1].amount), 10 * n) << n;
    expectOpen(n, true);
  }
  EXPECT_FALSE(isProtected(50720));
  EXPECT_FALSE(isProtected(140347));
  EXPECT_TRUE(yes(20));  // the business-income boxes are not touched
  EXPECT_TRUE(isNull(21));
  EXPECT_TRUE(entered());

  // No longer joint: every line counts again.
  setFilingStatus(1);
  run();
  EXPECT_EQ(value(11), 10 + 70 + 80 + 90 + 100 + 110 + 200);
}

TEST_F(ScheduleOCTest, BusinessIncomeBoxesFollowScheduleCAndThePA40) {
  struct Case {
    double scheduleC;
    double pa40Income;
    const char* pa40Text;
    bool business;
  };
  const Case kCases[] = {
      {0, 0, "", false}, {10, 0, "", true}, {-10, 0, "", false}, {0, -3, "", true}, {0, 0, "x", true},
  };
  for (const Case& c : kCases) {
    restart();
    setFilingStatus(3);
    number(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56139), c.scheduleC, 2);
    number(kFormID_PA40, kPA40FieldIds.byNumber(56128), c.pa40Income);
    if (c.pa40Text[0] != '\0') text(kFormID_PA40, kPA40FieldIds.byNumber(288), c.pa40Text);
    run();
    EXPECT_EQ(yes(20), c.business) << c.scheduleC << "/" << c.pa40Income << "/" << c.pa40Text;
    EXPECT_EQ(no(20), !c.business);
    EXPECT_EQ(yes(21), !c.business);
    EXPECT_EQ(no(21), c.business);
  }
}

TEST_F(ScheduleOCTest, NoCreditLeavesTheCopyUnmarked) {
  setFilingStatus(1);
  line(5, 30);
  line(6, -30);
  run();
  EXPECT_EQ(value(11), 0);
  EXPECT_FALSE(sched().isDataEntered());
  EXPECT_FALSE(sched().getCalcMark());
}

}  // namespace
