// The field routines: scaled stores, default and clamp, the installment
// split, the residency choice, clears and the line texts.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

using StateCalculationMgmt::InstallmentTable;
using V = std::vector<double>;

class FieldRoutinesTest : public StateEngineTest {
 protected:
  const FormId& worksheet = kFormID_PAEstimatedTaxWorksheet;
};

TEST_F(FieldRoutinesTest, CopyNumberFieldStoresScaledAndGivesBackWhatWasStored) {
  const FieldId& field = PAEstimatedTaxWorksheet::kEstimatedIncome;
  double value = 7.5;
  engine->copyNumberField(worksheet, 1, field, value, 2);
  EXPECT_EQ(value, 0) << "a missing copy gives back 0";
  // Places: a fraction in hundredths, ratios in six places, above 6 or
  // below 1 unscaled (whole amounts: the rounded read comes back).
  const double cases[][4] = {
      {0.5, 2, 50, 0.5}, {0.1234564, 6, 123456.4, 0.123456}, {12, 7, 12, 12}, {12, -1, 12, 12}, {2.6, 0, 2.6, 3}};
  copyOf(worksheet);
  for (const auto& c : cases) {
    value = c[0];
    engine->copyNumberField(worksheet, 1, field, value, static_cast<int8_t>(c[1]));
    EXPECT_NEAR(valueOf(worksheet, field), c[2], 1e-6) << "places " << c[1];
    EXPECT_DOUBLE_EQ(value, c[3]) << "places " << c[1];
  }
  // Default 3, low 1, high 3: null, 0, 5, 2, 3.4.
  const FieldId& count = PAEstimatedTaxWorksheet::kAmendedInstallmentCount;
  const std::pair<FieldValue, double> clamps[] = {{FieldValue::null(), 3}, {FieldValue::of(0), 1},
                                                  {FieldValue::of(5), 3},    {FieldValue::of(2), 2},
                                                  {FieldValue::of(3.4), 3.4}};
  for (const auto& c : clamps) {
    put(worksheet, count, c.first);
    engine->defaultAndClampNumberField(worksheet, 1, count, 3, 1, 3);
    EXPECT_DOUBLE_EQ(valueOf(worksheet, count), c.second);
  }
}

class InstallmentsTest : public FieldRoutinesTest {
 protected:
  const FieldId boxes[4] = {
      PAEstimatedTaxWorksheet::kFourInstallmentsBox, PAEstimatedTaxWorksheet::kThreeInstallmentsBox,
      PAEstimatedTaxWorksheet::kTwoInstallmentsBox, PAEstimatedTaxWorksheet::kOneInstallmentBox};
  void allocate(double amount, double credit, double threshold, uint16_t overrideCount = 0,
                double overrideAmount = 0) {
    engine->allocateInstallments(worksheet, boxes[0], boxes[1], boxes[2], boxes[3], count, amount, credit,
                                 threshold, table, worksheet, PAEstimatedTaxWorksheet::kAmendedYesBox,
                                 overrideCount, overrideAmount);
  }
  V column(int col) const { return {table[0][col], table[1][col], table[2][col], table[3][col]}; }

  uint16_t count = 99;
  InstallmentTable table = {{7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}};
};

TEST_F(InstallmentsTest, FourQuartersOf1003WithCredit600) {
  allocate(1003, 0, 0);
  EXPECT_EQ(count, 99) << "a missing copy leaves the zeroed table and the count";
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 0, 0}));
  mark(worksheet, boxes[0]);
  allocate(1003, 600, 0);
  EXPECT_EQ(count, 4);
  // Installment, credit applied, net, amount remaining, credit remaining.
  const V columns[] = {
      {250, 251, 251, 251}, {250, 251, 99, 0}, {0, 0, 152, 251}, {753, 502, 251, 0}, {350, 99, 0, 0}};
  for (int col = 0; col < StateCalculationMgmt::kInstallmentColumns; ++col)
    EXPECT_EQ(column(col), columns[col]) << col;
  allocate(1000, 600, 500);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 0, 0})) << "below the threshold";
  put(worksheet, boxes[0], FieldValue::null());
  mark(worksheet, boxes[2]);  // two installments: the early rows stay 0
  allocate(1200, 0, 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 600, 600}));
}

// The override replaces amount, credit, threshold and count; a count of 0
// would divide by zero and one above 4 would fill rows before the first
// quarter: both are kept within 1..4.
TEST_F(InstallmentsTest, TheOverrideReplacesTheAmountAndItsCountIsClamped) {
  mark(worksheet, PAEstimatedTaxWorksheet::kAmendedYesBox);
  allocate(1003, 600, 5000, 2, 301);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 150, 151}));
  EXPECT_EQ(column(StateCalculationMgmt::kCreditApplied), (V{0, 0, 0, 0}));
  allocate(0, 0, 0, 0, 400);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 0, 400}));
  allocate(0, 0, 0, 9, 400);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{100, 100, 100, 100}));
}

TEST_F(FieldRoutinesTest, ReadMarkedChoiceAnswersByTheFirstMarkedOfDBC) {
  const FieldId boxes[] = {PAReturnInfo::kFullYearResidentBox, PAReturnInfo::kPartYearResidentBox,
                           PAReturnInfo::kNonresidentBox, PAReturnInfo::kPartYearAllocatedBox};
  auto choice = [&] {
    return engine->readMarkedChoice(DataMgmt::TaxFormPtr(), kFormID_PAReturnInfo, boxes[0], boxes[2],
                                    boxes[1], boxes[3]);
  };
  EXPECT_EQ(choice(), kChoiceFullYearResident) << "missing copy";
  const ResidencyChoice expected[] = {kChoiceFullYearResident, kChoicePartYearResident, kChoiceNonresident,
                                      kChoicePartYearAllocated};
  for (int i = 0; i < 4; ++i) {  // each box marked beside the earlier ones
    mark(kFormID_PAReturnInfo, boxes[i]);
    EXPECT_EQ(choice(), expected[i]);
  }
}

// A range is inclusive, an open bound runs to the end, clearForm clears
// the whole copy asked for only.
TEST_F(FieldRoutinesTest, ClearFormFieldsAndClearForm) {
  for (const FieldId& field : {PA40::kFirstField, PA40::kPaymentsSummaryTopicField, PA40::kRefundTopicField,
                               PA40::kInterviewItemA, PA40::kInterviewItemB, PA40::kTrailingItemTwo}) {
    number(kFormID_PA40, field, 1);
  }
  number(kFormID_PA40, PA40::kTrailingItemTwo, 1, 2);
  engine->clearFormFields(kFormID_PA40, 1, PA40::kRefundTopicField, PA40::kInterviewItemA);
  EXPECT_EQ(nulls(kFormID_PA40, {PA40::kPaymentsSummaryTopicField, PA40::kRefundTopicField,
                                 PA40::kInterviewItemA, PA40::kInterviewItemB}),
            (std::vector<bool>{false, true, true, false}));
  engine->clearFormFields(kFormID_PA40, 1, Primitives::kNullFieldID, PA40::kFirstField);
  engine->clearFormFields(kFormID_PA40, 1, PA40::kTrailingItemTwo, Primitives::kNullFieldID);
  EXPECT_EQ(nulls(kFormID_PA40, {PA40::kFirstField, PA40::kInterviewItemB, PA40::kTrailingItemTwo}),
            (std::vector<bool>{true, false, true}));
  engine->clearForm(kFormID_PA40, 1);
  EXPECT_TRUE(isNull(kFormID_PA40, PA40::kInterviewItemB));
  EXPECT_FALSE(isNull(kFormID_PA40, PA40::kTrailingItemTwo, 2));
}

TEST_F(FieldRoutinesTest, AssignIndexedTextFillsTheSecondBlockForJointChoicesOnly) {
  useInformationFormLines();
  for (short code = 1; code <= 10; ++code)
    text(kFormID_PAReturnInfo, line(code), "line" + std::to_string(code));
  auto target = [](int k) -> const FieldId& {
    return k < 5 ? FederalReturnType::kTaxpayerLine.at(k) : FederalReturnType::kSpouseLine.at(k - 5);
  };
  auto assign = [&](uint16_t filingChoice, int upper) {
    engine->assignIndexedText(holder(kFormID_State15), kFormID_PAReturnInfo, filingChoice, target(0),
                              target(1), target(2), target(3), target(4), target(5), target(6), target(7),
                              target(8), target(9), Primitives::kNullFieldID, upper);
  };
  for (uint16_t choice : {0, 2}) {
    assign(choice, 0);
    for (int k = 0; k < 10; ++k)
      EXPECT_EQ(textOf(kFormID_State15, target(k)), "line" + std::to_string(k + 1));
  }
  assign(1, 1);
  EXPECT_EQ(textOf(kFormID_State15, target(0)), "LINE1");
  for (int k = 5; k < 10; ++k) EXPECT_TRUE(isNull(kFormID_State15, target(k))) << k;
}

TEST_F(FieldRoutinesTest, FormatApartment) {
  useInformationFormLines();
  const std::string longest(127, 'x');
  const std::string s24(24, 's');
  const std::string s25(25, 's');
  // Street and apartment shorter than 31 together keep the blank after
  // "Apt"; the buffer holds the longest texts.
  const std::string cases[][3] = {{"10 Main St", "", "10 Main St"},
                                  {"", "4B", "Apartment 4B"},
                                  {"0123456789", "12", "0123456789 Apt 12"},
                                  {s25, "123456", s25 + " Apt123456"},
                                  {s24, "123456", s24 + " Apt 123456"},
                                  {"", "", ""},
                                  {longest, longest, longest + " Apt" + longest}};
  char out[StateCalculationMgmt::StateTaxReturnCalcEngine::kApartmentTextSize];
  for (const auto& c : cases) {
    text(kFormID_PAReturnInfo, PAReturnInfo::kStreet, c[0]);
    text(kFormID_PAReturnInfo, PAReturnInfo::kApartment, c[1]);
    EXPECT_EQ(std::string(engine->formatApartment(out, kFormID_PAReturnInfo, 0)), c[2]);
  }
  text(kFormID_PAReturnInfo, PAReturnInfo::kStreet, "10 Main St");
  text(kFormID_PAReturnInfo, PAReturnInfo::kApartment, "b");
  EXPECT_STREQ(engine->formatApartment(out, kFormID_PAReturnInfo, 1), "10 MAIN ST APT B");
}

}  // namespace
