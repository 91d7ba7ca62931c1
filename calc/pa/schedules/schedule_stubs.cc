// Placeholder bodies of the schedule and worksheet calculations: each
// calculates nothing yet and releases its form share on return.
#include "calc/pa/pa_tax_return_calc_engine.h"

#include "host/tax_form.h"  // the release of a TaxFormPtr deletes through it

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

void PATaxReturnCalcEngine::computeScheduleW2S(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeInterestDividendWorksheet(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleA(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleB(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleD(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleGL(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleJ(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeW2GIncome(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleOC(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeDeductions(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeEstimatedVouchers(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeEstimatedTaxWorksheet(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeDirectDepositDebit(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleUE(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeLocalIncomeTaxReturn(TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::computeScheduleSP(TaxFormPtr, uint16_t, int) {}

}  // namespace PACalculationMgmt
