// ScheduleCCopy: one copy of PA Schedule C under calculation together with
// its source, a copy of the federal Schedule C. Shared by the two source
// files of the Schedule C calculation; nothing else uses it.
//
// It borrows the copy and the federal return for the length of one
// calculation. A federal copy that does not exist reads as empty (0, ""
// or not marked).
#ifndef CALC_PA_SCHEDULES_SCHEDULE_C_COPY_H_
#define CALC_PA_SCHEDULES_SCHEDULE_C_COPY_H_

#include <cstddef>
#include <cstdint>

#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine;

// A field of the PA Schedule C, and of the federal Schedule C.
typedef NamedField<PAScheduleCFieldIds> PAScheduleCField;
typedef NamedField<FedScheduleCFieldIds> FedScheduleCField;

struct ScheduleCCopy {
  DataMgmt::TaxFormPtr holder;  // the PA copy
  DataMgmt::TaxForm& form;      // *holder
  uint16_t copy;
  const DataMgmt::TaxReturn& federal;
  uint16_t federalCopy;

  // Whole-dollar amount, mark and text of a federal field.
  long fedAmount(const Primitives::OVImmutableIdentifier& field) const {
    return federal.getIN(kFormID_FedScheduleC, federalCopy, field);
  }
  bool fedYes(const Primitives::OVImmutableIdentifier& field) const {
    return federal.formYes(kFormID_FedScheduleC, federalCopy, field);
  }
  // At most size - 1 characters into `buf`.
  char* fedText(char* buf, std::size_t size, const Primitives::OVImmutableIdentifier& field) const {
    return federal.formString(buf, size, kFormID_FedScheduleC, federalCopy, field);
  }
};

// A PA field that receives a federal amount as it stands.
struct FederalAmountCopy {
  PAScheduleCField pa;
  FedScheduleCField federal;
};

// The expense part of the calculation (schedule_c_expenses.cc): the
// expense lines with the other-expense rows and the dated rows, the total
// expenses and the net profit or loss.
void computeScheduleCExpenses(PATaxReturnCalcEngine& engine, ScheduleCCopy& c);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_SCHEDULE_C_COPY_H_
