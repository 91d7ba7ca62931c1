#include "pahost/engine_slots.h"

#include "host/test_data_loader.h"

void loadInputTextFile(CalculationMgmt::TaxReturnCalcEngine& engine, const std::string& path,
                       DataMgmt::TaxReturn* taxReturn) {
  auto* loader = dynamic_cast<CalculationMgmt::TestDataLoader*>(&engine);
  if (loader != nullptr) loader->loadInputTextFile(path, taxReturn);
}
