// The PA auditor's per-form dispatch: generic checks, then the rules of the
// copy's form, chosen from a table.
#include "audit/pa_tax_form_auditor.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Routine = void (PATaxFormAuditor::*)(DataMgmt::TaxFormPtr, unsigned short);

struct DispatchRow {
  const Primitives::OVImmutableFormIdentifier* form;
  Routine routine;  // null: the form has no rules of its own
};

// Searched in order; the first row naming the form decides.
const DispatchRow kDispatch[] = {
    {&kFormID_PAReturnInfo, &PATaxFormAuditor::auditReturnInfo},
    {&kFormID_State16, nullptr},
    {&kFormID_State17, nullptr},
    {&kFormID_State18, nullptr},
    {&kFormID_PA40, &PATaxFormAuditor::auditReturnAttachments},
    {&kFormID_PAScheduleW2S, &PATaxFormAuditor::auditNothing},
    {&kFormID_PAMiscCompWorksheet, &PATaxFormAuditor::auditMiscCompensation},
    {&kFormID_PAScheduleC, &PATaxFormAuditor::auditScheduleC},
    {&kFormID_PAScheduleD, &PATaxFormAuditor::auditScheduleD},
    {&kFormID_PAScheduleA, &PATaxFormAuditor::auditScheduleA},
    {&kFormID_PAScheduleB, &PATaxFormAuditor::auditScheduleB},
    {&kFormID_PAInterestDividendWorksheet, &PATaxFormAuditor::auditInterestDividendWorksheet},
    {&kFormID_PAScheduleDWorksheet, &PATaxFormAuditor::auditScheduleDWorksheet},
    {&kFormID_PAScheduleE, &PATaxFormAuditor::auditScheduleE},
    {&kFormID_PAScheduleGL, &PATaxFormAuditor::auditScheduleGL},
    {&kFormID_State45316, &PATaxFormAuditor::auditNothing},
    {&kFormID_PAScheduleJ, &PATaxFormAuditor::auditScheduleJ},
    {&kFormID_PAScheduleUE, &PATaxFormAuditor::auditScheduleUE},
    {&kFormID_PAScheduleSP, &PATaxFormAuditor::auditScheduleSP},
    {&kFormID_PAScheduleOC, &PATaxFormAuditor::auditScheduleOC},
    {&kFormID_PADeductions, &PATaxFormAuditor::auditScheduleO},
    {&kFormID_PALocalIncomeTaxReturn, &PATaxFormAuditor::auditLocalEarnedIncomeTax},
};

}  // namespace

void PATaxFormAuditor::checkOneForm(const std::string& helpId, TopicId topic, bool /*flag*/,
                                    const FormId& form, DataMgmt::TaxFormPtr formCopy,
                                    unsigned short copy) {
  auditFormGeneric(helpId, topic, false, form, formCopy, copy);
  for (const DispatchRow& row : kDispatch) {
    if (*row.form != form) continue;
    if (row.routine != nullptr) (this->*row.routine)(formCopy, copy);
    return;
  }
}

unsigned short PATaxFormAuditor::getMaxEFileCopies(const FormId& form) {
  return paReturn->numFormCopies(form);
}

void PATaxFormAuditor::auditNothing(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short /*copy*/) {}

}  // namespace PAAuditMgmt
