// pahost: a small host program that loads the PA module the way the host
// application does, checks its compatibility number, builds the PA objects
// through the module's factories, reports the PA return's constants, its
// mailing addresses and the lines of its tax summary report, deletes
// everything and unloads the module.
//
//   pahost [--module PATH] [--dump] [--no-calc] [RETURN.txt]
//
// With RETURN.txt, a test-data file ("FORM:copy:FIELD:value" lines), it
// loads the file into the federal and the PA return with the engine's
// loader, calculates the return (unless --no-calc) and says how many lines
// neither return took (unknown forms and fields, amounts out of range) and
// what the host's diagnostics counted. --dump then writes both returns to
// standard output in the same format, so that the output can be loaded
// again (to the same lines, and, once calculated, to the same calculated
// lines); everything else goes to standard error.
//
// Exit status: 0 on success, 2 when the module cannot be loaded or has
// another compatibility number or the return file cannot be read, 1 when a
// factory fails.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/stand_in.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

const uint16_t kExpectedCompatVersion = 6101;

int usage() {
  std::fprintf(stderr, "usage: pahost [--module PATH] [--dump] [--no-calc] [RETURN.txt]\n");
  return 2;
}

// Loads, calculates and reports the return file; the exit status.
int runReturn(HostSession& session, const std::string& path, bool dump, bool calculate,
              std::FILE* info) {
  const int skipped = session.countSkippedLines(path);
  if (skipped < 0) {
    std::fprintf(stderr, "pahost: cannot read the return file %s\n", path.c_str());
    return 2;
  }
  session.load(path);
  if (calculate) session.calculate();
  if (dump) session.dump(stdout);
  if (calculate) {
    std::fprintf(info, "return %s calculated: summary amount %ld\n", path.c_str(),
                 session.summaryAmount());
  }
  std::fprintf(info, "%d line%s of %s skipped (no such form or field, or an amount out of range)\n",
               skipped, skipped == 1 ? "" : "s", path.c_str());
  const StandIn::Diagnostics& seen = StandIn::diagnostics();
  std::fprintf(info, "host saw %d writes to unknown fields, %d non-finite writes, %d texts written "
                     "into fields that are not text fields\n",
               seen.unknownFieldWrites, seen.nonFiniteWrites, seen.textIntoOtherFields);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = defaultModulePath();
  std::string returnFile;
  bool dump = false;
  bool calculate = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0) {
      if (++i >= argc) return usage();
      modulePath = argv[i];
    } else if (std::strcmp(argv[i], "--dump") == 0) {
      dump = true;
    } else if (std::strcmp(argv[i], "--no-calc") == 0) {
      calculate = false;
    } else if (argv[i][0] == '-') {
      return usage();
    } else if (returnFile.empty()) {
      returnFile = argv[i];
    } else {
      return usage();
    }
  }

  // With --dump, standard output carries the dump alone.
  std::FILE* info = dump ? stderr : stdout;

  ModuleLoader module;
  if (!module.open(modulePath)) {
    std::fprintf(stderr, "pahost: cannot load the module %s: %s\n", modulePath.c_str(),
                 module.error().c_str());
    return 2;
  }
  using CompatFn = uint16_t (*)();
  auto compat = reinterpret_cast<CompatFn>(module.find("compatVersion"));
  if (compat == nullptr) {
    std::fprintf(stderr, "pahost: %s\n", module.error().c_str());
    return 2;
  }
  const uint16_t version = compat();
  if (version != kExpectedCompatVersion) {
    std::fprintf(stderr, "pahost: module compatibility number %u, expected %u\n", version,
                 kExpectedCompatVersion);
    return 2;
  }
  std::fprintf(info, "loaded %s (compatibility %u)\n", modulePath.c_str(), version);

  int status = 0;
  {
    HostSession session;
    if (session.findFactories(module) && session.build()) {
      session.report(info);
      if (!returnFile.empty()) status = runReturn(session, returnFile, dump, calculate, info);
      if (status == 0) session.printSummaryReport(info);
    } else {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
    if (!session.close() && status == 0) {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
  }  // every object is gone before the module is unloaded
  module.close();
  std::fprintf(info, "unloaded\n");
  return status;
}
