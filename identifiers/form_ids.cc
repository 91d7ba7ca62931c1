#include "identifiers/form_ids.h"

#define FORM_ID(name, number, isState) \
  const Primitives::OVImmutableFormIdentifier kFormID_##name(number, isState);
#include "identifiers/form_ids.def"
#undef FORM_ID
