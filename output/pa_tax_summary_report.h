// PAReportMgmt::PATaxSummaryReport: the Pennsylvania tax summary report.
//
// The host creates it through createTaxSummaryReport and deletes it through
// its virtual destructor. Its lines are filled once, when it is made. The
// share of the return is the host base's; this layer borrows the return as
// the PA return, null when it is not one.
#ifndef OUTPUT_PA_TAX_SUMMARY_REPORT_H_
#define OUTPUT_PA_TAX_SUMMARY_REPORT_H_

#include "entry/pa_tax_return.h"
#include "host/summary_report.h"

namespace PAReportMgmt {

class PATaxSummaryReport : public ReportMgmt::TaxSummaryReport {
 public:
  // The argument is released before the constructor returns.
  explicit PATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn);
  ~PATaxSummaryReport() override;

  // The summary lines from the PA return's line values.
  void addSummaryFields() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PAReportMgmt

#endif  // OUTPUT_PA_TAX_SUMMARY_REPORT_H_
