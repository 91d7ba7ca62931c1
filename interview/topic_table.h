// StateTopicMgmt::TopicRow: the constructor arguments of one interview
// topic, kept as data (topic_table.def) and read by the topic classes and
// the tree builder.
//
// A row names its topic identifier and forms by the address of their
// load-time constants and its fields by the forms' named-field constants;
// a null form stands for form 0 and an unset field for the empty
// identifier.
#ifndef INTERVIEW_TOPIC_TABLE_H_
#define INTERVIEW_TOPIC_TABLE_H_

#include "catalogs/any_named_field.h"
#include "host/form_identifier.h"
#include "host/topic_identifier.h"
#include "host/topics.h"

namespace StateTopicMgmt {

// One enumerator per row, in interview order.
enum class TopicRowId : int {
#define TOPIC(id, ...) id,
#include "interview/topic_table.def"
#undef TOPIC
};

// Every topic passes this return type: the PA return's.
constexpr DataMgmt::TaxReturnType kPAReturnType = 40;

struct TopicRow {
  const char* idText;
  const Primitives::OVImmutableTopicIdentifier* topic;
  const char* title;
  bool flag1;
  TopicMgmt::TopicGatewayStrategy strategy;
  bool flag2;
  const Primitives::OVImmutableFormIdentifier* firstForm;  // null: form 0
  AnyNamedField firstField;
  TopicMgmt::TopicStatus status;
  const Primitives::OVImmutableFormIdentifier* secondForm;  // null: form 0
  AnyNamedField secondField;
  short shortNumber;
  bool flag5;
  bool flag6;
  bool topLevel;  // false: a sub-topic of the nearest top-level row before it
};

// The number of rows.
constexpr int kTopicRowCount = 0
#define TOPIC(id, ...) +1
#include "interview/topic_table.def"
#undef TOPIC
    ;

const TopicRow& topicRow(TopicRowId id);
// Row `index` (0 to kTopicRowCount - 1) in interview order.
const TopicRow& topicRowAt(int index);

// The form a row names; form 0 for a null entry.
Primitives::OVImmutableFormIdentifier rowForm(const Primitives::OVImmutableFormIdentifier* form);

}  // namespace StateTopicMgmt

#endif  // INTERVIEW_TOPIC_TABLE_H_
