// Internal to the estimated tax worksheet (state form 183): the worksheet
// members its two sources share, and the fill of its four voucher blocks.
//
// Members are kPAEstimatedTaxWorksheetFieldIds indexes, host field numbers
// in the comments.
#ifndef CALC_PA_SCHEDULES_ESTIMATED_TAX_WORKSHEET_H_
#define CALC_PA_SCHEDULES_ESTIMATED_TAX_WORKSHEET_H_

#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"

namespace PACalculationMgmt {
namespace EstimatedTaxWorksheet {

inline const Primitives::OVImmutableIdentifier& field(int member) {
  return kPAEstimatedTaxWorksheetFieldIds[member];
}

const int kRequiredPayment = 46;  // 32
const int kAmendedBox = 53;       // 38
const int kAmendedAnnual = 56;    // 41
// First member of each column of the four installment rows.
const int kInstallmentAmount = 61;  // 46-49
const int kInstallmentCredit = 65;  // 50-53
const int kInstallmentNet = 69;     // 54-57

// Fills the four voucher blocks of `worksheet` (copy number `copy`) once
// the installment rows are written: due dates, the filer's and, for a
// joint return, the spouse's name texts, the daytime telephone number, the
// PA-40 and address texts, the annual amount and each block's installment
// (the net payment of its row). The engine must hold a PA return.
void fillVoucherBlocks(PATaxReturnCalcEngine& engine, DataMgmt::TaxFormPtr worksheet, uint16_t copy,
                       bool joint);

}  // namespace EstimatedTaxWorksheet
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_ESTIMATED_TAX_WORKSHEET_H_
