// The eight factories. Each one casts first, then allocates without
// throwing (no memory: no object and no copies of the arguments), then
// constructs from copies of its holders, then releases its own holders in
// argument order, and returns.
#include <new>

#include "audit/pa_tax_form_auditor.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/module_entry.h"
#include "interview/interview_hierarchy.h"
#include "interview/state_macro_expander.h"
#include "output/pa_tax_form_printer.h"
#include "output/pa_tax_summary_report.h"
#include "output/pa_tif_file_writer.h"
#include "return/pa_tax_return.h"
#include "return/release_share.h"

namespace {

// The releases of each factory's arguments; made before the factory
// allocates, so releasing can no longer fail once the object exists.
using ReturnPtr = DataMgmt::TaxReturnPtr;
using EnginePtr = CalculationMgmt::TaxReturnCalcEnginePtr;
using PrinterPtr = TaxFormPrintMgmt::TaxFormPrinterPtr;
using AuditorPtr = AuditMgmt::TaxFormAuditorPtr;

DataMgmt::USTaxReturn* asFederalReturn(const DataMgmt::TaxReturnPtr& federalReturn) {
  return dynamic_cast<DataMgmt::USTaxReturn*>(federalReturn.get());
}

PADataMgmt::PATaxReturn* asPAReturn(const DataMgmt::TaxReturnPtr& stateReturn) {
  return dynamic_cast<PADataMgmt::PATaxReturn*>(stateReturn.get());
}

}  // namespace

int32_t createTaxReturnInstance(DataMgmt::TaxReturnPtr federalReturn,
                                DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool,
                                DataMgmt::TaxReturn*& taxReturn) {
  ShareRelease<ReturnPtr, DataMgmt::TaxReturnDescPtr, Utils::StringPoolPtr> release;
  taxReturn = new (std::nothrow) PADataMgmt::PATaxReturn(federalReturn, desc, pool);
  release(federalReturn, desc, pool);
  return 0;
}

CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
  ShareRelease<ReturnPtr, ReturnPtr, PrinterPtr> release;
  DataMgmt::USTaxReturn* federal = asFederalReturn(federalReturn);
  PADataMgmt::PATaxReturn* pa = asPAReturn(stateReturn);
  auto* engine = new (std::nothrow) PACalculationMgmt::PATaxReturnCalcEngine(federal, pa, printer);
  release(federalReturn, stateReturn, printer);
  return engine;
}

AuditMgmt::TaxFormAuditor* createAuditorInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                 DataMgmt::TaxReturnPtr stateReturn,
                                                 DataMgmt::OrvaneConfiguration* configuration,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
  ShareRelease<ReturnPtr, ReturnPtr, EnginePtr, PrinterPtr> release;
  DataMgmt::USTaxReturn* federal = asFederalReturn(federalReturn);
  PADataMgmt::PATaxReturn* pa = asPAReturn(stateReturn);
  // The auditor's host base holds the audited return by reference: without
  // a PA return there is nothing to bind it to.
  PAAuditMgmt::PATaxFormAuditor* auditor = nullptr;
  if (pa != nullptr) {
    auditor = new (std::nothrow)
        PAAuditMgmt::PATaxFormAuditor(federal, pa, configuration, engine, printer);
  }
  release(federalReturn, stateReturn, engine, printer);
  return auditor;
}

TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                               DataMgmt::TaxReturnPtr stateReturn) {
  ShareRelease<ReturnPtr, ReturnPtr> release;
  PADataMgmt::PATaxReturn* pa = asPAReturn(stateReturn);
  // The printer's host base holds the printed return by reference.
  PATaxFormPrintMgmt::PATaxFormPrinter* printer = nullptr;
  if (pa != nullptr) printer = new (std::nothrow) PATaxFormPrintMgmt::PATaxFormPrinter(*pa);
  release(federalReturn, stateReturn);
  return printer;
}

TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    CalculationMgmt::TaxReturnCalcEnginePtr engine, TaxFormPrintMgmt::TaxFormPrinterPtr printer,
    AuditMgmt::TaxFormAuditorPtr auditor, DataMgmt::OrvaneConfiguration* configuration) {
  ShareRelease<ReturnPtr, ReturnPtr, EnginePtr, PrinterPtr, AuditorPtr> release;
  auto* writer = new (std::nothrow) PATifWriteMgmt::PATifFileWriter(
      federalReturn, stateReturn, engine, printer, auditor, configuration);
  release(federalReturn, stateReturn, engine, printer, auditor);
  return writer;
}

MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(DataMgmt::TaxReturnPtr federalReturn,
                                                               DataMgmt::TaxReturnPtr stateReturn) {
  ShareRelease<ReturnPtr, ReturnPtr> release;
  auto* expander =
      new (std::nothrow) StateMacroExpansionMgmt::StateMacroExpander(federalReturn, stateReturn);
  release(federalReturn, stateReturn);
  return expander;
}

ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr stateReturn) {
  ShareRelease<ReturnPtr> release;
  auto* report = new (std::nothrow) PAReportMgmt::PATaxSummaryReport(stateReturn);
  release(stateReturn);
  return report;
}

std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(DataMgmt::TaxDataStore& store) {
  return buildInterviewHierarchy(store);
}
