#include "interview/xs_topics.h"

#include <string>

#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "identifiers/form_ids.h"
#include "interview/topic_status_rules.h"

namespace XSTopicMgmt {

using StateTopicMgmt::TopicRowId;

// Every shared topic's constructor: its row, then its own set-up.
#define XS_TOPIC_CONSTRUCTOR(id)                                                       \
  id##TopicDesc::id##TopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type) \
      : XSTopicDesc(StateTopicMgmt::topicRow(TopicRowId::id), store, type) {          \
    id##TopicDesc::setupTopic();                                                       \
  }
#define PA_TOPIC_CONSTRUCTOR(id)
#define TOPIC(id, layer, ...) layer##_TOPIC_CONSTRUCTOR(id)
#include "interview/topic_table.def"
#undef TOPIC
#undef PA_TOPIC_CONSTRUCTOR
#undef XS_TOPIC_CONSTRUCTOR

// --- Endgrp ------------------------------------------------------------------

bool EndgrpTopicDesc::handleUserEvent(const Primitives::OVImmutableIdentifier& event,
                                      const TopicMgmt::TopicPath& path) const {
  if (!path.isGateway()) return false;
  if (event != TopicMgmt::kUserEvent_NEXT) return false;
  DataMgmt::TaxDataMgr::getInstance().notifyInterviewFinished(0, 0);
  return true;
}

void EndgrpTopicDesc::setupTopic() {
  const DataMgmt::TaxReturn* taxReturn = getTaxReturn();
  const std::string name = taxReturn != nullptr ? taxReturn->getDisplayName() : std::string();
  setTitle("Finished " + name + " Interview");
  XSTopicDesc::setupTopic();
}

// --- TaxPayPen ---------------------------------------------------------------

TopicMgmt::TopicStatus TaxPayPenTopicDesc::getTopicStatus() const {
  return StateTopicMgmt::ruledStatus(TopicRowId::TaxPayPen, getTaxReturn(),
                                     XSTopicDesc::getTopicStatus());
}

void TaxPayPenTopicDesc::setupTopic() {
  const DataMgmt::TaxReturn* taxReturn = getTaxReturn();
  std::string name;
  if (taxReturn != nullptr) {
    DataMgmt::TaxReturnDescPtr desc = taxReturn->getTaxReturnDesc();
    if (!desc.isNull()) name = desc->getFirstName();
  }
  setTitle(name + " Taxes, Payments and Penalties");
  XSTopicDesc::setupTopic();
}

// --- UpdateState -------------------------------------------------------------

bool UpdateStateTopicDesc::handleUserEvent(const Primitives::OVImmutableIdentifier& event,
                                           const TopicMgmt::TopicPath& /*path*/) const {
  DataMgmt::TaxDataMgr& manager = DataMgmt::TaxDataMgr::getInstance();
  // Both handles are values: released on every path.
  const DataMgmt::TaxDataStoreHandle storeHandle = manager.getStoreHandle(getDataStore());
  DataMgmt::TaxReturnHandle returnHandle = storeHandle.getTaxReturn(getReturnType());

  bool requestUpdate = false;
  if (event == TopicMgmt::kUserEvent_NEXT) {
    const DataMgmt::TaxReturn* taxReturn = getDataStore().getTaxReturn(getReturnType());
    requestUpdate =
        taxReturn != nullptr && taxReturn->formYes(kFormID_State14, 1, State14::kUpdateOnNextBox);
  } else if (event == TopicMgmt::kUserEvent_BACK) {
    returnHandle.setFieldValueBool(kFormID_State14, 1, State14::kUpdateOnNextBox, true);
    returnHandle.setFieldValueBool(kFormID_State14, 1, State14::kUpdateSecondBox, false);
  } else if (event == TopicMgmt::kUserEvent_UPDATE_NOW) {
    returnHandle.setFieldValueBool(kFormID_State14, 1, State14::kUpdateOnNextBox, false);
    requestUpdate = true;
  }
  if (!requestUpdate) return false;
  manager.handleUpdateRequest(storeHandle, returnHandle);
  return true;
}

}  // namespace XSTopicMgmt
