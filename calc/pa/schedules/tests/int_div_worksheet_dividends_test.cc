// The dividend half of the interest and dividend worksheet.
#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

namespace W = PAInterestDividendWorksheet;

// The spouse's share of the federal dividends, entered by the user (2,000,
// limited to the federal dividends) when a joint form 164 item says so; a
// taxpayer's item says nothing.
TEST_F(IntDivWorksheetTest, TheSpouseShareOfTheFederalDividends) {
  for (const FieldId& owner : {Fed164::kJointBox.id(), Fed164::kTaxpayerBox.id()}) {
    restart();
    joint();
    federalDividends(1000);
    mark(kFormID_Fed164, owner);
    number(kFormID_Fed164, Fed164::kCapitalGainDistributions, 20000);
    mark(kFormID_Fed164, Fed164::kSharedAmountBox);
    number(kFormID_Fed164, Fed164::kSharedAmount, 5);
    enter(W::kSpouseFederalDividends, 2000);
    run();
    const bool entered = owner == Fed164::kJointBox.id();
    expectAmounts(ws(), {{W::kSpouseFederalDividends, entered ? 1000 : 0},
                         {W::kTaxpayerFederalDividends, entered ? 0 : 1000}});
    EXPECT_EQ(entered, ws().xMarked(W::kSpouseDividendShareEnteredBox));
    EXPECT_EQ(entered, !ws().isProtected(W::kSpouseFederalDividends));
  }
}

// Net dividends are not cut at 0; summary dividends not taxed are groups 2
// and 3 for a full-year resident, for a part-year resident group 2 plus an
// entered part limited to groups 3 + 4.
TEST_F(IntDivWorksheetTest, SummaryDividendsNotTaxedAndNetDividends) {
  summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 10, 0);
  summary(kFormID_State17, State17::kTaxpayerInState, State17::kSpouseInState, 50, 0);
  run();
  expectAmounts(ws(), {{W::kNetDividends, -40}, {W::kTaxpayerSummaryExemptDividends, 50}, {W::kTotalDividends, 10},
                       {W::kSummaryExemptDividendsOfBoth, 50}});
  EXPECT_TRUE(ws().isNull(W::kSpouseTotalDividends));
  for (bool isPartYear : {false, true}) {
    restart();
    joint();
    if (isPartYear) partYear();
    summary(kFormID_State17, State17::kTaxpayerUSObligations, State17::kSpouseUSObligations, 5, 6);
    summary(kFormID_State17, State17::kTaxpayerInState, State17::kSpouseInState, 7, 8);
    summary(kFormID_State17, State17::kTaxpayerOutOfState, State17::kSpouseOutOfState, 100, 200);
    enter(W::kTaxpayerPartYearExemptDividendsEntered, 500);
    run();
    expectAmounts(ws(), {{W::kTaxpayerSummaryDividendsNotTaxed, isPartYear ? 112 : 12},
                         {W::kSummaryDividendsNotTaxed, isPartYear ? 118 : 26}});
    EXPECT_EQ(!isPartYear, ws().isNull(W::kTaxpayerPartYearExemptDividendsEntered));
  }
}

TEST_F(IntDivWorksheetTest, Form57DividendsAreSplitByTheForm1099MiscCopies) {
  enter(W::kTaxpayerFed57DividendsRead, 11);
  mark(kFormID_Fed1099Misc, Fed1099Misc::kSpouseBox, 1);  // skipped: not joint
  number(kFormID_Fed1099Misc, Fed1099Misc::kSubstitutePayments, 5000, 1);
  mark(kFormID_Fed1099Misc, Fed1099Misc::kTaxpayerBox, 2);
  number(kFormID_Fed1099Misc, Fed1099Misc::kSubstitutePayments, 2000, 2);
  run();  // without form 57 dividends the copies are not read and nothing is kept
  EXPECT_TRUE(ws().isNull(W::kTaxpayerFed57DividendsRead));
  EXPECT_TRUE(closed(W::kFed57Dividends));
  number(kFormID_Fed57, Fed57::kSubstitutePayments, 300);
  run();  // the total is the federal amount, not the split
  expectAmounts(ws(),
                {{W::kTaxpayerFed57DividendsRead, 20}, {W::kFed57Dividends, 300}, {W::kTaxpayerFed57Dividends, 20}});
  EXPECT_TRUE(closed(W::kSpouseFed57Dividends));
  number(kFormID_Fed57, Fed57::kSubstitutePayments, 0);
  run();  // the amounts read drop with the federal amount
  EXPECT_TRUE(ws().isNull(W::kTaxpayerFed57DividendsRead) && ws().isNull(W::kSpouseFed57DividendsRead));
}

TEST_F(IntDivWorksheetTest, TheFederalDividendsFollowTheFederalReturnInUse) {
  struct Case {
    const FieldId& formBox;  // none: federal form 1
    double expected;
  } cases[] = {{kNone, 1000}, {PAReturnInfo::kFederalSecondFormBox, 700}, {PAReturnInfo::kFederalThirdFormBox, 0}};
  for (const Case& c : cases) {
    restart();
    if (c.formBox.isValid()) mark(kFormID_PAReturnInfo, c.formBox);
    federalDividends(1000);
    number(kFormID_Fed55, Fed55::kDividends, 700);
    run();
    expectAmounts(ws(), {{W::kFederalDividends, c.expected}, {W::kTaxpayerFederalDividends, c.expected}});
    EXPECT_TRUE(closed(W::kSpouseFederalDividends));
  }
}

// The part-year dividends follow the dividends and the subtraction on
// every run; a full-year resident has no subtraction.
TEST_F(IntDivWorksheetTest, PartYearDividendsStayCurrent) {
  partYear();
  enter(W::kTaxpayerPartYearDividendSubtraction, 40);
  for (double dividends : {100, 250}) {
    summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, dividends, 0);
    run();
    expectAmounts(ws(), {{W::kTaxpayerNetDividends, dividends - 40}, {W::kTaxpayerPartYearDividends, dividends}});
  }
  EXPECT_TRUE(closed(W::kSpousePartYearDividends));
  copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kPartYearResidentBox);
  run();
  EXPECT_TRUE(closed(W::kTaxpayerPartYearDividendSubtraction) && closed(W::kTaxpayerPartYearDividends));
  expectAmounts(ws(), {{W::kTaxpayerNetDividends, 250}});
  restart();
  joint();
  partYear();
  summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 100, 80);
  for (double subtraction : {30, 50}) {
    enter(W::kSpousePartYearDividendSubtraction, subtraction);
    run();
    expectAmounts(ws(), {{W::kSpouseNetDividends, 80 - subtraction}, {W::kSpousePartYearDividends, 80}});
  }
}

// A person whose form 89 dividends are gone keeps no remainder from an
// earlier calculation.
TEST_F(IntDivWorksheetTest, AForm89DividendRemainderDoesNotOutliveItsDividends) {
  joint();
  form89(1, Fed89::kTaxpayerBox, 0, 0, 0, 100);
  form89(2, Fed89::kSpouseBox, 0, 0, 0, 50);
  enter(W::kSpouseEstateTrustDividendsAdjustment, 20);
  run();
  expectAmounts(ws(), {{W::kSpouseEstateTrustDividendsRemainder, 30}, {W::kEstateTrustDividendsRemainder, 130}});
  number(kFormID_Fed89, Fed89::kDividends, 0, 1);
  run();
  EXPECT_TRUE(closed(W::kTaxpayerEstateTrustDividendsAdjustment));
  expectAmounts(ws(), {{W::kTaxpayerEstateTrustDividendsRemainder, 0}, {W::kEstateTrustDividendsRemainder, 30}});
}

}  // namespace
