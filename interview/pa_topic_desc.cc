#include "interview/pa_topic_desc.h"

namespace PATopicMgmt {

PATopicDesc::PATopicDesc(
    const Primitives::OVImmutableTopicIdentifier& topic, DataMgmt::TaxDataStore& store,
    const char* idText, const char* title, bool flag1, TopicMgmt::TopicGatewayStrategy strategy,
    bool flag2, const Primitives::OVImmutableFormIdentifier& firstForm,
    const Primitives::OVImmutableIdentifier& firstField, TopicMgmt::TopicStatus status,
    const Primitives::OVImmutableFormIdentifier& secondForm,
    const Primitives::OVImmutableIdentifier& secondField, TopicMgmt::EnabledPlatformType platform,
    short shortNumber, const Primitives::OVImmutableIdentifier& extraField1,
    const Primitives::OVImmutableIdentifier& extraField2, long longNumber, bool flag3, bool flag4,
    bool flag5, bool flag6)
    : StateTopicMgmt::StateTopicDesc(topic, store, idText, title, flag1, strategy, flag2, firstForm,
                                     firstField, status, secondForm, secondField,
                                     StateTopicMgmt::kPAReturnType, platform, shortNumber,
                                     extraField1, extraField2, longNumber, flag3, flag4, flag5,
                                     flag6) {}

// The empty form and field arguments are temporaries that live for the
// call only; the host base keeps its own copies.
PATopicDesc::PATopicDesc(const StateTopicMgmt::TopicRow& row, DataMgmt::TaxDataStore& store)
    : PATopicDesc(*row.topic, store, row.idText, row.title, row.flag1, row.strategy, row.flag2,
                  StateTopicMgmt::rowForm(row.firstForm), fieldOf(row.firstField), row.status,
                  StateTopicMgmt::rowForm(row.secondForm), fieldOf(row.secondField),
                  TopicMgmt::kPlatform2, row.shortNumber, Primitives::OVImmutableIdentifier(0),
                  Primitives::OVImmutableIdentifier(0), 0L, false, false, row.flag5, row.flag6) {}

PATopicDesc::~PATopicDesc() = default;

}  // namespace PATopicMgmt
