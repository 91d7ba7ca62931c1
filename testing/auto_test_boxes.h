// The two coordination boxes of the automated-test hooks, both on copy 1
// of one form of the return: the done box (a hook's work is done; every
// hook stops while it is marked) and the in-progress box (a hook is
// recalculating the return; the hooks of that nested calculation skip
// their steps). A missing copy 1 reads as unmarked and is never created.
#ifndef TESTING_AUTO_TEST_BOXES_H_
#define TESTING_AUTO_TEST_BOXES_H_

#include <functional>

#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/tax_return.h"

namespace AutoTestBoxes {

bool isMarked(const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
              const DataMgmt::FieldId& box);
// setX / setXNo on copy 1; nothing when the copy is missing.
void mark(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form, const DataMgmt::FieldId& box);
void unmark(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
            const DataMgmt::FieldId& box);

// Marks the in-progress box, runs `recalculate`, and unmarks the box,
// also when `recalculate` throws.
// When the box cannot be marked (no copy 1, no such field, or the field is
// overridden) the recalculation is skipped: its own hooks would otherwise
// run their steps again, without end.
void recalculateInProgress(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
                           const DataMgmt::FieldId& inProgressBox,
                           const std::function<void()>& recalculate);

// Whether the in-progress box is marked while no hook of this process is
// recalculating: a box left marked, saved with the return, which would
// keep every step of every hook from running.
bool isStale(const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
             const DataMgmt::FieldId& inProgressBox);
// Unmarks the in-progress box when it is stale; a box marked by a hook's
// recalculation under way stays. Whether it was stale.
bool resetIfStale(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
                  const DataMgmt::FieldId& inProgressBox);

}  // namespace AutoTestBoxes

#endif  // TESTING_AUTO_TEST_BOXES_H_
