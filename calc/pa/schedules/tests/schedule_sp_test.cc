// Schedule SP: qualification, identity, dates of death, filing-status
// boxes, eligibility income and the forgiven tax.
#include <gtest/gtest.h>

#include "calc/pa/schedules/tests/schedule_sp_fixture.h"

namespace {

TEST_F(ScheduleSPTest, AClaimantAnsweringNoClearsTheComputedPart) {
  setFilingStatus(1);
  setFederalStatus(1);
  mark(kFormID_FedFilerInfo, filer(29));
  check(36533);  // claimed as a dependent
  check(36536);  // claimant answers No
  enter(76, 5000);
  enter(9607, 40);
  check(11);
  run();
  EXPECT_TRUE(marked(36872));
  for (int member = 38; member <= 118; ++member) {
    EXPECT_TRUE(pa->isNull(kFormID_PAScheduleSP, 1, kPAScheduleSPFieldIds[member])) << member;
  }
  EXPECT_FALSE(dataEntered());
}

TEST_F(ScheduleSPTest, SpouseIdentityOnlyWhenTheSpouseBelongsOnTheReturn) {
  const int kFederal[] = {2, 478, 4, 6, 8};
  const int kSchedule[] = {17943, 17944, 17945, 17946, 10};
  auto spouseOnFederal = [&](bool withField4) {
    for (int i = 0; i < 5; ++i) {
      if (kFederal[i] == 4 && !withField4) continue;
      text(kFormID_FedFilerInfo, filer(kFederal[i]), "S" + std::to_string(i));
    }
  };

  setFilingStatus(1);
  spouseOnFederal(true);
  run();
  for (int field : kSchedule) {
    EXPECT_TRUE(isNull(field)) << field;
    EXPECT_TRUE(isProtected(field)) << field;
  }
  EXPECT_TRUE(markedNo(84));

  restart();
  setFilingStatus(1);
  spouseOnFederal(true);
  mark(kFormID_FedFilerInfo, filer(495));
  mark(kFormID_PAReturnInfo, info(61));
  run();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(textOf(kSchedule[i]), "S" + std::to_string(i));
  EXPECT_TRUE(markedNo(84));

  restart();
  setFilingStatus(2);
  spouseOnFederal(false);
  run();
  EXPECT_EQ(textOf(17943), "S0");
  EXPECT_FALSE(isProtected(17945));
  EXPECT_TRUE(marked(84));  // the spouse's field 4 is empty
}

TEST_F(ScheduleSPTest, DeathInTheTaxYear) {
  setFilingStatus(2);
  setFederalStatus(2);
  text(kFormID_PAReturnInfo, info(110), "03/15/2018");
  run();
  EXPECT_EQ(textOf(148991), "03/15/2018");
  EXPECT_TRUE(marked(148992));
  EXPECT_TRUE(isNull(19));
  EXPECT_TRUE(isProtected(19));

  restart();
  setFilingStatus(1);
  setFederalStatus(1);
  text(kFormID_PAReturnInfo, info(109), "03/15/2018");
  run();
  EXPECT_TRUE(marked(148992));
  EXPECT_TRUE(marked(19));
  EXPECT_EQ(textOf(20), "Estimated annualized amount");
  EXPECT_TRUE(isNull(11));  // a deceased filer's status boxes are cleared

  // The date removed: no mark of the earlier calculation stays.
  text(kFormID_PAReturnInfo, info(109), "");
  run();
  EXPECT_TRUE(markedNo(148992));
  EXPECT_TRUE(isNull(148990));
  EXPECT_TRUE(isNull(19));

  restart();
  setFilingStatus(1);
  text(kFormID_PAReturnInfo, info(109), "03/15/2019");
  run();
  EXPECT_TRUE(markedNo(148992));
  EXPECT_TRUE(isNull(19));
}

TEST_F(ScheduleSPTest, UnmarriedFilerOneColumn) {
  const struct {
    double income;
    double offset;  // PA-40 field 352
    double d1, d3, percent, forgiven;
  } kCases[] = {
      {5000, 0, 200, 150, 100, 150},
      {5000, 20, 180, 130, 100, 130},
      {7000, 0, 200, 150, 60, 90},
      {6600, 43, 157, 107, 70, 74.9},  // in cents, not 74.8999... that reads as 74
      {20000, 0, 200, 150, 0, 0},  // no row met: 0 percent, not null
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(1);
    setFederalStatus(1);
    setPA40(c.income, 200, 50);
    number(kFormID_PA40, kPA40FieldIds.byNumber(352), c.offset);
    number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155725), 60);
    number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155726), 40);
    number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155766), 25);
    setFederalAmount(25, 300);
    enter(62, 10);  // C4, entered by the filer
    enter(9608, 99);
    run();
    EXPECT_TRUE(marked(11));
    EXPECT_TRUE(marked(12));
    EXPECT_EQ(amount(56), c.income);
    EXPECT_EQ(amount(196099), 125);
    EXPECT_TRUE(isProtected(196099));
    EXPECT_EQ(amount(58), 125);
    EXPECT_EQ(amount(60), 300);
    EXPECT_EQ(amount(62), 10);
    EXPECT_TRUE(isNull(66));  // full-year resident
    EXPECT_EQ(amount(76), c.income + 435);
    EXPECT_EQ(amount(9599), c.d1);
    EXPECT_EQ(amount(9601), 50);
    EXPECT_EQ(amount(9603), c.d3);
    EXPECT_FALSE(isNull(9605));
    EXPECT_EQ(amount(9605), c.percent);
    EXPECT_EQ(amount(9607), c.forgiven);
    EXPECT_TRUE(isNull(9608));
    EXPECT_TRUE(isNull(77));
    EXPECT_TRUE(isProtected(57));
    EXPECT_EQ(dataEntered(), c.forgiven > 0) << c.income;
  }
}

TEST_F(ScheduleSPTest, NoTaxNullsThePercentage) {
  setFilingStatus(1);
  setFederalStatus(1);
  setPA40(5000, 0, 0);
  enter(9605, 100);
  enter(9607, 30);
  run();
  EXPECT_EQ(amount(9603), 0);
  EXPECT_TRUE(isNull(9605));
  EXPECT_TRUE(isNull(9607));
  EXPECT_FALSE(dataEntered());
}

TEST_F(ScheduleSPTest, IncomeOutsidePennsylvania) {
  // Nonresident: no deduction from the tax; C6 is the federal amount less
  // the PA income, not below 0, calculated on every run.
  setFilingStatus(1);
  setFederalStatus(1);
  setResidency(2);
  setPA40(5000, 200, 50);
  setFederalAmount(80, 9000);
  run();
  EXPECT_EQ(amount(66), 4000);
  EXPECT_TRUE(isProtected(66));
  EXPECT_TRUE(isNull(9601));
  EXPECT_EQ(amount(9603), amount(9599));

  // The PA income grows on a later pass (gambling, other schedules): C6
  // follows it.
  setPA40(8500, 200, 50);
  run();
  EXPECT_EQ(amount(66), 500);
  EXPECT_EQ(amount(76), 9000);

  restart();
  setFilingStatus(1);
  setFederalStatus(1);
  setResidency(1);
  setPA40(5000, 200, 50);
  setFederalAmount(80, 3000);
  run();
  EXPECT_EQ(amount(66), 0);
  EXPECT_EQ(amount(9601), 50);

  // A value the user overrides stands.
  enter(66, 700);
  schedule().setOverridden(sp(66), true);
  run();
  EXPECT_EQ(amount(66), 700);
}

// Two columns: the taxpayer's C6 is floored at 0 and recalculated like the
// single line; the spouse's is the user's.
TEST_F(ScheduleSPTest, TwoColumnIncomeOutsidePennsylvania) {
  setFilingStatus(3);
  setFederalStatus(3);
  setResidency(1);
  check(150691);  // Q4: Married, sub-box X
  setPA40(20000, 614, 0);
  setFederalAmount(80, 5000);
  enter(9594, 100);
  run();
  EXPECT_TRUE(marked(23));
  EXPECT_EQ(amount(67), 0);
  EXPECT_TRUE(isProtected(67));
  EXPECT_EQ(amount(9594), 100);
  EXPECT_FALSE(isProtected(9594));
  EXPECT_EQ(amount(77), 20000);
  EXPECT_EQ(amount(12967), 20100);
  EXPECT_EQ(amount(9606), 0);
  EXPECT_EQ(amount(9608), 0);

  setFederalAmount(80, 26000);  // a later pass: C6 follows
  run();
  EXPECT_EQ(amount(67), 6000);
}

TEST_F(ScheduleSPTest, MarriedWithSpouseIncomeIncludedUsesOneColumn) {
  setFilingStatus(2);
  setFederalStatus(2);
  setPA40(12000, 300, 0);
  enter(9606, 50);
  enter(9608, 77);
  run();
  EXPECT_TRUE(marked(21));
  EXPECT_TRUE(marked(22));
  EXPECT_TRUE(markedNo(24));
  EXPECT_EQ(amount(76), 12000);
  EXPECT_EQ(amount(9605), 100);  // married class: below 13,001
  EXPECT_EQ(amount(9607), 300);
  EXPECT_TRUE(isNull(9606));
  EXPECT_TRUE(isNull(9608));
  EXPECT_TRUE(isNull(57));
}

TEST_F(ScheduleSPTest, TwoColumnsSplitAJointAmount) {
  setFilingStatus(2);
  setFederalStatus(2);
  mark(kFormID_FedFilerInfo, filer(29));
  check(36533);  // claimed as a dependent
  check(36535);  // claimant answers Yes
  text(kFormID_PAScheduleSP, sp(151458), "Parent Doe");
  setPA40(10000, 300, 0);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155725), 10, 2);
  enter(9589, 15000);  // the spouse's share of C1, above the whole amount
  run();
  EXPECT_TRUE(marked(21));
  EXPECT_TRUE(marked(24));
  EXPECT_TRUE(markedNo(22));
  EXPECT_EQ(textOf(25), "Parent Doe");
  EXPECT_EQ(amount(9589), 10000);
  EXPECT_EQ(amount(57), 0);
  EXPECT_EQ(amount(196101), 10);
  EXPECT_EQ(amount(78), 10010);
  EXPECT_EQ(amount(12967), 10010);
  EXPECT_EQ(amount(9600), 300);
  EXPECT_EQ(amount(9604), 300);
  EXPECT_EQ(amount(9606), 100);
  EXPECT_EQ(amount(9608), 300);
  EXPECT_TRUE(isNull(9599));
  EXPECT_TRUE(isNull(76));
  EXPECT_TRUE(isProtected(56));
  EXPECT_TRUE(dataEntered());
}

TEST_F(ScheduleSPTest, SeparateFederalReturnFollowsTheAnswers) {
  const struct {
    int question;        // 0: none
    bool federalAnswer;  // federal field 673
    int box;             // the box that ends up marked
    bool twoColumns;
  } kCases[] = {
      {150688, false, 18, false},  // Q1: Separate
      {0, true, 18, false},        // federal answer: Separate
      {150690, false, 32, true},   // Q3: Married, sub-box Y
      {150691, false, 23, true},   // Q4: Married, sub-box X
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(3);
    setFederalStatus(3);
    setPA40(4000, 120, 0);
    if (c.question != 0) check(c.question);
    if (c.federalAnswer) mark(kFormID_FedFilerInfo, filer(673));
    run();
    EXPECT_TRUE(marked(c.box)) << c.question;
    EXPECT_TRUE(isNull(22)) << c.question;
    EXPECT_EQ(isNull(9604), !c.twoColumns) << c.question;
    EXPECT_EQ(isNull(9603), c.twoColumns) << c.question;
    EXPECT_EQ(isProtected(54), c.box != 23) << c.question;  // X's companion field
  }
}

TEST_F(ScheduleSPTest, AnotherCopyLeavesCopyOneAlone) {
  enter(76, 1000);
  enter(9607, 55);
  setFilingStatus(1);
  setFederalStatus(1);
  run(2);
  EXPECT_EQ(amount(76), 1000);
  EXPECT_EQ(amount(9607), 55);
  EXPECT_TRUE(pa->formYes(kFormID_PAScheduleSP, 2, sp(11)));
}

}  // namespace
