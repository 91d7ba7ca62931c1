#include "interview/state_topic_desc.h"

#include "interview/state_script_query_handler.h"
#include "interview/topic_table.h"

namespace StateTopicMgmt {

StateTopicDesc::StateTopicDesc(
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
    : TopicMgmt::TopicDesc(topic, store, idText, title, flag1, strategy, flag2, firstForm,
                           firstField, status, secondForm, secondField, type, platform,
                           shortNumber, extraField1, extraField2, longNumber, flag3, flag4, flag5,
                           flag6) {}

// The empty form and field arguments are temporaries that live for the
// call only; the host base keeps its own copies.
StateTopicDesc::StateTopicDesc(const TopicRow& row, DataMgmt::TaxDataStore& store,
                               DataMgmt::TaxReturnType type)
    : StateTopicDesc(*row.topic, store, row.idText, row.title, row.flag1, row.strategy, row.flag2,
                     rowForm(row.firstForm), row.firstField.id(), row.status,
                     rowForm(row.secondForm), row.secondField.id(), type,
                     TopicMgmt::kPlatform2, row.shortNumber, Primitives::OVImmutableIdentifier(0),
                     Primitives::OVImmutableIdentifier(0), 0L, false, false, row.flag5,
                     row.flag6) {}

StateTopicDesc::~StateTopicDesc() = default;

void StateTopicDesc::setupTopic() {
  // Cleared before the new one is made: should making it fail, the topic
  // holds no pointer to the destroyed handler.
  delete queryHandler;
  queryHandler = nullptr;
  queryHandler = new StateScriptQueryHandler(getDataStore(), getReturnType());
}

}  // namespace StateTopicMgmt
