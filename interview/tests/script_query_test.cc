// The shared state layer's script queries, answered from the session
// properties of the store's federal return.
#include <gtest/gtest.h>

#include "host/session_properties.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"

namespace {

using StateTopicMgmt::StateScriptQueryHandler;
constexpr int kMissing = -1000;

class ScriptQueryTest : public InterviewTest {
 protected:
  // Session properties on the return (the federal one unless given); a
  // value of kMissing leaves that property out.
  void properties(int lly, int import, DataMgmt::TaxReturn* on = nullptr) {
    DataMgmt::SessionPropertiesPtr p(new DataMgmt::SessionProperties());
    if (lly != kMissing) p->setOVInt8Property("ui_prop_lly_status", static_cast<int8_t>(lly));
    if (import != kMissing) p->setOVInt8Property("ui_prop_import_status", static_cast<int8_t>(import));
    (on != nullptr ? on : federal.get())->setSessionProperties(p);
  }
  static int query(long n, StateScriptQueryHandler& handler) {
    return handler.handleScriptQuery(n, Primitives::kNullFieldID, TopicMgmt::TopicPath());
  }
  int query(long n, DataMgmt::TaxDataStore& from) {
    StateScriptQueryHandler handler(from, 40);
    return query(n, handler);
  }
};

TEST_F(ScriptQueryTest, AnswersFromTheSessionProperties) {
  const struct {
    int lly, import, query1, query2;
  } cases[] = {
      {kMissing, kMissing, 0, 1}, {0, 0, 0, 1}, {1, 1, 1, 0},
      {-3, -1, 1, 0},  // any non-zero byte counts as set
      {127, kMissing, 1, 1},      {kMissing, 5, 0, 0},
  };
  EXPECT_EQ(query(1, store), 0);  // no properties at all
  EXPECT_EQ(query(2, store), 1);
  for (const auto& c : cases) {
    properties(c.lly, c.import);
    EXPECT_EQ(query(1, store), c.query1) << c.lly;
    EXPECT_EQ(query(2, store), c.query2) << c.import;
  }
  // A store without the federal return reads as missing; the PA return's
  // properties are not read.
  DataMgmt::TaxDataStore paOnly;
  paOnly.addReturn(40, state);
  properties(1, 1, state.get());
  EXPECT_EQ(query(1, paOnly), 0);
  EXPECT_EQ(query(2, paOnly), 1);
}

// A handler of a later layer: the registered queries answer through its
// overrides.
struct OverridingHandler : StateScriptQueryHandler {
  using StateScriptQueryHandler::StateScriptQueryHandler;
  unsigned char isLLYStatusSet(long, const Primitives::OVImmutableIdentifier&, const TopicMgmt::TopicPath&) override {
    return 7;
  }
};

TEST_F(ScriptQueryTest, RegistrationOverridesAndOtherQueries) {
  OverridingHandler handler(store, 40);
  EXPECT_EQ(handler.registrationOrder(), (std::vector<long>{2, 1}));
  EXPECT_EQ(query(1, handler), 7);
  EXPECT_EQ(query(2, handler), 1);
  EXPECT_EQ(query(3, handler), 0);
  EXPECT_EQ(handler.reservedQuery1(1, Primitives::kNullFieldID), 0);
  EXPECT_EQ(handler.reservedQuery2(2, Primitives::kNullFieldID), 0);
  properties(1, kMissing);
  EXPECT_EQ(query(1, *static_cast<StateScriptQueryHandler*>(topic("paschsp")->getScriptQueryHandler())), 1);
}

}  // namespace
