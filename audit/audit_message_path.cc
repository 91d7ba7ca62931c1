// The message path of the state layer: every audit rule's message passes
// the class filter here, gets its final wording and goes to the host's
// display and report. Electronic-filing refusals of class 0x20 are also
// recorded, the first one only, on federal form 183.
#include <cctype>
#include <string>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"
#include "host/data_manager.h"
#include "host/efile.h"
#include "host/user_interface.h"
#include "identifiers/form_ids.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

const char kStateOnlyNoteText[] =
    "  This issue only affects your state return. You can still e-file your federal return and "
    "file your state return on paper. We'll guide you step-by-step through the process when you "
    "finish checking your return.";
const char kInterviewHintText[] =
    "  For instructions on how to make this change, click the FAQ \"How can I go back to an "
    "Interview topic?\"";

// Whether the host's user interface asks for both answers of every check.
bool recordingSession() {
  const UIBridgeMgmt::UserInterface* ui =
      DataMgmt::TaxDataMgrHandle::getInstance().getUserInterface();
  return ui != nullptr && ui->recordingQuery();
}

}  // namespace

void StateTaxFormAuditor::reportAuditIssue(const std::string& helpId, TopicId topic, bool flag,
                                           uint8_t messageClass, bool answer, char messageCode,
                                           const FormId& form, unsigned short copy, FieldId field,
                                           const char* text, int noteKind) {
  dispatchAuditIssue(helpId, topic, flag, messageClass, answer, messageCode, form, copy, field,
                     std::string(text != nullptr ? text : ""), noteKind);
}

void StateTaxFormAuditor::reportEFileIssue(const std::string& helpId, TopicId topic, bool flag,
                                           uint8_t messageClass, bool answer, char messageCode,
                                           const FormId& form, unsigned short copy, FieldId field,
                                           const char* text, int noteKind) {
  dispatchEFileIssue(helpId, topic, flag, messageClass, answer, messageCode, form, copy, field,
                     std::string(text != nullptr ? text : ""), noteKind);
}

// The class filter shared by both dispatchers: in listing mode the class
// must share a bit with the filter and the note is dropped; otherwise the
// class must hold the bit of the current kind of audit.
bool StateTaxFormAuditor::passesClassFilter(uint8_t messageClass, int& noteKind) const {
  if (classFilter != 0) {
    noteKind = kNoNote;
    return (messageClass & classFilter) != 0;
  }
  return (messageClass & (eFileAudit ? kClassEFile : kClassOrdinary)) != 0;
}

void StateTaxFormAuditor::dispatchAuditIssue(const std::string& helpId, TopicId topic,
                                             bool /*flag*/, uint8_t messageClass, bool answer,
                                             char messageCode, const FormId& form,
                                             unsigned short copy, FieldId field,
                                             const std::string& text, int noteKind) {
  if (copy == 0) copy = 1;
  if (!passesClassFilter(messageClass, noteKind)) return;
  postAuditMessage(helpId, topic, false, messageClass, answer, messageCode, 1, form, field, copy,
                   text.c_str(), noteKind);
}

void StateTaxFormAuditor::dispatchEFileIssue(const std::string& helpId, TopicId topic,
                                             bool /*flag*/, uint8_t messageClass, bool answer,
                                             char messageCode, const FormId& form,
                                             unsigned short /*copy*/, FieldId field,
                                             const std::string& text, int noteKind) {
  if (passesClassFilter(messageClass, noteKind)) {
    postAuditMessage(helpId, topic, false, messageClass, answer, messageCode, 1, form, field, 1,
                     text.c_str(), noteKind);
  }
  if ((messageClass & kClassRecordRefusal) == 0 || !answer) return;
  const EFileMgmt::EFileMgrHandle efile =
      DataMgmt::TaxDataMgrHandle::getInstance().getEFileMgrHandle();
  if (efile.getCurFileReturnType() != taxReturn.getReturnType()) return;
  recordEFileRefusal(text);
}

// Stores the refusal's text on copy 1 of federal form 183 while its status
// still says that no refusal has been stored.
void StateTaxFormAuditor::recordEFileRefusal(const std::string& text) {
  if (federalReturn == nullptr) return;
  DataMgmt::TaxFormPtr form183 = federalReturn->getFormUVPtr(kFormID_Fed183, 1, false);
  if (form183.isNull()) return;
  const FieldId& status = Fed183::kRefusalStatus;
  if (form183->getIR(status) != 1) return;
  std::string stored = text;
  if (stored.empty() || stored.back() != '.') stored += '.';
  form183->assignIR(status, 0);
  form183->assignText(Fed183::kRefusalText, stored.c_str());
}

void StateTaxFormAuditor::postAuditMessage(const std::string& helpId, TopicId topic, bool flag,
                                           uint8_t messageClass, bool answer, char messageCode,
                                           char secondCode, const FormId& form, FieldId field,
                                           unsigned short copy, const char* text, int noteKind) {
  std::string message(text != nullptr ? text : "");
  if (classFilter != 0 && answer) ++listingCount;
  if (!message.empty() && message.back() != '.') message += '.';
  lastClass = messageClass;
  const bool recording = recordingSession();

  if (classFilter != 0) {
    if (!message.empty()) {
      message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
    }
    message.insert(0, "    - ");
    if (recording) message.insert(0, answer ? "Y" : "N");
    if (recording || answer) {
      addMessageToReport(helpId, topic, flag, 0, FormId(), 1, FieldId(0), std::string(), message,
                         true);
    }
  } else {
    if (noteKind == kStateOnlyNote && eFileAudit) message += kStateOnlyNoteText;
    if (noteKind == kInterviewHint) message += kInterviewHintText;
    if (!eFileAudit) {
      showAuditMsg(helpId, topic, flag, answer, messageCode, secondCode, form, copy, field,
                   message.c_str());
    } else if (recording && !answer) {
      showAuditMsg(helpId, topic, flag, false, messageCode, secondCode, form, copy, field,
                   message.c_str());
    } else {
      showStateAuditMsg(helpId, topic, flag, answer, messageCode, secondCode, form, copy, field,
                        message.c_str());
    }
  }

  if (recording && classFilter == 0) {
    addMessageToReport(helpId, topic, flag, 0, FormId(), 1, FieldId(0), std::string(),
                       answer ? "--Yes--" : "--No--", true);
  }
}

}  // namespace StateAuditMgmt
