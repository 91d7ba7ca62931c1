#include "interview/interview_hierarchy.h"

#include <memory>

#include "interview/pa_topics.h"
#include "interview/topic_table.h"
#include "interview/xs_topics.h"

namespace {

using StateTopicMgmt::kPAReturnType;

typedef TopicMgmt::TopicDesc* (*MakeTopic)(DataMgmt::TaxDataStore& store);

template <class Topic>
TopicMgmt::TopicDesc* makePA(DataMgmt::TaxDataStore& store) {
  return new Topic(store);
}

// The shared topics are built for the PA return.
template <class Topic>
TopicMgmt::TopicDesc* makeXS(DataMgmt::TaxDataStore& store) {
  return new Topic(store, kPAReturnType);
}

// The maker of each topic, in the rows' order.
const MakeTopic kMakers[] = {
#define TOPIC(id, layer, ...) &make##layer<layer##TopicMgmt::id##TopicDesc>,
#include "interview/topic_table.def"
#undef TOPIC
};
static_assert(sizeof kMakers / sizeof kMakers[0] == StateTopicMgmt::kTopicRowCount,
              "one maker per topic");

}  // namespace

std::vector<TopicMgmt::TopicDesc*>* buildInterviewHierarchy(DataMgmt::TaxDataStore& store) {
  // Until the list is handed over, the top-level topics (and with them
  // every attached child) are deleted if building fails part way.
  std::vector<std::unique_ptr<TopicMgmt::TopicDesc>> topLevel;
  for (int row = 0; row < StateTopicMgmt::kTopicRowCount; ++row) {
    std::unique_ptr<TopicMgmt::TopicDesc> topic(kMakers[row](store));
    if (StateTopicMgmt::topicRowAt(row).topLevel || topLevel.empty()) {
      topLevel.push_back(std::move(topic));
    } else {
      topLevel.back()->addChild(topic.release());  // the parent owns it, even on failure
    }
  }

  auto topics = std::make_unique<std::vector<TopicMgmt::TopicDesc*>>();
  topics->reserve(topLevel.size());
  for (auto& topic : topLevel) topics->push_back(topic.get());
  for (auto& topic : topLevel) topic.release();
  return topics.release();
}
