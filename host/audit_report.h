// AuditMgmt::AuditReport: the lines one audit adds to the host's report.
//
// Each line is the call the auditor received, kept as given and in order.
// A report belongs to the auditor that made it and to every holder of an
// AuditReportPtr to it.
#ifndef HOST_AUDIT_REPORT_H_
#define HOST_AUDIT_REPORT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"
#include "host/topic_identifier.h"

namespace AuditMgmt {

struct AuditReportLine {
  std::string helpId;
  Primitives::OVImmutableTopicIdentifier topic{0};
  bool flag = false;
  char kind = 0;
  Primitives::OVImmutableFormIdentifier form;
  uint16_t copy = 0;
  Primitives::OVImmutableIdentifier field;
  std::string first;
  std::string second;
  bool last = false;
};

class HOST_API AuditReport {
 public:
  AuditReport();
  ~AuditReport();

  void addLine(const AuditReportLine& line) { lines_.push_back(line); }
  const std::vector<AuditReportLine>& lines() const { return lines_; }
  std::size_t size() const { return lines_.size(); }

 private:
  std::vector<AuditReportLine> lines_;
};

}  // namespace AuditMgmt

#endif  // HOST_AUDIT_REPORT_H_
