// The PA return's constants, filing status, residency, federal variant,
// line values and state flag marks.
#include <cstring>
#include <limits>

#include "return/return_codes.h"
#include "return/tests/pa_return_fixture.h"

namespace {

using PADataMgmt::PATaxReturn;

TEST_F(PAReturnTest, StateConstantsStayInTheirDocumentedBuffers) {
  char buf[32];
  std::memset(buf, 'x', sizeof buf);
  pa->getStateAbbreviation(buf);
  EXPECT_TRUE(std::strcmp(buf, "PA") == 0 && buf[PATaxReturn::kAbbreviationBufferSize] == 'x');
  std::memset(buf, 'x', sizeof buf);
  pa->getStateName(buf);
  EXPECT_TRUE(std::strcmp(buf, "Pennsylvania") == 0 && buf[PATaxReturn::kStateNameBufferSize] == 'x');
  EXPECT_EQ(pa->getStateNumber(), 39);
  EXPECT_EQ(pa->getStateProductCode(), 0x4F56304Bu);  // "OV0K"
  EXPECT_EQ(pa->getStateProductCode2(), pa->getStateProductCode());
  EXPECT_EQ(pa->getInfoFieldId31(), PAReturnInfo::kTaxpayerFirstName.id());
  EXPECT_EQ(pa->getInfoFieldId2(), PAReturnInfo::kFilingStatusNumber.id());
}

// Separate wins over single, single over joint; an explicit No is no mark.
TEST_F(PAReturnTest, FilingStatusFollowsTheMarksByPrecedence) {
  EXPECT_EQ(pa->readFilingStatus(kFormID_PAReturnInfo), PADataMgmt::kFilingSingle);  // no information form
  const FieldId boxes[] = {PAReturnInfo::kSingleBox, PAReturnInfo::kSeparateBox, PAReturnInfo::kJointBox};
  const int cases[][4] = {{0, 0, 1, 2}, {1, 0, 1, 1}, {0, 1, 0, 3}, {1, 1, 1, 3}, {0, 0, 0, 1}};
  for (const auto& c : cases) {
    freshReturns();
    for (int i = 0; i < 3; ++i)
      copyOf(kFormID_PAReturnInfo).store(boxes[i], c[i] ? DataMgmt::FieldValue::mark() : DataMgmt::FieldValue::no());
    EXPECT_EQ(pa->getFilingStatus(), c[3]) << c[0] << c[1] << c[2];
  }
}

TEST_F(PAReturnTest, ResidencyAndFederalVariant) {
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_FedReturn);
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1)) << "the variant reader creates nothing";
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), PADataMgmt::kFullYearResident);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox);
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), PADataMgmt::kPartYearResident);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), PADataMgmt::kNonresident);
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PA40), PADataMgmt::kFullYearResident);
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 1));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFederalThirdFormBox);
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_Fed87);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFederalSecondFormBox);
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_Fed55);
}

// Lines read copy 1 of their own form whatever copy is asked; lines
// without a field, indexes outside 1..30 and another form read 0; the
// Schedule OC lines read 0 on a joint return; values round and clamp.
TEST_F(PAReturnTest, LineValues) {
  number(kFormID_PA40, PA40::kNetCompensation, 101.5);
  pa->getFormOrCreate(kFormID_PA40, 2)->store(PA40::kNetCompensation, DataMgmt::FieldValue::of(7));
  for (const FieldId& field : {PAScheduleOC::kEmploymentIncentiveCredit, PAScheduleOC::kJobCreationCredit,
                               PAScheduleOC::kResearchDevelopmentCredit, PAScheduleOC::kFourthCredit}) {
    number(kFormID_PAScheduleOC, field, 55);
  }
  EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 2, 1), 102);
  EXPECT_EQ(pa->getStateLineValue(kFormID_PAScheduleOC, 1, 1) + pa->getStateLineValue(kFormID_PA40, 1, 20), 0);
  for (int line : {0, 6, 7, 23, 26, 29, 31, -1}) EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, line), 0) << line;
  for (bool joint : {false, true}) {
    if (joint) mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
    for (int line : {20, 22, 24, 25})
      EXPECT_EQ(pa->getStateLineValue(kFormID_PAScheduleOC, 1, line), joint ? 0 : 55) << line;
  }
  for (double tax : {1e12, -1e12}) {
    number(kFormID_PA40, PA40::kTaxLiability, tax);
    EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, PATaxReturn::kLineTax),
              tax > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min());
  }
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(PATaxReturn::kLineAmountOwed), "Amount You Owe ");
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(31), "");
}

TEST_F(PAReturnTest, StateFlagMarks) {
  DataMgmt::TaxForm& state14 = copyOf(kFormID_State14);
  mark(kFormID_State14, State14::kUpdateOnNextBox);
  pa->setStateFlagMarks(true);
  EXPECT_TRUE(state14.isNo(State14::kUpdateOnNextBox) && state14.xMarked(State14::kStateFlagBox));
  EXPECT_TRUE(state14.isNull(State14::kUpdateSecondBox)) << "not written";
  pa->setStateFlagMarks(false);
  EXPECT_TRUE(state14.xMarked(State14::kUpdateSecondBox) && state14.isNo(State14::kStateFlagBox));
}

}  // namespace
