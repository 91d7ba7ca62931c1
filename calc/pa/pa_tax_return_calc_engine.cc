#include "calc/pa/pa_tax_return_calc_engine.h"

#include "entry/release_share.h"
#include "host/printer.h"
#include "host/tax_form.h"  // the release of a TaxFormPtr deletes through it
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

PATaxReturnCalcEngine::PATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn,
                                             PADataMgmt::PATaxReturn* paReturn,
                                             TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : StateCalculationMgmt::StateTaxReturnCalcEngine(federalReturn, paReturn, printer),
      paReturn(paReturn) {
  releaseShare(printer);
}

PATaxReturnCalcEngine::~PATaxReturnCalcEngine() = default;

FormId PATaxReturnCalcEngine::getStateReturnFormId() { return kFormID_PA40; }

FormId PATaxReturnCalcEngine::getFederalReturnFormId() {
  return paReturn != nullptr ? paReturn->readFederalReturnForm() : kFormID_FedReturn;
}

uint8_t PATaxReturnCalcEngine::getFilingStatus() {
  return paReturn != nullptr ? paReturn->readFilingStatus(kFormID_PAReturnInfo) : 1;
}

// The whole-return driver, the per-form dispatch, the category routers and
// the hooks calculate nothing yet; the routers release their form share
// when their argument goes out of scope.
void PATaxReturnCalcEngine::calcStateReturn() {}
void PATaxReturnCalcEngine::calcStateForm(const FormId&, uint16_t, bool, int, int, TaxFormPtr) {}
void PATaxReturnCalcEngine::calcCommonStateForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcBusinessForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms1(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms2(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms3(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms4(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms5(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms6(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcRentalForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReturnForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcEstimatedTaxForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcReservedForms7(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcEmployeeExpenseAndLocalForms(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::calcTaxForgivenessForm(const FormId&, TaxFormPtr, uint16_t, int) {}
void PATaxReturnCalcEngine::preCalc() {}
void PATaxReturnCalcEngine::postCalc() {}

}  // namespace PACalculationMgmt
