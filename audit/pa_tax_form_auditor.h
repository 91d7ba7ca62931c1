// PAAuditMgmt::PATaxFormAuditor: the Pennsylvania auditor.
//
// The host creates it through createAuditorInstance and deletes it through
// its virtual destructor. Everything but the PA return pointer is held by
// the state layer; the PA return is borrowed and must outlive the auditor.
#ifndef AUDIT_PA_TAX_FORM_AUDITOR_H_
#define AUDIT_PA_TAX_FORM_AUDITOR_H_

#include "audit/state_tax_form_auditor.h"
#include "entry/pa_tax_return.h"

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

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PAAuditMgmt

#endif  // AUDIT_PA_TAX_FORM_AUDITOR_H_
