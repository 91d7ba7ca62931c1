// The federal sources of the PA Schedule E copies: one property each,
// every existing federal Schedule E copy in copy order, then every
// existing Form 4835 (farm rental) copy. PA Schedule E copy p stands for
// the p-th source; the driver links them in this order and the audit
// names the sources that found no PA copy.
//
// Nothing is kept: each walk reads the federal return as it stands.
#ifndef CALC_PA_RENTAL_SOURCES_H_
#define CALC_PA_RENTAL_SOURCES_H_

#include <cstdint>

#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

// Calls visit(sourceForm, federalCopy, position) for every source, the
// position counting from 1.
template <class Visit>
void forEachRentalSource(const DataMgmt::TaxReturn& federal, Visit visit) {
  const Primitives::OVImmutableFormIdentifier* const kSourceForms[] = {&kFormID_FedScheduleE,
                                                                       &kFormID_FedFarmRental};
  long position = 0;
  for (const Primitives::OVImmutableFormIdentifier* form : kSourceForms) {
    const int highest = federal.getMaxCopies(*form);
    for (int copy = 1; copy <= highest; ++copy) {
      if (!federal.formExists(*form, static_cast<uint16_t>(copy))) continue;
      visit(*form, static_cast<uint16_t>(copy), ++position);
    }
  }
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_RENTAL_SOURCES_H_
