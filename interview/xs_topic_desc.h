// XSTopicMgmt::XSTopicDesc: the base of the shared state layer's topics.
//
// It takes all of the host constructor's arguments, the return type from
// its caller. A topic may also be built from its row of the topic table
// (topic_table.h) and a return type.
#ifndef INTERVIEW_XS_TOPIC_DESC_H_
#define INTERVIEW_XS_TOPIC_DESC_H_

#include "interview/state_topic_desc.h"
#include "interview/topic_table.h"

namespace XSTopicMgmt {

class XSTopicDesc : public StateTopicMgmt::StateTopicDesc {
 public:
  XSTopicDesc(const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
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
  // alike.
  XSTopicDesc(const StateTopicMgmt::TopicRow& row, DataMgmt::TaxDataStore& store,
              DataMgmt::TaxReturnType type);
  ~XSTopicDesc() override;
};

}  // namespace XSTopicMgmt

#endif  // INTERVIEW_XS_TOPIC_DESC_H_
