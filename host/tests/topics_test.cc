// Topic descriptors and script-query handlers: ownership and dispatch.
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

TEST(TopicDescTest, RunsNoSetupAndReadsItsReturnFromTheStore) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  CountedTopic topic(store, counts, "pawages");
  EXPECT_EQ(0, counts.setups);
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
    root.addChild(first);
    root.addChild(new CountedTopic(store, counts, "second"));
    root.addChild(first);  // held already: ignored
    root.addChild(&root);  // itself: ignored
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

// A topic that makes its handler in set-up, as a state topic does.
class HandlerTopic : public CountedTopic {
 public:
  using CountedTopic::CountedTopic;
  void setupTopic() override {
    delete queryHandler;
    queryHandler = new DerivedHandler(getDataStore());
  }
};

TEST(ScriptQueryHandlerTest, TopicOwnsItsHandlerWhichDispatchesVirtually) {
  DataMgmt::TaxDataStore store;
  Counts counts;
  HandlerTopic topic(store, counts);
  EXPECT_EQ(nullptr, topic.getScriptQueryHandler());
  topic.setupTopic();
  topic.setupTopic();  // replaces the first; ASan reports a leak or double free
  ScriptQueryHandler& handler = *topic.getScriptQueryHandler();
  EXPECT_EQ(0, handler.handleScriptQuery(1, OVImmutableIdentifier(), TopicPath()));
  handler.registerHandlers();
  EXPECT_EQ(20, handler.handleScriptQuery(1, OVImmutableIdentifier(), TopicPath()));
  EXPECT_EQ(2 + 5 + 100, handler.handleScriptQuery(2, OVImmutableIdentifier(5), TopicPath(true)));
  EXPECT_EQ(0, handler.handleScriptQuery(3, OVImmutableIdentifier(), TopicPath()));
  EXPECT_EQ(0, handler.handleScriptQuery(-1, OVImmutableIdentifier(), TopicPath()));
}

}  // namespace

namespace {

// The host's words for a topic's status, as an interview outline shows it.
TEST(TopicStatusTextTest, EachStatusHasItsWords) {
  const struct {
    int status;
    const char* text;
  } kTexts[] = {{0, "to visit"}, {1, "optional"}, {2, "not needed"}, {7, "status 7"}, {-1, "status -1"}};
  for (const auto& t : kTexts) EXPECT_EQ(t.text, topicStatusText(static_cast<TopicStatus>(t.status)));
}

}  // namespace
