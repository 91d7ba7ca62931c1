#include "audit/pa_tax_form_auditor.h"

#include "return/release_share.h"

namespace PAAuditMgmt {

PATaxFormAuditor::PATaxFormAuditor(DataMgmt::USTaxReturn* federalReturn,
                                   PADataMgmt::PATaxReturn* paReturn,
                                   DataMgmt::OrvaneConfiguration* configuration,
                                   CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                   TaxFormPrintMgmt::TaxFormPrinterPtr printer)
    : StateAuditMgmt::StateTaxFormAuditor(federalReturn, *paReturn, configuration, engine, printer),
      paReturn(paReturn) {
  releaseShare(engine);
  releaseShare(printer);
}

PATaxFormAuditor::~PATaxFormAuditor() = default;

}  // namespace PAAuditMgmt
