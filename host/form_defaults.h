// Utils box-group defaults for a copy of a form.
//
// Ids with number <= 0 are ignored and repeated ids count once. The first
// (valid) id is the default.
#ifndef HOST_FORM_DEFAULTS_H_
#define HOST_FORM_DEFAULTS_H_

#include "host/host_api.h"
#include "host/identifier.h"
#include "host/pointers.h"

namespace Utils {

// When none of a, b, c holds the mark, marks a and sets the others to No;
// otherwise changes nothing. An empty form holder does nothing.
HOST_API void setDefaultX(DataMgmt::TaxFormPtr form, Primitives::OVImmutableIdentifier a,
                          Primitives::OVImmutableIdentifier b, Primitives::OVImmutableIdentifier c);

// A filing choice of two boxes: when both hold the mark, b is set to No;
// when neither does, a is marked and b set to No.
HOST_API void handleFilingChoice(DataMgmt::TaxFormPtr form, const Primitives::OVImmutableIdentifier& a,
                                 const Primitives::OVImmutableIdentifier& b);

}  // namespace Utils

#endif  // HOST_FORM_DEFAULTS_H_
