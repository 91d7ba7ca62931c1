// The text test-data reader: line parsing, copy ranges, and how a text
// becomes a box, a text or a scaled number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/pa_tax_return.h"
#include "host/descriptors.h"
#include "host/io.h"
#include "host/printer.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

using DataMgmt::FieldValue;
using DataMgmt::FormFieldDesc;
using DataMgmt::FormFieldDescPtr;
typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

const FormId kForm(169, true);
const FieldId kLine1(1);    // a number whose edit code is not in the scaling table
const FieldId kAmount(2);   // hundredths (edit code 72)
const FieldId kName(4);     // a text
const FieldId kBox(5);      // a check box
const FieldId kYesNo(6);    // a yes/no answer (edit code 1)
const int kFirstCodeField = 100;  // kFirstCodeField + code: a number with that edit code

// A small state-side description with one form, "PA40", whose fields have
// readable names and every edit code the reader knows.
DataMgmt::TaxReturnDescPtr testDescription() {
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kForm, "PA40", "PA-40"));
  auto add = [&](int id, DataMgmt::FieldKind kind, unsigned char code, const std::string& name) {
    form->addField(FormFieldDescPtr(
        new FormFieldDesc(FieldId(id), kind, 15, code, false, "kPA40_" + name, name)));
  };
  add(1, DataMgmt::kNumberField, 0, "Line1");
  add(2, DataMgmt::kNumberField, 72, "Amount");
  add(4, DataMgmt::kTextField, 0, "Name");
  add(5, DataMgmt::kCheckBoxField, 0, "Box");
  add(6, DataMgmt::kYesNoField, 1, "YesNo");
  for (int code = 1; code <= 200; ++code) {
    add(kFirstCodeField + code, DataMgmt::kNumberField, static_cast<unsigned char>(code),
        "Code" + std::to_string(code));
  }
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "Test", "", "Test"));
  desc->registerForm(form);
  return desc;
}

class TestDataTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new PACalculationMgmt::PATaxReturnCalcEngine(
        federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
    test.reset(new DataMgmt::TaxReturn(testDescription(), Utils::StringPool::shared()));
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
    EXPECT_EQ(IOMgmt::IOMgr::getInstance().liveReaders(), 0);
    std::remove(path.c_str());
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }

  // Writes `text` to a file and loads it into `into` (the test return
  // unless given).
  void load(const std::string& text, DataMgmt::TaxReturn* into = nullptr) {
    path = ::testing::TempDir() + "test_data_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::ofstream(path) << text;
    engine->loadInputTextFile(path, into != nullptr ? into : test.get());
  }
  void assign(const FieldId& field, const std::string& value, uint16_t copy = 1,
              bool onlyWithData = false) {
    engine->assignFieldFromText(kForm, copy, field, value, test.get(), onlyWithData);
  }
  const FieldValue& stored(const FieldId& field, uint16_t copy = 1) {
    static const FieldValue kMissing;
    DataMgmt::TaxForm* form = test->getForm(kForm, copy);
    return form != nullptr ? form->stored(field) : kMissing;
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PACalculationMgmt::PATaxReturnCalcEngine> engine;
  std::unique_ptr<DataMgmt::TaxReturn> test;
  std::string path;
};

// ---- Lines ----

TEST_F(TestDataTextTest, FormNamesInAnyCaseAddressTheSameField) {
  load("pa40::1::Line1::100\n");
  EXPECT_EQ(stored(kLine1).number, 100);
  load("PA40:1:Line1:200\n");
  EXPECT_EQ(stored(kLine1).number, 200);
  // The field name keeps its case: kPA40_line1 is no field.
  load("PA40:1:line1:300\n");
  EXPECT_EQ(stored(kLine1).number, 200);
}

TEST_F(TestDataTextTest, CopyPlusSetsEveryCopyUpToTheNumber) {
  load("PA40:3+:Line1:7\n");
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  for (uint16_t copy = 1; copy <= 3; ++copy) EXPECT_EQ(stored(kLine1, copy).number, 7) << copy;
}

TEST_F(TestDataTextTest, CopyZeroPlusSetsNothing) {
  load("PA40:0+:Line1:7\nPA40:0:Line1:7\n");
  EXPECT_EQ(test->getMaxCopies(kForm), 0);
}

TEST_F(TestDataTextTest, CopyNumbersBeyondTheLimitNeverWrap) {
  test->getTaxFormDescriptor(kForm)->setMaxCopies(3);
  load("PA40:65537:Line1:1\nPA40:70000+:Line1:2\n");
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  EXPECT_TRUE(stored(kLine1, 1).kind == FieldValue::kNumber);
  EXPECT_EQ(stored(kLine1, 1).number, 2);
}

TEST_F(TestDataTextTest, AValueIsCutAtTheNextColon) {
  load("PA40:1:Line1:10:30\nPA40:1:Name:10:30\n");
  EXPECT_EQ(stored(kLine1).number, 10);
  EXPECT_EQ(stored(kName).text, "10");
}

TEST_F(TestDataTextTest, UnknownAndShortLinesAreSkipped) {
  load("\nPA40:1:Line1\nPA99:1:Line1:5\nPA40:1:NoSuchField:5\n#comment\n");
  EXPECT_EQ(test->getMaxCopies(kForm), 0);
}

TEST_F(TestDataTextTest, AMissingFileChangesNothing) {
  engine->loadInputTextFile(::testing::TempDir() + "no-such-test-data.txt", test.get());
  EXPECT_EQ(test->getMaxCopies(kForm), 0);
}

TEST_F(TestDataTextTest, EachReturnTakesOnlyItsOwnForms) {
  const std::string text = "FedW2:1:F21:52000.00\nPAReturnInfo:1:F46:X\n";
  load(text, federalPtr.get());
  load(text, pa.get());
  EXPECT_EQ(federalPtr->getIR(kFormID_FedW2, 1, FieldId(21)), 5200000);  // hundredths
  EXPECT_TRUE(pa->getForm(kFormID_PAReturnInfo, 1)->xMarked(FieldId(46)));
  EXPECT_EQ(pa->getMaxCopies(kFormID_FedW2), 0);
  EXPECT_EQ(federalPtr->getMaxCopies(kFormID_PAReturnInfo), 0);
}

// ---- Values ----

TEST_F(TestDataTextTest, UntrueClearsABoxAndAnyOtherTextMarksIt) {
  assign(kBox, "X");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kMark);
  assign(kBox, "untrue");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kNull);
  assign(kBox, "No");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kMark);
  assign(kYesNo, "no");
  EXPECT_EQ(stored(kYesNo).kind, FieldValue::kMark);
}

TEST_F(TestDataTextTest, UntrueDoesNotMarkTheCopyAsEntered) {
  assign(kBox, "UNTRUE");
  ASSERT_NE(test->getForm(kForm, 1), nullptr);
  EXPECT_FALSE(test->getForm(kForm, 1)->isDataEntered());
  assign(kBox, "X");
  EXPECT_TRUE(test->getForm(kForm, 1)->isDataEntered());
}

TEST_F(TestDataTextTest, CopyNumReplacesTheMarkerAndTheRest) {
  assign(kName, "Employer [CopyNum] Inc", 2);
  EXPECT_EQ(stored(kName, 2).text, "Employer 2");
}

TEST_F(TestDataTextTest, AnEmptyValueClearsTheField) {
  assign(kLine1, "5");
  assign(kLine1, "");
  EXPECT_EQ(stored(kLine1).kind, FieldValue::kNull);
  EXPECT_TRUE(test->getForm(kForm, 1)->isDataEntered());
}

TEST_F(TestDataTextTest, TextThatIsNoNumberGivesZero) {
  assign(kLine1, "abc");
  EXPECT_EQ(stored(kLine1).kind, FieldValue::kNumber);
  EXPECT_EQ(stored(kLine1).number, 0);
  assign(kLine1, "1e999");
  EXPECT_EQ(stored(kLine1).number, 0);
}

TEST_F(TestDataTextTest, EditCodesScaleTheNumber) {
  struct Case {
    int code;
    double stored;
  };
  const Case cases[] = {
      {70, 1300},  {170, 1300}, {172, 1300}, {71, 125},     {72, 1250},     {77, 1250},
      {73, 12500}, {74, 125000}, {78, 125000}, {79, 125000}, {75, 1250000}, {76, 12500000},
      {1, 12.5},   {80, 12.5},  {69, 12.5}, {200, 12.5},
  };
  for (const Case& c : cases) {
    const FieldId field(kFirstCodeField + c.code);
    assign(field, "12.5");
    EXPECT_DOUBLE_EQ(stored(field).number, c.stored) << "edit code " << c.code;
  }
  assign(kLine1, "12.5");  // edit code 0
  EXPECT_EQ(stored(kLine1).number, 12.5);
}

TEST_F(TestDataTextTest, RandStaysWithinTheScaledBound) {
  std::srand(1);
  double lowest = 1e300, highest = -1;
  for (int i = 0; i < 2000; ++i) {
    assign(kAmount, "RAND(500)");
    const double amount = stored(kAmount).number;
    ASSERT_GE(amount, 0);
    ASSERT_LE(amount, 50000);
    lowest = std::min(lowest, amount);
    highest = std::max(highest, amount);
  }
  EXPECT_LT(lowest, 5000);  // the draws spread over the range
  EXPECT_GT(highest, 45000);
  assign(kAmount, "RAND(2.9)");  // the bound is truncated to 2
  EXPECT_LE(stored(kAmount).number, 200);
}

TEST_F(TestDataTextTest, OnlyWithDataChangesOnlyFieldsHoldingData) {
  assign(kLine1, "5", 1, true);  // no copy yet: nothing is created
  EXPECT_EQ(test->getMaxCopies(kForm), 0);
  test->getFormOrCreate(kForm, 1)->store(kLine1, FieldValue::of(0));
  assign(kLine1, "5", 1, true);
  assign(kLine1, "", 1, true);
  EXPECT_EQ(stored(kLine1).kind, FieldValue::kNumber);
  EXPECT_EQ(stored(kLine1).number, 0);

  test->getFormOrCreate(kForm, 1)->store(kLine1, FieldValue::of(7));
  assign(kLine1, "5", 1, true);
  EXPECT_EQ(stored(kLine1).number, 5);
  assign(kLine1, "", 1, true);
  EXPECT_EQ(stored(kLine1).kind, FieldValue::kNull);
}

TEST_F(TestDataTextTest, AFieldTheFormLacksIsLeftAlone) {
  assign(FieldId(3), "5");
  EXPECT_EQ(stored(FieldId(3)).kind, FieldValue::kNull);
}

}  // namespace
