// The host-facing calculate operations: whole return, one copy, all
// copies, recalculation on change, the summary amount.
#include <gtest/gtest.h>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class CalcEngineTest : public StateEngineTest {
 protected:
  std::vector<int> dispatchedCopies() const {
    std::vector<int> copies;
    for (const ProbeCall& call : engine->calls) {
      if (call.operation == "calcStateForm") copies.push_back(call.copy);
    }
    return copies;
  }
};

TEST_F(CalcEngineTest, CalcAllCopiesRunsHighestCopyFirstAndSkipsMissingNumbers) {
  copyOf(kFormID_PAScheduleE, 1);
  copyOf(kFormID_PAScheduleE, 3);
  engine->calcAllCopies(kFormID_PAScheduleE);
  EXPECT_EQ(dispatchedCopies(), (std::vector<int>{3, 1}));
  for (const ProbeCall& call : engine->calls) {
    EXPECT_EQ(call.form, kFormID_PAScheduleE.getNumber());
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(call.passOn, 1);
    EXPECT_EQ(call.spare, 1);
    EXPECT_TRUE(call.formGiven) << "the copy itself is dispatched";
  }
}

TEST_F(CalcEngineTest, CalcAllCopiesOfAFormWithoutCopiesDoesNothing) {
  engine->calcAllCopies(kFormID_PAScheduleC);
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_EQ(pa->getFormCount(kFormID_PAScheduleC), 0);
}

TEST_F(CalcEngineTest, CalcFormDispatchesAnExistingCopyWithItsArguments) {
  copyOf(kFormID_PA40, 2);
  engine->calcForm(kFormID_PA40, 2, true, 7, 9, DataMgmt::TaxFormPtr());
  ASSERT_EQ(engine->calls.size(), 1u);
  const ProbeCall& call = engine->calls[0];
  EXPECT_EQ(call.copy, 2);
  EXPECT_TRUE(call.markDataEntered);
  EXPECT_EQ(call.passOn, 7);
  EXPECT_EQ(call.spare, 9);
  EXPECT_TRUE(call.formGiven) << "the copy is fetched afresh, not taken from the argument";
}

TEST_F(CalcEngineTest, CalcFormOfAMissingCopyDoesNothing) {
  engine->calcForm(kFormID_PA40, 4, false, 1, 1, DataMgmt::TaxFormPtr());
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 4));
}

// State form 14 is never dispatched: any copy asked for defaults the box
// pair 9015/9016 on copy 1, creating it.
TEST_F(CalcEngineTest, State14DefaultsItsBoxPairOnCopy1Only) {
  const FieldId& box9015 = kState14FieldIds[43];
  const FieldId& box9016 = kState14FieldIds[44];
  ASSERT_EQ(box9015.getNumber(), 9015);
  ASSERT_EQ(box9016.getNumber(), 9016);

  engine->calcForm(kFormID_State14, 5, true, 1, 1, DataMgmt::TaxFormPtr());
  EXPECT_TRUE(engine->calls.empty());
  ASSERT_TRUE(pa->formExists(kFormID_State14, 1));
  EXPECT_FALSE(pa->formExists(kFormID_State14, 5));
  EXPECT_TRUE(pa->formYes(kFormID_State14, 1, box9015));
  EXPECT_TRUE(pa->formNo(kFormID_State14, 1, box9016));
}

TEST_F(CalcEngineTest, State14KeepsAMarkedSecondBox) {
  const FieldId& box9015 = kState14FieldIds[43];
  const FieldId& box9016 = kState14FieldIds[44];
  mark(kFormID_State14, box9016, 2);
  copyOf(kFormID_State14, 1);
  mark(kFormID_State14, box9016, 1);
  engine->calcAllCopies(kFormID_State14);
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_TRUE(pa->formYes(kFormID_State14, 1, box9016));
  EXPECT_FALSE(pa->formYes(kFormID_State14, 1, box9015));
}

TEST_F(CalcEngineTest, CalcReturnClearsEveryCalculatedMarkThenRunsTheHooksInOrder) {
  copyOf(kFormID_PA40, 1).setCalcMark(true);
  copyOf(kFormID_PAScheduleE, 2).setCalcMark(true);
  engine->calcReturn(0);
  EXPECT_FALSE(copyOf(kFormID_PA40, 1).getCalcMark());
  EXPECT_FALSE(copyOf(kFormID_PAScheduleE, 2).getCalcMark());
  ASSERT_EQ(engine->calls.size(), 3u);
  EXPECT_EQ(engine->calls[0].operation, "preCalc");
  EXPECT_EQ(engine->calls[1].operation, "calcStateReturn");
  EXPECT_EQ(engine->calls[2].operation, "postCalc");
}

TEST_F(CalcEngineTest, CalcIfChangedRunsOnlyWithUnsavedChanges) {
  copyOf(kFormID_PA40, 1).setCalcMark(true);
  pa->setSaveNeeded(false);
  engine->calcIfChanged(0);
  EXPECT_TRUE(engine->calls.empty());
  EXPECT_TRUE(copyOf(kFormID_PA40, 1).getCalcMark());

  pa->setSaveNeeded(true);
  engine->calcIfChanged(0);
  EXPECT_EQ(engine->calls.size(), 3u);
  EXPECT_FALSE(copyOf(kFormID_PA40, 1).getCalcMark());
}

// Line 17 (amount owed, PA-40 field 268) when not 0, else minus line 16
// (refund, field 252).
TEST_F(CalcEngineTest, SummaryAmountIsTheAmountOwedElseMinusTheRefund) {
  const FieldId& owed = kPA40FieldIds[261];
  const FieldId& refund = kPA40FieldIds[264];
  EXPECT_EQ(engine->getSummaryAmount(), 0);
  number(kFormID_PA40, refund, 250);
  EXPECT_EQ(engine->getSummaryAmount(), -250);
  number(kFormID_PA40, owed, 120);
  EXPECT_EQ(engine->getSummaryAmount(), 120);
}

// The PA engine's own answers that the state layer asks for.
TEST_F(CalcEngineTest, PAEngineAnswersItsFormsAndFilingStatus) {
  EXPECT_EQ(engine->getStateReturnFormId(), kFormID_PA40);
  EXPECT_EQ(engine->getFederalReturnFormId(), kFormID_FedReturn);
  EXPECT_EQ(engine->getFilingStatus(), 1);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[113]);  // 53: federal form 55
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[117]);  // 57: joint
  EXPECT_EQ(engine->getFederalReturnFormId(), kFormID_Fed55);
  EXPECT_EQ(engine->getFilingStatus(), 2);
}

}  // namespace
