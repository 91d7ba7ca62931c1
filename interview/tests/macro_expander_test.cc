// The state layer's text macros over a PA return.
#include <gtest/gtest.h>

#include <memory>
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
  std::unique_ptr<StateMacroExpansionMgmt::StateMacroExpander> expander;
};

TEST_F(MacroExpanderTest, NamesOrTheirFallBackWords) {
  const struct {
    const char *macro, *fallBack;
    bool spouse;
  } macros[] = {{"TPNameOrYouIC", "You", false},           {"TPNameOrYou", "you", false},
                {"SpNameOrSpouseIC", "Spouse", true},       {"SpNameOrYourSpouse", "your spouse", true},
                {"SpNameOrMySpouseIC", "My spouse", true},  {"SpNameOrYourSpouseIC", "Your spouse", true},
                {"SpNameOrYourSpouseTitle", "Your Spouse", true}};
  for (const auto& m : macros) EXPECT_EQ(expander->expand(m.macro), m.fallBack) << m.macro;
  put(kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerFirstName, DataMgmt::FieldValue::ofText("Ann Lee"));
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("   "));  // a name
  for (const auto& m : macros) EXPECT_EQ(expander->expand(m.macro), m.spouse ? "   " : "Ann Lee") << m.macro;
}

TEST_F(MacroExpanderTest, ReturnTexts) {
  EXPECT_EQ(expander->expandStateReturnName(), "Pennsylvania");
  EXPECT_EQ(expander->expandStateReturnSecondName(), "");
  EXPECT_EQ(expander->expandStateReturnTitle(), "Pennsylvania Return");
  EXPECT_EQ(expander->expand("expandStateWord"), "state");
  EXPECT_EQ(expander->expandPrintExtraPageCount(), "NYI - expandPrintExtraPageCount");
  EXPECT_EQ(expander->expandEFileCost1a(), "NYI - expandEFileCost1a");
  EXPECT_EQ(expander->expandTransmitStatusInfo(), "NYI - expandTransmitStatusInfo");
  auto& pa = static_cast<PADataMgmt::PATaxReturn&>(*state);
  char expected[256] = "";
  pa.getMailingAddress(expected, 0);
  ASSERT_GT(std::string(expected).size(), 0u);
  EXPECT_EQ(expander->expandStateMailingAddress(), expected);

  // The tax amount is the text of item 1, trimmed.
  number(kFormID_PA40, PA40::kTaxLiability, 1234);
  int32_t amount = 0;
  pa.getStateTextItem(expected, &amount, 1);
  const std::string text = expander->expandStateTaxAmount();
  EXPECT_EQ(text, Utils::OVStringUtils::trimString(expected, true, true));
  EXPECT_TRUE(!text.empty() && text.front() != ' ' && text.back() != ' ');
}

TEST_F(MacroExpanderTest, OfficeLocatorLosesItsScheme) {
  const struct {
    const char *url, *expected;
  } cases[] = {
      {"https://example.invalid/office", "example.invalid/office"},
      {"no-slash-at-all", "no-slash-at-all"},
      {"x:/", ""},   // the first "/" is the last character
      {"ab/c", ""},  // ... the next-to-last
      {"a/bc", "c"},
      {"", ""},
  };
  for (const auto& c : cases) {
    federal->setOfficeLocatorURL(c.url);
    EXPECT_EQ(expander->expandOfficeLocatorNoScheme(), c.expected) << c.url;
  }
}

}  // namespace
