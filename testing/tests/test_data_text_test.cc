// The text test-data reader: line parsing, copy ranges, and how a text
// becomes a box, a text or a scaled number.
#include <algorithm>
#include <cstdlib>

#include "host/descriptors.h"
#include "testing/tests/auto_test_fixture.h"

namespace {

using DataMgmt::FieldValue;

// A small state-side form "PA40" whose fields have readable names, and
// fields of every edit code: kFirstCodeField + code.
const Primitives::OVImmutableFormIdentifier kForm(169, true);
const Primitives::OVImmutableIdentifier kLine1(1), kAmount(2), kText(4), kBox(5), kYesNo(6);
const int kFirstCodeField = 100;

DataMgmt::TaxReturnDescPtr testDescription() {
  DataMgmt::TaxFormDescPtr form(new DataMgmt::TaxFormDesc(kForm, "PA40", "PA-40"));
  auto add = [&](int id, DataMgmt::FieldKind kind, int code, const std::string& name) {
    form->addField(DataMgmt::FormFieldDescPtr(new DataMgmt::FormFieldDesc(
        Primitives::OVImmutableIdentifier(id), kind, 15, static_cast<unsigned char>(code), false, "kPA40_" + name, name)));
  };
  add(1, DataMgmt::kNumberField, 0, "Line1");
  add(2, DataMgmt::kNumberField, 72, "Amount");  // hundredths
  add(4, DataMgmt::kTextField, 0, "Name");
  add(5, DataMgmt::kCheckBoxField, 0, "Box");
  add(6, DataMgmt::kYesNoField, 1, "YesNo");
  for (int code = 1; code <= 200; ++code) add(kFirstCodeField + code, DataMgmt::kNumberField, code, "C" + std::to_string(code));
  DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc(40, "PA", "Test", "", "Test"));
  desc->registerForm(form);
  return desc;
}

class TestDataTextTest : public AutoTestFixture {
 protected:
  void SetUp() override {
    AutoTestFixture::SetUp();
    test.reset(new DataMgmt::TaxReturn(testDescription(), Utils::StringPool::shared()));
  }
  // Writes `text` to a file and loads it into `into` (the test return unless given).
  void load(const std::string& text, DataMgmt::TaxReturn* into = nullptr) {
    write("data.txt", text);
    engine->loadInputTextFile(dir + "data.txt", into != nullptr ? into : test.get());
  }
  void assign(const FieldId& field, const std::string& value, uint16_t copy = 1) {
    engine->assignFieldFromText(kForm, copy, field, value, test.get(), false);
  }
  const FieldValue& stored(const FieldId& field, uint16_t copy = 1) {
    static const FieldValue kMissing;
    DataMgmt::TaxForm* form = test->getForm(kForm, copy);
    return form != nullptr ? form->stored(field) : kMissing;
  }
  std::unique_ptr<DataMgmt::TaxReturn> test;
};

TEST_F(TestDataTextTest, LinesNameTheirFormInAnyCaseAndTheFieldExactly) {
  load("pa40::1::Line1::100\nPA40:1:Name:10:30\nPA40:1:line1:300\n\nPA40:1:Line1\nPA99:1:Line1:5\n#x\n");
  EXPECT_EQ(stored(kLine1).number, 100);  // a run of colons is one; kPA40_line1 is no field
  EXPECT_EQ(stored(kText).text, "10");     // a value is cut at the next colon
  load("PA40:1:Line1:100\n");
  EXPECT_TRUE(stored(kLine1).number == 100 && test->getMaxCopies(kForm) == 1);
  engine->loadInputTextFile(dir + "no-such-file.txt", test.get());  // changes nothing
  // Each return takes only its own forms.
  const std::string text = "FedW2:1:F21:52000.00\nPAReturnInfo:1:F46:X\n";
  load(text, federal.get());
  load(text, pa.get());
  EXPECT_EQ(federal->getIR(kFormID_FedW2, 1, FedW2::kWages), 5200000);  // hundredths
  EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox));
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
  assign(kText, "Employer [CopyNum] Inc", 2);
  EXPECT_EQ(stored(kText, 2).text, "Employer 2");
  assign(kLine1, "abc");  // text that is no number gives 0
  EXPECT_TRUE(stored(kLine1).kind == FieldValue::kNumber && stored(kLine1).number == 0);
  assign(kLine1, "");
  EXPECT_TRUE(stored(kLine1).kind == FieldValue::kNull && test->getForm(kForm, 1)->isDataEntered());
  assign(FieldId(3), "5");  // a field the form lacks is left alone
  EXPECT_EQ(stored(FieldId(3)).kind, FieldValue::kNull);
}

// Numbers are scaled by the field's edit code (rounded first for 70; as
// read for a code outside the table). Up to ten billion (10^12 cents) is
// stored; beyond, the value changes nothing: no copy, no data-entered mark.
TEST_F(TestDataTextTest, EditCodesScaleTheNumberUpToTheBoundAndRandStaysWithinIt) {
  const struct {
    int field;
    const char* value;
    double stored;  // 0: refused
  } cases[] = {{kFirstCodeField + 70, "12.5", 1300},  {kFirstCodeField + 72, "12.5", 1250},
               {kFirstCodeField + 76, "12.5", 12500000}, {kFirstCodeField + 69, "12.5", 12.5},
               {1, "10000000000", 1e10},   {1, "-10000000000", -1e10}, {2, "10000000000.00", 1e12},
               {1, "10000000000.01", 0},   {2, "-1.0000001e10", 0},    {1, "1e999", 0},
               {1, "nan", 0},              {2, "RAND(10000000001)", 0}};
  uint16_t copy = 1;
  for (const auto& c : cases) {
    assign(FieldId(c.field), c.value, ++copy);
    EXPECT_TRUE(c.stored == 0 ? test->getForm(kForm, copy) == nullptr : stored(FieldId(c.field), copy).number == c.stored)
        << c.value;
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
  for (const char* shortRand : {"RAND", "RAND()", "RAND(5", "xRAND"}) {  // too short to hold a bound: 0
    assign(kAmount, "7");
    assign(kAmount, shortRand);
    EXPECT_TRUE(stored(kAmount).kind == FieldValue::kNumber && stored(kAmount).number == 0) << shortRand;
  }
}

// Rich returns (every field of every form filled, with the largest amounts
// of either sign) calculate without overflow, and every text the module
// writes lands in a text field of the host's kind table.
TEST_F(TestDataTextTest, RichReturnsWriteTextsOnlyIntoTextFields) {
  for (const char* amount : {"1250.5", "10000000000", "-10000000000"}) {
    SetUp();
    PACalculationMgmt::PATaxReturnCalcEngine real(static_cast<DataMgmt::USTaxReturn*>(federal.get()), pa.get(),
                                                  TaxFormPrintMgmt::TaxFormPrinterPtr());
    for (DataMgmt::TaxReturn* ret : {federal.get(), static_cast<DataMgmt::TaxReturn*>(pa.get())}) {
      for (const DataMgmt::TaxFormDescPtr& form : ret->getTaxReturnDesc()->getTaxFormDescriptors()) {
        for (const FieldId& id : form->fieldIds()) {
          const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(id);
          if (amount[0] == '-' && field->isBoolean()) continue;
          real.assignFieldFromText(form->getTypeID(), 1, id, field->isText() ? "Text 12" : field->isBoolean() ? "X" : amount,
                                   ret, false);
        }
      }
    }
    real.calcReturn(0);
    EXPECT_EQ(StandIn::diagnostics().textIntoOtherFields, 0) << amount;
  }
}

}  // namespace
