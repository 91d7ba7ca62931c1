// The state layer's text macros over a PA return.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/string_utils.h"
#include "interview/state_macro_expander.h"
#include "interview/tests/interview_fixture.h"

namespace {

class MacroExpanderTest : public InterviewTest {
 protected:
  void SetUp() override {
    InterviewTest::SetUp();
    expander.reset(new StateMacroExpansionMgmt::StateMacroExpander(federal, state));
  }
  void TearDown() override {
    expander.reset();
    InterviewTest::TearDown();
  }
  const FieldId& info(int n) { return kPAReturnInfoFieldIds.byNumber(n); }

  std::unique_ptr<StateMacroExpansionMgmt::StateMacroExpander> expander;
};

struct NameMacro {
  const char* macro;
  const char* fallBack;
  bool spouse;
};

const NameMacro kNameMacros[] = {
    {"TPNameOrYouIC", "You", false},
    {"TPNameOrYou", "you", false},
    {"SpNameOrSpouseIC", "Spouse", true},
    {"SpNameOrYourSpouse", "your spouse", true},
    {"SpNameOrMySpouseIC", "My spouse", true},
    {"SpNameOrYourSpouseIC", "Your spouse", true},
    {"SpNameOrYourSpouseTitle", "Your Spouse", true},
};

TEST_F(MacroExpanderTest, EmptyNamesGiveTheirFallBackWords) {
  for (const NameMacro& m : kNameMacros) EXPECT_EQ(expander->expand(m.macro), m.fallBack) << m.macro;
}

TEST_F(MacroExpanderTest, StoredNamesComeBackUnchanged) {
  text(kFormID_PAReturnInfo, info(31), "Ann Lee");
  text(kFormID_PAReturnInfo, info(36), "   ");  // blanks are a name, not an empty text
  for (const NameMacro& m : kNameMacros) {
    EXPECT_EQ(expander->expand(m.macro), m.spouse ? "   " : "Ann Lee") << m.macro;
  }
}

TEST_F(MacroExpanderTest, DescriptionAndFixedTexts) {
  EXPECT_EQ(expander->expandStateReturnName(), "Pennsylvania");
  EXPECT_EQ(expander->expandStateReturnSecondName(), "");
  EXPECT_EQ(expander->expandStateReturnTitle(), "Pennsylvania Return");
  EXPECT_EQ(expander->expandStateWord(), "state");
  EXPECT_EQ(expander->expandPrintExtraPageCount(), "NYI - expandPrintExtraPageCount");
  EXPECT_EQ(expander->expandEFileCost1a(), "NYI - expandEFileCost1a");
  EXPECT_EQ(expander->expandTransmitStatusInfo(), "NYI - expandTransmitStatusInfo");
  EXPECT_EQ(expander->expand("expandStateWord"), "state");
}

TEST_F(MacroExpanderTest, MailingAddressIsTheGeneralAddress) {
  char expected[256] = "";
  pa().getMailingAddress(expected, 0);
  ASSERT_GT(std::strlen(expected), 0u);
  EXPECT_EQ(expander->expandStateMailingAddress(), expected);
}

TEST_F(MacroExpanderTest, TaxAmountIsTheTrimmedTextOfItemOne) {
  number(kFormID_PA40, kPA40FieldIds.byNumber(173), 1234);
  char item[256] = "";
  int32_t amount = 0;
  pa().getStateTextItem(item, &amount, 1);
  const std::string expected = Utils::OVStringUtils::trimString(item, true, true);
  const std::string text = expander->expandStateTaxAmount();
  EXPECT_EQ(text, expected);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.front(), ' ');
  EXPECT_NE(text.back(), ' ');
}

TEST_F(MacroExpanderTest, OfficeLocatorLosesItsScheme) {
  struct Case {
    const char* url;
    const char* expected;
  };
  const Case cases[] = {
      {"https://example.invalid/office", "example.invalid/office"},
      {"no-slash-at-all", "no-slash-at-all"},
      {"x:/", ""},    // the first "/" is the last character
      {"ab/c", ""},   // ... the next-to-last
      {"a/bc", "c"},
      {"", ""},
  };
  for (const Case& c : cases) {
    federal->setOfficeLocatorURL(c.url);
    EXPECT_EQ(expander->expandOfficeLocatorNoScheme(), c.expected) << c.url;
  }
}

}  // namespace
