#include "host/form_defaults.h"

#include "host/tax_form.h"

namespace Utils {

void setDefaultX(DataMgmt::TaxFormPtr form, Primitives::OVImmutableIdentifier a,
                 Primitives::OVImmutableIdentifier b, Primitives::OVImmutableIdentifier c) {
  if (form.isNull()) return;
  form->defaultMark({a, b, c});
}

void handleFilingChoice(DataMgmt::TaxFormPtr form, const Primitives::OVImmutableIdentifier& a,
                        const Primitives::OVImmutableIdentifier& b) {
  if (form.isNull()) return;
  form->oneX2AndDefault(a, b);
}

}  // namespace Utils
