// Whose a copy of a federal form is, by the owner marks it carries (the
// taxpayer's, the spouse's and, on some forms, a joint one), for the
// calculations that share the copies out between the filers.
#ifndef CALC_PA_FEDERAL_OWNER_H_
#define CALC_PA_FEDERAL_OWNER_H_

#include <cstdint>

#include "host/identifier.h"
#include "host/tax_return.h"

namespace PACalculationMgmt {

enum class FederalOwner { kNone, kTaxpayer, kSpouse, kJoint };

// The owner marks of one federal copy.
struct OwnerMarks {
  bool taxpayer = false;
  bool spouse = false;
  bool joint = false;
};

// The marks of copy `copy` of federal form `form`; a mark whose field is
// empty (a form without that mark) reads as not marked.
inline OwnerMarks readOwnerMarks(const DataMgmt::TaxReturn& federal, const DataMgmt::FormId& form, uint16_t copy,
                                 const DataMgmt::FieldId& taxpayer, const DataMgmt::FieldId& spouse,
                                 const DataMgmt::FieldId& joint = Primitives::kNullFieldID) {
  const auto marked = [&](const DataMgmt::FieldId& mark) {
    return mark.isValid() && federal.formYes(form, copy, mark);
  };
  OwnerMarks marks;
  marks.taxpayer = marked(taxpayer);
  marks.spouse = marked(spouse);
  marks.joint = marked(joint);
  return marks;
}

// A joint return goes by the marks: the taxpayer's first, then the
// spouse's, then the joint one; a copy without any is `unmarkedOnJoint`'s,
// as the form's own rule has it. A return that is not joint has no
// spouse: a copy marked for the spouse belongs on the spouse's own return
// and is nobody's here, and every other copy, marked or not, is the
// taxpayer's.
inline FederalOwner federalCopyOwner(const OwnerMarks& marks, bool joint, FederalOwner unmarkedOnJoint) {
  if (!joint) return marks.spouse ? FederalOwner::kNone : FederalOwner::kTaxpayer;
  if (marks.taxpayer) return FederalOwner::kTaxpayer;
  if (marks.spouse) return FederalOwner::kSpouse;
  if (marks.joint) return FederalOwner::kJoint;
  return unmarkedOnJoint;
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_FEDERAL_OWNER_H_
