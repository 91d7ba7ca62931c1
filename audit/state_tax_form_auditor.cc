#include "audit/state_tax_form_auditor.h"

namespace StateAuditMgmt {

StateTaxFormAuditor::StateTaxFormAuditor(DataMgmt::USTaxReturn* federalReturn,
                                         DataMgmt::TaxReturn& stateReturn,
                                         DataMgmt::OrvaneConfiguration*& configuration,
                                         CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                         TaxFormPrintMgmt::TaxFormPrinterPtr& printer)
    : AuditMgmt::TaxFormAuditor(stateReturn, configuration, engine),
      federalReturn(federalReturn),
      stateReturn(dynamic_cast<StateDataMgmt::StateTaxReturn*>(&stateReturn)),
      statePrinter(dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printer.get())) {}

StateTaxFormAuditor::~StateTaxFormAuditor() = default;

}  // namespace StateAuditMgmt
