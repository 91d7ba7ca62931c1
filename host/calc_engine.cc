#include "host/calc_engine.h"

#include "host/tax_form.h"
#include "host/test_data_loader.h"

namespace CalculationMgmt {
namespace {

const char kDefaultReturnName[] = "PAReturn";

// Removes every occurrence of `piece`, again and again, until none is left
// (removing one may join the text around it into another).
void removeAll(std::string& text, const std::string& piece) {
  for (std::string::size_type at = text.find(piece); at != std::string::npos; at = text.find(piece)) {
    text.erase(at, piece.size());
  }
}

}  // namespace

TaxReturnCalcEngine::TaxReturnCalcEngine(TaxFormPrintMgmt::TaxFormPrinterPtr& printer)
    : printer(printer), returnName_(kDefaultReturnName) {}

TaxReturnCalcEngine::~TaxReturnCalcEngine() = default;

TestDataLoader::~TestDataLoader() = default;

void TaxReturnCalcEngine::calcReturn(int) {}
void TaxReturnCalcEngine::calcForm(const FormId&, uint16_t, bool, int, int, DataMgmt::TaxFormPtr) {}
void TaxReturnCalcEngine::calcAllCopies(const FormId&) {}
void TaxReturnCalcEngine::calcIfChanged(int) {}
void TaxReturnCalcEngine::taxCalc1() {}
void TaxReturnCalcEngine::earnedIncome() {}
long TaxReturnCalcEngine::getSummaryAmount() { return 0; }

std::string TaxReturnCalcEngine::getReturnName() const {
  // Separators first: removing one may join two halves of "..".
  std::string name = returnName_;
  removeAll(name, "/");
  removeAll(name, "\\");
  removeAll(name, "..");
  return name.empty() ? kDefaultReturnName : name;
}

}  // namespace CalculationMgmt
