// The information form's field routines, each on its own.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/return_info_fixture.h"

namespace {

TEST_F(ReturnInfoTest, FederalFormInUseFollowsForm104Only) {
  const struct {
    bool has104, second, third;
    const FormId& expected;
  } kCases[] = {
      {false, false, false, kFormID_FedReturn}, {true, false, false, kFormID_FedReturn},
      {true, true, false, kFormID_Fed55},       {true, true, true, kFormID_Fed87},
  };
  for (const auto& c : kCases) {
    restart();
    markInfo(PAReturnInfo::kFederalSecondFormBox);  // the information form's own marks do not count
    if (c.has104) copyOf(kFormID_Fed104);
    if (c.second) mark(kFormID_Fed104, Fed104::kSecondVariantBox);
    if (c.third) mark(kFormID_Fed104, Fed104::kThirdVariantBox);
    EXPECT_EQ(engine->findFederalReturnFormInUse(), c.expected) << c.has104 << c.second << c.third;
  }
}

// The state's row answers for the person asked about; an unknown status
// goes on with the next row; no row decides: the home-address state.
TEST_F(ReturnInfoTest, ResidencyCodeFromTheFederalRowsThenTheHomeState) {
  const struct {
    const char *rowStates[2], *taxpayer[2], *spouse, *homeState;
    short whose;
    int expected;
  } kCases[] = {
      {{"PA", ""}, {"Full-year resident", ""}, "Nonresident", "", 1, 3},
      {{"PA", ""}, {"Full-year resident", ""}, "Nonresident", "", 0, 1},
      {{"NJ", "pa"}, {"Nonresident", "PART-YEAR RESIDENT"}, "", "", 0, 2},
      {{"PA", "PA"}, {"unknown", "Nonresident"}, "", "PA", 0, 3},
      {{"NJ", ""}, {"Full-year resident", ""}, "", "pa", 0, 1},
      {{"", ""}, {"", ""}, "", "NY", 1, 3},
  };
  for (const auto& c : kCases) {
    restart();
    useInformationFormLines();
    for (int r = 0; r < 2; ++r) {
      filerText(FedFilerInfo::kResidencyState.at(r), c.rowStates[r]);
      filerText(FedFilerInfo::kResidencyTaxpayerStatus.at(r), c.taxpayer[r]);
    }
    filerText(FedFilerInfo::kResidencySpouseStatus.at(0), c.spouse);
    textInfo(PAReturnInfo::kStateCode, c.homeState);
    EXPECT_EQ(engine->getFilerResidencyCode(c.whose), c.expected) << c.rowStates[0] << "/" << c.homeState;
  }
}

// Texts kept in step: a change on one side is taken over by the other, a
// change on both keeps the state side.
TEST_F(ReturnInfoTest, CopyAndProtectFollowsTheSideThatChanged) {
  const FieldId& s = PAReturnInfo::kTaxpayerFirstName;
  const FieldId& f = FedFilerInfo::kTaxpayerDeathDate;
  const FieldId& k = State14::kVersionStamp;
  const char* const kCases[][5] = {{"OLD", "NEW", "OLD", "NEW", "NEW"},
                                   {"MINE", "NEW", "OLD", "MINE", "MINE"},
                                   {"SAME", "SAME", "", "SAME", "SAME"}};
  for (const auto& c : kCases) {
    restart();
    text(kFormID_PAReturnInfo, s, c[0]);
    text(kFormID_FedFilerInfo, f, c[1]);
    text(kFormID_State14, k, c[2]);
    engine->copyAndProtectFields(kFormID_PAReturnInfo, s, kFormID_FedFilerInfo, f, kFormID_State14, k);
    EXPECT_EQ(infoText(s), c[3]) << c[0] << "/" << c[1];
    EXPECT_EQ(textOf(kFormID_FedFilerInfo, f), c[4]);
    EXPECT_EQ(textOf(kFormID_State14, k), c[3]);
  }
}

// Federal form 190: the total block's rows of this state (or unlabelled
// and positive) into the first total; this state's slot rows that are not
// excluded, in order, into the twelve slots with the field before each;
// a stale slot of an earlier calculation is emptied.
TEST_F(ReturnInfoTest, WithholdingSummaryByState) {
  const char* const kStates[] = {"pa", "NJ", "", "PA", "PA"};
  for (int r = 0; r < 4; ++r) {
    number(kFormID_Fed190, Fed190::kTotalRowAmount.at(r), r == 3 ? -20 : 50 * (r + 1));
    text(kFormID_Fed190, Fed190::kTotalRowState.at(r), kStates[r]);
  }
  for (int r = 0; r < 5; ++r) {
    number(kFormID_Fed190, Fed190::kWithholdingRowKey.at(r), 111 * (r + 1));
    number(kFormID_Fed190, Fed190::kWithholdingRowAmount.at(r), 10 * (r + 1));
    text(kFormID_Fed190, Fed190::kWithholdingRowState.at(r), kStates[r]);
  }
  mark(kFormID_Fed190, Fed190::kWithholdingRowExcludedBox.at(3));
  const auto& slot = PAReturnInfo::kEstimatedPaymentAmount;
  const auto& slotKey = PAReturnInfo::kEstimatedPaymentDate;
  number(kFormID_PAReturnInfo, slot.at(4), 999);
  FieldId slots[12];
  for (int n = 0; n < 12; ++n) slots[n] = slot.at(n);
  engine->sumFieldsByAbbreviation(holder(kFormID_PAReturnInfo), PAReturnInfo::kPriorYearCredit,
                                  PAReturnInfo::kEstimatedPayments, PAReturnInfo::kTotalEstimatedPayments,
                                  slots);

  EXPECT_EQ(amount(PAReturnInfo::kPriorYearCredit), 180);  // 50 + 150 - 20, not the 100 of NJ
  EXPECT_TRUE(isProtected(PAReturnInfo::kPriorYearCredit));
  const double kExpected[][2] = {{10, 111}, {30, 333}, {50, 555}};
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(amount(slot.at(n)), kExpected[n][0]) << n;
    EXPECT_EQ(amount(slotKey.at(n)), kExpected[n][1]) << n;
    EXPECT_TRUE(isProtected(slot.at(n)) && isProtected(slotKey.at(n))) << n;
  }
  for (int n = 3; n < 12; ++n) {
    EXPECT_TRUE(isNull(slot.at(n)) && isNull(slotKey.at(n)) && !isProtected(slot.at(n))) << n;
  }
  EXPECT_EQ(amount(PAReturnInfo::kEstimatedPayments), 90);
  EXPECT_EQ(amount(PAReturnInfo::kTotalEstimatedPayments), 270);
}

class OptionCheckBoxTest : public ReturnInfoTest {
 protected:
  // The deposit group; `third`, where valid, is a third option box.
  void fill(const FieldId& third = FieldId()) {
    const FieldId none;
    engine->fillOptionCheckBoxes(holder(kFormID_PAReturnInfo), PAReturnInfo::kDirectDepositYesBox,
                                 PAReturnInfo::kDirectDepositNoBox, PAReturnInfo::kDepositUseFederalBankBox,
                                 none, PAReturnInfo::kDepositRoutingNumber,
                                 PAReturnInfo::kDepositAccountNumber, PAReturnInfo::kDepositCheckingBox,
                                 PAReturnInfo::kDepositSavingsBox, none, none, none, third);
  }
};

// The federal choice is taken while neither box is marked: a marked box is
// the user's answer, which a later federal change does not reach, and a
// pair left unanswered takes the default again, on any calculation of the
// engine, as the same entries loaded afresh do. A second return in the
// same process takes its own.
TEST_F(OptionCheckBoxTest, TheFederalChoiceIsTakenWhileNoBoxIsMarked) {
  filerYes(FedFilerInfo::kDirectDepositBox);
  fill();
  ASSERT_TRUE(marked(PAReturnInfo::kDirectDepositYesBox));
  put(kFormID_FedFilerInfo, FedFilerInfo::kDirectDepositBox, DataMgmt::FieldValue::no());
  fill();
  EXPECT_TRUE(marked(PAReturnInfo::kDirectDepositYesBox));  // kept against the federal change
  EXPECT_FALSE(marked(PAReturnInfo::kDirectDepositNoBox));

  put(kFormID_PAReturnInfo, PAReturnInfo::kDirectDepositYesBox, DataMgmt::FieldValue::no());
  put(kFormID_PAReturnInfo, PAReturnInfo::kDirectDepositNoBox, DataMgmt::FieldValue::no());
  fill();
  EXPECT_FALSE(marked(PAReturnInfo::kDirectDepositYesBox));
  EXPECT_TRUE(marked(PAReturnInfo::kDirectDepositNoBox));  // defaulted anew from federal form 92

  restart();
  filerYes(FedFilerInfo::kDirectDepositBox);
  fill();
  EXPECT_TRUE(marked(PAReturnInfo::kDirectDepositYesBox));

  // A third option box the user marked is an answer too.
  restart();
  filerYes(FedFilerInfo::kDirectDepositBox);
  markInfo(PAReturnInfo::kVoucherPaymentBox);
  fill(PAReturnInfo::kVoucherPaymentBox);
  EXPECT_TRUE(marked(PAReturnInfo::kVoucherPaymentBox));
  EXPECT_FALSE(marked(PAReturnInfo::kDirectDepositYesBox));
}

}  // namespace
