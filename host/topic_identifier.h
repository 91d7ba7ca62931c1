// Primitives::OVImmutableTopicIdentifier: an interview topic identifier.
//
// A topic number and the locality that owns it. Equal numbers of different
// localities are different topics.
#ifndef HOST_TOPIC_IDENTIFIER_H_
#define HOST_TOPIC_IDENTIFIER_H_

#include "host/host_api.h"

namespace Primitives {

// The tax locality that owns a topic.
enum OVTaxLocality : int {
  kLocalityNone = 0,
  kLocalitySharedState = 2,  // the state layer shared by every state module
  kLocalityPA = 41,
};

class HOST_API OVImmutableTopicIdentifier {
 public:
  OVImmutableTopicIdentifier(int topic, OVTaxLocality locality)
      : number_(topic), locality_(locality) {}
  OVImmutableTopicIdentifier(int topic)  // NOLINT: implicit by design
      : number_(topic), locality_(kLocalityNone) {}
  OVImmutableTopicIdentifier(const OVImmutableTopicIdentifier&) = default;
  virtual ~OVImmutableTopicIdentifier();

  OVImmutableTopicIdentifier& operator=(const OVImmutableTopicIdentifier&) = default;

  bool operator==(const OVImmutableTopicIdentifier& o) const {
    return number_ == o.number_ && locality_ == o.locality_;
  }
  bool operator!=(const OVImmutableTopicIdentifier& o) const { return !(*this == o); }

  int getNumber() const { return number_; }
  OVTaxLocality getLocality() const { return locality_; }

 private:
  int number_;
  OVTaxLocality locality_;
};

}  // namespace Primitives

#endif  // HOST_TOPIC_IDENTIFIER_H_
