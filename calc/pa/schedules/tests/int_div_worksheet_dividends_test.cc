// The dividend half of the interest and dividend worksheet.
#include <gtest/gtest.h>

#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

TEST_F(IntDivWorksheetTest, AJointForm164ItemGivesTheSpouseHalfUnrounded) {
  setFilingStatus(2);
  federalDividends(1000);
  form164(1, kJoint, 301);
  run();
  EXPECT_EQ(1000, amount(234));
  EXPECT_DOUBLE_EQ(301 * 0.5 / 100.0, amount(156323));
  EXPECT_DOUBLE_EQ(1000 - 301 * 0.5 / 100.0, amount(238));
  EXPECT_TRUE(isProtected(156323));
  EXPECT_TRUE(markedNo(2));
}

TEST_F(IntDivWorksheetTest, AnItemWithAnEnteredShareLetsTheUserEnterTheSpouseShare) {
  struct Case {
    Owner owner;
    bool shareBox;
    bool userEnters;
    double spouseShare;
  } cases[] = {
      {kSpouse, true, true, 1000},   // entered 2000, limited to the federal dividends
      {kJoint, true, true, 1000},
      {kSpouse, false, false, 200},  // calculated from the item
      {kTaxpayer, true, false, 0},   // the taxpayer's items are skipped
  };
  for (const Case& c : cases) {
    restart();
    setFilingStatus(2);
    federalDividends(1000);
    form164(1, c.owner, 20000, c.shareBox, 5);
    enter(156323, 2000);
    run();
    EXPECT_EQ(c.spouseShare, amount(156323)) << c.owner;
    EXPECT_EQ(c.userEnters, marked(2)) << c.owner;
    EXPECT_EQ(!c.userEnters, isProtected(156323)) << c.owner;
    EXPECT_EQ(1000 - c.spouseShare, amount(238)) << c.owner;
  }
}

TEST_F(IntDivWorksheetTest, NetDividendsBelowZeroReduceTheTotal) {
  setFilingStatus(1);
  summary(kFormID_State17, 1, 10, 0);
  summary(kFormID_State17, 3, 50, 0);
  run();
  EXPECT_EQ(50, amount(156297));
  EXPECT_EQ(-40, amount(156315));
  EXPECT_EQ(-40, amount(156314));
  EXPECT_EQ(50, amount(162956));
  EXPECT_EQ(10, amount(156328));
  EXPECT_EQ(10, amount(156327));
  EXPECT_TRUE(isNull(156329));
  EXPECT_EQ(50, amount(357));
}

TEST_F(IntDivWorksheetTest, SummaryDividendsNotTaxedByResidency) {
  setFilingStatus(2);
  summary(kFormID_State17, 2, 5, 6);
  summary(kFormID_State17, 3, 7, 8);
  summary(kFormID_State17, 4, 100, 200);
  enter(156368, 500);
  run();
  EXPECT_EQ(12, amount(156297));  // groups 2 and 3
  EXPECT_EQ(14, amount(156298));
  EXPECT_EQ(26, amount(156296));
  for (int f = 156361; f <= 156372; ++f) EXPECT_TRUE(isNull(f)) << f;

  restart();
  setFilingStatus(2);
  setResidency(1);
  summary(kFormID_State17, 2, 5, 6);
  summary(kFormID_State17, 3, 7, 8);
  summary(kFormID_State17, 4, 100, 200);
  enter(156368, 500);
  enter(156369, 3);
  run();
  EXPECT_EQ(107, amount(156368));  // limited to groups 3 + 4
  EXPECT_FALSE(isProtected(156368));
  EXPECT_EQ(112, amount(156297));  // group 2 plus the entered part
  EXPECT_EQ(9, amount(156298));
  EXPECT_EQ(121, amount(156296));
  EXPECT_EQ(107, amount(156355));
  EXPECT_EQ(208, amount(156356));
}

TEST_F(IntDivWorksheetTest, Form57DividendsAreSplitByTheForm1099MiscCopies) {
  setFilingStatus(1);
  form57(82, 300);
  const auto& misc = kFed1099MiscFieldIds;
  mark(kFormID_Fed1099Misc, misc.byNumber(2), 1);
  number(kFormID_Fed1099Misc, misc.byNumber(37), 5000, 1);
  mark(kFormID_Fed1099Misc, misc.byNumber(1), 2);
  number(kFormID_Fed1099Misc, misc.byNumber(37), 2000, 2);
  run();
  EXPECT_EQ(300, amount(48353));
  EXPECT_EQ(20, amount(48354));
  EXPECT_EQ(0, amount(48355));
  EXPECT_EQ(300, amount(48356));  // the federal amount, not the split
  EXPECT_EQ(20, amount(48357));
  EXPECT_TRUE(closed(48358));
}

TEST_F(IntDivWorksheetTest, WithoutForm57DividendsTheForm1099MiscCopiesAreNotRead) {
  setFilingStatus(2);
  enter(48354, 11);
  enter(48355, 12);
  mark(kFormID_Fed1099Misc, kFed1099MiscFieldIds.byNumber(1), 1);
  number(kFormID_Fed1099Misc, kFed1099MiscFieldIds.byNumber(37), 5000, 1);
  run();
  EXPECT_EQ(11, amount(48354));
  EXPECT_EQ(12, amount(48355));
  for (int f : {48356, 48357, 48358}) EXPECT_TRUE(closed(f)) << f;
}

TEST_F(IntDivWorksheetTest, TheFederalDividendsFollowTheFederalReturnInUse) {
  struct Case {
    int form;  // 1, 55 or 87
    double expected;
  } cases[] = {{1, 1000}, {55, 700}, {87, 0}};
  for (const Case& c : cases) {
    restart();
    setFilingStatus(1);
    if (c.form != 1) useFederalForm(c.form);
    federalDividends(1000);
    number(kFormID_Fed55, kFed55FieldIds.byNumber(286), 700);
    run();
    EXPECT_EQ(c.expected, amount(234)) << c.form;
    EXPECT_EQ(c.expected, amount(238)) << c.form;
    EXPECT_TRUE(closed(156323)) << c.form;
  }
}

TEST_F(IntDivWorksheetTest, AFullYearResidentHasNoPartYearDividendSubtraction) {
  setFilingStatus(1);
  setResidency(1);
  summary(kFormID_State17, 1, 100, 0);
  run();
  EXPECT_EQ(100, amount(156359));  // no subtraction entered
  enter(156300, 40);
  run();
  EXPECT_EQ(40, amount(156299));
  EXPECT_EQ(40, amount(156306));
  EXPECT_EQ(60, amount(156315));
  EXPECT_EQ(100, amount(156359));  // the dividends before the subtraction

  // The dividends change after the subtraction was entered: the part-year
  // dividends follow.
  summary(kFormID_State17, 1, 250, 0);
  run();
  EXPECT_EQ(210, amount(156315));
  EXPECT_EQ(250, amount(156359));
  EXPECT_TRUE(closed(156360));

  copyOf(kFormID_PAReturnInfo).setNull(kPAReturnInfoFieldIds.byNumber(48));
  run();
  EXPECT_TRUE(closed(156300));
  EXPECT_TRUE(closed(156299));
  EXPECT_EQ(0, amount(156306));
  EXPECT_EQ(250, amount(156315));
  EXPECT_TRUE(closed(156359));
}

TEST_F(IntDivWorksheetTest, JointPartYearDividendsFollowTheSpousesSubtraction) {
  setFilingStatus(2);
  setResidency(1);
  summary(kFormID_State17, 1, 100, 80);
  enter(156301, 30);
  run();
  EXPECT_EQ(50, amount(156316));
  EXPECT_EQ(80, amount(156360));
  enter(156301, 50);
  run();
  EXPECT_EQ(30, amount(156316));
  EXPECT_EQ(80, amount(156360));
}

// A person whose form 89 dividends are gone keeps no remainder from an
// earlier calculation.
TEST_F(IntDivWorksheetTest, AForm89DividendRemainderDoesNotOutliveItsDividends) {
  setFilingStatus(2);
  form89(1, kTaxpayer, 0, 0, 0, 100);
  form89(2, kSpouse, 0, 0, 0, 50);
  enter(244, 20);
  run();
  EXPECT_EQ(100, amount(252));
  EXPECT_EQ(30, amount(253));
  EXPECT_EQ(130, amount(251));
  EXPECT_EQ(20, amount(242));

  number(kFormID_Fed89, kFed89FieldIds.byNumber(16), 0, 1);
  run();
  EXPECT_TRUE(closed(243));
  EXPECT_EQ(0, amount(252));
  EXPECT_EQ(0, amount(267));
  EXPECT_EQ(30, amount(251));

  restart();
  setFilingStatus(1);
  form89(1, kTaxpayer, 0, 0, 0, 100);
  enter(242, 150);
  run();
  EXPECT_EQ(100, amount(242));
  EXPECT_EQ(100, amount(243));
  EXPECT_EQ(0, amount(251));
  EXPECT_TRUE(closed(244));
}

}  // namespace
