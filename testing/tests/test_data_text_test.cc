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
    freshReturns();
    test.reset(new DataMgmt::TaxReturn(testDescription(), Utils::StringPool::shared()));
  }
  // A new federal and PA return and the PA engine over them.
  void freshReturns() {
    engine.reset();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new PACalculationMgmt::PATaxReturnCalcEngine(
        federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
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
  // The sample return with the federal figures pahost adds to it.
  void loadSample() {
    engine->loadInputTextFile(PA_SAMPLE_RETURN, federalPtr.get());
    engine->loadInputTextFile(PA_SAMPLE_RETURN, pa.get());
    federal()->setCommonItem(1, 2);  // joint
    federal()->setStateWages(52000, 38500);
    federal()->setAllStateWages(52000, 38500);
    federal()->setStateTaxWithheldNoLocal(2778.35);
  }
  // Copy 1 of every form of both returns, every field through the loader:
  // numbers at `amount`, texts, and with `boxes` every box marked.
  void fillEveryField(const std::string& amount, bool boxes) {
    DataMgmt::TaxReturn* paReturn = pa.get();
    for (DataMgmt::TaxReturn* ret : {federalPtr.get(), paReturn}) {
      for (const DataMgmt::TaxFormDescPtr& form :
           ret->getTaxReturnDesc()->getTaxFormDescriptors()) {
        for (const FieldId& id : form->fieldIds()) {
          const FormFieldDescPtr field = form->getFieldDesc(id);
          const std::string value = field->isText() ? "Text 12" : field->isBoolean() ? "X" : amount;
          if (boxes || !field->isBoolean()) {
            engine->assignFieldFromText(form->getTypeID(), 1, id, value, ret, false);
          }
        }
      }
    }
  }
  double pa40(int field) { return pa->getIR(kFormID_PA40, 1, FieldId(field)); }

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

TEST_F(TestDataTextTest, UntrueClearsABoxBracketedNoStoresNoAndAnyOtherTextMarksIt) {
  assign(kBox, "X");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kMark);
  assign(kBox, "untrue");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kNull);
  assign(kBox, "No");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kMark);
  assign(kYesNo, "no");
  EXPECT_EQ(stored(kYesNo).kind, FieldValue::kMark);
  assign(kBox, "[NO]");
  EXPECT_EQ(stored(kBox).kind, FieldValue::kNo);
  assign(kYesNo, "[no]");
  EXPECT_EQ(stored(kYesNo).kind, FieldValue::kNo);
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
}

// Up to ten billion (10^12 cents) is stored; beyond, the line changes
// nothing: no value, no copy, no data-entered mark.
TEST_F(TestDataTextTest, AmountsBeyondTheHostsBoundAreRefused) {
  struct Case {
    const FieldId* field;
    const char* value;
    double stored;  // 0: refused
  };
  const Case cases[] = {
      {&kLine1, "10000000000", 1e10},     {&kLine1, "-10000000000", -1e10},
      {&kAmount, "10000000000.00", 1e12}, {&kLine1, "10000000000.01", 0},
      {&kAmount, "-1.0000001e10", 0},     {&kLine1, "1e999", 0},
      {&kLine1, "nan", 0},                {&kAmount, "RAND(10000000001)", 0},
  };
  uint16_t copy = 1;
  for (const Case& c : cases) {
    assign(*c.field, c.value, ++copy);
    DataMgmt::TaxForm* form = test->getForm(kForm, copy);
    if (c.stored == 0) {
      EXPECT_EQ(form, nullptr) << c.value;
    } else {
      EXPECT_EQ(stored(*c.field, copy).number, c.stored) << c.value;
    }
  }
  assign(kLine1, "12");
  assign(kLine1, "-2e10");
  EXPECT_EQ(stored(kLine1).number, 12);
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

// ---- Whole returns ----

// The largest amounts the loader takes, on wages, interest and dividends,
// calculate exactly; larger ones are refused rather than overflowing the
// sums (under the sanitizers, an overflow stops the test).
TEST_F(TestDataTextTest, TheSampleWithHugeAmountsCalculatesExactly) {
  loadSample();
  load("FEDW2:2+:F21:10000000000\nFEDW2:2+:F33:10000000000\nFED166:2+:F10:10000000000\n"
       "FED164:1:F6:10000000000\nFEDW2:1:F21:1e15\nFEDW2:2:F33:-2e16\nFED166:1:F10:9e18\n"
       "FED164:1:F6:1e300\n",
       federalPtr.get());
  federal()->setStateWages(1e10, 1e10);
  federal()->setAllStateWages(1e10, 1e10);
  engine->calcReturn(0);
  EXPECT_EQ(pa40(139), 2e10);  // compensation
  EXPECT_EQ(pa40(140), 2e10);  // interest
  EXPECT_EQ(pa40(141), 1e10);  // dividends
  EXPECT_EQ(pa40(170), 5e10);  // total PA taxable income
  EXPECT_EQ(pa40(173), 1535000000);  // 3.07 %
  EXPECT_EQ(pa40(268), 1534997222);  // owed after the 2,778.35 withheld
}

// Rich returns (every field of every form filled, with the largest amounts
// of either sign) calculate without overflow, and every text the module
// writes lands in a text field of the host's kind table.
TEST_F(TestDataTextTest, RichReturnsWriteTextsOnlyIntoTextFields) {
  const struct {
    const char* amount;
    bool boxes;
  } variants[] = {{"1250.5", true}, {"10000000000", true}, {"-10000000000", false}};
  for (const auto& v : variants) {
    StandIn::resetAll();
    freshReturns();
    loadSample();
    fillEveryField(v.amount, v.boxes);
    engine->calcReturn(0);
    EXPECT_EQ(StandIn::diagnostics().textIntoOtherFields, 0) << v.amount;
  }
}

}  // namespace
