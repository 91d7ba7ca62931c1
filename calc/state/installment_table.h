// The quarterly installment table that allocateInstallments fills.
//
// Four rows, row 0 the first quarter; each row holds five amounts in the
// column order below. Rows before the first installment stay 0.
#ifndef CALC_STATE_INSTALLMENT_TABLE_H_
#define CALC_STATE_INSTALLMENT_TABLE_H_

namespace StateCalculationMgmt {

enum InstallmentColumn {
  kInstallment = 0,      // the part of the annual amount due that quarter
  kCreditApplied = 1,    // the part of the credit the installment absorbs
  kNetInstallment = 2,   // installment less credit applied
  kAmountRemaining = 3,  // annual amount less this and the earlier installments
  kCreditRemaining = 4,  // credit left after this row
};

const int kInstallmentRows = 4;
const int kInstallmentColumns = 5;

typedef double InstallmentTable[kInstallmentRows][kInstallmentColumns];

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INSTALLMENT_TABLE_H_
