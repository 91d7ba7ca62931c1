// The engine operation pahost needs beyond the host's engine base: loading
// a return in the test-data format, through the host's TestDataLoader
// interface (the module's engine offers it).
#ifndef PAHOST_ENGINE_SLOTS_H_
#define PAHOST_ENGINE_SLOTS_H_

#include <string>

#include "host/calc_engine.h"
#include "host/tax_return.h"

// Loads the test-data file at `path` into `taxReturn` through the engine's
// TestDataLoader; an engine without one loads nothing.
void loadInputTextFile(CalculationMgmt::TaxReturnCalcEngine& engine, const std::string& path,
                       DataMgmt::TaxReturn* taxReturn);

#endif  // PAHOST_ENGINE_SLOTS_H_
