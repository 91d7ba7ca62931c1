// Topic descriptors and script-query handlers of the stand-in host.
#include <gtest/gtest.h>

#include "host/data_store.h"
#include "host/script_query.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/topics.h"

namespace {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;
using Primitives::OVImmutableTopicIdentifier;
using namespace TopicMgmt;

// Counts live topics and set-up calls, to check ownership and that the
// base constructor runs no set-up.
struct Counts {
  int alive = 0;
  int setups = 0;
};

class CountedTopic : public TopicDesc {
 public:
  CountedTopic(DataMgmt::TaxDataStore& store, Counts& counts, const char* id = "leaf")
      : TopicDesc(OVImmutableTopicIdentifier(47, Primitives::kLocalityPA), store, id, "Title", true,
                  kGatewayStrategy2, false, OVImmutableFormIdentifier(169, true),
                  OVImmutableIdentifier(36868), kTopicStatus1, OVImmutableFormIdentifier(168, true),
                  OVImmutableIdentifier(42788), 40, kPlatform2, 33, OVImmutableIdentifier(5),
                  OVImmutableIdentifier(6), 123456789L, true, false, true, false),
        counts_(counts) {
    ++counts_.alive;
  }
  ~CountedTopic() override { --counts_.alive; }
  void setupTopic() override { ++counts_.setups; }

 private:
  Counts& counts_;
};

TEST(TopicDescTest, StoresEveryArgumentAndRunsNoSetup) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  CountedTopic topic(store, counts, "pawages");
  EXPECT_EQ(0, counts.setups);
  EXPECT_TRUE(topic.getTopicID() == OVImmutableTopicIdentifier(47, Primitives::kLocalityPA));
  EXPECT_EQ(&store, &topic.getDataStore());
  EXPECT_EQ("pawages", topic.getIdText());
  EXPECT_EQ("Title", topic.getInitialTitle());
  EXPECT_EQ("Title", topic.getTitle());
  EXPECT_TRUE(topic.getFlag1());
  EXPECT_EQ(kGatewayStrategy2, topic.getGatewayStrategy());
  EXPECT_FALSE(topic.getFlag2());
  EXPECT_TRUE(topic.getFirstForm() == OVImmutableFormIdentifier(169, true));
  EXPECT_EQ(36868, topic.getFirstField().getNumber());
  EXPECT_EQ(kTopicStatus1, topic.getInitialStatus());
  EXPECT_TRUE(topic.getSecondForm() == OVImmutableFormIdentifier(168, true));
  EXPECT_EQ(42788, topic.getSecondField().getNumber());
  EXPECT_EQ(40, topic.getReturnType());
  EXPECT_EQ(kPlatform2, topic.getPlatform());
  EXPECT_EQ(33, topic.getShortNumber());
  EXPECT_EQ(5, topic.getExtraField1().getNumber());
  EXPECT_EQ(6, topic.getExtraField2().getNumber());
  EXPECT_EQ(123456789L, topic.getLongNumber());
  EXPECT_TRUE(topic.getFlag3());
  EXPECT_FALSE(topic.getFlag4());
  EXPECT_TRUE(topic.getFlag5());
  EXPECT_FALSE(topic.getFlag6());
}

TEST(TopicDescTest, BaseAnswersAndTitle) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  CountedTopic topic(store, counts);
  EXPECT_EQ(kTopicStatus1, topic.getTopicStatus());
  EXPECT_EQ(0, topic.getMaxInstances());
  EXPECT_EQ(kGatewayType2, topic.getGatewayType(0, 0));
  topic.setGatewayType(static_cast<TopicGatewayType>(7));
  EXPECT_EQ(7, topic.getGatewayType(1, 1));
  EXPECT_FALSE(topic.handleUserEvent(kUserEvent_NEXT, TopicPath(true)));
  topic.setTitle("Finished  Interview");
  EXPECT_EQ("Finished  Interview", topic.getTitle());
  EXPECT_EQ("Title", topic.getInitialTitle());
  EXPECT_EQ(1, kUserEvent_NEXT.getNumber());
  EXPECT_EQ(2, kUserEvent_BACK.getNumber());
  EXPECT_EQ(3, kUserEvent_UPDATE_NOW.getNumber());
}

TEST(TopicDescTest, GetTaxReturnReadsTheStoreByType) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  CountedTopic topic(store, counts);
  EXPECT_EQ(nullptr, topic.getTaxReturn());
  DataMgmt::TaxReturnPtr pa(
      new DataMgmt::TaxReturn(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()));
  store.addReturn(40, pa);
  EXPECT_EQ(pa.get(), topic.getTaxReturn());
}

TEST(TopicDescTest, ChildrenAreOwnedInOrderAndDeletedOnce) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  {
    CountedTopic root(store, counts, "root");
    auto* first = new CountedTopic(store, counts, "first");
    auto* second = new CountedTopic(store, counts, "second");
    root.addChild(first);
    root.addChild(second);
    root.addChild(first);    // held already: ignored
    root.addChild(&root);    // itself: ignored
    root.addChild(nullptr);
    first->addChild(new CountedTopic(store, counts, "grandchild"));
    ASSERT_EQ(2u, root.getChildren().size());
    EXPECT_EQ("first", root.getChildren()[0]->getIdText());
    EXPECT_EQ("second", root.getChildren()[1]->getIdText());
    EXPECT_EQ(4, counts.alive);
  }
  EXPECT_EQ(0, counts.alive);
}

// A handler whose query answers through a virtual operation.
class BaseHandler : public ScriptQueryHandler {
 public:
  BaseHandler(DataMgmt::TaxDataStore& store) : ScriptQueryHandler(store, 40) {}
  void registerHandlers() override {
    insertHandler(2, static_cast<QueryFn>(&BaseHandler::second));
    insertHandler(1, static_cast<QueryFn>(&BaseHandler::first));
  }
  virtual unsigned char first(long, const OVImmutableIdentifier&, const TopicPath&) { return 10; }
  virtual unsigned char second(long q, const OVImmutableIdentifier& f, const TopicPath& p) {
    return static_cast<unsigned char>(q + f.getNumber() + (p.isGateway() ? 100 : 0));
  }
};

class DerivedHandler : public BaseHandler {
 public:
  using BaseHandler::BaseHandler;
  unsigned char first(long, const OVImmutableIdentifier&, const TopicPath&) override { return 20; }
};

TEST(ScriptQueryHandlerTest, DispatchesVirtuallyAndUnknownAnswersZero) {
  DataMgmt::TaxDataStore store;
  DerivedHandler handler(store);
  EXPECT_EQ(0, handler.handleScriptQuery(1, OVImmutableIdentifier(), TopicPath()));
  handler.registerHandlers();
  EXPECT_EQ(20, handler.handleScriptQuery(1, OVImmutableIdentifier(), TopicPath()));
  EXPECT_EQ(2 + 5 + 100, handler.handleScriptQuery(2, OVImmutableIdentifier(5), TopicPath(true)));
  EXPECT_EQ(0, handler.handleScriptQuery(3, OVImmutableIdentifier(), TopicPath()));
  EXPECT_EQ(0, handler.handleScriptQuery(-1, OVImmutableIdentifier(), TopicPath()));
  EXPECT_EQ((std::vector<long>{2, 1}), handler.registrationOrder());
  EXPECT_EQ(0, handler.reservedQuery1(1, OVImmutableIdentifier()));
  EXPECT_EQ(0, handler.reservedQuery2(1, OVImmutableIdentifier()));
  EXPECT_EQ(&store, &handler.getDataStore());
  EXPECT_EQ(40, handler.getReturnType());
}

// A topic that makes its handler in set-up, as a state topic does.
class HandlerTopic : public CountedTopic {
 public:
  using CountedTopic::CountedTopic;
  void setupTopic() override {
    delete queryHandler;
    queryHandler = new BaseHandler(getDataStore());
  }
};

TEST(ScriptQueryHandlerTest, TopicOwnsItsHandler) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  HandlerTopic topic(store, counts);
  EXPECT_EQ(nullptr, topic.getScriptQueryHandler());
  topic.setupTopic();
  topic.setupTopic();  // replaces the first; ASan reports a leak or double free
  ASSERT_NE(nullptr, topic.getScriptQueryHandler());
  EXPECT_EQ(&store, &topic.getScriptQueryHandler()->getDataStore());
}

}  // namespace
