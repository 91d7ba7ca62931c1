// PACalculationMgmt::PATaxReturnCalcEngine: the Pennsylvania calculation
// engine.
//
// The host creates it through createCalcEngineInstance and deletes it
// through its virtual destructor. Everything but the PA return pointer is
// held by the state layer; the PA return is borrowed (the host keeps it
// alive while the engine lives) and null when the state return handed to
// the factory is not a PA return.
#ifndef CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
#define CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_

#include "calc/state/state_tax_return_calc_engine.h"
#include "entry/pa_tax_return.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine : public StateCalculationMgmt::StateTaxReturnCalcEngine {
 public:
  // The printer argument is released before the constructor returns.
  PATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, PADataMgmt::PATaxReturn* paReturn,
                        TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~PATaxReturnCalcEngine() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PACalculationMgmt

#endif  // CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
