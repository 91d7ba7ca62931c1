// federalLineTable: its rows, its bounds, the copy of the federal lines and
// the filer names built from them.
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/string_utils.h"

namespace {

using StateCalculationMgmt::StateTaxReturnCalcEngine;
using StateCalculationMgmt::federalLineRow;
using StateCalculationMgmt::federalLineStateField;

class FederalLineTableTest : public StateEngineTest {
 protected:
  // The information form's lines as copyFederalLines receives them.
  void stateFields(FieldId (&fields)[15]) {
    for (int k = 0; k < 15; ++k) fields[k] = kPAReturnInfoFieldIds[86 + k];
  }
};

// Host field numbers of lines 1-15 on federal forms 1, 55 and 87.
TEST_F(FederalLineTableTest, BuildSetsTheFederalColumnsOfEveryLine) {
  const int kExpected[15][3] = {
      {1, 1, 31},       {411, 178, 69},   {2, 2, 32},       {3, 3, 81534}, {11, 11, 9},
      {4, 4, 81535},    {412, 179, 81536}, {5, 5, 81537},   {6, 6, 81538}, {12, 12, 53},
      {7, 7, 33},       {317, 123, 5},    {8, 8, 6},        {9, 9, 7},     {10, 10, 8},
  };
  federalLineRow(3)->stateField = 777;
  federalLineRow(16)->stateField = 778;
  StateTaxReturnCalcEngine::buildFederalLineTable();
  for (short code = 1; code <= 15; ++code) {
    const StateCalculationMgmt::FederalLineRow& row = *federalLineRow(code);
    EXPECT_EQ(row.fedReturnField.getNumber(), kExpected[code - 1][0]) << code;
    EXPECT_EQ(row.fed55Field.getNumber(), kExpected[code - 1][1]) << code;
    EXPECT_EQ(row.fed87Field.getNumber(), kExpected[code - 1][2]) << code;
  }
  EXPECT_EQ(federalLineRow(3)->stateField.getNumber(), 777) << "the state column is left alone";
  const StateCalculationMgmt::FederalLineRow& last = *federalLineRow(16);
  EXPECT_EQ(last.fedReturnField.getNumber(), 0);
  EXPECT_EQ(last.fed55Field.getNumber(), 0);
  EXPECT_EQ(last.fed87Field.getNumber(), 0);
  EXPECT_EQ(last.stateField.getNumber(), 0);
}

// Code c is row c; anything outside 1..16 is rejected instead of reading
// beside the table.
TEST_F(FederalLineTableTest, LineCodesOutsideTheTableAreRejected) {
  useInformationFormLines();
  for (short code : {0, -1, 17, 100, -32768, 32767}) {
    EXPECT_EQ(federalLineRow(code), nullptr) << code;
    EXPECT_EQ(federalLineStateField(code).getNumber(), 0) << code;
  }
  EXPECT_EQ(federalLineRow(1), &StateCalculationMgmt::federalLineTable[0]);
  EXPECT_EQ(federalLineRow(16), &StateCalculationMgmt::federalLineTable[15]);

  text(kFormID_PAReturnInfo, line(1), "John");
  char out[Utils::kNameBufferSize];
  EXPECT_STREQ(engine->getFederalLineFieldID(out, kFormID_PAReturnInfo, 17, 1, -5, 0,
                                             Utils::kDisplayNameDefault),
               "John");
}

TEST_F(FederalLineTableTest, CopyFederalLinesCopiesTheVariantInUse) {
  text(kFormID_Fed55, kFed55FieldIds[92], "Ann");    // line 1 on form 55
  text(kFormID_Fed55, kFed55FieldIds[102], "1 Elm");  // line 11
  text(kFormID_FedReturn, kFedReturnFieldIds[325], "Bob");  // form 1 is not in use
  text(kFormID_PAReturnInfo, line(2), "stale");  // form 55's line 2 is empty: copied as null
  FieldId fields[15];
  stateFields(fields);
  engine->copyFederalLines(kFormID_Fed55, holder(kFormID_PAReturnInfo), fields);
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, line(1)), "Ann");
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, line(11)), "1 Elm");
  EXPECT_TRUE(pa->isNull(kFormID_PAReturnInfo, 1, line(2)));
  EXPECT_EQ(federalLineStateField(15), line(15));
  EXPECT_EQ(federalLineStateField(16).getNumber(), 0);
}

// ---- filer names ----

class FilerNameTest : public FederalLineTableTest {
 protected:
  void SetUp() override {
    FederalLineTableTest::SetUp();
    useInformationFormLines();
  }
  void names(const char* t1, const char* t2, const char* t3, const char* t4, const char* s1,
             const char* s2, const char* s3, const char* s4) {
    const char* parts[8] = {t1, t2, t3, t4, s1, s2, s3, s4};
    const short codes[8] = {1, 2, 3, 4, 6, 7, 8, 9};
    for (int i = 0; i < 8; ++i) text(kFormID_PAReturnInfo, line(codes[i]), parts[i]);
  }
  std::string filerName(short whose, int mode = 0) {
    char out[Utils::kNameBufferSize];
    return engine->buildFilerName(out, kFormID_PAReturnInfo, whose, static_cast<Utils::DISPLAY_NAME>(mode));
  }
};

TEST_F(FilerNameTest, TaxpayerAndSpouseAlone) {
  names("John", "Q", "Smith", "Jr", "Mary", "A", "Jones", "");
  EXPECT_EQ(filerName(1), "John Q Smith Jr");
  EXPECT_EQ(filerName(10), "Mary A Jones");
}

TEST_F(FilerNameTest, JointWithDifferentFamilyNamesJoinsBothFullNames) {
  names("John", "Q", "Smith", "Jr", "Mary", "A", "Jones", "");
  EXPECT_EQ(filerName(2), "John Q Smith Jr & Mary A Jones");
  EXPECT_EQ(filerName(0), "John Q Smith Jr & Mary A Jones");
}

TEST_F(FilerNameTest, JointWithOneFamilyNameWritesItOnceFromTheSpouseLine) {
  names("John", "Q", "Smith", "Jr", "Mary", "A", "SMITH", "III");
  EXPECT_EQ(filerName(2, 1), "John Q & Mary A SMITH");
  EXPECT_EQ(filerName(2, 0), "John Q SMITH Jr & Mary A III");
}

TEST_F(FilerNameTest, JointWithAnEmptySpouseFamilyNameTakesTheSharedBranch) {
  names("John", "", "Smith", "", "Mary", "", "", "");
  EXPECT_EQ(filerName(2), "John & Mary");
}

// The family names are compared as read at width 20.
TEST_F(FilerNameTest, FamilyNamesAreComparedOnTheirFirst20Characters) {
  names("John", "", "Abcdefghijklmnopqrstuvwxyz", "", "Mary", "", "Abcdefghijklmnopqrst", "");
  EXPECT_EQ(filerName(2), "John Abcdefghijklmnopqrst & Mary");
}

TEST_F(FilerNameTest, TwoLongNamesAreCutToTheNameBuffer) {
  const std::string longPart(127, 'x');
  names(longPart.c_str(), longPart.c_str(), "Smith", "", longPart.c_str(), longPart.c_str(), "Jones", "");
  const std::string name = filerName(2);
  EXPECT_EQ(name.size(), Utils::kNameBufferSize - 1);
}

}  // namespace
