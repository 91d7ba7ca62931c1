#include "output/pa_tax_summary_report.h"

#include "entry/release_share.h"

namespace PAReportMgmt {

PATaxSummaryReport::PATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn)
    : ReportMgmt::TaxSummaryReport(taxReturn),
      paReturn(dynamic_cast<PADataMgmt::PATaxReturn*>(taxReturn.get())) {
  addSummaryFields();
  releaseShare(taxReturn);
}

PATaxSummaryReport::~PATaxSummaryReport() = default;

void PATaxSummaryReport::addSummaryFields() {
  // No lines yet.
}

}  // namespace PAReportMgmt
