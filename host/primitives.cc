// Out-of-line key functions of the identifier classes, so that their
// vtables and type-info live once, in the host library.
#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/topic_identifier.h"

namespace Primitives {

OVImmutableIdentifier::~OVImmutableIdentifier() = default;
OVImmutableFormIdentifier::~OVImmutableFormIdentifier() = default;
OVImmutableTopicIdentifier::~OVImmutableTopicIdentifier() = default;

const OVImmutableIdentifier kNullFieldID(0);

std::ostream& operator<<(std::ostream& out, const OVImmutableIdentifier& id) {
  return out << id.getNumber();
}

}  // namespace Primitives
