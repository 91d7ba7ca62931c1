#include "calc/pa/pa_tax_return_calc_engine.h"

#include "host/printer.h"
#include "return/release_share.h"
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

// The identity answers live in engine_helpers.cc.

}  // namespace PACalculationMgmt
