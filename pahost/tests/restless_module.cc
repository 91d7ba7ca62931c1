// A module whose calculation never settles, to test that pahost says so
// and files nothing. It loads the PA module (PA_MODULE_PATH) and hands out
// its objects, but its engine wraps the PA engine and, after each
// calculation of the whole return, writes 1 and 2 by turns into PA-40 line
// 21 (the forgiveness credit): every calculation changes the return. The
// writer and the auditor get the wrapping engine from the host, so the
// writer's calculation changes it too.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "entry/module_entry.h"
#include "host/test_data_loader.h"
#include "pahost/table_numbers.h"

namespace {

const DataMgmt::FormId kPA40(TableNumbers::kPA40FormNumber, true);
const char kAlternatedLine[] = "ForgivenessCredit";

// The PA module, loaded the first time a factory is asked for.
void* paModule() {
  static void* const handle = [] {
    void* opened = dlopen(PA_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (opened == nullptr) {
      std::fprintf(stderr, "restless module: %s\n", dlerror());
      std::abort();
    }
    return opened;
  }();
  return handle;
}

// The PA module's function `name`, of the type of `declared`.
template <class Fn>
Fn paFunction(const char* name, Fn /*declared*/) {
  return reinterpret_cast<Fn>(dlsym(paModule(), name));
}

// The PA engine, calculating as it does, with the turn of 1 and 2 after
// each whole calculation. It owns the PA engine and keeps a share of the
// PA return, both given up when it goes.
class RestlessEngine : public CalculationMgmt::TaxReturnCalcEngine, public CalculationMgmt::TestDataLoader {
 public:
  RestlessEngine(CalculationMgmt::TaxReturnCalcEngine* pa, const DataMgmt::TaxReturnPtr& paReturn,
                 TaxFormPrintMgmt::TaxFormPrinterPtr printer)
      : CalculationMgmt::TaxReturnCalcEngine(printer), pa_(pa), paReturn_(paReturn) {}
  ~RestlessEngine() override { delete pa_; }

  void calcReturn(int flag) override {
    pa_->calcReturn(flag);
    const DataMgmt::TaxFormPtr pa40 = paReturn_->getFormUVPtr(kPA40, 1, true);
    pa40->assignIR(TableNumbers::fieldNumberOf(CatalogId::PA40FieldIds, kAlternatedLine), 1 + calculations_++ % 2);
  }
  void calcForm(const DataMgmt::FormId& form, uint16_t copy, bool markDataEntered, int passOn, int spare,
                DataMgmt::TaxFormPtr target) override {
    pa_->calcForm(form, copy, markDataEntered, passOn, spare, target);
  }
  void calcAllCopies(const DataMgmt::FormId& form) override { pa_->calcAllCopies(form); }
  void calcIfChanged(int flag) override { pa_->calcIfChanged(flag); }
  void taxCalc1() override { pa_->taxCalc1(); }
  void earnedIncome() override { pa_->earnedIncome(); }
  long getSummaryAmount() override { return pa_->getSummaryAmount(); }
  void loadInputTextFile(const std::string& path, DataMgmt::TaxReturn* taxReturn) override {
    loader().loadInputTextFile(path, taxReturn);
  }
  void loadInputLines(const std::vector<std::string>& lines, DataMgmt::TaxReturn* taxReturn) override {
    loader().loadInputLines(lines, taxReturn);
  }

 private:
  CalculationMgmt::TestDataLoader& loader() { return dynamic_cast<CalculationMgmt::TestDataLoader&>(*pa_); }

  CalculationMgmt::TaxReturnCalcEngine* pa_;
  DataMgmt::TaxReturnPtr paReturn_;
  unsigned calculations_ = 0;
};

}  // namespace

uint16_t compatVersion() { return paFunction("compatVersion", &compatVersion)(); }

int32_t createTaxReturnInstance(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc,
                                Utils::StringPoolPtr pool, DataMgmt::TaxReturn*& taxReturn) {
  return paFunction("createTaxReturnInstance", &createTaxReturnInstance)(federal, desc, pool, taxReturn);
}

CalculationMgmt::TaxReturnCalcEngine* createCalcEngineInstance(DataMgmt::TaxReturnPtr federal,
                                                               DataMgmt::TaxReturnPtr pa,
                                                               TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
  CalculationMgmt::TaxReturnCalcEngine* engine =
      paFunction("createCalcEngineInstance", &createCalcEngineInstance)(federal, pa, printer);
  return engine == nullptr ? nullptr : new RestlessEngine(engine, pa, printer);
}

AuditMgmt::TaxFormAuditor* createAuditorInstance(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr pa,
                                                 DataMgmt::OrvaneConfiguration* configuration,
                                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer) {
  return paFunction("createAuditorInstance", &createAuditorInstance)(federal, pa, configuration, engine, printer);
}

TaxFormPrintMgmt::TaxFormPrinter* createTaxFormPrinterInstance(DataMgmt::TaxReturnPtr federal,
                                                               DataMgmt::TaxReturnPtr pa) {
  return paFunction("createTaxFormPrinterInstance", &createTaxFormPrinterInstance)(federal, pa);
}

TifWriteMgmt::TifFileWriter* createTifFileWriterInstance(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnPtr pa,
                                                         CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                                         TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                                                         AuditMgmt::TaxFormAuditorPtr auditor,
                                                         DataMgmt::OrvaneConfiguration* configuration) {
  return paFunction("createTifFileWriterInstance", &createTifFileWriterInstance)(federal, pa, engine, printer,
                                                                                  auditor, configuration);
}

MacroExpansionMgmt::MacroExpander* createMacroExpanderInstance(DataMgmt::TaxReturnPtr federal,
                                                               DataMgmt::TaxReturnPtr pa) {
  return paFunction("createMacroExpanderInstance", &createMacroExpanderInstance)(federal, pa);
}

ReportMgmt::TaxSummaryReport* createTaxSummaryReport(DataMgmt::TaxReturnPtr pa) {
  return paFunction("createTaxSummaryReport", &createTaxSummaryReport)(pa);
}

std::vector<TopicMgmt::TopicDesc*>* createInterviewHierarchy(DataMgmt::TaxDataStore& store) {
  return paFunction("createInterviewHierarchy", &createInterviewHierarchy)(store);
}
