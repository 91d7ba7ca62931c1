// The module's exported entry points, called by the host by plain name.
//
// The host first asks compatVersion, then builds the PA objects through the
// factories. Host holders come by value: each factory releases its own
// arguments, in argument order, before it returns, and the module keeps no
// share of them (the host base classes keep what they need). Every object
// returned belongs to the host, which deletes it through its virtual
// destructor; a factory that obtains no memory returns null. The returns
// and the printer are borrowed by the objects built over them and must
// outlive those objects.
#ifndef ENTRY_MODULE_ENTRY_H_
#define ENTRY_MODULE_ENTRY_H_

#include <cstdint>
#include <vector>

#include "host/auditor.h"
#include "host/calc_engine.h"
#include "host/configuration.h"
#include "host/data_store.h"
#include "host/macro_expander.h"
#include "host/pointers.h"
#include "host/printer.h"
#include "host/summary_report.h"
#include "host/tax_return.h"
#include "host/tif_writer.h"
#include "host/topics.h"

#define PA_EXPORT extern "C" __attribute__((visibility("default")))

// The compatibility number the host checks before it uses the module: 6101.
PA_EXPORT uint16_t compatVersion();

// The PA return over the federal return, its description and the string
// pool, stored into `taxReturn` (null when no memory was obtained).
// Always answers 0.
PA_EXPORT int32_t createTaxReturnInstance(DataMgmt::TaxReturnPtr federalReturn,
                                          DataMgmt::TaxReturnDescPtr desc,
                                          Utils::StringPoolPtr pool,
                                          DataMgmt::TaxReturn*& taxReturn);

// The PA calculation engine. The federal return is borrowed when it is a
// USTaxReturn, the state return when it is the PA return (else the engine
// holds null for it); the engine keeps a share of the printer.
PA_EXPORT CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    TaxFormPrintMgmt::TaxFormPrinterPtr printer);

// The PA auditor; it keeps a share of the engine and borrows the returns
// and the printer. Null as well when the state return is not the PA return,
// since the auditor cannot audit anything else.
PA_EXPORT AuditMgmt::TaxFormAuditor* createAuditorInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    DataMgmt::OrvaneConfiguration* configuration, CalculationMgmt::TaxReturnCalcEnginePtr engine,
    TaxFormPrintMgmt::TaxFormPrinterPtr printer);

// The PA form printer over the state return, which it borrows; the federal
// argument is not used. Null as well when the state return is not the PA
// return.
PA_EXPORT TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn);

// The PA data-file writer; it keeps shares of all five holders.
PA_EXPORT TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
    CalculationMgmt::TaxReturnCalcEnginePtr engine, TaxFormPrintMgmt::TaxFormPrinterPtr printer,
    AuditMgmt::TaxFormAuditorPtr auditor, DataMgmt::OrvaneConfiguration* configuration);

// The state layer's macro expander; it keeps shares of both returns.
// Throws std::bad_cast when the state return is not a state return.
PA_EXPORT MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(
    DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn);

// The PA tax summary report of the PA return, its lines filled; it keeps a
// share of the return.
PA_EXPORT ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr stateReturn);

// The interview's top-level topics over the store's returns (a new
// vector, never null; the vector and the topics belong to the caller).
PA_EXPORT std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(
    DataMgmt::TaxDataStore& store);

#endif  // ENTRY_MODULE_ENTRY_H_
