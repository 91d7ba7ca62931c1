// The audit pass of the state layer: the walk over the forms to audit, the
// electronic-filing copy limit and the state's record of e-file problems.
#include <cstdio>
#include <vector>

#include "audit/state_tax_form_auditor.h"
#include "catalogs/fields/fields.h"

namespace StateAuditMgmt {

namespace {

// Codes of messages that make the return's electronic filing a problem.
bool isReturnProblemCode(char code) {
  switch (code) {
    case 1:
    case 3:
    case 4:
    case 6:
    case 9:
    case 10:
    case 11:
    case 12:
      return true;
    default:
      return false;
  }
}

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
  char code = 11;
  if (limit == 0) {
    std::snprintf(text, sizeof(text), "%s may not be filed electronically.", name);
    code = 12;
  } else if (limit == 1) {
    std::snprintf(text, sizeof(text), "Only %d copy of %s  may be filed electronically.", 1, name);
  } else {
    std::snprintf(text, sizeof(text), "Only %d copies of %s may be filed electronically.", limit,
                  name);
  }
  epFailMsg(helpId, topic, flag, true, code, 0, form, 1, FieldId(1), text);
}

}  // namespace StateAuditMgmt
