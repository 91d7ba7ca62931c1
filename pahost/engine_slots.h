// The state layer's engine operations that the host reaches beyond its own
// base class, through the engine's slots.
//
// The module's engine is a StateCalculationMgmt::StateTaxReturnCalcEngine,
// but its type information stays inside the module (only the entry points
// are exported), so the host can neither dynamic_cast to it nor let the
// sanitizer check the cast: engine_slots.cc is built without that check.
#ifndef PAHOST_ENGINE_SLOTS_H_
#define PAHOST_ENGINE_SLOTS_H_

#include <string>

#include "host/calc_engine.h"
#include "host/tax_return.h"

// The engine's loadInputTextFile: loads the test-data file at `path` into
// `taxReturn`.
void loadInputTextFile(CalculationMgmt::TaxReturnCalcEngine& engine, const std::string& path,
                       DataMgmt::TaxReturn* taxReturn);

#endif  // PAHOST_ENGINE_SLOTS_H_
