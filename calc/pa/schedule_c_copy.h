// ScheduleCCopy: one copy of PA Schedule C under calculation together with
// its source, a copy of the federal Schedule C. Shared by the two source
// files of the Schedule C calculation; nothing else uses it.
//
// It borrows the copy and the federal return for the length of one
// calculation. A federal copy that does not exist reads as empty (0, ""
// or not marked).
#ifndef CALC_PA_SCHEDULE_C_COPY_H_
#define CALC_PA_SCHEDULE_C_COPY_H_

#include <cstddef>
#include <cstdint>

#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine;

struct ScheduleCCopy {
  DataMgmt::TaxFormPtr holder;  // the PA copy
  DataMgmt::TaxForm& form;      // *holder
  uint16_t copy;
  const DataMgmt::TaxReturn& federal;
  uint16_t federalCopy;

  // Field `member` of the PA Schedule C catalog.
  static const Primitives::OVImmutableIdentifier& pa(int member) { return kPAScheduleCFieldIds[member]; }
  static const Primitives::OVImmutableIdentifier& fed(int member) { return kFedScheduleCFieldIds[member]; }

  // Whole-dollar amount, mark and text of federal member `member`.
  long fedAmount(int member) const { return federal.getIN(kFormID_FedScheduleC, federalCopy, fed(member)); }
  bool fedYes(int member) const { return federal.formYes(kFormID_FedScheduleC, federalCopy, fed(member)); }
  // At most size - 1 characters into `buf`.
  char* fedText(char* buf, std::size_t size, int member) const {
    return federal.formString(buf, size, kFormID_FedScheduleC, federalCopy, fed(member));
  }
};

// A PA field that receives a federal amount as it stands.
struct FederalAmountCopy {
  int paMember;
  int fedMember;
};

// The expense part of the calculation (schedule_c_expenses.cc): lines
// 56221 to 56306 with the other-expense rows and the dated rows.
void computeScheduleCExpenses(PATaxReturnCalcEngine& engine, ScheduleCCopy& c);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULE_C_COPY_H_
