#include "calc/state/state_tax_return_calc_engine.h"

#include "return/release_share.h"
#include "host/printer.h"  // the release of a TaxFormPrinterPtr deletes through it
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

StateTaxReturnCalcEngine::StateTaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn,
                                                   DataMgmt::TaxReturn* stateReturn,
                                                   TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : CalculationMgmt::TaxReturnCalcEngine(printer),
      federalReturn(federalReturn),
      stateReturn(dynamic_cast<StateDataMgmt::StateTaxReturn*>(stateReturn)),
      stateForm2(kFormID_State2),
      stateForm3(kFormID_State3),
      stateForm4(kFormID_State4) {
  buildIncomeKindTable();
  releaseShare(printer);
}

StateTaxReturnCalcEngine::~StateTaxReturnCalcEngine() = default;

}  // namespace StateCalculationMgmt
