#include "output/pa_tax_summary_report.h"

#include "return/release_share.h"

namespace PAReportMgmt {

namespace {

// The PA-40 lines the report shows, in report order, by their index in the
// PA return's line values; each shows under its own summary label.
constexpr int32_t kSummaryLines[PATaxSummaryReport::kSummaryLineCount] = {
    1,   // net taxable compensation
    8,   // gross taxable income
    15,  // other deductions
    13,  // net taxable income
    14,  // tax
    10,  // payments and credits
    16,  // refund
    17,  // amount owed
};

}  // namespace

PATaxSummaryReport::PATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn)
    : ReportMgmt::TaxSummaryReport(taxReturn),
      paReturn(dynamic_cast<PADataMgmt::PATaxReturn*>(taxReturn.get())) {
  addSummaryFields();
  releaseShare(taxReturn);
}

PATaxSummaryReport::~PATaxSummaryReport() = default;

void PATaxSummaryReport::addSummaryFields() {
  for (int32_t line : kSummaryLines) {
    const int32_t value =
        paReturn == nullptr ? 0 : paReturn->getStateLineValue(paReturn->getPA40FormId(), 1, line);
    addField(PADataMgmt::stateLineSummaryLabel(line), value);
  }
}

}  // namespace PAReportMgmt
