// The W-2G income schedule on fixture returns. Fields are named by host
// field number, so the member mapping is checked independently of the code.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class W2GIncomeTest : public PA40Test {
 protected:
  static const FieldId& f(int hostField) { return kPAW2GIncomeFieldIds.byNumber(hostField); }

  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAW2GIncome); }
  double value(int hostField) { return sched().getIR(f(hostField)); }
  bool isNull(int hostField) { return sched().isNull(f(hostField)); }
  bool isProtected(int hostField) { return sched().isProtected(f(hostField)); }
  bool yes(int hostField) { return sched().xMarked(f(hostField)); }
  bool no(int hostField) { return sched().isNo(f(hostField)); }
  void enter(int hostField, double v) { number(kFormID_PAW2GIncome, f(hostField), v); }
  void run() { engine->computeW2GIncome(holder(kFormID_PAW2GIncome), 1, 1); }
  bool entered() { return sched().isDataEntered() && sched().getCalcMark(); }

  // Federal form 57 copy 1: the gate (79) and the amount (164).
  void form57(double gate, double amount) {
    number(kFormID_Fed57, kFed57FieldIds.byNumber(79), gate);
    number(kFormID_Fed57, kFed57FieldIds.byNumber(164), amount);
  }
  // A W-2G copy: taxpayer mark (1), spouse mark (2), winnings (12) and
  // state winnings (25) in hundredths, state text (28).
  void w2g(uint16_t copy, bool taxpayer, bool spouse, double hundredths, double stateHundredths = 0,
           const std::string& state = "") {
    if (taxpayer) mark(kFormID_FedW2G, kFedW2GFieldIds.byNumber(1), copy);
    if (spouse) mark(kFormID_FedW2G, kFedW2GFieldIds.byNumber(2), copy);
    number(kFormID_FedW2G, kFedW2GFieldIds.byNumber(12), hundredths, copy);
    number(kFormID_FedW2G, kFedW2GFieldIds.byNumber(25), stateHundredths, copy);
    if (!state.empty()) text(kFormID_FedW2G, kFedW2GFieldIds.byNumber(28), state, copy);
  }
  // A form 51 copy: taxpayer mark (366), winnings (173), losses (174).
  void form51(uint16_t copy, bool taxpayer, double winnings, double losses) {
    if (taxpayer) mark(kFormID_Fed51, kFed51FieldIds.byNumber(366), copy);
    number(kFormID_Fed51, kFed51FieldIds.byNumber(173), winnings, copy);
    number(kFormID_Fed51, kFed51FieldIds.byNumber(174), losses, copy);
  }
  void form2(double amount) { number(kFormID_Fed2, kFed2FieldIds.byNumber(67), amount); }
};

TEST_F(W2GIncomeTest, JointFullYearReturnNetsEverySource) {
  setFilingStatus(2);
  form57(1, 300);
  w2g(1, true, false, 100000, 100000, "PA");
  w2g(2, false, true, 50000, 50000, "NJ");
  form51(1, true, 200, 50);
  form51(2, false, 100, 30);
  enter(9633, 100);  // the spouse's part of the form 57 amount
  enter(9651, 200);  // no form 2 amount: the user enters the split
  enter(9652, 100);
  run();

  EXPECT_EQ(value(9609), 2);
  EXPECT_EQ(value(9616), 1500);
  EXPECT_EQ(value(9617), 1000);
  EXPECT_EQ(value(9618), 500);
  EXPECT_TRUE(isProtected(9620));
  EXPECT_EQ(value(9620), 1000);
  EXPECT_EQ(value(9621), 500);
  EXPECT_EQ(value(9628), 300);
  EXPECT_EQ(value(9634), 300);
  EXPECT_EQ(value(9632), 200);
  EXPECT_EQ(value(9633), 100);
  EXPECT_EQ(value(9636), 400);
  EXPECT_EQ(value(9637), 200);
  EXPECT_TRUE(isProtected(9639));
  EXPECT_EQ(value(9673), 1400);
  EXPECT_EQ(value(9674), 700);
  EXPECT_EQ(value(9647), -80);
  EXPECT_TRUE(yes(9656));
  EXPECT_TRUE(yes(9655));  // the default split choice
  EXPECT_TRUE(no(9654));
  EXPECT_TRUE(isProtected(9650));
  EXPECT_EQ(value(9650), 300);
  EXPECT_EQ(value(9657), 220);
  EXPECT_EQ(value(9675), 150);
  EXPECT_EQ(value(9676), 70);
  EXPECT_EQ(value(9677), 1250);
  EXPECT_EQ(value(9678), 630);
  EXPECT_EQ(value(11774), 1880);
  EXPECT_TRUE(yes(9610));
  EXPECT_EQ(value(9611), 1400 + 700 + 150 + 70);
  EXPECT_EQ(value(50651), 1000);
  EXPECT_TRUE(entered());
}

TEST_F(W2GIncomeTest, PartYearEntriesAreLimited) {
  setFilingStatus(1);
  setResidency(1);
  form57(1, 0);
  w2g(1, true, false, 80000);
  w2g(2, false, false, 20000);  // unmarked: the taxpayer's
  w2g(3, false, true, 30000);   // the spouse's, who has no part in a single return
  enter(9620, 900);
  enter(9621, 150);
  enter(9623, 100);
  enter(9624, 40);
  enter(9660, 300);
  enter(9631, 7);  // no form 57 amount: an old one goes
  form2(500);
  run();

  EXPECT_EQ(value(9609), 2);
  EXPECT_EQ(value(9616), 1000);
  EXPECT_TRUE(isNull(9618));
  EXPECT_FALSE(isProtected(9620));
  EXPECT_EQ(value(9620), 900);
  EXPECT_TRUE(isProtected(9621));
  EXPECT_TRUE(isNull(9621));
  EXPECT_EQ(value(9619), 900);
  EXPECT_EQ(value(9623), 100);
  EXPECT_TRUE(isProtected(9624));
  EXPECT_TRUE(isNull(9624));
  EXPECT_EQ(value(9625), 800);
  EXPECT_TRUE(isNull(9631));
  EXPECT_EQ(value(9650), 500);
  EXPECT_EQ(value(9651), 500);
  EXPECT_TRUE(isNull(9652));
  EXPECT_TRUE(no(9656));
  EXPECT_TRUE(isProtected(9654));
  EXPECT_TRUE(isNull(9655));
  EXPECT_EQ(value(9660), 300);
  EXPECT_TRUE(isProtected(9661));
  EXPECT_EQ(value(9661), 300);
  EXPECT_TRUE(isNull(9668));
  EXPECT_EQ(value(9635), 0);
  EXPECT_TRUE(isNull(9639));
  EXPECT_EQ(value(9673), 800);
  EXPECT_EQ(value(9677), 500);
  EXPECT_EQ(value(9678), 0);
  EXPECT_EQ(value(11774), 500);
  EXPECT_EQ(value(9611), 1000 + 500);
  EXPECT_TRUE(entered());
}

TEST_F(W2GIncomeTest, WinningsAreReadInHundredths) {
  setFilingStatus(1);
  form57(1, 0);
  w2g(1, true, false, 1234);
  run();
  EXPECT_DOUBLE_EQ(value(9616), 12.34);
  EXPECT_DOUBLE_EQ(value(9677), 12.34);
}

TEST_F(W2GIncomeTest, FullYearResidentCannotEnterThePAParts) {
  setFilingStatus(2);
  form57(1, 60);
  w2g(1, true, false, 10000);
  w2g(2, false, true, 5000);
  form51(1, true, 40, 0);
  enter(9620, 1);
  enter(9639, 1);
  run();
  for (int field : {9620, 9621, 9639, 9640}) EXPECT_TRUE(isProtected(field)) << field;
  EXPECT_EQ(value(9620), 100);
  EXPECT_EQ(value(9621), 50);
  EXPECT_EQ(value(9639), 40 + 60);
  EXPECT_EQ(value(9640), 0);
}

TEST_F(W2GIncomeTest, ClosedFederalGateEmptiesTheScheduleAndItsNetAmounts) {
  setFilingStatus(1);
  form57(0, 500);
  w2g(1, true, false, 10000);
  // An earlier calculation with winnings.
  for (int field : {9616, 9620, 9668, 9673, 9674, 9677, 9678, 11774}) enter(field, 99);
  enter(9609, 3);
  run();
  for (int field : {9616, 9620, 9668, 9673, 9674, 9677, 9678, 11774}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_EQ(value(9609), 3);  // the count is only written when copies are read
  EXPECT_TRUE(no(9610));
  EXPECT_TRUE(isNull(9611));
  EXPECT_FALSE(entered());
}

// Owner of a W-2G copy: only the filers of the return count, and a copy
// with neither mark is the taxpayer's.
TEST_F(W2GIncomeTest, W2GOwnerIsAFilerOfTheReturn) {
  struct Case {
    int filingStatus;
    bool spouseMark;
    double taxpayer, spouse;
  };
  const Case kCases[] = {{1, false, 100, 0}, {1, true, 0, 0}, {2, false, 100, 0}, {2, true, 0, 100}};
  for (const Case& c : kCases) {
    restart();
    setFilingStatus(c.filingStatus);
    form57(1, 0);
    w2g(1, false, c.spouseMark, 10000);
    run();
    EXPECT_EQ(value(9617), c.taxpayer) << c.filingStatus << "/" << c.spouseMark;
    EXPECT_EQ(value(9677), c.taxpayer) << c.filingStatus << "/" << c.spouseMark;
    EXPECT_EQ(value(9678), c.spouse) << c.filingStatus << "/" << c.spouseMark;
    EXPECT_EQ(value(11774), c.taxpayer + c.spouse) << c.filingStatus << "/" << c.spouseMark;
  }
}

TEST_F(W2GIncomeTest, FederalForm57AmountGoneLeavesNoWinnings) {
  setFilingStatus(2);
  form57(1, 300);
  enter(9633, 100);
  run();
  EXPECT_EQ(value(11774), 300);
  form57(1, 0);
  run();
  for (int field : {9631, 9632, 9633, 9634}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_EQ(value(9636), 0);
  EXPECT_EQ(value(11774), 0);
  EXPECT_TRUE(no(9610));
}

TEST_F(W2GIncomeTest, JointPALossesOpenAtZeroAndCloseBelow) {
  // The spouse's entered losses (9652) against his form 51 losses of 30.
  for (double spouseEntry : {30.0, 0.0}) {
    restart();
    setFilingStatus(2);
    setResidency(1);
    form57(1, 0);
    w2g(1, true, false, 100000);
    form51(1, false, 0, 30);
    enter(9651, 200);
    enter(9652, spouseEntry);
    enter(9661, 500);
    enter(9662, 5);
    run();
    EXPECT_EQ(value(9658), 200);
    EXPECT_EQ(value(9659), spouseEntry - 30);
    EXPECT_EQ(value(9661), 200);
    EXPECT_EQ(isProtected(9662), spouseEntry < 30);
    if (spouseEntry < 30) {
      EXPECT_TRUE(isNull(9662));
    } else {
      EXPECT_EQ(value(9662), 0);
    }
    EXPECT_TRUE(isProtected(9660));
    EXPECT_EQ(value(9660), 200);
    EXPECT_EQ(value(9678), 0);
  }
}

// W-2G winnings won in PA by residency, state text, spouse mark and status.
struct WonInPACase {
  int filingStatus;
  int residency;
  bool spouseMark;
  const char* state;
  double expected;
};

TEST_F(W2GIncomeTest, WinningsWonInPA) {
  const WonInPACase kCases[] = {
      {1, 0, false, "PA", 25},  {1, 0, false, "", 25},  {1, 1, false, "", 25},
      {1, 2, false, "", 0},     {1, 2, false, "PA", 25}, {1, 0, false, "NJ", 0},
      {1, 0, false, "pa", 0},   {1, 0, true, "PA", 0},   {2, 0, true, "PA", 25},
  };
  for (const WonInPACase& c : kCases) {
    restart();
    setFilingStatus(c.filingStatus);
    setResidency(c.residency);
    form57(0, 0);
    w2g(1, false, c.spouseMark, 0, 2500, c.state);
    w2g(2, true, false, 0, 0, "PA");  // no state winnings: skipped
    run();
    EXPECT_EQ(value(50651), c.expected) << c.filingStatus << "/" << c.residency << "/" << c.spouseMark << "/"
                                        << c.state;
  }
}

}  // namespace
