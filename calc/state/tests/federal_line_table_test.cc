// federalLineTable: its bounds, the copy of the federal lines, the filer
// names built from them and the name and number copy.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/string_utils.h"

namespace {

using StateCalculationMgmt::federalLineRow;
using StateCalculationMgmt::federalLineStateField;

class FederalLineTableTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
  }
};

// Code c is row c; anything outside 1..16 is rejected instead of reading
// beside the table, and row 16 never names a field.
TEST_F(FederalLineTableTest, LineCodesOutsideTheTableAreRejected) {
  for (short code : {0, -1, 17, -32768, 32767}) {
    EXPECT_EQ(federalLineRow(code), nullptr) << code;
    EXPECT_EQ(federalLineStateField(code).getNumber(), 0) << code;
  }
  EXPECT_EQ(federalLineRow(16), &StateCalculationMgmt::federalLineTable[15]);
  EXPECT_EQ(federalLineStateField(16).getNumber(), 0);
  text(kFormID_PAReturnInfo, line(1), "John");
  char out[Utils::kNameBufferSize];
  EXPECT_STREQ(
      engine->getFederalLineFieldID(out, kFormID_PAReturnInfo, 17, 1, -5, 0, Utils::kDisplayNameDefault),
      "John");
}

TEST_F(FederalLineTableTest, CopyFederalLinesCopiesTheVariantInUseAndNullsWhatItLacks) {
  text(kFormID_Fed55, Fed55::kTaxpayerFirstName, "Ann");
  text(kFormID_Fed55, Fed55::kStreet, "1 Elm");
  text(kFormID_FedReturn, FedReturn::kTaxpayerFirstName, "Bob");  // form 1 is not in use
  text(kFormID_PAReturnInfo, line(2), "stale");                   // form 55's line 2 is empty
  FieldId fields[15];
  for (short code = 1; code <= 15; ++code) fields[code - 1] = line(code);
  engine->copyFederalLines(kFormID_Fed55, holder(kFormID_PAReturnInfo), fields);
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, line(1)), "Ann");
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, line(StateCalculationMgmt::kStreetLine)), "1 Elm");
  EXPECT_TRUE(isNull(kFormID_PAReturnInfo, line(2)));
}

TEST_F(FederalLineTableTest, FilerNames) {
  struct Case {
    const char* parts[8];  // taxpayer lines 1-4, spouse lines 6-9
    short whose;
    int mode;
    const char* name;
  };
  const Case cases[] = {
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "Jones", ""}, 1, 0, "John Q Smith Jr"},
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "Jones", ""}, 10, 0, "Mary A Jones"},
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "Jones", ""}, 2, 0, "John Q Smith Jr & Mary A Jones"},
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "Jones", ""}, 0, 0, "John Q Smith Jr & Mary A Jones"},
      // One family name (whatever the case) is written once, from the spouse's line.
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "SMITH", "III"}, 2, 1, "John Q & Mary A SMITH"},
      {{"John", "Q", "Smith", "Jr", "Mary", "A", "SMITH", "III"}, 2, 0, "John Q SMITH Jr & Mary A III"},
      {{"John", "", "Smith", "", "Mary", "", "", ""}, 2, 0, "John & Mary"},
      // The family names are compared on their first 20 characters.
      {{"John", "", "Abcdefghijklmnopqrstuvwxyz", "", "Mary", "", "Abcdefghijklmnopqrst", ""},
       2,
       0,
       "John Abcdefghijklmnopqrst & Mary"},
  };
  const short codes[8] = {1, 2, 3, 4, 6, 7, 8, 9};
  char out[Utils::kNameBufferSize];
  for (const Case& c : cases) {
    for (int i = 0; i < 8; ++i) text(kFormID_PAReturnInfo, line(codes[i]), c.parts[i]);
    EXPECT_STREQ(
        engine->buildFilerName(out, kFormID_PAReturnInfo, c.whose, static_cast<Utils::DISPLAY_NAME>(c.mode)),
        c.name);
  }
  // Two long full names are cut to the name buffer.
  const std::string longPart(127, 'x');
  for (short code : {1, 2, 6, 7}) text(kFormID_PAReturnInfo, line(code), longPart);
  EXPECT_EQ(
      std::string(engine->buildFilerName(out, kFormID_PAReturnInfo, 2, Utils::kDisplayNameDefault)).size(),
      Utils::kNameBufferSize - 1u);
}

// copyNameText onto text fields of an interest summary copy: the taxpayer's
// name, number and second name onto its head, the spouse's four onto its
// first four record fields.
TEST_F(FederalLineTableTest, CopyNameTextFillsTheSecondPersonForJointChoicesOnly) {
  const char* parts[10] = {"john", "q", "smith", "", "ab-123-45-6789", "mary", "", "jones", "", "cd-987"};
  for (short code = 1; code <= 10; ++code) text(kFormID_PAReturnInfo, line(code), parts[code - 1]);
  const FieldId spouse[4] = {State16::kLineRecord.at(0), State16::kLineRecord.at(1),
                             State16::kLineRecord.at(2), State16::kLineRecord.at(3)};
  auto copy = [&](uint16_t filingChoice, int upper, const FieldId& name1) {
    engine->copyNameText(holder(kFormID_State16), kFormID_PAReturnInfo, filingChoice, 0, name1,
                         State16::kTaxpayerSSN, State16::kSpouseName, State16::kSpouseSSN, spouse[0],
                         spouse[1], spouse[2], spouse[3], Primitives::kNullFieldID, upper);
  };
  copy(2, 1, State16::kTaxpayerName);  // names upper-cased, numbers (width 11) never
  const FieldId head[] = {State16::kTaxpayerName, State16::kTaxpayerSSN, State16::kSpouseName, spouse[0],
                          spouse[3]};
  const char* expected[] = {"JOHN Q SMITH", "ab-123-45-6", "JOHN Q SMITH", "MARY JONES", "cd-987"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(textOf(kFormID_State16, head[i]), expected[i]);
  copy(3, 0, Primitives::kNullFieldID);  // without a name field the second gets the text itself
  EXPECT_EQ(textOf(kFormID_State16, State16::kSpouseName), "john q smith");
  for (const FieldId& field : spouse) EXPECT_TRUE(isNull(kFormID_State16, field));
}

}  // namespace
