// The election of the direct deposit and debit form: a refund goes to the
// bank when the filer asks for it; else an amount owed is debited when the
// federal return asks for it; else neither.
//
// The form's calculation records the election in its boxes; the audit
// asks for it here, so that it sees the filer's choice whether or not the
// form has been made (only the data-file write makes it).
#ifndef CALC_PA_SCHEDULES_BANK_ELECTION_H_
#define CALC_PA_SCHEDULES_BANK_ELECTION_H_

#include "return/pa_tax_return.h"

namespace PACalculationMgmt {

enum class BankElection { kNeither, kDirectDeposit, kDirectDebit };

// The election for a refund and an amount owed (whole dollars, the PA-40's
// lines); a null federal return never asks for a debit.
BankElection bankElection(const PADataMgmt::PATaxReturn& pa, const DataMgmt::TaxReturn* federal,
                          double refund, double owed);

// The same for the PA-40's refund and amount owed of copy 1.
BankElection bankElectionOfReturn(const PADataMgmt::PATaxReturn& pa,
                                  const DataMgmt::TaxReturn* federal);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_BANK_ELECTION_H_
