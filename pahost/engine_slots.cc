#include "pahost/engine_slots.h"

#include "calc/state/state_tax_return_calc_engine.h"

void loadInputTextFile(CalculationMgmt::TaxReturnCalcEngine& engine, const std::string& path,
                       DataMgmt::TaxReturn* taxReturn) {
  static_cast<StateCalculationMgmt::StateTaxReturnCalcEngine&>(engine).loadInputTextFile(path,
                                                                                         taxReturn);
}
