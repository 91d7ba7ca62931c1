// PAAuditMgmt::PATaxFormAuditor: the Pennsylvania auditor.
//
// The host creates it through createAuditorInstance and deletes it through
// its virtual destructor. Everything but the PA return pointer is held by
// the state layer; the PA return is borrowed and must outlive the auditor.
#ifndef AUDIT_PA_TAX_FORM_AUDITOR_H_
#define AUDIT_PA_TAX_FORM_AUDITOR_H_

#include "audit/state_tax_form_auditor.h"
#include "return/pa_tax_return.h"

namespace PAAuditMgmt {

class PATaxFormAuditor : public StateAuditMgmt::StateTaxFormAuditor {
 public:
  // `paReturn` must not be null: it is the audited return. The engine and
  // printer arguments are released before the constructor returns.
  PATaxFormAuditor(DataMgmt::USTaxReturn* federalReturn, PADataMgmt::PATaxReturn* paReturn,
                   DataMgmt::OrvaneConfiguration* configuration,
                   CalculationMgmt::TaxReturnCalcEnginePtr engine,
                   TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~PATaxFormAuditor() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

  // ---- Audit pass and per-form dispatch (checkOneForm) ----

  // Runs the generic checks on the copy, then the rule routine of its form
  // (the dispatch table in pa_audit_dispatch.cc); releases `formCopy`.
  void checkOneForm(const std::string& helpId, TopicId topic, bool flag, const FormId& form,
                    DataMgmt::TaxFormPtr formCopy, unsigned short copy) override;
  // The PA return's own copy count, so the generic copy limit
  // (auditEFileCopyLimit) never reports for PA: its limits are rules of the
  // forms (Schedule C 4, E 10, MC 5, UE 4 copies, 20 federal W-2Gs).
  unsigned short getMaxEFileCopies(const FormId& form) override;

  // Per-form rule routines. Each takes a form copy by value (released on
  // return) and its copy number; each lives in its form's own file.
  void auditNothing(DataMgmt::TaxFormPtr formCopy, unsigned short copy);

  // ---- Information form, direct deposit, driver's licence, wage statements, local return ----

  void auditReturnInfo(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  // Its steps: rules 5-13 (the filers: initials, amended return, school
  // code, residency, deceased taxpayer, spouse's number) and rules 14-18
  // (direct deposit, Care Of line, P.O. box, combat zone, payers of
  // unemployment compensation).
  void auditReturnInfoFilers(const DataMgmt::TaxFormPtr& formCopy, unsigned short copy);
  void auditReturnInfoAddresses(const DataMgmt::TaxFormPtr& formCopy, unsigned short copy);
  void auditLocalEarnedIncomeTax(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleO(DataMgmt::TaxFormPtr formCopy, unsigned short copy);

  // ---- PA-40 attachments and e-file restrictions; misc-comp worksheet; Schedules A, B, C, D ----

  void auditReturnAttachments(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditMiscCompensation(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleA(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleB(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditInterestDividendWorksheet(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleC(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleD(DataMgmt::TaxFormPtr formCopy, unsigned short copy);

  // ---- Schedules E, J, G-L, SP, UE, OC and the Schedule D worksheet ----

  void auditScheduleE(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleJ(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleGL(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleSP(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleUE(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleOC(DataMgmt::TaxFormPtr formCopy, unsigned short copy);
  void auditScheduleDWorksheet(DataMgmt::TaxFormPtr formCopy, unsigned short copy);

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PAAuditMgmt

#endif  // AUDIT_PA_TAX_FORM_AUDITOR_H_
