// pa_bench: how long the module's main paths take.
//
//   LoadAndCalculateSample  a fresh federal and PA return, the sample return
//                           loaded into both from its file, calcReturn
//   CalculateSample         calcReturn alone, on the loaded sample
//   ModuleOpenClose         dlopen + compatVersion + dlclose of the module
//
// The sample file and the module are the ones of the build tree.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdint>
#include <memory>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "entry/pa_tax_return.h"
#include "host/descriptors.h"
#include "host/printer.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

namespace {

// A federal return, the PA return over it and the PA engine, as the host
// builds them (without a printer).
struct SampleReturn {
  SampleReturn()
      : federal(new DataMgmt::USTaxReturn()),
        pa(new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                       Utils::StringPool::shared())),
        engine(new PACalculationMgmt::PATaxReturnCalcEngine(
            static_cast<DataMgmt::USTaxReturn*>(federal.get()), pa.get(),
            TaxFormPrintMgmt::TaxFormPrinterPtr())) {}

  void load() {
    engine->loadInputTextFile(PA_SAMPLE_RETURN, federal.get());
    engine->loadInputTextFile(PA_SAMPLE_RETURN, pa.get());
  }

  DataMgmt::TaxReturnPtr federal;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PACalculationMgmt::PATaxReturnCalcEngine> engine;  // destroyed first
};

void LoadAndCalculateSample(benchmark::State& state) {
  for (auto _ : state) {
    SampleReturn sample;
    sample.load();
    sample.engine->calcReturn(0);
    benchmark::DoNotOptimize(sample.pa->getMaxCopies(kFormID_PAReturnInfo));
  }
}
BENCHMARK(LoadAndCalculateSample);

void CalculateSample(benchmark::State& state) {
  SampleReturn sample;
  sample.load();
  for (auto _ : state) {
    sample.engine->calcReturn(0);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CalculateSample);

void ModuleOpenClose(benchmark::State& state) {
  for (auto _ : state) {
    void* module = dlopen(PA_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      state.SkipWithError(dlerror());
      break;
    }
    auto compat = reinterpret_cast<uint16_t (*)()>(dlsym(module, "compatVersion"));
    if (compat == nullptr) {
      dlclose(module);
      state.SkipWithError("the module does not export compatVersion");
      break;
    }
    benchmark::DoNotOptimize(compat());
    dlclose(module);
  }
}
BENCHMARK(ModuleOpenClose);

}  // namespace

BENCHMARK_MAIN();
