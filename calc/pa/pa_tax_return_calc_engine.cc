#include "calc/pa/pa_tax_return_calc_engine.h"

#include "entry/release_share.h"
#include "host/printer.h"

namespace PACalculationMgmt {

PATaxReturnCalcEngine::PATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn,
                                             PADataMgmt::PATaxReturn* paReturn,
                                             TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : StateCalculationMgmt::StateTaxReturnCalcEngine(federalReturn, paReturn, printer),
      paReturn(paReturn) {
  releaseShare(printer);
}

PATaxReturnCalcEngine::~PATaxReturnCalcEngine() = default;

}  // namespace PACalculationMgmt
