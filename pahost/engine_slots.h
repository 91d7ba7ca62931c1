// The engine operation pahost needs beyond the host's engine base: loading
// a return in the test-data format, through the host's TestDataLoader
// interface (the module's engine offers it).
#ifndef PAHOST_ENGINE_SLOTS_H_
#define PAHOST_ENGINE_SLOTS_H_

#include <string>
#include <vector>

#include "host/calc_engine.h"
#include "host/tax_return.h"

// Loads the lines of a test-data file, read already, into `taxReturn`
// through the engine's TestDataLoader; an engine without one loads
// nothing.
void loadInputLines(CalculationMgmt::TaxReturnCalcEngine& engine, const std::vector<std::string>& lines,
                    DataMgmt::TaxReturn* taxReturn);

#endif  // PAHOST_ENGINE_SLOTS_H_
