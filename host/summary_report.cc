#include "host/summary_report.h"

namespace ReportMgmt {

TaxSummaryReport::TaxSummaryReport(DataMgmt::TaxReturnPtr& taxReturn) : taxReturn(taxReturn) {}

TaxSummaryReport::~TaxSummaryReport() = default;

std::string TaxSummaryReport::getTaxSummaryHint() { return std::string(); }
int TaxSummaryReport::getHintType() { return 0; }
void TaxSummaryReport::addSummaryFields() {}
void TaxSummaryReport::addHeaderPara() {}

void TaxSummaryReport::addField(const char* label, long value) {
  fields_.emplace_back(label != nullptr ? label : "", value);
}

}  // namespace ReportMgmt
