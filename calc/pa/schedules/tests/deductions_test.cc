// The PA deductions schedule on fixture returns. Fields are named by host
// field number, so the member mapping is checked independently of the code.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class DeductionsTest : public PA40Test {
 protected:
  static const FieldId& f(int hostField) { return kPADeductionsFieldIds.byNumber(hostField); }

  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
  }

  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PADeductions); }
  void enter(int hostField, double value) { number(kFormID_PADeductions, f(hostField), value); }
  double value(int hostField) { return sched().getIR(f(hostField)); }
  bool isNull(int hostField) { return sched().isNull(f(hostField)); }
  bool isProtected(int hostField) { return sched().isProtected(f(hostField)); }
  std::string letter() { return StateEngineTest::textOf(kFormID_PADeductions, f(36878)); }
  void run() { engine->computeDeductions(holder(kFormID_PADeductions), 1, 1); }

  // Federal amounts by pull code: M (64), H (167), H shares (177, 178).
  void federalM(long amount) { federal()->setCommonItem(64, amount); }
  void federalH(long amount, long taxpayer, long spouse) {
    federal()->setCommonItem(167, amount);
    federal()->setCommonItem(177, taxpayer);
    federal()->setCommonItem(178, spouse);
  }
  // Income enough that no limit applies.
  void plentyOfIncome() {
    number(kFormID_PA40, pa40(170), 1000000);
    number(kFormID_PA40, pa40(36520), 1000000);
    number(kFormID_PA40, pa40(36521), 1000000);
  }
};

TEST_F(DeductionsTest, ContributionsAreCappedInTheRowsAndTheGroupATotals) {
  setFilingStatus(2);
  plentyOfIncome();
  text(kFormID_PAReturnInfo, line(3), "Lee");
  text(kFormID_PAReturnInfo, line(5), "123-45-6789");
  enter(36547, 20000);  // tuition row 1
  enter(46515, 700);    // tuition row 10
  enter(36548, 16000);  // spouse, row 1
  for (int row : {199795, 199799, 199803, 199796, 199800}) enter(row, 10000);
  run();
  EXPECT_EQ(value(36547), 15000);
  EXPECT_EQ(value(36548), 15000);
  EXPECT_FALSE(isProtected(36548));
  EXPECT_EQ(value(36557), 15700);
  EXPECT_EQ(value(36558), 15000);
  for (int row : {199795, 199799, 199803, 199796, 199800}) EXPECT_EQ(value(row), 10000) << row;
  EXPECT_EQ(value(199805), 15000);
  EXPECT_EQ(value(199806), 15000);
  EXPECT_EQ(value(36565), 30700);
  EXPECT_EQ(value(36566), 30000);
  EXPECT_EQ(value(36571), 60700);
  EXPECT_EQ(letter(), "C");
  EXPECT_NE(StateEngineTest::textOf(kFormID_PADeductions, f(36879)).find("Lee"), std::string::npos);
  EXPECT_EQ(StateEngineTest::textOf(kFormID_PADeductions, f(36880)), "123-45-6789");
}

TEST_F(DeductionsTest, AReturnThatIsNotJointClosesEverySpouseField) {
  for (int status : {1, 3}) {
    restart();
    setFilingStatus(status);
    federalM(3000);
    federalH(1000, 600, 400);
    number(kFormID_PA40, pa40(170), 2500);
    for (int spouseField : {36548, 36552, 46516, 199796, 199800, 199804}) enter(spouseField, 100);
    for (int spouseField : {36558, 199806, 36884, 36889, 36566, 36568, 36570}) enter(spouseField, 100);
    enter(36547, 4000);
    run();
    for (int spouseField : {36548, 36552, 46516, 199796, 199800, 199804, 36884}) {
      EXPECT_TRUE(isNull(spouseField)) << status << " " << spouseField;
      EXPECT_TRUE(isProtected(spouseField)) << status << " " << spouseField;
    }
    for (int spouseField : {36558, 199806, 36889, 36562, 36564, 36566, 36568, 36570}) {
      EXPECT_TRUE(isNull(spouseField)) << status << " " << spouseField;
    }
    EXPECT_EQ(value(36883), 3000) << status;
    EXPECT_EQ(value(36565), 4000 + 3000 + 600) << status;
    EXPECT_EQ(value(36567), 2500) << status;  // the PA-40's gross taxable income
    EXPECT_EQ(value(36569), 2500) << status;
    EXPECT_EQ(value(36571), 2500) << status;
  }
}

TEST_F(DeductionsTest, ANonresidentHasNeitherFederalDeduction) {
  setFilingStatus(2);
  setResidency(2);
  plentyOfIncome();
  federalM(3000);
  federalH(1000, 600, 400);
  const int kBlock[] = {36559, 36883, 36884, 36560, 36885, 36886, 36887, 36888, 36889, 36890, 36891, 36892};
  for (int field : kBlock) enter(field, 50);
  for (int field : {36561, 36562, 36563, 36564}) enter(field, 50);
  run();
  for (int field : kBlock) EXPECT_TRUE(isNull(field)) << field;
  for (int field : {36561, 36562, 36563, 36564}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_EQ(value(36571), 0);
  EXPECT_EQ(letter(), "N");
}

TEST_F(DeductionsTest, AFullYearResidentSplitsMByTheSpouseShare) {
  const struct {
    double spouseEntered;
    double spouseShare, taxpayerShare;
  } kCases[] = {
      {1000, 1000, 2000},
      {5000, 3000, 0},  // the spouse's share is cut to the federal amount
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(2);
    setResidency(0);
    plentyOfIncome();
    federalM(3000);
    enter(36884, c.spouseEntered);
    enter(36885, 77);  // a part-year portion left from an earlier run
    run();
    EXPECT_EQ(value(36559), 3000);
    EXPECT_EQ(value(36884), c.spouseShare);
    EXPECT_FALSE(isProtected(36884));
    EXPECT_EQ(value(36883), c.taxpayerShare);
    EXPECT_EQ(value(36561), c.taxpayerShare);
    EXPECT_EQ(value(36562), c.spouseShare);
    for (int portion : {36560, 36885, 36886}) {
      EXPECT_TRUE(isNull(portion)) << portion;
      EXPECT_TRUE(isProtected(portion)) << portion;
    }
    EXPECT_EQ(letter(), "M");
  }
}

TEST_F(DeductionsTest, APartYearResidentsPortionsAreCappedAtTheShares) {
  setFilingStatus(2);
  setResidency(1);
  plentyOfIncome();
  federalM(3000);
  federalH(1000, 600, 400);
  enter(36884, 1000);  // M spouse share
  enter(36885, 5000);  // M taxpayer portion, above the share of 2000
  enter(36886, 400);
  enter(36891, 100);
  enter(36892, 900);   // H spouse portion, above the share of 400
  run();
  EXPECT_EQ(value(36885), 2000);
  EXPECT_EQ(value(36886), 400);
  EXPECT_EQ(value(36560), 2400);
  EXPECT_EQ(value(36561), 2000);
  EXPECT_EQ(value(36562), 400);
  EXPECT_EQ(value(36887), 1000);
  EXPECT_EQ(value(36888), 600);
  EXPECT_EQ(value(36889), 400);
  EXPECT_EQ(value(36891), 100);
  EXPECT_EQ(value(36892), 400);
  EXPECT_EQ(value(36890), 500);
  EXPECT_EQ(value(36563), 100);
  EXPECT_EQ(value(36564), 400);
  for (int open : {36885, 36886, 36891, 36892}) EXPECT_FALSE(isProtected(open)) << open;
  EXPECT_EQ(value(36565), 2100);
  EXPECT_EQ(value(36566), 800);
  EXPECT_EQ(letter(), "C");

  // The portions close again once the filer is a full-year resident.
  copyOf(kFormID_PAReturnInfo).setNull(info(48));
  setResidency(0);
  run();
  for (int portion : {36885, 36886, 36891, 36892}) {
    EXPECT_TRUE(isNull(portion)) << portion;
    EXPECT_TRUE(isProtected(portion)) << portion;
  }
  EXPECT_EQ(value(36563), 600);
  EXPECT_EQ(value(36564), 400);
}

TEST_F(DeductionsTest, NoFederalAmountClearsItsBlock) {
  setFilingStatus(2);
  setResidency(1);
  plentyOfIncome();
  for (int field : {36559, 36883, 36884, 36560, 36885, 36886, 36561, 36562}) enter(field, 50);
  for (int field : {36887, 36888, 36889, 36890, 36891, 36892, 36563, 36564}) enter(field, 50);
  federalM(-10);
  run();
  for (int field : {36559, 36883, 36884, 36560, 36885, 36886, 36561, 36562}) EXPECT_TRUE(isNull(field)) << field;
  for (int field : {36887, 36888, 36889, 36890, 36891, 36892, 36563, 36564}) EXPECT_TRUE(isNull(field)) << field;
}

TEST_F(DeductionsTest, CodeLetterNamesTheOnlyKindPresent) {
  const struct {
    double tuition, groupA, m, h;
    const char* letter;
  } kCases[] = {
      {500, 0, 0, 0, "T"}, {0, 500, 0, 0, "A"}, {0, 0, 500, 0, "M"}, {0, 0, 0, 500, "H"},
      {500, 500, 0, 0, "C"}, {0, 0, 500, 500, "C"}, {0, 0, 0, 0, "N"},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(1);
    setResidency(0);
    plentyOfIncome();
    enter(36551, c.tuition);
    enter(199803, c.groupA);
    federalM(static_cast<long>(c.m));
    federalH(static_cast<long>(c.h), static_cast<long>(c.h), 0);
    run();
    EXPECT_EQ(letter(), c.letter) << c.tuition << " " << c.groupA << " " << c.m << " " << c.h;
  }
}

TEST_F(DeductionsTest, JointIncomeLimitsCountLossesOnlyWhereTheyMay) {
  setFilingStatus(2);
  // Taxpayer: compensation 10000 less expenses 1000, interest 200,
  // dividends 300, business loss, gain loss, rents loss (each 0), estate
  // loss -400, gambling loss -100.
  number(kFormID_PA40, pa40(36520), 10000);
  number(kFormID_PA40, pa40(36526), 1000);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), 200, 1);
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), 300, 1);
  number(kFormID_PA40, pa40(292), -5000);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), -700, 1);
  number(kFormID_PA40, pa40(301), -900);
  number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36894), -150, 1);
  number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36894), -250, 2);
  number(kFormID_PAW2GIncome, kPAW2GIncomeFieldIds.byNumber(9677), -100);
  // Spouse: every class positive, from copy 2 of Schedules A, B and D.
  number(kFormID_PA40, pa40(36521), 1000);
  number(kFormID_PA40, pa40(36527), 100);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), 10, 2);
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), 20, 2);
  number(kFormID_PA40, pa40(293), 30);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), 40, 2);
  number(kFormID_PA40, pa40(302), 50);
  number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36895), 60, 2);
  number(kFormID_PAW2GIncome, kPAW2GIncomeFieldIds.byNumber(9678), 70);
  number(kFormID_PA40, pa40(170), 99999);  // not used on a joint return
  enter(36547, 15000);
  enter(36548, 15000);
  run();
  EXPECT_EQ(value(36567), 10000 - 1000 + 200 + 300 - 400 - 100);
  EXPECT_EQ(value(36568), 1000 - 100 + 10 + 20 + 30 + 40 + 50 + 60 + 70);
  EXPECT_EQ(value(36569), 9000);
  EXPECT_EQ(value(36570), 1180);
  EXPECT_EQ(value(36571), 10180);
}

TEST_F(DeductionsTest, ANegativeIncomeLimitAllowsNothingButTakesNothingAway) {
  setFilingStatus(2);
  number(kFormID_PA40, pa40(36520), 20000);
  number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(36895), -500);  // the spouse's only income
  enter(36547, 3000);
  enter(36548, 2000);
  run();
  EXPECT_EQ(value(36568), -500);
  EXPECT_EQ(value(36569), 3000);
  EXPECT_EQ(value(36570), 0);
  EXPECT_EQ(value(36571), 3000);
}

TEST_F(DeductionsTest, TheCopyIsMarkedOnlyWhenSomethingIsAllowed) {
  const struct {
    double contribution, income;
    bool marked;
  } kCases[] = {{1000, 5000, true}, {1000, 0, false}, {0, 5000, false}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(1);
    number(kFormID_PA40, pa40(170), c.income);
    enter(36547, c.contribution);
    run();
    EXPECT_EQ(sched().isDataEntered(), c.marked) << c.contribution << " " << c.income;
    EXPECT_EQ(sched().getCalcMark(), c.marked) << c.contribution << " " << c.income;
  }
}

}  // namespace
