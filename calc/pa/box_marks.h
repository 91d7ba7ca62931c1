// Marking a calculated check box of a form copy.
#ifndef CALC_PA_BOX_MARKS_H_
#define CALC_PA_BOX_MARKS_H_

#include "host/identifier.h"
#include "host/tax_form.h"

namespace PACalculationMgmt {

// Marks `box` when `marked`, else writes an explicit No over whatever it
// held (a user's mark included).
inline void markOrNo(DataMgmt::TaxForm& form, const Primitives::OVImmutableIdentifier& box, bool marked) {
  if (marked) {
    form.setX(box);
  } else {
    form.setXNo(box);
  }
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_BOX_MARKS_H_
