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

#include "audit/pa_tax_form_auditor.h"
#include "host/auditor.h"

namespace PAAuditMgmt {

// Message classes of the schedule rules (bits of the message path).
const uint8_t kClassOrdinary = 0x01;    // shown in an ordinary audit
const uint8_t kClassEFile = 0x02;       // shown in an electronic-filing audit
const uint8_t kClassBothAudits = 0x03;  // shown in both kinds of audit
const uint8_t kClassAttachment = 0x08;  // listing mode: paper-return attachments
const uint8_t kClassRefusal = 0x22;     // electronic-filing audit, refusal recorded

// Message codes of the schedule rules (the host's message types).
const char kCodeInconsistent = 3;  // inconsistent entries
const char kCodeMissing = 4;       // a required entry missing or invalid
const char kCodeNoEFile = 6;       // a restriction on electronic filing
const char kCodeNotice = 7;        // instructions and notices
const char kCodeStatement = 8;     // the vehicle-statement attachment reminder

// Note kinds appended by the message path.
const int kNoNote = 0;
const int kStateOnlyNote = 1;  // electronic-filing audit: the state-only note
const int kInterviewHint = 2;  // how to go back to an interview topic

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
