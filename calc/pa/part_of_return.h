// Whether a form copy the calculation files stays part of the return.
//
// A calculation marks a copy as part of the return (data-entered, so the
// host prints and files it) when the copy's own test holds: Schedule SP
// when it forgives tax, Schedule W2-S when it totals wages. Once the test
// fails the copy leaves the return again, unless the user has entered
// something on it (then it keeps the mark the host gave it): an edited
// return files what the same entries loaded afresh file, whatever the
// calculations before left marked. What counts as the user's is the
// copy's fields the calculation leaves to the user, as the form's field
// table marks them (catalogs/fields/user_fields.h), and what the routine
// adds in code where a field is the user's only in some situations; a
// field holds an entry when it holds an amount other than 0, a text or a
// marked box, and is open to the user: what the calculation holds
// protected there (a box it fixes, a figure it writes) is its own.
#ifndef CALC_PA_PART_OF_RETURN_H_
#define CALC_PA_PART_OF_RETURN_H_

#include <cstdint>

#include "catalogs/fields/user_fields.h"
#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/tax_form.h"
#include "host/tax_return.h"

namespace PACalculationMgmt {

// Whether `field` of `form` holds an entry of the user's.
inline bool holdsEntry(const DataMgmt::TaxForm& form, const Primitives::OVImmutableIdentifier& field) {
  return form.hasSigValue(field) && !form.isProtected(field);
}

// Whether any of `fields` of `form` holds an entry.
template <class Fields>
bool holdsAnyOf(const DataMgmt::TaxForm& form, const Fields& fields) {
  for (const auto& field : fields) {
    if (holdsEntry(form, field)) return true;
  }
  return false;
}

// Whether any of the fields the form's table marks as the user's holds an
// entry on `form`.
template <class Catalog>
bool holdsUserEntry(const DataMgmt::TaxForm& form, const UserFields<Catalog>& fields) {
  return fields.any([&form](const Primitives::OVImmutableIdentifier& field) { return holdsEntry(form, field); });
}

// Makes copy `copy` of form `id` (the copy `form`) part of the return,
// with its calculated mark, while its `test` holds. Once the test fails the
// copy leaves the return, unless `holdsUserEntries()` (asked only then)
// says an entry of the user's is on it: then it keeps the mark the host
// gave it.
template <class HoldsUserEntries>
void markPartOfReturn(DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& id, uint16_t copy,
                      DataMgmt::TaxForm& form, bool test, HoldsUserEntries holdsUserEntries) {
  if (!test && holdsUserEntries()) return;
  taxReturn.setDataEntered(id, copy, test, false);
  form.setCalcMark(test);
}
// The same for a copy the calculation empties whenever its test fails, so
// that nothing of the user's can be on it then.
inline void markPartOfReturn(DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& id, uint16_t copy,
                             DataMgmt::TaxForm& form, bool test) {
  markPartOfReturn(taxReturn, id, copy, form, test, [] { return false; });
}
// The same on the return's own copy, when it has one (a routine handed
// another share of the copy marks the copy the host files).
template <class HoldsUserEntries>
void markPartOfReturn(DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& id, uint16_t copy, bool test,
                      HoldsUserEntries holdsUserEntries) {
  if (DataMgmt::TaxForm* own = taxReturn.getForm(id, copy)) {
    markPartOfReturn(taxReturn, id, copy, *own, test, holdsUserEntries);
  }
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_PART_OF_RETURN_H_
