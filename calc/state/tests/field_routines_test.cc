// The field routines: scaled stores, default and clamp, the installment
// split, the residency choice, clears and the line texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/descriptors.h"

namespace {

using StateCalculationMgmt::InstallmentTable;

class FieldRoutinesTest : public StateEngineTest {};

// ---- copyNumberField ----

TEST_F(FieldRoutinesTest, CopyNumberFieldStoresScaledAndGivesBackWhatWasStored) {
  const FieldId& field = kPA40FieldIds[10];
  copyOf(kFormID_PA40);
  struct Case {
    double value;
    int places;
    double stored;
    double givenBack;
  };
  const Case cases[] = {
      {0.5, 2, 50, 0.5},            // a fraction capped at 1, in hundredths
      {0.1234564, 6, 123456.4, 0.123456},  // ratios keep six places
      {12.0, 7, 12, 12},            // above 6: unscaled
      {12.0, -1, 12, 12},           // negative: unscaled
      {2.6, 0, 2.6, 3},             // whole amounts: the rounded read comes back
  };
  for (const Case& c : cases) {
    double value = c.value;
    engine->copyNumberField(kFormID_PA40, 1, field, value, static_cast<int8_t>(c.places));
    EXPECT_NEAR(pa->getIR(kFormID_PA40, 1, field), c.stored, 1e-6) << "places " << c.places;
    EXPECT_DOUBLE_EQ(value, c.givenBack) << "places " << c.places;
  }
}

TEST_F(FieldRoutinesTest, CopyNumberFieldOnAMissingCopyGivesBack0) {
  double value = 7.5;
  engine->copyNumberField(kFormID_PA40, 3, kPA40FieldIds[10], value, 2);
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 3));
}

// ---- defaultAndClampNumberField ----

TEST_F(FieldRoutinesTest, DefaultAndClampWithDefault3Low1High3) {
  const FieldId& field = kPAEstimatedTaxWorksheetFieldIds[5];
  struct Case {
    bool isNull;
    double value;
    double expected;
  };
  const Case cases[] = {{true, 0, 3}, {false, 0, 1}, {false, 5, 3}, {false, 2, 2}, {false, 3.4, 3.4}};
  for (const Case& c : cases) {
    put(kFormID_PAEstimatedTaxWorksheet, field,
        c.isNull ? DataMgmt::FieldValue::null() : DataMgmt::FieldValue::of(c.value));
    engine->defaultAndClampNumberField(kFormID_PAEstimatedTaxWorksheet, 1, field, 3, 1, 3);
    EXPECT_DOUBLE_EQ(pa->getIR(kFormID_PAEstimatedTaxWorksheet, 1, field), c.expected)
        << (c.isNull ? std::string("null") : std::to_string(c.value));
  }
}

// ---- allocateInstallments ----

class InstallmentsTest : public FieldRoutinesTest {
 protected:
  // Marks 1-4 and the override mark on copy 1 of the worksheet.
  const FieldId& markField(int k) { return kPAEstimatedTaxWorksheetFieldIds[10 + k]; }
  const FieldId& overrideMark() { return kPAEstimatedTaxWorksheetFieldIds[20]; }

  void allocate(double amount, double credit, double threshold, uint16_t overrideCount = 0,
                double overrideAmount = 0) {
    copyOf(kFormID_PAEstimatedTaxWorksheet);
    engine->allocateInstallments(kFormID_PAEstimatedTaxWorksheet, markField(1), markField(2), markField(3),
                                 markField(4), count, amount, credit, threshold, table,
                                 kFormID_PAEstimatedTaxWorksheet, overrideMark(), overrideCount,
                                 overrideAmount);
  }
  void clearMarks() {
    for (int k = 1; k <= 4; ++k) put(kFormID_PAEstimatedTaxWorksheet, markField(k), DataMgmt::FieldValue::null());
  }
  std::vector<double> column(int col) const {
    return {table[0][col], table[1][col], table[2][col], table[3][col]};
  }

  uint16_t count = 99;
  InstallmentTable table = {{7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}};
};

TEST_F(InstallmentsTest, FourQuartersOf1003WithCredit600) {
  mark(kFormID_PAEstimatedTaxWorksheet, markField(1));
  allocate(1003, 600, 0);
  EXPECT_EQ(count, 4);
  using V = std::vector<double>;
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{250, 251, 251, 251}));
  EXPECT_EQ(column(StateCalculationMgmt::kCreditApplied), (V{250, 251, 99, 0}));
  EXPECT_EQ(column(StateCalculationMgmt::kNetInstallment), (V{0, 0, 152, 251}));
  EXPECT_EQ(column(StateCalculationMgmt::kAmountRemaining), (V{753, 502, 251, 0}));
  EXPECT_EQ(column(StateCalculationMgmt::kCreditRemaining), (V{350, 99, 0, 0}));
}

TEST_F(InstallmentsTest, TheMarksChooseTheCountAndTheEarlyRowsStay0) {
  struct Case {
    int markK;  // 0: none marked
    uint16_t count;
  };
  const Case cases[] = {{0, 4}, {1, 4}, {2, 3}, {3, 2}, {4, 1}};
  for (const Case& c : cases) {
    clearMarks();
    if (c.markK != 0) mark(kFormID_PAEstimatedTaxWorksheet, markField(c.markK));
    allocate(1200, 0, 0);
    EXPECT_EQ(count, c.count) << "mark " << c.markK;
    const int first = 4 - c.count;
    for (int row = 0; row < 4; ++row) {
      EXPECT_EQ(table[row][StateCalculationMgmt::kInstallment], row < first ? 0 : 1200 / c.count)
          << "mark " << c.markK << " row " << row;
    }
  }
}

TEST_F(InstallmentsTest, BelowTheThresholdTheTableIs0AndTheCountUnwritten) {
  allocate(1000, 600, 500);
  EXPECT_EQ(count, 99);
  for (int col = 0; col < 5; ++col) EXPECT_EQ(column(col), (std::vector<double>{0, 0, 0, 0}));
}

TEST_F(InstallmentsTest, AMissingCopyLeavesTheZeroedTable) {
  engine->allocateInstallments(kFormID_PAEstimatedTaxWorksheet, markField(1), markField(2), markField(3),
                               markField(4), count, 1000, 0, 0, table, kFormID_PAEstimatedTaxWorksheet,
                               overrideMark(), 2, 0);
  EXPECT_EQ(count, 99);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (std::vector<double>{0, 0, 0, 0}));
}

TEST_F(InstallmentsTest, TheOverrideReplacesAmountCreditThresholdAndCount) {
  mark(kFormID_PAEstimatedTaxWorksheet, overrideMark());
  allocate(1003, 600, 5000, 2, 301);
  EXPECT_EQ(count, 2);
  using V = std::vector<double>;
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (V{0, 0, 150, 151}));
  EXPECT_EQ(column(StateCalculationMgmt::kCreditApplied), (V{0, 0, 0, 0}));
  EXPECT_EQ(column(StateCalculationMgmt::kAmountRemaining), (V{0, 0, 151, 0}));
}

// An override count of 0 would divide by zero, one above 4 would fill
// rows before the first quarter: both are kept within 1..4.
TEST_F(InstallmentsTest, OverrideCountOutsideOneToFourIsClamped) {
  mark(kFormID_PAEstimatedTaxWorksheet, overrideMark());
  allocate(0, 0, 0, 0, 400);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (std::vector<double>{0, 0, 0, 400}));

  allocate(0, 0, 0, 9, 400);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(column(StateCalculationMgmt::kInstallment), (std::vector<double>{100, 100, 100, 100}));
}

// ---- readMarkedChoice ----

TEST_F(FieldRoutinesTest, ReadMarkedChoiceAnswersByTheFirstMarkedOfDBC) {
  const FieldId& a = kPAReturnInfoFieldIds[101];  // 46
  const FieldId& b = kPAReturnInfoFieldIds[102];  // 47
  const FieldId& c = kPAReturnInfoFieldIds[103];  // 48
  const FieldId& d = kPAReturnInfoFieldIds[27];   // 17
  auto choice = [&] {
    return engine->readMarkedChoice(DataMgmt::TaxFormPtr(), kFormID_PAReturnInfo, a, b, c, d);
  };
  EXPECT_EQ(choice(), 1) << "missing copy";
  mark(kFormID_PAReturnInfo, a);
  EXPECT_EQ(choice(), 1);
  mark(kFormID_PAReturnInfo, c);
  EXPECT_EQ(choice(), 2);
  mark(kFormID_PAReturnInfo, b);
  EXPECT_EQ(choice(), 3);
  mark(kFormID_PAReturnInfo, d);
  EXPECT_EQ(choice(), 4);
}

// ---- clearForm, clearFormFields ----

TEST_F(FieldRoutinesTest, ClearFormFieldsClearsTheRangeInclusive) {
  for (int k = 9; k <= 13; ++k) number(kFormID_PA40, kPA40FieldIds[k], k);
  engine->clearFormFields(kFormID_PA40, 1, kPA40FieldIds[10], kPA40FieldIds[12]);
  EXPECT_FALSE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[9]));
  for (int k = 10; k <= 12; ++k) EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[k])) << k;
  EXPECT_FALSE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[13]));
}

TEST_F(FieldRoutinesTest, ClearFormFieldsWithOpenBoundsRunsToTheEnds) {
  for (int k : {0, 5, 289, 290}) number(kFormID_PA40, kPA40FieldIds[k], 1);
  engine->clearFormFields(kFormID_PA40, 1, Primitives::kNullFieldID, kPA40FieldIds[5]);
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[0]));
  EXPECT_FALSE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[289]));
  engine->clearFormFields(kFormID_PA40, 1, kPA40FieldIds[289], Primitives::kNullFieldID);
  EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[290]));
}

TEST_F(FieldRoutinesTest, ClearFormClearsTheWholeCopyOnly) {
  for (int k : {0, 100, 290}) number(kFormID_PA40, kPA40FieldIds[k], 1);
  number(kFormID_PA40, kPA40FieldIds[100], 1, 2);
  engine->clearForm(kFormID_PA40, 1);
  for (int k : {0, 100, 290}) EXPECT_TRUE(pa->isNull(kFormID_PA40, 1, kPA40FieldIds[k])) << k;
  EXPECT_FALSE(pa->isNull(kFormID_PA40, 2, kPA40FieldIds[100]));
}

// ---- line texts: assignIndexedText, formatApartment ----

class LineTextsTest : public FieldRoutinesTest {
 protected:
  void SetUp() override {
    FieldRoutinesTest::SetUp();
    useInformationFormLines();
    for (short code = 1; code <= 10; ++code) {
      text(kFormID_PAReturnInfo, line(code), "line" + std::to_string(code));
    }
  }
  const FieldId& target(int k) { return kFederalReturnTypeFieldIds[k]; }
  void assign(uint16_t filingChoice, int upper) {
    engine->assignIndexedText(holder(kFormID_State15), kFormID_PAReturnInfo, filingChoice, target(0),
                              target(1), target(2), target(3), target(4), target(5), target(6), target(7),
                              target(8), target(9), Primitives::kNullFieldID, upper);
  }
};

TEST_F(LineTextsTest, AssignIndexedTextCopiesBothBlocksForJointChoices) {
  for (uint16_t choice : {0, 2}) {
    assign(choice, 0);
    for (int k = 0; k < 10; ++k) {
      EXPECT_EQ(textOf(kFormID_State15, target(k)), "line" + std::to_string(k + 1)) << choice;
    }
  }
}

TEST_F(LineTextsTest, AssignIndexedTextNullsTheSecondBlockForOtherChoices) {
  assign(2, 0);
  assign(1, 1);
  EXPECT_EQ(textOf(kFormID_State15, target(0)), "LINE1");
  for (int k = 5; k < 10; ++k) EXPECT_TRUE(pa->isNull(kFormID_State15, 1, target(k))) << k;
}

TEST_F(LineTextsTest, FormatApartment) {
  struct Case {
    std::string street, apartment, expected;
  };
  const std::string street25(25, 's');
  const Case cases[] = {
      {"10 Main St", "", "10 Main St"},
      {"", "4B", "Apartment 4B"},
      {"0123456789", "12", "0123456789 Apt 12"},            // 12 together: a blank
      {street25, "123456", street25 + " Apt123456"},        // 31 together: none
      {std::string(24, 's'), "123456", std::string(24, 's') + " Apt 123456"},  // 30
      {"", "", ""},
  };
  char out[StateCalculationMgmt::StateTaxReturnCalcEngine::kApartmentTextSize];
  for (const Case& c : cases) {
    text(kFormID_PAReturnInfo, line(11), c.street);
    text(kFormID_PAReturnInfo, line(12), c.apartment);
    EXPECT_EQ(std::string(engine->formatApartment(out, kFormID_PAReturnInfo, 0)), c.expected);
  }
  text(kFormID_PAReturnInfo, line(11), "10 Main St");
  text(kFormID_PAReturnInfo, line(12), "b");
  EXPECT_STREQ(engine->formatApartment(out, kFormID_PAReturnInfo, 1), "10 MAIN ST APT B");
}

TEST_F(LineTextsTest, FormatApartmentHoldsTheLongestTexts) {
  const std::string longest(127, 'x');
  text(kFormID_PAReturnInfo, line(11), longest);
  text(kFormID_PAReturnInfo, line(12), longest);
  char out[StateCalculationMgmt::StateTaxReturnCalcEngine::kApartmentTextSize];
  EXPECT_EQ(std::string(engine->formatApartment(out, kFormID_PAReturnInfo, 0)),
            longest + " Apt" + longest);
}

}  // namespace
