// A module that fails the host on purpose, to test that pahost reports the
// failure and exits cleanly. Built with WRONG_COMPAT_VERSION it reports
// another compatibility number; otherwise its factories make nothing.
#include "entry/module_entry.h"

uint16_t compatVersion() {
#ifdef WRONG_COMPAT_VERSION
  return 6100;
#else
  return 6101;
#endif
}

int32_t createTaxReturnInstance(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnDescPtr,
                                Utils::StringPoolPtr, DataMgmt::TaxReturn*& taxReturn) {
  taxReturn = nullptr;
  return 0;
}

CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(
    DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnPtr, TaxFormPrintMgmt::TaxFormPrinterPtr) {
  return nullptr;
}

AuditMgmt::TaxFormAuditor* createAuditorInstance(DataMgmt::TaxReturnPtr, DataMgmt::TaxReturnPtr,
                                                 DataMgmt::OrvaneConfiguration*,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr) {
  return nullptr;
}

TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(DataMgmt::TaxReturnPtr,
                                                               DataMgmt::TaxReturnPtr) {
  return nullptr;
}

TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(DataMgmt::TaxReturnPtr,
                                                         DataMgmt::TaxReturnPtr,
                                                         CalculationMgmt::TaxReturnCalcEnginePtr,
                                                         TaxFormPrintMgmt::TaxFormPrinterPtr,
                                                         AuditMgmt::TaxFormAuditorPtr,
                                                         DataMgmt::OrvaneConfiguration*) {
  return nullptr;
}

MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(DataMgmt::TaxReturnPtr,
                                                               DataMgmt::TaxReturnPtr) {
  return nullptr;
}

ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr) { return nullptr; }

std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(DataMgmt::TaxDataStore&) {
  return nullptr;
}
