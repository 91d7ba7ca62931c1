#include "interview/topic_ids.h"

#define TOPIC_ID(name, number, locality) \
  const Primitives::OVImmutableTopicIdentifier kTopicID_##name(number, Primitives::locality);
#include "interview/topic_ids.def"
#undef TOPIC_ID
