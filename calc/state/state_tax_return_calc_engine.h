// StateCalculationMgmt::StateTaxReturnCalcEngine: the state layer of a state
// return's calculation engine, shared by every state's engine.
//
// It borrows the federal return and the state return (the host keeps both
// alive while the engine lives); the state return is null when the return
// handed in is not a StateTaxReturn. The printer share is the host base's.
// The income-kind table of the federal wage pull is one table for every
// engine, built by the first engine constructed.
#ifndef CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_
#define CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_

#include "host/calc_engine.h"
#include "host/form_identifier.h"
#include "host/pointers.h"
#include "host/state_tax_return.h"
#include "host/us_tax_return.h"

namespace StateCalculationMgmt {

// One income kind of the federal wage pull.
struct IncomeKindRow;

class StateTaxReturnCalcEngine : public CalculationMgmt::TaxReturnCalcEngine {
 public:
  // The printer goes to the host base, which keeps a share; the argument
  // itself is released before the constructor returns.
  StateTaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, DataMgmt::TaxReturn* stateReturn,
                           TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~StateTaxReturnCalcEngine() override;

  DataMgmt::USTaxReturn* getFederalReturn() const { return federalReturn; }
  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }

  // The income kinds the federal wage pull carries to the state allocation
  // form; null until built. Building is idempotent.
  static const IncomeKindRow* incomeKindTable;
  static void buildIncomeKindTable();

 protected:
  DataMgmt::USTaxReturn* federalReturn;         // borrowed
  StateDataMgmt::StateTaxReturn* stateReturn;   // borrowed; null when not a state return
  Primitives::OVImmutableFormIdentifier stateForm2;  // kFormID_State2
  Primitives::OVImmutableFormIdentifier stateForm3;  // kFormID_State3
  Primitives::OVImmutableFormIdentifier stateForm4;  // kFormID_State4
};

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_
