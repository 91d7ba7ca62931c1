#include "interview/topic_table.h"

#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"
#include "interview/topic_ids.h"

namespace StateTopicMgmt {

namespace {

#define FORM(name) &kFormID_##name
#define NO_FORM nullptr
#define FIELD(form, name) form::k##name
#define NO_FIELD AnyNamedField()
#define TOP true
#define CHILD false
#define TOPIC(id, layer, level, title, flag1, strategy, flag2, firstForm, firstField, status, \
              secondForm, secondField, shortNumber, flag5, flag6)                             \
  {#id, &kTopicID_##id, title, flag1 != 0, static_cast<TopicMgmt::TopicGatewayStrategy>(strategy), \
   flag2 != 0, firstForm, firstField, static_cast<TopicMgmt::TopicStatus>(status), secondForm,     \
   secondField, shortNumber, flag5 != 0, flag6 != 0, level},

const TopicRow kTopicRows[] = {
#include "interview/topic_table.def"
};

#undef TOPIC
#undef CHILD
#undef TOP
#undef NO_FIELD
#undef FIELD
#undef NO_FORM
#undef FORM

static_assert(sizeof kTopicRows / sizeof kTopicRows[0] == kTopicRowCount,
              "one row per topic");

}  // namespace

const TopicRow& topicRow(TopicRowId id) { return kTopicRows[static_cast<int>(id)]; }

const TopicRow& topicRowAt(int index) { return kTopicRows[index]; }

Primitives::OVImmutableFormIdentifier rowForm(const Primitives::OVImmutableFormIdentifier* form) {
  return form != nullptr ? *form : Primitives::OVImmutableFormIdentifier(0);
}

}  // namespace StateTopicMgmt
