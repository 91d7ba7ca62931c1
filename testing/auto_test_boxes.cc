// The done and in-progress boxes of the automated-test hooks.
#include "testing/auto_test_boxes.h"

#include "host/tax_form.h"

namespace AutoTestBoxes {
namespace {

// The hooks' recalculations under way in this process, nested ones
// included.
int recalculations = 0;

}  // namespace

bool isMarked(const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
              const DataMgmt::FieldId& box) {
  const DataMgmt::TaxForm* copy = taxReturn == nullptr ? nullptr : taxReturn->getForm(form, 1);
  return copy != nullptr && copy->xMarked(box);
}

void mark(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form, const DataMgmt::FieldId& box) {
  DataMgmt::TaxForm* copy = taxReturn == nullptr ? nullptr : taxReturn->getForm(form, 1);
  if (copy != nullptr) copy->setX(box);
}

void unmark(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
            const DataMgmt::FieldId& box) {
  DataMgmt::TaxForm* copy = taxReturn == nullptr ? nullptr : taxReturn->getForm(form, 1);
  if (copy != nullptr) copy->setXNo(box);
}

void recalculateInProgress(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
                           const DataMgmt::FieldId& inProgressBox,
                           const std::function<void()>& recalculate) {
  mark(taxReturn, form, inProgressBox);
  if (!isMarked(taxReturn, form, inProgressBox)) return;
  // Unmarked on every way out, an exception of the calculation included:
  // a box left marked and saved with the return would keep every hook from
  // running its steps.
  struct Unmark {
    DataMgmt::TaxReturn* taxReturn;
    const DataMgmt::FormId& form;
    const DataMgmt::FieldId& box;
    ~Unmark() {
      --recalculations;
      unmark(taxReturn, form, box);
    }
  } unmarkOnExit{taxReturn, form, inProgressBox};
  ++recalculations;
  recalculate();
}

bool isStale(const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
             const DataMgmt::FieldId& inProgressBox) {
  return recalculations == 0 && isMarked(taxReturn, form, inProgressBox);
}

bool resetIfStale(DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& form,
                  const DataMgmt::FieldId& inProgressBox) {
  if (!isStale(taxReturn, form, inProgressBox)) return false;
  unmark(taxReturn, form, inProgressBox);
  return true;
}

}  // namespace AutoTestBoxes
