// PAAuditMgmt::ScheduleRuleReporter: the reporting context of one PA rule
// routine (the auditor, the audited form and the copy), so that each rule
// names only its class, answer, code, field, text and note kind.
//
// Every message goes out with the help id kNoAuditHelpID, topic 0 and the
// flag false. The reporter borrows the auditor; it lives on the stack of
// one rule routine.
#ifndef AUDIT_SCHEDULE_RULE_REPORTER_H_
#define AUDIT_SCHEDULE_RULE_REPORTER_H_

#include <cstdint>

#include "audit/message_kinds.h"
#include "audit/pa_tax_form_auditor.h"
#include "host/auditor.h"

namespace PAAuditMgmt {

using namespace StateAuditMgmt::MessageKinds;

class ScheduleRuleReporter {
 public:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  ScheduleRuleReporter(PATaxFormAuditor& auditor, const FormId& form, unsigned short copy)
      : auditor_(auditor), form_(form), copy_(copy) {}

  // An ordinary message (reportAuditIssue) on the audited form and copy.
  void issue(uint8_t messageClass, bool answer, char code, const FieldId& field, const char* text,
             int noteKind = kNoNote) const {
    issueOn(form_, messageClass, answer, code, field, text, noteKind);
  }
  // The same on another form (the empty form: a message of the whole return).
  void issueOn(const FormId& form, uint8_t messageClass, bool answer, char code,
               const FieldId& field, const char* text, int noteKind = kNoNote) const {
    auditor_.reportAuditIssue(AuditMgmt::kNoAuditHelpID, Primitives::OVImmutableTopicIdentifier(0),
                              false, messageClass, answer, code, form, copy_, field, text,
                              noteKind);
  }
  // An electronic-filing restriction (reportEFileIssue).
  void efile(uint8_t messageClass, bool answer, char code, const FieldId& field, const char* text,
             int noteKind = kNoNote) const {
    auditor_.reportEFileIssue(AuditMgmt::kNoAuditHelpID, Primitives::OVImmutableTopicIdentifier(0),
                              false, messageClass, answer, code, form_, copy_, field, text,
                              noteKind);
  }

  // The usual pair of a required entry: class 2 code 4 (read in an
  // electronic-filing audit), then class 1 code 7 (read in an ordinary one).
  void requiredPair(bool answer, const FieldId& field, const char* efileText,
                    const char* ordinaryText) const {
    issue(kClassEFile, answer, kCodeMissing, field, efileText);
    issue(kClassOrdinary, answer, kCodeNotice, field, ordinaryText);
  }

  const FormId& form() const { return form_; }
  unsigned short copy() const { return copy_; }

 private:
  PATaxFormAuditor& auditor_;
  const FormId form_;
  const unsigned short copy_;
};

}  // namespace PAAuditMgmt

#endif  // AUDIT_SCHEDULE_RULE_REPORTER_H_
