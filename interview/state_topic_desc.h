// StateTopicMgmt::StateTopicDesc: the state layer's base of an interview
// topic descriptor.
//
// It forwards the host constructor's 22 arguments unchanged, or takes them
// from the topic's row of the topic table (topic_table.h). Its set-up
// gives the topic a fresh StateScriptQueryHandler over the topic's store
// and return type; the topic owns it (the host base deletes it), and a
// second set-up destroys the first handler before making the next.
#ifndef INTERVIEW_STATE_TOPIC_DESC_H_
#define INTERVIEW_STATE_TOPIC_DESC_H_

#include "host/data_store.h"
#include "host/topics.h"

namespace StateTopicMgmt {

struct TopicRow;

class StateTopicDesc : public TopicMgmt::TopicDesc {
 public:
  StateTopicDesc(const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
                 const char* idText, const char* title, bool flag1,
                 TopicMgmt::TopicGatewayStrategy strategy, bool flag2,
                 const Primitives::OVImmutableFormIdentifier& firstForm,
                 const Primitives::OVImmutableIdentifier& firstField, TopicMgmt::TopicStatus status,
                 const Primitives::OVImmutableFormIdentifier& secondForm,
                 const Primitives::OVImmutableIdentifier& secondField, DataMgmt::TaxReturnType type,
                 TopicMgmt::EnabledPlatformType platform, short shortNumber,
                 const Primitives::OVImmutableIdentifier& extraField1,
                 const Primitives::OVImmutableIdentifier& extraField2, long longNumber, bool flag3,
                 bool flag4, bool flag5, bool flag6);
  // The topic of `row` for returns of `type`, with what every topic passes
  // alike (platform 2, two empty identifiers, long number 0, flags 3 and 4
  // false).
  StateTopicDesc(const TopicRow& row, DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  ~StateTopicDesc() override;

  void setupTopic() override;
};

}  // namespace StateTopicMgmt

#endif  // INTERVIEW_STATE_TOPIC_DESC_H_
