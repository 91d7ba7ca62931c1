// pa_bench: how long the module's main paths take, in process, through a
// pahost session (the module loaded as pahost loads it, the return loaded
// with its federal figures, exactly what pahost calculates).
//
//   CalculateSample            calcReturn on the loaded sample return
//   CalculateAuditWrite        the job's steps as pahost runs them: the data
//                              file (the return settled by its writer's
//                              calculation and one more) and an ordinary
//                              audit
//   SessionMemory              the same steps 10,000 times in one session:
//                              resident memory after 100 passes and after
//                              10,000 (counters, in kB), which must stay
//                              within 1 MB of each other
//   CalculateExample/NAME      calcReturn on each return of examples/
//   ManyCopies/FORMS/n         a fresh session loads n copies (up to the
//                              host's 999) of the forms and calculates them;
//                              the cost must grow linearly with n
//   ManyCopies/alone/FORM/999  999 copies of one form
//   WholeJob/n                 n copies of every form loaded, then the job's
//                              steps as pahost runs them (the data file, of
//                              the return settled by its writer's
//                              calculation and one more, and the audit);
//                              the data file's size (`bytes`) must grow
//                              linearly too
//
// The whole-process figure (pahost against a program that only dlopens an
// empty library) is process_ratio's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/descriptors.h"
#include "host/stand_in.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

const std::string kExamples = PA_EXAMPLES_DIR;

ModuleLoader& module() {
  static ModuleLoader* loaded = [] {
    auto* m = new ModuleLoader();
    if (!m->open(PA_MODULE_PATH)) std::fprintf(stderr, "pa_bench: %s\n", m->error().c_str());
    return m;
  }();
  return *loaded;
}

// A session with the return at `path` loaded.
std::unique_ptr<HostSession> sessionWith(const std::string& path) {
  std::unique_ptr<HostSession> session(new HostSession());
  if (!session->findFactories(module()) || !session->build()) return nullptr;
  session->load(path);
  return session;
}

std::string scratchPath(const std::string& name) {
  return std::filesystem::temp_directory_path().string() + "/pa_bench_" + std::to_string(getpid()) + "_" + name;
}

void CalculateReturn(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HostSession> session = sessionWith(path);
  if (!session) return state.SkipWithError("no session");
  for (auto _ : state) session->calculate();
}

void CalculateSample(benchmark::State& state) { CalculateReturn(state, kExamples + "/sample_return.txt"); }
BENCHMARK(CalculateSample)->Unit(benchmark::kMicrosecond);

void CalculateAuditWrite(benchmark::State& state) {
  std::unique_ptr<HostSession> session = sessionWith(kExamples + "/sample_return.txt");
  if (!session) return state.SkipWithError("no session");
  const std::string out = scratchPath("40.tif");
  long records = 0;
  for (auto _ : state) {
    if (!session->settleAndWrite(out, &records)) return state.SkipWithError(session->error().c_str());
    benchmark::DoNotOptimize(session->audit(false));
  }
  std::remove(out.c_str());
  state.counters["records"] = double(records);
}
BENCHMARK(CalculateAuditWrite)->Unit(benchmark::kMicrosecond);

// The process's resident memory in kB.
double residentKB() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(statm);
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

void SessionMemory(benchmark::State& state) {
  std::unique_ptr<HostSession> session = sessionWith(kExamples + "/sample_return.txt");
  if (!session) return state.SkipWithError("no session");
  const std::string out = scratchPath("memory.tif");
  long records = 0;
  for (auto _ : state) {
    for (int pass = 1; pass <= 10000; ++pass) {
      if (!session->settleAndWrite(out, &records)) return state.SkipWithError(session->error().c_str());
      benchmark::DoNotOptimize(session->audit(false));
      if (pass == 100) state.counters["rss_100_kB"] = residentKB();
    }
    state.counters["rss_10000_kB"] = residentKB();
  }
  std::remove(out.c_str());
  state.counters["growth_kB"] = state.counters["rss_10000_kB"] - state.counters["rss_100_kB"];
}
BENCHMARK(SessionMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// The developer names of every form of both returns.
std::vector<std::string> everyForm() {
  std::vector<std::string> names;
  for (const auto& desc : {DataMgmt::TaxReturnDesc::federal(), DataMgmt::TaxReturnDesc::pennsylvania()}) {
    for (const auto& form : desc->getTaxFormDescriptors()) names.push_back(form->getDevName());
  }
  return names;
}

// A return of `copies` copies of each form: a line "FORM:n+:F<first
// number field>:100" per form.
std::string manyCopiesReturn(const std::vector<std::string>& forms, long copies) {
  std::string text;
  for (const auto& desc : {DataMgmt::TaxReturnDesc::federal(), DataMgmt::TaxReturnDesc::pennsylvania()}) {
    for (const auto& form : desc->getTaxFormDescriptors()) {
      if (std::find(forms.begin(), forms.end(), form->getDevName()) == forms.end()) continue;
      for (const auto& id : form->fieldIds()) {
        const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(id);
        if (field->isText() || field->isBoolean()) continue;
        text += form->getDevName() + ":" + std::to_string(copies) + "+:F" + std::to_string(id.getNumber()) +
                ":100\n";
        break;
      }
    }
  }
  return text;
}

void ManyCopies(benchmark::State& state, const std::vector<std::string>& forms) {
  const std::string path = scratchPath("copies.txt");
  std::ofstream(path) << manyCopiesReturn(forms, state.range(0));
  for (auto _ : state) {
    std::unique_ptr<HostSession> session = sessionWith(path);
    if (!session) return state.SkipWithError("no session");
    session->calculate();
  }
  std::remove(path.c_str());
  state.SetComplexityN(state.range(0));
}

void WholeJob(benchmark::State& state) {
  const std::string path = scratchPath("job.txt");
  const std::string out = scratchPath("job.tif");
  std::ofstream(path) << manyCopiesReturn(everyForm(), state.range(0));
  long records = 0;
  for (auto _ : state) {
    std::unique_ptr<HostSession> session = sessionWith(path);
    if (!session) return state.SkipWithError("no session");
    // As pahost runs the job: the data file, of the return settled by the
    // writer's calculation and one more, then the audit.
    if (!session->settleAndWrite(out, &records)) return state.SkipWithError(session->error().c_str());
    benchmark::DoNotOptimize(session->audit(false));
  }
  state.counters["bytes"] = double(std::filesystem::file_size(out));
  state.counters["records"] = double(records);
  std::remove(path.c_str());
  std::remove(out.c_str());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(WholeJob)->Arg(125)->Arg(250)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN)->Iterations(1);

void registerAll() {
  for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
    if (entry.path().extension() != ".txt") continue;
    const std::string name = entry.path().stem().string();
    benchmark::RegisterBenchmark(("CalculateExample/" + name).c_str(), CalculateReturn, entry.path().string())
        ->Unit(benchmark::kMicrosecond);
  }
  const struct {
    const char* name;
    std::vector<std::string> forms;
  } sets[] = {{"PA40+PAW2", {"PA40", "PAW2"}}, {"PA40", {"PA40"}}, {"PAW2", {"PAW2"}}, {"every form", everyForm()}};
  // 999 copies (the host's limit) of each form alone.
  for (const std::string& form : everyForm()) {
    benchmark::RegisterBenchmark(("ManyCopies/alone/" + form).c_str(), ManyCopies, std::vector<std::string>{form})
        ->Arg(999)->Unit(benchmark::kMillisecond)->Iterations(1);
  }
  for (const auto& set : sets) {
    benchmark::RegisterBenchmark(("ManyCopies/" + std::string(set.name)).c_str(), ManyCopies, set.forms)
        ->Arg(125)->Arg(250)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond)
        ->Complexity(benchmark::oN)->Iterations(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  registerAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
