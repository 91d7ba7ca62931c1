#include "interview/pa_topics.h"

#include "interview/topic_status_rules.h"

namespace PATopicMgmt {

using StateTopicMgmt::TopicRowId;

// Every PA topic's constructor: its row, then its own set-up.
#define PA_TOPIC_CONSTRUCTOR(id)                                     \
  id##TopicDesc::id##TopicDesc(DataMgmt::TaxDataStore& store)        \
      : PATopicDesc(StateTopicMgmt::topicRow(TopicRowId::id), store) { \
    id##TopicDesc::setupTopic();                                     \
  }
#define XS_TOPIC_CONSTRUCTOR(id)
#define TOPIC(id, layer, ...) layer##_TOPIC_CONSTRUCTOR(id)
#include "interview/topic_table.def"
#undef TOPIC
#undef XS_TOPIC_CONSTRUCTOR
#undef PA_TOPIC_CONSTRUCTOR

// The status of a topic by its rule; the host's answer for a topic whose
// rule is missing.
#define RULED_STATUS(id)                                                      \
  TopicMgmt::TopicStatus id##TopicDesc::getTopicStatus() const {              \
    return StateTopicMgmt::ruledStatus(TopicRowId::id, getTaxReturn(),        \
                                       PATopicDesc::getTopicStatus());        \
  }
RULED_STATUS(paue1)
RULED_STATUS(busMFJ)
RULED_STATUS(pa40c)
RULED_STATUS(paothbus)
RULED_STATUS(paschd)
RULED_STATUS(paschewk)
RULED_STATUS(JtVentureRent)
RULED_STATUS(miscinc)
RULED_STATUS(paschg)
RULED_STATUS(paextpmt)
RULED_STATUS(papwh)
RULED_STATUS(pauppen)
RULED_STATUS(pausetax)
RULED_STATUS(papmtsum)
RULED_STATUS(pamisc)
RULED_STATUS(LocalIncTxRet)
RULED_STATUS(parefund)
RULED_STATUS(paamend)
#undef RULED_STATUS

TopicMgmt::TopicStatus paintdivTopicDesc::getTopicStatus() const {
  return StateTopicMgmt::interestDividendStatus(getTaxReturn());
}

unsigned short paschdTopicDesc::getMaxInstances() const { return 1; }

TopicMgmt::TopicGatewayType paschgTopicDesc::getGatewayType(unsigned short a,
                                                            unsigned short b) const {
  const TopicMgmt::TopicGatewayType type = PATopicDesc::getGatewayType(a, b);
  if (type != TopicMgmt::kGatewayType2) return type;
  const DataMgmt::TaxReturn* paReturn = getDataStore().getTaxReturn(StateTopicMgmt::kPAReturnType);
  return StateTopicMgmt::isPartYearResident(paReturn) ? TopicMgmt::kGatewayType2
                                                      : TopicMgmt::kGatewayType4;
}

}  // namespace PATopicMgmt
