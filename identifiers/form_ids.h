// Form identifier constants: one `kFormID_<name>` per form the module reads
// or writes, built at load and read-only afterwards. The list, with numbers
// and sides, is kept as data in form_ids.def.
#ifndef IDENTIFIERS_FORM_IDS_H_
#define IDENTIFIERS_FORM_IDS_H_

#include "host/form_identifier.h"

#define FORM_ID(name, number, isState) \
  extern const Primitives::OVImmutableFormIdentifier kFormID_##name;
#include "identifiers/form_ids.def"
#undef FORM_ID

#endif  // IDENTIFIERS_FORM_IDS_H_
