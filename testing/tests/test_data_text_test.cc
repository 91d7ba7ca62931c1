// The text test-data reader: line parsing, copy ranges, and how a text
// becomes a box, a text or a scaled number.
#include <algorithm>
#include <cstdlib>

#include "host/descriptors.h"
#include "testing/auto_test_report.h"
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

// A value is everything after the third run of colons: a text keeps its
// colons, a number field refuses "10:30", and an empty value clears.
TEST_F(TestDataTextTest, LinesNameTheirFormInAnyCaseAndTheValueWhole) {
  load("pa40::1::Line1::100\nPA40:1:Name:418 Walnut St: Apt 2:\nPA40:1:line1:300\n\nPA40:1:Line1\nPA99:1:Line1:5\n"
       "PA40:1:Line1:10:30\n#x\n");
  EXPECT_EQ(stored(kLine1).number, 100);  // a run of colons is one; kPA40_line1 is no field
  EXPECT_EQ(stored(kText).text, "418 Walnut St: Apt 2:");
  load("PA40:1:Name:\nPA40:1:Line1::\n");
  EXPECT_TRUE(stored(kText).kind == FieldValue::kNull && stored(kLine1).kind == FieldValue::kNull);
}

// While a hook runs, every line left out is reported with its number and
// reason; a line too long is passed over alone.
TEST_F(TestDataTextTest, SkippedLinesAreReportedAndALongLineLosesNoOther) {
  const AutoTestReport::Scope reporting;
  load("PA40:3+:Line1:7\nPA40:0+:Line1:8\nPA40:1:Line1:" + std::string(70000, '1') +
       "\r\nPA40:1:Amount:$500\nPA40:x:Line1:1\nPA40:1:Nope:1\nPA40\n  # comment\nPA40:1:Amount:5\r");
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  for (uint16_t copy = 1; copy <= 3; ++copy) EXPECT_EQ(stored(kLine1, copy).number, 7) << copy;
  EXPECT_EQ(stored(kAmount).number, 500);
  const std::string data = dir + "data.txt line ";
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt"),
            data + "2: the copy is outside the form's copies\n" + data + "3: longer than 65536 bytes\n" + data +
                "4: the amount is not a plain number\n" + data + "5: the copy is not a copy number\n" + data +
                "6: no such field of the form\n" + data + "7: fewer than four parts (FORM:copy:FIELD:value)\n");
  test->getTaxFormDescriptor(kForm)->setMaxCopies(3);
  load("PA40:65537:Line1:1\nPA40:70000+:Line1:2\nPA40:4+:Line1:2\n");  // past the limit: left out
  EXPECT_EQ(test->getMaxCopies(kForm), 3);
  EXPECT_EQ(stored(kLine1, 1).number, 7);
}

// Lines a host has read already load as the lines of their file; while a
// hook runs, a line left out is reported by its number in them.
TEST_F(TestDataTextTest, LinesReadAlreadyLoadAsTheirFile) {
  const AutoTestReport::Scope reporting;
  engine->loadInputLines({"# x", "pa40::2+::Line1::100", "PA40:1:Name:a: b", "PA40:1:Box:untrue", "PA40:1:Nope:1"},
                         test.get());
  EXPECT_EQ(stored(kLine1, 2).number, 100);
  EXPECT_EQ(stored(kText).text, "a: b");
  EXPECT_EQ(read("OrvaneAutoTest_Report.txt"), "test data line 5: no such field of the form\n");
  engine->loadInputLines({"PA40:1:Line1:7"}, nullptr);  // no return: nothing
}

TEST_F(TestDataTextTest, BoxesTextsAndEmptyValues) {
  const struct { const FieldId* field; const char* value; FieldValue::Kind kind; } boxes[] = {{&kBox, "X", FieldValue::kMark},   {&kBox, "untrue", FieldValue::kNull}, {&kBox, "No", FieldValue::kMark},
               {&kYesNo, "no", FieldValue::kMark}, {&kBox, "[NO]", FieldValue::kNo},     {&kYesNo, "[no]", FieldValue::kNo}};
  for (const auto& b : boxes) {
    assign(*b.field, b.value);
    EXPECT_EQ(stored(*b.field).kind, b.kind) << b.value;
  }
  assign(kBox, "UNTRUE", 2);  // does not mark the copy as entered
  EXPECT_FALSE(test->getForm(kForm, 2)->isDataEntered());
  assign(kText, "Employer [CopyNum] Inc", 2);  // the marker and all after it become the copy
  EXPECT_EQ(stored(kText, 2).text, "Employer 2");
  assign(kLine1, "");
  EXPECT_TRUE(stored(kLine1).kind == FieldValue::kNull && test->getForm(kForm, 1)->isDataEntered());
  assign(FieldId(3), "5");  // a field the form lacks is left alone
  EXPECT_EQ(stored(FieldId(3)).kind, FieldValue::kNull);
}

// A number field takes a plain decimal number, blanks around it allowed,
// scaled by the field's edit code (rounded first for 70; as read for a code
// outside the table) up to ten billion (10^12 cents). Anything else changes
// nothing: no copy, no data-entered mark.
TEST_F(TestDataTextTest, NumberFieldsTakeOnlyPlainNumbersScaledUpToTheBound) {
  const struct { int field; const char* value; double stored; } cases[] = {  // stored 0: refused
               {kFirstCodeField + 70, "12.5", 1300},  {kFirstCodeField + 72, " 12.5\t", 1250},
               {kFirstCodeField + 70, "12.4", 1200},  {kFirstCodeField + 72, "12.4", 1240},
               {kFirstCodeField + 76, "12.5", 12500000}, {kFirstCodeField + 69, "12.5 ", 12.5},
               {1, "10000000000", 1e10},   {1, "-10000000000", -1e10}, {2, "10000000000.00", 1e12},
               {1, "10000000000.01", 0},   {2, "-1.0000001e10", 0},    {1, "1e999", 0},
               {1, "nan", 0},              {2, "RAND(10000000001)", 0}, {1, "1,234.56", 0},
               {1, "0x10", 0},             {1, "12abc", 0},            {1, "$500", 0},
               {1, "  ", 0},               {1, "abc", 0},              {2, "RAND(5", 0},
               {2, "xRAND(5)", 0}};
  uint16_t copy = 1;
  for (const auto& c : cases) {
    assign(FieldId(c.field), c.value, ++copy);
    EXPECT_TRUE(c.stored == 0 ? test->getForm(kForm, copy) == nullptr : stored(FieldId(c.field), copy).number == c.stored)
        << c.value;
  }
  std::srand(1);
  double highest = -1;
  for (int i = 0; i < 2000; ++i) {
    assign(kAmount, "RAND(500)");
    ASSERT_TRUE(stored(kAmount).number >= 0 && stored(kAmount).number <= 50000);
    highest = std::max(highest, stored(kAmount).number);
  }
  EXPECT_GT(highest, 45000);  // the draws reach the top of the range
  assign(kAmount, " RAND(2.9) ");  // the bound is truncated to 2
  EXPECT_LE(stored(kAmount).number, 200);
}

}  // namespace
