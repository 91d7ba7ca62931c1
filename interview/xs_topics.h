// The shared state layer's topics in the PA interview: the end of the
// interview, taxes and payments, and program updates.
//
// Each is built from the host data store and the return type of its
// return; its constructor passes the topic's row of the topic table to
// XSTopicDesc and then runs its own set-up.
#ifndef INTERVIEW_XS_TOPICS_H_
#define INTERVIEW_XS_TOPICS_H_

#include "interview/xs_topic_desc.h"

namespace XSTopicMgmt {

// The end of the interview. Its title names the return ("Finished " + the
// return's display name + " Interview"; a missing return counts as an
// empty name). Next on its gateway page tells the data manager that the
// interview is finished.
class EndgrpTopicDesc : public XSTopicDesc {
 public:
  EndgrpTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  bool handleUserEvent(const Primitives::OVImmutableIdentifier& event,
                       const TopicMgmt::TopicPath& path) const override;
  void setupTopic() override;
};

// Taxes, payments and penalties. Its title begins with the first name of
// the return's description (empty for a missing return).
class TaxPayPenTopicDesc : public XSTopicDesc {
 public:
  TaxPayPenTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  TopicMgmt::TopicStatus getTopicStatus() const override;
  void setupTopic() override;
};

// Program updates. Records the user's update choice in the two yes boxes of
// copy 1 of state form 14 and hands update requests to the data manager.
class UpdateStateTopicDesc : public XSTopicDesc {
 public:
  UpdateStateTopicDesc(DataMgmt::TaxDataStore& store, DataMgmt::TaxReturnType type);
  bool handleUserEvent(const Primitives::OVImmutableIdentifier& event,
                       const TopicMgmt::TopicPath& path) const override;
};

}  // namespace XSTopicMgmt

#endif  // INTERVIEW_XS_TOPICS_H_
