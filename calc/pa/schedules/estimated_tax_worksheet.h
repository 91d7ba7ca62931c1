// Internal to the estimated tax worksheet (state form 183): the fill of its
// four voucher blocks, which the worksheet's calculation calls once the
// installment rows are written.
#ifndef CALC_PA_SCHEDULES_ESTIMATED_TAX_WORKSHEET_H_
#define CALC_PA_SCHEDULES_ESTIMATED_TAX_WORKSHEET_H_

#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"

namespace PACalculationMgmt {
namespace EstimatedTaxWorksheet {

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
