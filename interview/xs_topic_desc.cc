#include "interview/xs_topic_desc.h"

namespace XSTopicMgmt {

XSTopicDesc::XSTopicDesc(
    const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
    const char* idText, const char* title, bool flag1, TopicMgmt::TopicGatewayStrategy strategy,
    bool flag2, const Primitives::OVImmutableFormIdentifier& firstForm,
    const Primitives::OVImmutableIdentifier& firstField, TopicMgmt::TopicStatus status,
    const Primitives::OVImmutableFormIdentifier& secondForm,
    const Primitives::OVImmutableIdentifier& secondField, DataMgmt::TaxReturnType type,
    TopicMgmt::EnabledPlatformType platform, short shortNumber,
    const Primitives::OVImmutableIdentifier& extraField1,
    const Primitives::OVImmutableIdentifier& extraField2, long longNumber, bool flag3, bool flag4,
    bool flag5, bool flag6)
    : StateTopicMgmt::StateTopicDesc(topic, store, idText, title, flag1, strategy, flag2, firstForm,
                                     firstField, status, secondForm, secondField, type, platform,
                                     shortNumber, extraField1, extraField2, longNumber, flag3,
                                     flag4, flag5, flag6) {}

XSTopicDesc::XSTopicDesc(const StateTopicMgmt::TopicRow& row, DataMgmt::TaxDataStore& store,
                         DataMgmt::TaxReturnType type)
    : StateTopicMgmt::StateTopicDesc(row, store, type) {}

XSTopicDesc::~XSTopicDesc() = default;

}  // namespace XSTopicMgmt
