// PAAuditMgmt::RuleMessage: how one table-driven PA audit rule reports,
// that is, its reporter, message class, message code and note kind.
//
// The rule tables of the PA-40 attachments, the misc-comp worksheet and
// Schedules A to D hold one RuleMessage per rule beside its text; the
// routine works out the answer and hands both to reportRule. Every rule
// goes out with the help id kNoAuditHelpID, topic 0 and the flag false.
#ifndef AUDIT_PA_RULE_MESSAGE_H_
#define AUDIT_PA_RULE_MESSAGE_H_

#include <cstdint>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "host/auditor.h"

namespace PAAuditMgmt {

using namespace StateAuditMgmt::MessageKinds;

// The reporter a rule goes through: reportAuditIssue (an ordinary message)
// or reportEFileIssue (a restriction on electronic filing).
enum RulePath { kAuditPath, kEFilePath };

struct RuleMessage {
  RulePath path;
  uint8_t messageClass;  // kClass* (message_kinds.h)
  char code;             // kCode*
  int noteKind;          // kNoNote, kStateOnlyNote or kInterviewHint
};

// Reports `message` with `answer` on (form, copy, field); `field` is the
// empty identifier for a message that points at no field.
inline void reportRule(StateAuditMgmt::StateTaxFormAuditor& auditor, const RuleMessage& message,
                       bool answer, const Primitives::OVImmutableFormIdentifier& form,
                       unsigned short copy, const Primitives::OVImmutableIdentifier& field,
                       const char* text) {
  const Primitives::OVImmutableTopicIdentifier noTopic(0);
  if (message.path == kEFilePath) {
    auditor.reportEFileIssue(AuditMgmt::kNoAuditHelpID, noTopic, false, message.messageClass,
                             answer, message.code, form, copy, field, text, message.noteKind);
  } else {
    auditor.reportAuditIssue(AuditMgmt::kNoAuditHelpID, noTopic, false, message.messageClass,
                             answer, message.code, form, copy, field, text, message.noteKind);
  }
}

}  // namespace PAAuditMgmt

#endif  // AUDIT_PA_RULE_MESSAGE_H_
