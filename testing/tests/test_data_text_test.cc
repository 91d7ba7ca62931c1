// The text test-data reader: line parsing, copy ranges, and how a text
// becomes a box, a text or a scaled number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "entry/pa_tax_return.h"
#include "entry/return_codes.h"
#include "host/descriptors.h"
#include "host/io.h"
#include "host/printer.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

using DataMgmt::FieldValue;
typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

// A small state-side form "PA40" whose fields have readable names and
// every edit code the reader knows: kFirstCodeField + code is a number of
// that edit code.
const FormId kForm(169, true);
const FieldId kLine1(1), kAmount(2), kName(4), kBox(5), kYesNo(6);
const int kFirstCodeField = 100;

DataMgmt::TaxReturnDescPtr testDescription() {
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kForm, "PA40", "PA-40"));
  auto add = [&](int id, DataMgmt::FieldKind kind, unsigned char code, const std::string& name) {
    form->addField(DataMgmt::FormFieldDescPtr(
        new DataMgmt::FormFieldDesc(FieldId(id), kind, 15, code, false, "kPA40_" + name, name)));
  };
  add(1, DataMgmt::kNumberField, 0, "Line1");
  add(2, DataMgmt::kNumberField, 72, "Amount");  // hundredths
  add(4, DataMgmt::kTextField, 0, "Name");
  add(5, DataMgmt::kCheckBoxField, 0, "Box");
  add(6, DataMgmt::kYesNoField, 1, "YesNo");
  for (int code = 1; code <= 200; ++code) {
    add(kFirstCodeField + code, DataMgmt::kNumberField, static_cast<unsigned char>(code), "Code" + std::to_string(code));
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
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()));
    engine.reset(new PACalculationMgmt::PATaxReturnCalcEngine(us(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
    EXPECT_EQ(IOMgmt::IOMgr::getInstance().liveReaders(), 0);
    std::remove(path.c_str());
  }
  DataMgmt::USTaxReturn* us() { return static_cast<DataMgmt::USTaxReturn*>(federal.get()); }

  // Writes `text` to a file and loads it into `into` (the test return unless given).
  void load(const std::string& text, DataMgmt::TaxReturn* into = nullptr) {
    path = ::testing::TempDir() + "test_data_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(path) << text;
    engine->loadInputTextFile(path, into != nullptr ? into : test.get());
  }
  void assign(const FieldId& field, const std::string& value, uint16_t copy = 1) {
    engine->assignFieldFromText(kForm, copy, field, value, test.get(), false);
  }
  const FieldValue& stored(const FieldId& field, uint16_t copy = 1) {
    static const FieldValue kMissing;
    DataMgmt::TaxForm* form = test->getForm(kForm, copy);
    return form != nullptr ? form->stored(field) : kMissing;
  }
  // The sample return with the federal figures pahost adds to it.
  void loadSample() {
    engine->loadInputTextFile(PA_SAMPLE_RETURN, federal.get());
    engine->loadInputTextFile(PA_SAMPLE_RETURN, pa.get());
    us()->setCommonItem(1, PADataMgmt::kFilingJoint);
    us()->setStateWages(52000, 38500);
    us()->setAllStateWages(52000, 38500);
    us()->setStateTaxWithheldNoLocal(2778.35);
  }
  double pa40(const FieldId& field) { return pa->getIR(kFormID_PA40, 1, field); }

  DataMgmt::TaxReturnPtr federal;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PACalculationMgmt::PATaxReturnCalcEngine> engine;
  std::unique_ptr<DataMgmt::TaxReturn> test;
  std::string path;
};

TEST_F(TestDataTextTest, LinesNameTheirFormInAnyCaseAndTheFieldExactly) {
  load("pa40::1::Line1::100\nPA40:1:Name:10:30\nPA40:1:line1:300\n\nPA40:1:Line1\nPA99:1:Line1:5\n#x\n");
  EXPECT_EQ(stored(kLine1).number, 100);  // a run of colons is one; kPA40_line1 is no field
  EXPECT_EQ(stored(kName).text, "10");     // a value is cut at the next colon
  EXPECT_EQ(test->getMaxCopies(kForm), 1);
  engine->loadInputTextFile(::testing::TempDir() + "no-such-test-data.txt", test.get());  // changes nothing
  // Each return takes only its own forms.
  const std::string text = "FedW2:1:F21:52000.00\nPAReturnInfo:1:F46:X\n";
  load(text, federal.get());
  load(text, pa.get());
  EXPECT_EQ(federal->getIR(kFormID_FedW2, 1, FedW2::kWages), 5200000);  // hundredths
  EXPECT_TRUE(pa->getForm(kFormID_PAReturnInfo, 1)->xMarked(PAReturnInfo::kFullYearResidentBox));
  EXPECT_EQ(pa->getMaxCopies(kFormID_FedW2) + federal->getMaxCopies(kFormID_PAReturnInfo), 0);
}

TEST_F(TestDataTextTest, CopyNumbersAndRangesNeverWrap) {
  load("PA40:3+:Line1:7\nPA40:0+:Line1:8\nPA40:0:Line1:8\n");
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  for (uint16_t copy = 1; copy <= 3; ++copy) EXPECT_EQ(stored(kLine1, copy).number, 7) << copy;
  test->getTaxFormDescriptor(kForm)->setMaxCopies(3);
  load("PA40:65537:Line1:1\nPA40:70000+:Line1:2\nPA40:4+:Line1:2\n");  // past the limit: left out
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  EXPECT_EQ(stored(kLine1, 1).number, 7);
}

TEST_F(TestDataTextTest, BoxesTextsAndEmptyValues) {
  const struct {
    const FieldId* field;
    const char* value;
    FieldValue::Kind kind;
  } boxes[] = {{&kBox, "X", FieldValue::kMark},   {&kBox, "untrue", FieldValue::kNull}, {&kBox, "No", FieldValue::kMark},
               {&kYesNo, "no", FieldValue::kMark}, {&kBox, "[NO]", FieldValue::kNo},     {&kYesNo, "[no]", FieldValue::kNo}};
  for (const auto& b : boxes) {
    assign(*b.field, b.value);
    EXPECT_EQ(stored(*b.field).kind, b.kind) << b.value;
  }
  assign(kBox, "UNTRUE", 2);  // does not mark the copy as entered
  EXPECT_FALSE(test->getForm(kForm, 2)->isDataEntered());
  assign(kName, "Employer [CopyNum] Inc", 2);
  EXPECT_EQ(stored(kName, 2).text, "Employer 2");
  assign(kLine1, "abc");  // text that is no number gives 0
  EXPECT_TRUE(stored(kLine1).kind == FieldValue::kNumber && stored(kLine1).number == 0);
  assign(kLine1, "");
  EXPECT_TRUE(stored(kLine1).kind == FieldValue::kNull && test->getForm(kForm, 1)->isDataEntered());
  assign(FieldId(3), "5");  // a field the form lacks is left alone
  EXPECT_EQ(stored(FieldId(3)).kind, FieldValue::kNull);
}

// Up to ten billion (10^12 cents) is stored; beyond, the line changes
// nothing: no value, no copy, no data-entered mark.
TEST_F(TestDataTextTest, AmountsBeyondTheHostsBoundAreRefused) {
  const struct {
    const FieldId* field;
    const char* value;
    double stored;  // 0: refused
  } cases[] = {
      {&kLine1, "10000000000", 1e10}, {&kLine1, "-10000000000", -1e10}, {&kAmount, "10000000000.00", 1e12},
      {&kLine1, "10000000000.01", 0}, {&kAmount, "-1.0000001e10", 0},   {&kLine1, "1e999", 0},
      {&kLine1, "nan", 0},            {&kAmount, "RAND(10000000001)", 0},
  };
  uint16_t copy = 1;
  for (const auto& c : cases) {
    assign(*c.field, c.value, ++copy);
    if (c.stored == 0) {
      EXPECT_EQ(test->getForm(kForm, copy), nullptr) << c.value;
    } else {
      EXPECT_EQ(stored(*c.field, copy).number, c.stored) << c.value;
    }
  }
  assign(kLine1, "12");
  assign(kLine1, "-2e10");
  EXPECT_EQ(stored(kLine1).number, 12);
}

TEST_F(TestDataTextTest, EditCodesScaleTheNumberAndRandStaysWithinTheBound) {
  // Rounded first, then scaled; scaled as read; not in the table: as read.
  for (auto c : {std::make_pair(70, 1300.0), std::make_pair(72, 1250.0), std::make_pair(76, 12500000.0),
                 std::make_pair(69, 12.5)}) {
    assign(FieldId(kFirstCodeField + c.first), "12.5");
    EXPECT_DOUBLE_EQ(stored(FieldId(kFirstCodeField + c.first)).number, c.second) << "edit code " << c.first;
  }
  std::srand(1);
  double lowest = 1e300, highest = -1;
  for (int i = 0; i < 2000; ++i) {
    assign(kAmount, "RAND(500)");
    ASSERT_TRUE(stored(kAmount).number >= 0 && stored(kAmount).number <= 50000);
    lowest = std::min(lowest, stored(kAmount).number);
    highest = std::max(highest, stored(kAmount).number);
  }
  EXPECT_TRUE(lowest < 5000 && highest > 45000);  // the draws spread over the range
  assign(kAmount, "RAND(2.9)");  // the bound is truncated to 2
  EXPECT_LE(stored(kAmount).number, 200);
}

// The largest amounts the loader takes, on wages, interest and dividends,
// calculate exactly; larger ones are refused rather than overflowing the
// sums (under the sanitizers, an overflow stops the test).
TEST_F(TestDataTextTest, TheSampleWithHugeAmountsCalculatesExactly) {
  loadSample();
  load("FEDW2:2+:F21:10000000000\nFEDW2:2+:F33:10000000000\nFED166:2+:F10:10000000000\n"
       "FED164:1:F6:10000000000\nFEDW2:1:F21:1e15\nFEDW2:2:F33:-2e16\nFED166:1:F10:9e18\nFED164:1:F6:1e300\n",
       federal.get());
  us()->setStateWages(1e10, 1e10);
  us()->setAllStateWages(1e10, 1e10);
  engine->calcReturn(0);
  EXPECT_EQ(pa40(PA40::kNetCompensation), 2e10);
  EXPECT_EQ(pa40(PA40::kInterestIncome), 2e10);
  EXPECT_EQ(pa40(PA40::kDividendIncome), 1e10);
  EXPECT_EQ(pa40(PA40::kTotalTaxableIncome), 5e10);
  EXPECT_EQ(pa40(PA40::kTaxLiability), 1535000000);  // 3.07 %
  EXPECT_EQ(pa40(PA40::kTotalPayment), 1534997222);  // owed after the 2,778.35 withheld
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
    for (DataMgmt::TaxReturn* ret : {federal.get(), static_cast<DataMgmt::TaxReturn*>(pa.get())}) {
      for (const DataMgmt::TaxFormDescPtr& form : ret->getTaxReturnDesc()->getTaxFormDescriptors()) {
        for (const FieldId& id : form->fieldIds()) {
          const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(id);
          const std::string value = field->isText() ? "Text 12" : field->isBoolean() ? "X" : v.amount;
          if (v.boxes || !field->isBoolean()) engine->assignFieldFromText(form->getTypeID(), 1, id, value, ret, false);
        }
      }
    }
    engine->calcReturn(0);
    EXPECT_EQ(StandIn::diagnostics().textIntoOtherFields, 0) << v.amount;
  }
}

}  // namespace
