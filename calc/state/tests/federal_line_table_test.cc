// Texts from the federal return: pullCommonText by pull code, the federal
// line table's bounds, the filer names built from the lines and the name
// and number copy (the golden returns hold the copy of the federal lines
// of forms 1 and 55).
#include <gtest/gtest.h>

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/descriptors.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"

namespace {

class CommonTextPullTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    for (const FormId* form : {&kFormID_FedReturn, &kFormID_Fed55, &kFormID_Fed87, &kFormID_PA40})
      copyOf(*form);
  }
  // A PA-40 text field is the target of every pull; a null result reads "null".
  const FieldId& target() { return PA40::kAddressLineTwo; }
  std::string pull(int pcType, const FormId& returnForm = kFormID_FedReturn) {
    text(kFormID_PA40, target(), "old");
    engine->pullCommonText(returnForm, kFormID_PA40, 1, target(), pcType);
    return isNull(kFormID_PA40, target()) ? "null" : textOf(kFormID_PA40, target());
  }
  bool targetProtected() { return isProtected(kFormID_PA40, target()); }
};

TEST_F(CommonTextPullTest, CodesOutsideTheRangeThrowOnlyWhenBothCopiesExist) {
  for (int pcType : {115, 151, 0}) {
    try {
      pull(pcType);
      ADD_FAILURE() << pcType << " did not throw";
    } catch (const Exceptions::OrvaneException& e) {
      EXPECT_STREQ(e.what(), "Invalid PCType");
      EXPECT_EQ(e.getClassName(), "StateTaxReturnCalcEngine");
      EXPECT_EQ(e.getOperationName(), "pullCommonText");
    }
  }
  EXPECT_NO_THROW(engine->pullCommonText(kFormID_FedReturn, kFormID_PA40, 2, target(), 151));
}

// Texts are cut to the target's length; a form without the source sets the
// target null; any other return form reads form 87. 120 is the number as a
// signed 16-bit decimal, 0 as null; 123 the stripped text and the amount.
TEST_F(CommonTextPullTest, CopiesAndComposedTexts) {
  const uint16_t length = pa->getTaxFormDescriptor(kFormID_PA40)->getFieldDesc(target())->getLength();
  text(kFormID_FedReturn, FedReturn::kHeaderText, std::string(100, 'n'));
  text(kFormID_Fed55, Fed55::kHeaderText, "form 55");
  text(kFormID_Fed87, Fed87::kSpouseOccupation, "from 87");
  number(kFormID_FedFilerInfo, FedFilerInfo::kValuePullItem, 486);
  text(kFormID_FedReturn, FedReturn::kWriteInAdjustmentText, " Paid to");
  EXPECT_EQ(pull(116), std::string(length, 'n'));
  EXPECT_EQ(pull(116, kFormID_Fed55), "form 55");
  EXPECT_EQ(pull(116, kFormID_Fed87), "null");
  EXPECT_EQ(pull(121, kFormID_Fed55), "null");
  EXPECT_EQ(pull(130, kFormID_Fed89), "from 87");
  EXPECT_EQ(pull(118, kFormID_Fed55), "486");
  EXPECT_EQ(pull(123), "Paid to");
  number(kFormID_FedReturn, FedReturn::kWriteInAdjustment, 75);
  EXPECT_EQ(pull(123), "Paid to $75");
  EXPECT_EQ(pull(123, kFormID_Fed55), "null");
  const std::pair<double, const char*> numbers[] = {{0, "null"}, {70000, "4464"}, {4201, "4201"}};
  for (const auto& n : numbers) {
    number(kFormID_FedFilerInfo, FedFilerInfo::kNumberPullItem, n.first);
    EXPECT_EQ(pull(120), n.second);
  }
  // A rendering longer than the target (a box) keeps its last characters.
  copyOf(kFormID_PAReturnInfo);
  engine->pullCommonText(kFormID_FedReturn, kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox, 120);
  EXPECT_EQ(textOf(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox), "1");
}

TEST_F(CommonTextPullTest, DirectDepositTextFallsBackToTheFilerInformationAndBoxesNeedBothNumbers) {
  text(kFormID_FedReturn, FedReturn::kRoutingNumber, "1112223334444");
  text(kFormID_FedFilerInfo, FedFilerInfo::kRoutingNumber, "999888777666");
  EXPECT_EQ(pull(147), "999888777") << "no direct-deposit refund on form 1";
  EXPECT_TRUE(targetProtected());
  number(kFormID_FedReturn, FedReturn::kDirectDepositRefund, 1);
  EXPECT_EQ(pull(147), "111222333");
  // 149 and 150 unprotect their box while the filer information lacks the
  // account number; then form 1's savings box chooses 150.
  for (int pcType : {149, 150}) {
    copyOf(kFormID_PA40).makeProtected(target());
    pull(pcType);
    EXPECT_FALSE(targetProtected()) << pcType;
  }
  text(kFormID_FedFilerInfo, FedFilerInfo::kAccountNumber, "456");
  mark(kFormID_FedReturn, FedReturn::kSavingsAccountBox);
  pull(149);
  EXPECT_TRUE(targetProtected());
  EXPECT_FALSE(pa->formYes(kFormID_PA40, 1, target()));
  pull(150);
  EXPECT_TRUE(pa->formYes(kFormID_PA40, 1, target()));
}

// A text or mark pulled in protected goes once its federal source (or
// the federal return) is gone; what the user typed into the open field stays; a choice box of the
// other kind keeps no mark pulled before.
TEST_F(CommonTextPullTest, APulledValueGoesWithItsSourceAndAnEntryStays) {
  auto pulled = [this](int pcType) {
    engine->pullCommonText(kFormID_FedReturn, kFormID_PA40, 1, target(), pcType);
    return isNull(kFormID_PA40, target()) ? "null" : targetProtected() ? "protected" : "open";
  };
  const struct {
    int pcType;
    FieldId source;
    FieldValue value;
  } pulls[] = {{141, FedFilerInfo::kDaytimePhone, FieldValue::ofText("717")},
               {146, FedFilerInfo::kDirectDepositBox, FieldValue::mark()},
               {149, FedFilerInfo::kAccountNumber, FieldValue::ofText("456")}};
  text(kFormID_FedFilerInfo, FedFilerInfo::kRoutingNumber, "999888777");
  mark(kFormID_FedFilerInfo, FedFilerInfo::kCheckingAccountBox);
  for (const auto& p : pulls) {
    put(kFormID_FedFilerInfo, p.source, p.value);
    EXPECT_STREQ(pulled(p.pcType), "protected") << p.pcType;
    put(kFormID_FedFilerInfo, p.source, FieldValue::null());
    EXPECT_STREQ(pulled(p.pcType), "null") << p.pcType;
    EXPECT_EQ(pull(p.pcType), "old") << p.pcType;  // typed while open
  }
  text(kFormID_FedFilerInfo, FedFilerInfo::kAccountNumber, "456");
  EXPECT_STREQ(pulled(150), "null");  // savings: protected, the checking mark not pulled
  put(kFormID_PA40, target(), FieldValue::mark());
  EXPECT_STREQ(pulled(150), "null");
  text(kFormID_FedFilerInfo, FedFilerInfo::kDaytimePhone, "717");
  ASSERT_STREQ(pulled(141), "protected");
  federal()->deleteForm(kFormID_FedReturn, 1);
  EXPECT_STREQ(pulled(141), "null") << "nothing is pulled without the federal return";
}

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

TEST_F(FederalLineTableTest, FilerNames) {
  struct Case {
    const char* parts[8];  // taxpayer lines 1-4, spouse lines 6-9
    short whose;
    int mode;
    const char* name;
  };
  const Case cases[] = {
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

// A name copied again follows every change of the source's name lines,
// and each display mode keeps its own form of it.
TEST_F(FederalLineTableTest, CopyNameTextFollowsTheSourceNames) {
  auto copied = [&](int mode) {
    engine->copyNameText(holder(kFormID_State16), kFormID_PAReturnInfo, 1, mode, State16::kTaxpayerName,
                         Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                         Primitives::kNullFieldID, Primitives::kNullFieldID, Primitives::kNullFieldID,
                         Primitives::kNullFieldID, Primitives::kNullFieldID, 0);
    return textOf(kFormID_State16, State16::kTaxpayerName);
  };
  text(kFormID_PAReturnInfo, line(1), "john");
  text(kFormID_PAReturnInfo, line(3), "smith");
  const std::string byMode[2] = {copied(0), copied(1)};
  text(kFormID_PAReturnInfo, line(1), "jane");
  EXPECT_EQ(copied(0), "jane smith");
  for (int mode = 0; mode < 2; ++mode) {
    text(kFormID_PAReturnInfo, line(1), "john");
    EXPECT_EQ(copied(mode), byMode[mode]) << mode;
  }
}

}  // namespace
