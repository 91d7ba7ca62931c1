#include "pahost/engine_slots.h"

#include "host/test_data_loader.h"

void loadInputLines(CalculationMgmt::TaxReturnCalcEngine& engine, const std::vector<std::string>& lines,
                    DataMgmt::TaxReturn* taxReturn) {
  auto* loader = dynamic_cast<CalculationMgmt::TestDataLoader*>(&engine);
  if (loader != nullptr) loader->loadInputLines(lines, taxReturn);
}
