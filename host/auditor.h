// AuditMgmt::TaxFormAuditor: the host's base of a return's auditor.
//
// The auditor checks one return (borrowed) and keeps a share of the
// return's calculation engine and the host configuration pointer (never
// released). Each audit starts a new report; the messages a state auditor
// sends go to the host's message display (showAuditMsg, epFailMsg), which
// the stand-in records in order on the auditor, and to the report
// (addMessageToReport); the stand-in records every call of the three, and
// of overrideCheckOneForm, in order on the auditor (messageCalls), since
// the current report was started: a new report starts the record afresh.
// The protected members are the audit state the state layer reads and
// writes; tests set them through a subclass.
#ifndef HOST_AUDITOR_H_
#define HOST_AUDITOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "host/audit_report.h"
#include "host/calc_engine.h"
#include "host/configuration.h"
#include "host/host_api.h"
#include "host/pointers.h"
#include "host/tax_return.h"
#include "host/topic_identifier.h"

namespace AuditMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using Primitives::OVImmutableTopicIdentifier;

enum AuditType : int { kAuditStandard = 0, kAuditEFile = 1 };

// Help ids of audit messages: no help topic, and the topic that explains
// how to go back to the federal interview.
HOST_API extern const std::string kNoAuditHelpID;
HOST_API extern const std::string kStateAudit_HowToGoBackToFedInterview;

class HOST_API TaxFormAuditor {
 public:
  // One recorded call (ours). `call` is "showAuditMsg", "epFailMsg",
  // "addMessageToReport" or "overrideCheckOneForm"; the fields an operation
  // does not take stay at their defaults.
  struct MessageCall {
    std::string call;
    std::string helpId;
    OVImmutableTopicIdentifier topic{0};
    bool flag = false;
    bool answer = false;
    char code = 0;
    char secondCode = 0;
    FormId form;
    uint16_t copy = 0;
    FieldId field;
    std::string text;
    FormId federalForm;
    char kind = 0;            // addMessageToReport: the line's kind,
    std::string first;        // its two texts
    bool last = false;        // and its last-line flag (`text` is the second text)
  };
  // One line naming the call and every argument it took, separated by
  // " | " (ours): the form of recorded audits kept as golden files.
  static std::string describe(const MessageCall& call);

  TaxFormAuditor(DataMgmt::TaxReturn& taxReturn, DataMgmt::OrvaneConfiguration*& configuration,
                 CalculationMgmt::TaxReturnCalcEnginePtr& engine);
  virtual ~TaxFormAuditor();
  TaxFormAuditor(const TaxFormAuditor&) = delete;
  TaxFormAuditor& operator=(const TaxFormAuditor&) = delete;

  // Audits the return; the base only starts a new report and returns it.
  virtual AuditReportPtr auditReturn(AuditType type);
  virtual void auditIntDivTypesBase();
  // Whether the copy holds an amount that matters; the base answers false.
  virtual bool isFormAmountNonZero(DataMgmt::TaxFormPtr form);

  // Starts a fresh report and an empty call record; the audit is an
  // electronic-filing audit exactly when `type` is kAuditEFile.
  void createNewReport(AuditType type);
  // A share of the current report (a fresh empty one before any audit).
  AuditReportPtr getAuditReport() const { return report_; }

  // The host's message display: an audit message (showAuditMsg) or one
  // that bars electronic filing (epFailMsg). Recorded.
  void showAuditMsg(const std::string& helpId, OVImmutableTopicIdentifier topic, bool flag,
                    bool answer, char code, char secondCode, const FormId& form,
                    unsigned short copy, const FieldId& field, const char* text);
  void epFailMsg(const std::string& helpId, OVImmutableTopicIdentifier topic, bool flag,
                 bool answer, char code, char secondCode, const FormId& form, unsigned short copy,
                 const FieldId& field, const char* text);
  // Appends a line to the current report. Recorded.
  void addMessageToReport(const std::string& helpId, OVImmutableTopicIdentifier topic, bool flag,
                          char kind, const FormId& form, unsigned short copy, const FieldId& field,
                          const std::string& first, const std::string& second, bool last);
  // The host's check of overridden values on one copy; recorded, reports
  // nothing.
  void overrideCheckOneForm(const std::string& helpId, OVImmutableTopicIdentifier topic, bool flag,
                            DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                            const FormId& federalForm);

  // The calls recorded since the current report was started (ours).
  const std::vector<MessageCall>& messageCalls() const { return calls_; }

 protected:
  DataMgmt::TaxReturn& taxReturn;
  DataMgmt::OrvaneConfiguration* configuration;
  CalculationMgmt::TaxReturnCalcEnginePtr engine;
  bool eFileAudit = false;       // the current audit is an electronic-filing audit
  uint16_t listingCount = 0;     // true answers counted in listing mode
  uint16_t classFilter = 0;      // non-zero selects listing mode
  AuditType auditType = kAuditStandard;
  uint16_t lastClass = 0;        // class of the last message posted

 private:
  void record(const char* call, const std::string& helpId, const OVImmutableTopicIdentifier& topic,
              bool flag, bool answer, char code, char secondCode, const FormId& form,
              unsigned short copy, const FieldId& field, const char* text);

  AuditReportPtr report_;
  std::vector<MessageCall> calls_;
};

}  // namespace AuditMgmt

#endif  // HOST_AUDITOR_H_
