// The host side of the test-data format: number texts, the dump's lines
// and the count of lines no return takes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/descriptors.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "host/us_tax_return.h"
#include "pahost/dump.h"
#include "pahost/federal_items.h"
#include "testing/test_data_format.h"

namespace {

using DataMgmt::FieldValue;
typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;

const FormId kFedW2(52, false);
const FormId kFed166(166, false);

// The shortest text that loads back to the stored number, the binary noise
// past the 15 digits a double holds left out; writing the loaded number
// again gives the same text.
TEST(LoaderNumberTextTest, GivesTheShortestTextThatLoadsBack) {
  struct Case {
    double stored;
    unsigned char editCode;
    const char* text;
  };
  const Case cases[] = {
      {5200000, 72, "52000"},   {159640, 72, "1596.4"},      {1234.5, 72, "12.345"},
      {0.29 * 100, 72, "0.29"}, {-2550, 72, "-25.5"},         {1300, 70, "13"},
      {125, 71, "12.5"},        {12.5, 0, "12.5"},            {1e20, 0, "1e+20"},
      {-0.0, 72, "0"},          {0.1 + 0.2, 0, "0.3"},        {412.37 - 32.03, 0, "380.34"},
      {std::nextafter(38034.0, 1e9), 72, "380.34"},           {1.0 / 3, 0, "0.333333333333333"},
      {123456.78901234, 0, "123456.78901234"},                {1e12, 72, "10000000000"},
  };
  for (const Case& c : cases) {
    const std::string text = loaderNumberText(c.stored, c.editCode);
    EXPECT_EQ(text, c.text) << c.stored << " code " << int(c.editCode);
    const double loaded =
        TestDataFormat::scaleByEditCode(std::strtod(text.c_str(), nullptr), c.editCode);
    EXPECT_EQ(loaderNumberText(loaded, c.editCode), text) << text;
  }
  // A code that rounds on loading cannot give back a fraction of its unit:
  // the text then holds the exact quotient.
  EXPECT_EQ(loaderNumberText(1250, 70), "12.5");
}

class DumpTest : public ::testing::Test {
 protected:
  void SetUp() override { StandIn::resetAll(); }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    if (!path.empty()) std::remove(path.c_str());
  }

  // The dump of the return; `leftOut` takes dumpReturn's count.
  std::string dumpOf(const DataMgmt::TaxReturn& taxReturn, int* leftOut) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    *leftOut = dumpReturn(out, taxReturn);
    std::fclose(out);
    std::string dump(text, size);
    std::free(text);
    return dump;
  }
  std::string writeFile(const std::string& text) {
    // One file per test process: ctest runs the cases side by side.
    path = ::testing::TempDir() + "pahost_dump_test_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path) << text;
    return path;
  }

  DataMgmt::USTaxReturn federal;
  std::string path;
};

// A text is written whole, colons included, and reads back whole; an
// empty text is an empty value, which loads as an emptied field. A text
// the format cannot carry is left out and counted.
TEST_F(DumpTest, WritesEveryNonNullFieldInFormCopyAndFieldOrder) {
  federal.getFormOrCreate(kFed166, 2)->store(FieldId(10), FieldValue::of(8612));
  federal.getFormOrCreate(kFed166, 2)->store(FieldId(3), FieldValue::mark());
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(21), FieldValue::of(5200000));
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(1), FieldValue::no());
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(4), FieldValue::ofText("418 Walnut St: Apt 2:"));
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(146), FieldValue::ofText(""));
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(7), FieldValue::ofText(":30"));
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(8), FieldValue::ofText("two\nlines"));
  federal.getFormOrCreate(kFedW2, 1)->store(FieldId(33), FieldValue::null());
  federal.getFormOrCreate(kFed166, 1);  // a copy without values writes nothing

  int leftOut = 0;
  EXPECT_EQ(dumpOf(federal, &leftOut),
            "FEDW2:1:F1:[NO]\n"
            "FEDW2:1:F21:52000\n"
            "FEDW2:1:F4:418 Walnut St: Apt 2:\n"
            "FEDW2:1:F146:\n"
            "FED166:2:F3:X\n"
            "FED166:2:F10:86.12\n");
  EXPECT_EQ(leftOut, 2);
  const std::vector<std::string> parts = TestDataFormat::splitLine("FEDW2:1:F4:418 Walnut St: Apt 2:");
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[3] + "|" + TestDataFormat::splitLine("FEDW2:1:F146:").at(3), "418 Walnut St: Apt 2:|");
}

TEST_F(DumpTest, FederalItemsLoadAndDumpAsItemLines) {
  const std::string file = writeFile(
      "FEDCOMMON:0:C1:\t2\n"    // blanks at either end, as in a number field
      "fedcommon:55:c14:-300 \n"
      "FEDCOMMON:0:C0:5\n"      // no item 0
      "FEDCOMMON:0:C7:1.5\n"    // items are whole numbers
      "FEDCOMMON:0:C8: \n"      // blanks are no number
      "FEDCOMMON:10:WAGES: 38500 \n"
      "FEDCOMMON:1:ALLWAGES:52000.5\n"
      "FEDCOMMON:2:WAGES:5\n"   // who is 1 or 10
      "FEDCOMMON:0:WITHHELD:2778.35\n"
      "FEDW2:1:F21:5\n");
  EXPECT_EQ(applyFederalItems(file, federal), 5);
  EXPECT_EQ(federal.getFilingStatus(), 2);
  EXPECT_EQ(federal.commonItem(55, 14), -300);
  EXPECT_EQ(federal.stateWages(10), 38500);
  EXPECT_EQ(federal.stateWages(1), 0);
  EXPECT_EQ(federal.allStateWages(1), 52000.5);
  EXPECT_EQ(federal.stateTaxWithheldNoLocal(), 2778.35);
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  dumpFederalItems(out, federal);
  std::fclose(out);
  EXPECT_EQ(std::string(text, size),
            "FEDCOMMON:0:C1:2\nFEDCOMMON:55:C14:-300\nFEDCOMMON:1:ALLWAGES:52000.5\n"
            "FEDCOMMON:10:WAGES:38500\nFEDCOMMON:0:WITHHELD:2778.35\n");
  std::free(text);
  EXPECT_EQ(applyFederalItems(::testing::TempDir() + "no-such-return.txt", federal), -1);
}

}  // namespace
