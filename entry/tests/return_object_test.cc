// The PA return's constants, filing status, residency, federal variant,
// line values and state flag marks.
#include <cstring>
#include <limits>
#include <vector>

#include "entry/tests/pa_return_fixture.h"

namespace {

using PADataMgmt::PATaxReturn;

const Primitives::OVImmutableIdentifier& info(int member) { return kPAReturnInfoFieldIds[member]; }

TEST_F(PAReturnTest, StateConstantsStayInTheirDocumentedBuffers) {
  char buf[32];
  std::memset(buf, 'x', sizeof buf);
  pa->getStateAbbreviation(buf);
  EXPECT_STREQ(buf, "PA");
  EXPECT_EQ(buf[PATaxReturn::kAbbreviationBufferSize], 'x');
  std::memset(buf, 'x', sizeof buf);
  pa->getStateName(buf);
  EXPECT_STREQ(buf, "Pennsylvania");
  EXPECT_EQ(buf[PATaxReturn::kStateNameBufferSize], 'x');

  EXPECT_EQ(pa->getStateNumber(), 39);
  EXPECT_EQ(pa->getStateProductCode(), 0x4F56304Bu);  // "OV0K"
  EXPECT_EQ(pa->getStateProductCode2(), pa->getStateProductCode());
  EXPECT_EQ(pa->getInfoFormId(), kFormID_PAReturnInfo);
  EXPECT_EQ(pa->getMainFormId(), kFormID_PA40);
  EXPECT_EQ(pa->getPA40FormId(), kFormID_PA40);
  const std::vector<int> infoFields = {
      pa->getInfoFieldId31().getNumber(), pa->getInfoFieldId33().getNumber(),
      pa->getInfoFieldId34().getNumber(), pa->getInfoFieldId35().getNumber(),
      pa->getInfoFieldId36().getNumber(), pa->getInfoFieldId38().getNumber(),
      pa->getInfoFieldId39().getNumber(), pa->getInfoFieldId40().getNumber(),
      pa->getInfoFieldId2().getNumber()};
  EXPECT_EQ(infoFields, (std::vector<int>{31, 33, 34, 35, 36, 38, 39, 40, 2}));
}

TEST_F(PAReturnTest, FilingStatusFollowsTheMarksByPrecedence) {
  struct Case {
    bool m115, m116, m117;
    int code;
  };
  const Case cases[] = {{false, false, false, 1}, {false, false, true, 2}, {true, false, false, 1},
                        {false, true, false, 3},  {true, false, true, 1},  {false, true, true, 3},
                        {true, true, false, 3},   {true, true, true, 3}};
  EXPECT_EQ(pa->readFilingStatus(kFormID_PAReturnInfo), 1);  // no information form
  for (const Case& c : cases) {
    freshReturns();
    if (c.m115) mark(kFormID_PAReturnInfo, info(115));
    if (c.m116) mark(kFormID_PAReturnInfo, info(116));
    if (c.m117) mark(kFormID_PAReturnInfo, info(117));
    EXPECT_EQ(pa->readFilingStatus(kFormID_PAReturnInfo), c.code) << c.m115 << c.m116 << c.m117;
    EXPECT_EQ(pa->getFilingStatus(), c.code);
  }
  freshReturns();  // an explicit No is not a mark
  put(kFormID_PAReturnInfo, info(117), DataMgmt::FieldValue::no());
  EXPECT_EQ(pa->getFilingStatus(), 1);
}

TEST_F(PAReturnTest, ResidencyNonresidentWinsAndOnlyTheInformationFormCounts) {
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), 0);
  mark(kFormID_PAReturnInfo, info(101));
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), 0);
  mark(kFormID_PAReturnInfo, info(103));
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), 1);
  mark(kFormID_PAReturnInfo, info(102));
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PAReturnInfo), 2);
  EXPECT_EQ(pa->readResidencyStatus(kFormID_PA40), 0);
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 1));  // asking does not create a copy
}

TEST_F(PAReturnTest, FederalVariantPrefersForm55) {
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_FedReturn);
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1));
  mark(kFormID_PAReturnInfo, info(114));
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_Fed87);
  mark(kFormID_PAReturnInfo, info(113));
  EXPECT_EQ(pa->readFederalReturnForm(), kFormID_Fed55);
}

// Line -> (form, host field number); 0 for lines without a field.
struct LineField {
  int line;
  bool scheduleOC;
  int field;
};
const LineField kLineTable[] = {
    {1, false, 139},  {2, false, 143},  {3, false, 140},  {4, false, 141},  {5, false, 145},
    {6, false, 0},    {7, false, 0},    {8, false, 170},  {9, false, 147},  {10, false, 249},
    {11, false, 148}, {12, false, 169}, {13, false, 172}, {14, false, 173}, {15, false, 36093},
    {16, false, 252}, {17, false, 268}, {18, false, 245}, {19, false, 244}, {20, true, 8},
    {21, false, 233}, {22, true, 9},    {23, false, 0},   {24, true, 10},   {25, true, 12235},
    {26, false, 0},   {27, false, 0},   {28, false, 0},   {29, false, 0},   {30, false, 237}};

TEST_F(PAReturnTest, LineValuesReadTheirFieldOnCopyOneOfTheirForm) {
  for (const LineField& l : kLineTable) {
    if (l.field == 0) continue;
    const FormId& form = l.scheduleOC ? kFormID_PAScheduleOC : kFormID_PA40;
    number(form, l.field, 100 * l.line + 7);
    number(form, l.field, 1, 2);  // copy 2 is never read
  }
  for (const LineField& l : kLineTable) {
    const FormId& form = l.scheduleOC ? kFormID_PAScheduleOC : kFormID_PA40;
    const FormId& other = l.scheduleOC ? kFormID_PA40 : kFormID_PAScheduleOC;
    const int expected = l.field == 0 ? 0 : 100 * l.line + 7;
    EXPECT_EQ(pa->getStateLineValue(form, 2, l.line), expected) << "line " << l.line;
    EXPECT_EQ(pa->getStateLineValue(other, 1, l.line), 0) << "line " << l.line;
  }
  for (int line : {-1, 0, 31}) EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, line), 0);
}

TEST_F(PAReturnTest, ScheduleOCLinesReadZeroUnderFilingStatusTwo) {
  for (int field : {8, 9, 10, 12235}) number(kFormID_PAScheduleOC, field, 55);
  const FormId& oc = kFormID_PAScheduleOC;
  mark(kFormID_PAReturnInfo, info(117));  // status 2
  for (int line : {20, 22, 24, 25}) EXPECT_EQ(pa->getStateLineValue(oc, 1, line), 0) << line;
  mark(kFormID_PAReturnInfo, info(116));  // status 3
  for (int line : {20, 22, 24, 25}) EXPECT_EQ(pa->getStateLineValue(oc, 1, line), 55) << line;
}

TEST_F(PAReturnTest, LineValuesRoundAndClampToThirtyTwoBits) {
  number(kFormID_PA40, 173, 12.5);
  EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, 14), 13);
  number(kFormID_PA40, 173, 1e12);
  EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, 14), std::numeric_limits<int32_t>::max());
  number(kFormID_PA40, 173, -1e12);
  EXPECT_EQ(pa->getStateLineValue(kFormID_PA40, 1, 14), std::numeric_limits<int32_t>::min());
}

TEST(StateLineSummaryLabel, KeepsTheReportsOwnTexts) {
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(1), "PA Net Taxable Comp.");
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(17), "Amount You Owe ");
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(2), "");
  EXPECT_STREQ(PADataMgmt::stateLineSummaryLabel(31), "");
  int shown = 0;
  for (int line = 1; line <= PATaxReturn::kLineCount; ++line) {
    shown += PADataMgmt::stateLineSummaryLabel(line)[0] != '\0';
  }
  EXPECT_EQ(shown, 8);
}

TEST_F(PAReturnTest, StateFlagMarks) {
  const auto& flags = kState14FieldIds;
  DataMgmt::TaxForm& state14 = copyOf(kFormID_State14);
  mark(kFormID_State14, flags[43]);
  pa->setStateFlagMarks(true);
  EXPECT_TRUE(state14.isNo(flags[43]));
  EXPECT_TRUE(state14.isNull(flags[44]));  // not written
  EXPECT_TRUE(state14.xMarked(flags[45]));

  pa->setStateFlagMarks(false);
  EXPECT_TRUE(state14.isNo(flags[43]));
  EXPECT_TRUE(state14.xMarked(flags[44]));
  EXPECT_TRUE(state14.isNo(flags[45]));

  pa->setStateFlagMarks(true);
  EXPECT_TRUE(state14.xMarked(flags[44]));  // left as it was
}

}  // namespace
