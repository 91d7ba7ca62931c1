// StateAuditMgmt::StateTaxFormAuditor: the state layer of a state return's
// auditor, shared by every state's auditor.
//
// The engine share is the host base's. The state layer borrows the federal
// return, the state return and the state printer (no share: the host keeps
// them alive while the auditor lives). The state return is null when the
// audited return is not a StateTaxReturn, the printer when the printer is
// not a StateTaxFormPrinter.
#ifndef AUDIT_STATE_TAX_FORM_AUDITOR_H_
#define AUDIT_STATE_TAX_FORM_AUDITOR_H_

#include "host/auditor.h"
#include "host/configuration.h"
#include "host/pointers.h"
#include "host/state_printer.h"
#include "host/state_tax_return.h"
#include "host/us_tax_return.h"

namespace StateAuditMgmt {

class StateTaxFormAuditor : public AuditMgmt::TaxFormAuditor {
 public:
  StateTaxFormAuditor(DataMgmt::USTaxReturn* federalReturn, DataMgmt::TaxReturn& stateReturn,
                      DataMgmt::OrvaneConfiguration*& configuration,
                      CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                      TaxFormPrintMgmt::TaxFormPrinterPtr& printer);
  ~StateTaxFormAuditor() override;

  DataMgmt::USTaxReturn* getFederalReturn() const { return federalReturn; }
  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }
  StateTaxFormPrintMgmt::StateTaxFormPrinter* getStatePrinter() const { return statePrinter; }

 protected:
  DataMgmt::USTaxReturn* federalReturn;                      // borrowed
  StateDataMgmt::StateTaxReturn* stateReturn;                // borrowed
  StateTaxFormPrintMgmt::StateTaxFormPrinter* statePrinter;  // borrowed, no share
};

}  // namespace StateAuditMgmt

#endif  // AUDIT_STATE_TAX_FORM_AUDITOR_H_
