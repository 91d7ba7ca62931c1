// MessageKinds: the named values an audit rule reports its message with,
// shared by the state layer and the PA layer: the class bits that tell the
// message path when and how to show it, the host's message codes, and the
// notes the path appends to the text. A rule names its kind from here,
// never by a bare number.
#ifndef AUDIT_MESSAGE_KINDS_H_
#define AUDIT_MESSAGE_KINDS_H_

#include <cstdint>

namespace StateAuditMgmt {
namespace MessageKinds {

// Message class bits; a class may combine them.
const uint8_t kClassOrdinary = 0x01;       // shown in an ordinary audit
const uint8_t kClassEFile = 0x02;          // shown in an electronic-filing audit
const uint8_t kClassBothAudits = 0x03;     // shown in both kinds of audit
const uint8_t kClassAttachment = 0x08;     // listing mode: paper-return attachments
const uint8_t kClassPayment = 0x10;        // listing mode: payment instructions
const uint8_t kClassRecordRefusal = 0x20;  // reportEFileIssue: the refusal is recorded
const uint8_t kClassRefusal = 0x22;        // electronic-filing audit, refusal recorded

// Message codes (the host's message types).
const char kCodeOverridden = 1;     // an overridden field value
const char kCodeTentative = 2;      // a tentative field value
const char kCodeInconsistent = 3;   // inconsistent entries or dates
const char kCodeMissing = 4;        // a required entry missing or invalid
const char kCodeNoEFile = 6;        // a restriction on electronic filing
const char kCodeNotice = 7;         // instructions and notices
const char kCodeStatement = 8;      // the vehicle-statement attachment reminder
const char kCodeTooManyCopies = 11; // more copies than may be filed electronically
const char kCodeNotEFileable = 12;  // a form that may not be filed electronically

// Notes the message path appends.
const int kNoNote = 0;
const int kStateOnlyNote = 1;  // electronic-filing audit: the state-only note
const int kInterviewHint = 2;  // how to go back to an interview topic

}  // namespace MessageKinds
}  // namespace StateAuditMgmt

#endif  // AUDIT_MESSAGE_KINDS_H_
