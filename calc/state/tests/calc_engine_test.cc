// The host-facing calculate operations: whole return, one copy, all
// copies, recalculation on change, the summary amount.
#include <gtest/gtest.h>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

using CalcEngineTest = StateEngineTest;

TEST_F(CalcEngineTest, AllCopiesHighestFirstAndOneExistingCopyWithItsArguments) {
  engine->calcAllCopies(kFormID_PAScheduleC);                                     // no copies
  engine->calcForm(kFormID_PAScheduleE, 3, false, 1, 1, DataMgmt::TaxFormPtr());  // a missing copy
  EXPECT_TRUE(engine->calls.empty());
  copyOf(kFormID_PAScheduleE, 1);
  copyOf(kFormID_PAScheduleE, 3);
  engine->calcAllCopies(kFormID_PAScheduleE);
  engine->calcForm(kFormID_PAScheduleE, 1, true, 7, 9, DataMgmt::TaxFormPtr());
  ASSERT_EQ(engine->calls.size(), 3u);
  const ProbeCall& first = engine->calls[0];
  EXPECT_TRUE(first.copy == 3 && !first.markDataEntered && first.passOn == 1 && first.spare == 1 &&
              first.formGiven);
  EXPECT_EQ(engine->calls[1].copy, 1);
  const ProbeCall& one = engine->calls[2];
  EXPECT_TRUE(one.copy == 1 && one.markDataEntered && one.passOn == 7 && one.spare == 9);
  EXPECT_TRUE(one.formGiven) << "the copy is fetched afresh, not taken from the argument";
}

// State form 14 is never dispatched: any copy asked for defaults the
// update box pair on copy 1 (creating it), and a marked box stays.
TEST_F(CalcEngineTest, State14DefaultsItsBoxPairOnCopy1Only) {
  engine->calcForm(kFormID_State14, 5, true, 1, 1, DataMgmt::TaxFormPtr());
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(pa->formExists(kFormID_State14, 5));
  EXPECT_TRUE(pa->formYes(kFormID_State14, 1, State14::kUpdateOnNextBox));
  EXPECT_TRUE(pa->formNo(kFormID_State14, 1, State14::kUpdateSecondBox));
  put(kFormID_State14, State14::kUpdateOnNextBox, FieldValue::null());
  mark(kFormID_State14, State14::kUpdateSecondBox);
  engine->calcAllCopies(kFormID_State14);
  EXPECT_TRUE(pa->formYes(kFormID_State14, 1, State14::kUpdateSecondBox));
  EXPECT_FALSE(pa->formYes(kFormID_State14, 1, State14::kUpdateOnNextBox));
}

TEST_F(CalcEngineTest, CalcReturnClearsTheMarksThenRunsTheHooksOnlyOnChangesWhenAsked) {
  copyOf(kFormID_PAScheduleE, 2).setCalcMark(true);
  pa->setSaveNeeded(false);
  engine->calcIfChanged(0);
  EXPECT_TRUE(engine->calls.empty() && copyOf(kFormID_PAScheduleE, 2).getCalcMark());
  pa->setSaveNeeded(true);
  engine->calcIfChanged(0);
  EXPECT_FALSE(copyOf(kFormID_PAScheduleE, 2).getCalcMark());
  ASSERT_EQ(engine->calls.size(), 3u);
  EXPECT_EQ(engine->calls[0].operation + engine->calls[1].operation + engine->calls[2].operation,
            "preCalccalcStateReturnpostCalc");
}

TEST_F(CalcEngineTest, SummaryAmountIsTheAmountOwedElseMinusTheRefund) {
  EXPECT_EQ(engine->getSummaryAmount(), 0);
  number(kFormID_PA40, PA40::kRefund, 250);
  EXPECT_EQ(engine->getSummaryAmount(), -250);
  number(kFormID_PA40, PA40::kTotalPayment, 120);
  EXPECT_EQ(engine->getSummaryAmount(), 120);
}

}  // namespace
