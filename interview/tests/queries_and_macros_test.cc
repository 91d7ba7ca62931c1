// The shared state layer's script queries, answered from the session
// properties of the store's federal return, and its text macros.
#include <gtest/gtest.h>

#include "host/session_properties.h"
#include "host/string_utils.h"
#include "interview/state_macro_expander.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"

namespace {

using StateTopicMgmt::StateScriptQueryHandler;
constexpr int kMissing = -1000;

int query(long n, StateScriptQueryHandler& handler) {
  return handler.handleScriptQuery(n, Primitives::kNullFieldID, TopicMgmt::TopicPath());
}

TEST_F(InterviewTest, ScriptQueriesReadTheFederalSessionProperties) {
  const struct {
    int lly, import, query1, query2;
  } cases[] = {{kMissing, kMissing, 0, 1}, {0, 0, 0, 1}, {1, 1, 1, 0}, {-1, -3, 1, 0}, {127, kMissing, 1, 1}};
  StateScriptQueryHandler handler(store, 40);
  EXPECT_TRUE(query(1, handler) == 0 && query(2, handler) == 1);  // no properties at all
  for (const auto& c : cases) {
    DataMgmt::SessionPropertiesPtr p(new DataMgmt::SessionProperties());
    if (c.lly != kMissing) p->setOVInt8Property("ui_prop_lly_status", static_cast<int8_t>(c.lly));
    if (c.import != kMissing) p->setOVInt8Property("ui_prop_import_status", static_cast<int8_t>(c.import));
    federal->setSessionProperties(p);
    EXPECT_EQ(query(1, handler), c.query1) << c.lly;
    EXPECT_EQ(query(2, handler), c.query2) << c.import;
  }
  EXPECT_EQ(query(1, *static_cast<StateScriptQueryHandler*>(topic("paschsp")->getScriptQueryHandler())), 1);
  EXPECT_EQ(query(3, handler) + handler.reservedQuery1(1, Primitives::kNullFieldID), 0);  // not registered
  // A store without the federal return reads as missing.
  DataMgmt::TaxDataStore paOnly;
  paOnly.addReturn(40, state);
  StateScriptQueryHandler paHandler(paOnly, 40);
  EXPECT_TRUE(query(1, paHandler) == 0 && query(2, paHandler) == 1);
}

TEST_F(InterviewTest, MacrosExpandWithTheirFallBackWords) {
  StateMacroExpansionMgmt::StateMacroExpander expander(federal, state);
  const struct {
    const char *macro, *fallBack;
    bool spouse;
  } names[] = {{"TPNameOrYouIC", "You", false},           {"TPNameOrYou", "you", false},
               {"SpNameOrSpouseIC", "Spouse", true},       {"SpNameOrYourSpouse", "your spouse", true},
               {"SpNameOrMySpouseIC", "My spouse", true},  {"SpNameOrYourSpouseIC", "Your spouse", true},
               {"SpNameOrYourSpouseTitle", "Your Spouse", true}};
  for (const auto& m : names) EXPECT_EQ(expander.expand(m.macro), m.fallBack) << m.macro;
  put(kFormID_PAReturnInfo, PAReturnInfo::kTaxpayerFirstName, DataMgmt::FieldValue::ofText("Ann Lee"));
  put(kFormID_PAReturnInfo, PAReturnInfo::kSpouseFirstName, DataMgmt::FieldValue::ofText("   "));  // a name
  for (const auto& m : names) EXPECT_EQ(expander.expand(m.macro), m.spouse ? "   " : "Ann Lee") << m.macro;

  EXPECT_EQ(expander.expandStateReturnName() + "|" + expander.expandStateReturnSecondName() + "|" +
                expander.expandStateReturnTitle() + "|" + expander.expand("expandStateWord"),
            "Pennsylvania||Pennsylvania Return|state");
  EXPECT_EQ(expander.expandPrintExtraPageCount() + expander.expandEFileCost1a() + expander.expandTransmitStatusInfo(),
            "NYI - expandPrintExtraPageCountNYI - expandEFileCost1aNYI - expandTransmitStatusInfo");
  auto& pa = static_cast<PADataMgmt::PATaxReturn&>(*state);
  char text[256] = "";
  pa.getMailingAddress(text, 0);
  EXPECT_TRUE(text[0] != '\0' && expander.expandStateMailingAddress() == text);
  put(kFormID_PA40, PA40::kTaxLiability, DataMgmt::FieldValue::of(1234));
  int32_t amount = 0;
  pa.getStateTextItem(text, &amount, 1);
  const std::string tax = expander.expandStateTaxAmount();
  EXPECT_TRUE(tax == Utils::OVStringUtils::trimString(text, true, true) && !tax.empty());

  for (const auto& c : {std::make_pair("https://a.b/c", "a.b/c"), std::make_pair("abc", "abc"),
                        std::make_pair("x/", ""), std::make_pair("ab/c", ""), std::make_pair("a/bc", "c")}) {
    federal->setOfficeLocatorURL(c.first);
    EXPECT_EQ(expander.expandOfficeLocatorNoScheme(), c.second) << c.first;
  }
}

}  // namespace
