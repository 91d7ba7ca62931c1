// The shared state layer's script queries, answered from the session
// properties of the store's federal return.
#include <gtest/gtest.h>

#include "host/session_properties.h"
#include "interview/state_script_query_handler.h"
#include "interview/tests/interview_fixture.h"

namespace {

using StateTopicMgmt::StateScriptQueryHandler;

class ScriptQueryTest : public InterviewTest {
 protected:
  // Session properties on the federal return, with the given values;
  // a value below -128 leaves that property out.
  void properties(int lly, int import, DataMgmt::TaxReturn* on = nullptr) {
    DataMgmt::SessionPropertiesPtr p(new DataMgmt::SessionProperties());
    if (lly >= -128) p->setOVInt8Property("ui_prop_lly_status", static_cast<int8_t>(lly));
    if (import >= -128) p->setOVInt8Property("ui_prop_import_status", static_cast<int8_t>(import));
    (on != nullptr ? on : federal.get())->setSessionProperties(p);
  }
  int query(long n, DataMgmt::TaxDataStore& from) {
    StateScriptQueryHandler handler(from, 40);
    return handler.handleScriptQuery(n, Primitives::kNullFieldID, TopicMgmt::TopicPath());
  }
  int query(long n) { return query(n, store); }
};

constexpr int kMissing = -1000;

TEST_F(ScriptQueryTest, AnswersFromTheSessionProperties) {
  struct Case {
    int lly, import;
    int query1, query2;
  };
  const Case cases[] = {
      {kMissing, kMissing, 0, 1},
      {0, 0, 0, 1},
      {1, 1, 1, 0},
      {-3, -1, 1, 0},  // any non-zero byte counts as set
      {127, kMissing, 1, 1},
      {kMissing, 5, 0, 0},
  };
  for (const Case& c : cases) {
    properties(c.lly, c.import);
    EXPECT_EQ(query(1), c.query1) << c.lly;
    EXPECT_EQ(query(2), c.query2) << c.import;
  }
}

TEST_F(ScriptQueryTest, AReturnWithoutPropertiesOrAStoreWithoutTheFederalReturnReadsMissing) {
  EXPECT_EQ(query(1), 0);  // no properties at all
  EXPECT_EQ(query(2), 1);
  DataMgmt::TaxDataStore paOnly;
  paOnly.addReturn(40, state);
  properties(1, 1, state.get());  // the PA return's properties are not read
  EXPECT_EQ(query(1, paOnly), 0);
  EXPECT_EQ(query(2, paOnly), 1);
}

TEST_F(ScriptQueryTest, RegistersQueryTwoFirstAndAnswersZeroToOthers) {
  StateScriptQueryHandler handler(store, 40);
  EXPECT_EQ(handler.registrationOrder(), (std::vector<long>{2, 1}));
  EXPECT_EQ(handler.handleScriptQuery(3, Primitives::kNullFieldID, TopicMgmt::TopicPath()), 0);
  EXPECT_EQ(handler.reservedQuery1(1, Primitives::kNullFieldID), 0);
  EXPECT_EQ(handler.reservedQuery2(2, Primitives::kNullFieldID), 0);
}

// A handler of a later layer: the registered queries answer through its
// overrides.
struct OverridingHandler : StateScriptQueryHandler {
  using StateScriptQueryHandler::StateScriptQueryHandler;
  unsigned char isLLYStatusSet(long, const Primitives::OVImmutableIdentifier&,
                               const TopicMgmt::TopicPath&) override {
    return 7;
  }
};

TEST_F(ScriptQueryTest, ADerivedHandlerAnswersThroughItsOverrides) {
  OverridingHandler handler(store, 40);
  EXPECT_EQ(handler.handleScriptQuery(1, Primitives::kNullFieldID, TopicMgmt::TopicPath()), 7);
  EXPECT_EQ(handler.handleScriptQuery(2, Primitives::kNullFieldID, TopicMgmt::TopicPath()), 1);
}

TEST_F(ScriptQueryTest, EveryTopicsHandlerAnswers) {
  properties(1, kMissing);
  TopicMgmt::ScriptQueryHandler* handler = topic("paschsp")->getScriptQueryHandler();
  ASSERT_NE(handler, nullptr);
  EXPECT_EQ(handler->handleScriptQuery(1, Primitives::kNullFieldID, TopicMgmt::TopicPath()), 1);
}

}  // namespace
