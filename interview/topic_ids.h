// Interview topic identifier constants: one `kTopicID_<id>` per topic of
// the PA interview and of the shared state layer's set, built at load and
// read-only afterwards. The list is kept as data in topic_ids.def.
#ifndef INTERVIEW_TOPIC_IDS_H_
#define INTERVIEW_TOPIC_IDS_H_

#include "host/topic_identifier.h"

#define TOPIC_ID(name, number, locality) \
  extern const Primitives::OVImmutableTopicIdentifier kTopicID_##name;
#include "interview/topic_ids.def"
#undef TOPIC_ID

#endif  // INTERVIEW_TOPIC_IDS_H_
