// ReportMgmt::TaxSummaryReport: the host's base of a return's summary
// report, a list of labelled amounts.
//
// The report keeps a share of its return. A state report fills its lines
// with addField from addSummaryFields; the base adds none, offers no hint
// and no header paragraph.
#ifndef HOST_SUMMARY_REPORT_H_
#define HOST_SUMMARY_REPORT_H_

#include <string>
#include <utility>
#include <vector>

#include "host/host_api.h"
#include "host/pointers.h"
#include "host/tax_return.h"

namespace ReportMgmt {

class HOST_API TaxSummaryReport {
 public:
  explicit TaxSummaryReport(DataMgmt::TaxReturnPtr& taxReturn);
  virtual ~TaxSummaryReport();
  TaxSummaryReport(const TaxSummaryReport&) = delete;
  TaxSummaryReport& operator=(const TaxSummaryReport&) = delete;

  virtual std::string getTaxSummaryHint();  // base ""
  virtual int getHintType();                // base 0
  virtual void addSummaryFields();          // base adds nothing
  virtual void addHeaderPara();             // base adds nothing

  // Appends one line (a null label counts as "").
  void addField(const char* label, long value);
  const std::vector<std::pair<std::string, long>>& getFields() const { return fields_; }  // ours

 protected:
  DataMgmt::TaxReturnPtr taxReturn;

 private:
  std::vector<std::pair<std::string, long>> fields_;
};

}  // namespace ReportMgmt

#endif  // HOST_SUMMARY_REPORT_H_
