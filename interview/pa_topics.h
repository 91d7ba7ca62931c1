// The PA interview's topic classes, one per PA topic, each named after its
// topic id with the suffix TopicDesc.
//
// Each is built from the host data store alone: its constructor passes the
// topic's row of the topic table (topic_table.def) to PATopicDesc and then
// runs its own set-up. Topics differ only in the host answers they
// override; the status rules are data (topic_status_rules.cc).
#ifndef INTERVIEW_PA_TOPICS_H_
#define INTERVIEW_PA_TOPICS_H_

#include "interview/pa_topic_desc.h"

namespace PATopicMgmt {

// A topic that keeps the host's answers.
#define PA_TOPIC(id)                                        \
  class id##TopicDesc : public PATopicDesc {                \
   public:                                                  \
    explicit id##TopicDesc(DataMgmt::TaxDataStore& store);  \
  };

// A topic whose status follows its rule in the status table.
#define PA_RULED_TOPIC(id)                                  \
  class id##TopicDesc : public PATopicDesc {                \
   public:                                                  \
    explicit id##TopicDesc(DataMgmt::TaxDataStore& store);  \
    TopicMgmt::TopicStatus getTopicStatus() const override; \
  };

PA_TOPIC(pags)
PA_TOPIC(painfo)
PA_TOPIC(paincome)
PA_TOPIC(pawages)
PA_RULED_TOPIC(paue1)
PA_RULED_TOPIC(busMFJ)
PA_RULED_TOPIC(pa40c)
PA_RULED_TOPIC(paothbus)
PA_RULED_TOPIC(paschewk)
PA_RULED_TOPIC(JtVentureRent)
PA_RULED_TOPIC(miscinc)
PA_TOPIC(padeduct)
PA_TOPIC(paincsum)
PA_TOPIC(credits)
PA_TOPIC(paschsp)
PA_TOPIC(paothcr)
PA_TOPIC(pacrsum)
PA_RULED_TOPIC(paextpmt)
PA_RULED_TOPIC(papwh)
PA_RULED_TOPIC(pauppen)
PA_RULED_TOPIC(pausetax)
PA_RULED_TOPIC(papmtsum)
PA_RULED_TOPIC(pamisc)
PA_RULED_TOPIC(LocalIncTxRet)
PA_RULED_TOPIC(parefund)
PA_TOPIC(pacontributions)
PA_RULED_TOPIC(paamend)
PA_TOPIC(paext)
PA_TOPIC(paeswks)
PA_TOPIC(PASecondaryNavs)

#undef PA_RULED_TOPIC
#undef PA_TOPIC

// Interest and dividends: the status reads the worksheet and the input
// forms 16 and 17.
class paintdivTopicDesc : public PATopicDesc {
 public:
  explicit paintdivTopicDesc(DataMgmt::TaxDataStore& store);
  TopicMgmt::TopicStatus getTopicStatus() const override;
};

// Sales of property: one instance at most.
class paschdTopicDesc : public PATopicDesc {
 public:
  explicit paschdTopicDesc(DataMgmt::TaxDataStore& store);
  TopicMgmt::TopicStatus getTopicStatus() const override;
  unsigned short getMaxInstances() const override;
};

// Credit for taxes paid to another state: the host's gateway type 2 stays
// 2 for a part-year resident of the store's PA return and becomes 4
// otherwise.
class paschgTopicDesc : public PATopicDesc {
 public:
  explicit paschgTopicDesc(DataMgmt::TaxDataStore& store);
  TopicMgmt::TopicStatus getTopicStatus() const override;
  TopicMgmt::TopicGatewayType getGatewayType(unsigned short a, unsigned short b) const override;
};

}  // namespace PATopicMgmt

#endif  // INTERVIEW_PA_TOPICS_H_
