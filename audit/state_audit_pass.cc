// The audit pass of the state layer: the walk over the forms to audit, the
// electronic-filing copy limit and the state's record of e-file problems.
#include <cstdio>
#include <vector>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

// Codes of messages that make the return's electronic filing a problem:
// the named ones and the host's codes 9 and 10.
const char kReturnProblemCodes[] = {kCodeOverridden, kCodeInconsistent, kCodeMissing,  kCodeNoEFile, 9,
                                    10,              kCodeTooManyCopies, kCodeNotEFileable};

bool isReturnProblemCode(char code) {
  for (char problem : kReturnProblemCodes) {
    if (code == problem) return true;
  }
  return false;
}

// Texts of the copy limit: the form's name; one copy (two blanks after the
// name, as the host words it) with the limit 1 and the name; several
// copies with the limit and the name.
const char kNoCopyFormat[] = "%s may not be filed electronically.";
const char kOneCopyFormat[] = "Only %d copy of %s  may be filed electronically.";
const char kCopiesFormat[] = "Only %d copies of %s may be filed electronically.";

}  // namespace

AuditMgmt::AuditReportPtr StateTaxFormAuditor::auditReturn(AuditMgmt::AuditType type) {
  auditType = type;
  createNewReport(type);
  // Without a state printer or state return there is nothing to walk.
  if (statePrinter == nullptr || stateReturn == nullptr) return getAuditReport();

  std::vector<FormId> forms;
  char countA = 0;
  char countB = 0;
  statePrinter->formsToAudit(forms, countA, countB);
  int count = countA + countB;
  // The counts never reach past the list the printer filled.
  if (count > static_cast<int>(forms.size())) count = static_cast<int>(forms.size());

  for (int i = 0; i < count; ++i) {
    for (DataMgmt::TaxFormIter it = stateReturn->getForms(forms[i]); !it.atEOL(); it.next()) {
      DataMgmt::TaxFormPtr formCopy = it.getTaxForm();
      if (formCopy.isNull()) continue;
      const FormId form = formCopy->getTaxFormDescriptor()->getTypeID();
      const unsigned short copy = formCopy->getCopyNumber();
      checkOneForm(AuditMgmt::kNoAuditHelpID, TopicId(0), false, form, formCopy, copy);
    }
  }
  return getAuditReport();
}

bool StateTaxFormAuditor::isFormAmountNonZero(DataMgmt::TaxFormPtr form) {
  if (form.isNull()) return false;
  return form->getIN(Fed1099G::kStateTaxWithheld) != 0;
}

void StateTaxFormAuditor::showStateAuditMsg(const std::string& helpId, TopicId topic, bool flag,
                                            bool answer, char messageCode, char secondCode,
                                            const FormId& form, unsigned short copy,
                                            const FieldId& field, const char* text) {
  if (answer && isReturnProblemCode(messageCode) && stateReturn != nullptr) {
    stateReturn->eFileAuditProblem = 1;
  }
  showAuditMsg(helpId, topic, flag, answer, messageCode, secondCode, form, copy, field, text);
}

void StateTaxFormAuditor::auditEFileCopyLimit(const std::string& helpId, TopicId topic, bool flag,
                                              const FormId& form) {
  const int limit = static_cast<int16_t>(getMaxEFileCopies(form));
  const int count = taxReturn.numFormCopies(form);
  if (count <= limit) return;

  char name[256] = "";
  taxReturn.formName(name, form, 1);
  char text[512];
  char code = kCodeTooManyCopies;
  if (limit == 0) {
    std::snprintf(text, sizeof(text), kNoCopyFormat, name);
    code = kCodeNotEFileable;
  } else if (limit == 1) {
    std::snprintf(text, sizeof(text), kOneCopyFormat, 1, name);
  } else {
    std::snprintf(text, sizeof(text), kCopiesFormat, limit, name);
  }
  epFailMsg(helpId, topic, flag, true, code, 0, form, 1, FieldId(1), text);
}

}  // namespace StateAuditMgmt
