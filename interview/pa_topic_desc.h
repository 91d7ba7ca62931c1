// PATopicMgmt::PATopicDesc: the base of the PA interview's own topics.
//
// It takes the host constructor's arguments except the return type, which
// is always the PA return's (40). A topic may also be built from its row
// of the topic table (topic_table.h).
#ifndef INTERVIEW_PA_TOPIC_DESC_H_
#define INTERVIEW_PA_TOPIC_DESC_H_

#include "interview/state_topic_desc.h"
#include "interview/topic_table.h"

namespace PATopicMgmt {

class PATopicDesc : public StateTopicMgmt::StateTopicDesc {
 public:
  PATopicDesc(const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
              const char* idText, const char* title, bool flag1,
              TopicMgmt::TopicGatewayStrategy strategy, bool flag2,
              const Primitives::OVImmutableFormIdentifier& firstForm,
              const Primitives::OVImmutableIdentifier& firstField, TopicMgmt::TopicStatus status,
              const Primitives::OVImmutableFormIdentifier& secondForm,
              const Primitives::OVImmutableIdentifier& secondField,
              TopicMgmt::EnabledPlatformType platform, short shortNumber,
              const Primitives::OVImmutableIdentifier& extraField1,
              const Primitives::OVImmutableIdentifier& extraField2, long longNumber, bool flag3,
              bool flag4, bool flag5, bool flag6);
  // The topic of `row`, with what every topic passes alike.
  PATopicDesc(const StateTopicMgmt::TopicRow& row, DataMgmt::TaxDataStore& store);
  ~PATopicDesc() override;
};

}  // namespace PATopicMgmt

#endif  // INTERVIEW_PA_TOPIC_DESC_H_
