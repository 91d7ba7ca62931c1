// PAReportMgmt::PATaxSummaryReport: the Pennsylvania tax summary report.
//
// The host creates it through createTaxSummaryReport and deletes it through
// its virtual destructor. Its eight lines (net taxable compensation, gross
// taxable income, other deductions, net taxable income, tax, payments and
// credits, refund, amount owed) are filled once, when it is made, from the
// PA-40 line values of the return; a line without a value shows 0. The
// share of the return is the host base's; this layer borrows the return as
// the PA return, null when it is not one (every line then shows 0).
#ifndef OUTPUT_PA_TAX_SUMMARY_REPORT_H_
#define OUTPUT_PA_TAX_SUMMARY_REPORT_H_

#include <cstdint>

#include "host/summary_report.h"
#include "return/pa_tax_return.h"

namespace PAReportMgmt {

class PATaxSummaryReport : public ReportMgmt::TaxSummaryReport {
 public:
  static constexpr int kSummaryLineCount = 8;

  // The argument is released before the constructor returns.
  explicit PATaxSummaryReport(DataMgmt::TaxReturnPtr taxReturn);
  ~PATaxSummaryReport() override;

  // Appends the eight summary lines from the PA return's line values.
  void addSummaryFields() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PAReportMgmt

#endif  // OUTPUT_PA_TAX_SUMMARY_REPORT_H_
