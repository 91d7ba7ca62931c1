// pahost: a small host program that does what the host application does
// with a PA return, the way the host application does it: it loads the PA
// module, checks its compatibility number, builds the PA objects through
// the module's factories, loads a return in the test-data text format,
// calculates it, audits it and writes its data file, and shows the result
// the way a preparer reads it.
//
// Exit status: 0 on success, 2 when the module cannot be loaded or has
// another compatibility number, or the return file cannot be read (a
// missing file, a directory, a line too long), 1 when a factory fails or
// the data file cannot be written.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/io.h"
#include "host/stand_in.h"
#include "interview/interview_outline.h"
#include "pahost/module_loader.h"
#include "pahost/pa40_view.h"
#include "pahost/session.h"

namespace {

const uint16_t kExpectedCompatVersion = 6101;

const char kUsage[] =
    "usage: pahost [options] [RETURN.txt]\n"
    "Loads the PA module and, given a return in the test-data format, loads it, calculates it,\n"
    "audits it, writes its data file and prints its PA-40, balance, summary report, mailing\n"
    "address and audit messages. Without a return it shows the PA return's constants.\n"
    "  --module PATH  the module to load (default: libpa2018.so beside pahost)\n"
    "  --efile        an electronic-filing audit instead of an ordinary one\n"
    "  --out FILE     the data file to write (default: 40.tif in the current folder)\n"
    "  --interview    also print the interview's topic tree with titles and statuses\n"
    "  --verbose      list every skipped line of the return with its number and reason\n"
    "  --dump         write both returns to standard output in the test-data format;\n"
    "                 everything else goes to standard error\n"
    "  --no-calc      load the return without calculating, auditing or writing it\n"
    "  --help         print this text\n";

struct Options {
  std::string modulePath = defaultModulePath();
  std::string returnFile;
  std::string outFile = "40.tif";
  bool dump = false;
  bool calculate = true;
  bool eFile = false;
  bool interview = false;
  bool verbose = false;
  bool help = false;
};

// Reads the options; false on a wrong one.
bool parseOptions(int argc, char** argv, Options* o) {
  struct Flag {
    const char* name;
    bool Options::*member;
    bool value;
  };
  const Flag flags[] = {{"--dump", &Options::dump, true},         {"--no-calc", &Options::calculate, false},
                        {"--efile", &Options::eFile, true},       {"--interview", &Options::interview, true},
                        {"--verbose", &Options::verbose, true},   {"--help", &Options::help, true}};
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool known = false;
    for (const Flag& f : flags) {
      if (std::strcmp(arg, f.name) != 0) continue;
      o->*f.member = f.value;
      known = true;
    }
    if (known) continue;
    if (std::strcmp(arg, "--module") == 0 || std::strcmp(arg, "--out") == 0) {
      if (++i >= argc || argv[i][0] == '\0') return false;
      (arg[2] == 'm' ? o->modulePath : o->outFile) = argv[i];
    } else if (arg[0] == '-' || !o->returnFile.empty()) {
      return false;
    } else {
      o->returnFile = arg;
    }
  }
  return true;
}

// Says which lines were skipped; false (the file not to be used) when the
// file cannot be read or a line is too long to be a line of a return.
bool reportLines(const LineCheck& check, const Options& o, std::FILE* info) {
  const char* path = o.returnFile.c_str();
  if (!check.readable) {
    std::fprintf(stderr, "pahost: cannot read the return file %s\n", path);
    return false;
  }
  if (check.cutAt != 0) {
    std::fprintf(stderr, "pahost: line %ld of %s is longer than %zu bytes: not a return file\n",
                 check.cutAt, path, IOMgmt::kMaxLineLength);
    return false;
  }
  const std::size_t skipped = check.skipped.size();
  std::fprintf(info, "%zu line%s of %s skipped%s\n", skipped, skipped == 1 ? "" : "s", path,
               skipped == 0 || o.verbose ? "" : " (--verbose lists them)");
  if (o.verbose) {
    for (const SkippedLine& line : check.skipped) {
      std::fprintf(info, "  line %ld: %s\n", line.number, line.reason.c_str());
    }
  }
  return true;
}

// The job's data file: whether it was written yet, and how.
struct DataFileRun {
  bool done = false;
  bool written = false;
  long records = 0;
};

// The main job's results, in the order a preparer reads them; the data
// file is written here unless it was already.
int reportReturn(HostSession& session, const Options& o, DataFileRun file, std::FILE* info) {
  std::fprintf(info, "\n");
  printPA40(info, *session.paReturn());
  std::fprintf(info, "\n");
  session.printSummaryReport(info);
  std::fprintf(info, "\nMailing address\n");
  std::string address = session.chosenMailingAddress();
  for (std::size_t start = 0; start < address.size();) {
    const std::size_t end = std::min(address.find('\n', start), address.size());
    std::fprintf(info, "  %s\n", address.substr(start, end - start).c_str());
    start = end + 1;
  }
  const std::vector<HostSession::AuditMessage> messages = session.audit(o.eFile);
  std::fprintf(info, "\n%s audit: %zu message%s\n", o.eFile ? "E-file" : "Ordinary", messages.size(),
               messages.size() == 1 ? "" : "s");
  for (const HostSession::AuditMessage& m : messages) {
    std::fprintf(info, "  %s%s\n", m.eFileRefusal ? "[bars e-filing] " : "", m.text.c_str());
  }
  if (!file.done) file.written = session.writeDataFile(o.outFile, &file.records);
  if (!file.written) {
    std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
    return 1;
  }
  std::fprintf(info, "\nData file written to %s: %ld record%s\n", o.outFile.c_str(), file.records,
               file.records == 1 ? "" : "s");
  return 0;
}

// Loads, calculates and reports the return file; the exit status.
int runReturn(HostSession& session, const Options& o, std::FILE* info) {
  if (!reportLines(session.checkLines(o.returnFile), o, info)) return 2;
  session.load(o.returnFile);
  // The data file's writer calculates the return before it writes it: a
  // job that writes one has it written first, and that calculation is the
  // job's only one. A dump shows the return as calculated, before the
  // writer adds to it (the direct deposit form), so with --dump the job
  // calculates, dumps and writes the file after.
  DataFileRun file;
  if (o.calculate && !o.dump) {
    file.done = true;
    file.written = session.calculateAndWrite(o.outFile, &file.records);
  } else if (o.calculate) {
    session.calculate();
  }
  if (o.dump) session.dump(stdout);
  int status = o.calculate ? reportReturn(session, o, file, info) : 0;
  if (o.interview) {
    std::fprintf(info, "\n");
    std::fprintf(info, "Interview topics\n%s",
                 InterviewOutline::renderInterviewTree(session.interview(), 2).c_str());
  }
  const StandIn::Diagnostics& seen = StandIn::diagnostics();
  std::fprintf(info, "\nhost saw %d writes to unknown fields, %d non-finite writes, %d texts written "
                     "into fields that are not text fields\n",
               seen.unknownFieldWrites, seen.nonFiniteWrites, seen.textIntoOtherFields);
  return status;
}

// Opens the module and checks its compatibility number; false (reported)
// when it cannot be used.
bool openModule(ModuleLoader& module, const std::string& path, std::FILE* info) {
  if (!module.open(path)) {
    std::fprintf(stderr, "pahost: cannot load the module %s: %s\n", path.c_str(), module.error().c_str());
    return false;
  }
  using CompatFn = uint16_t (*)();
  auto compat = reinterpret_cast<CompatFn>(module.find("compatVersion"));
  if (compat == nullptr) {
    std::fprintf(stderr, "pahost: %s\n", module.error().c_str());
    return false;
  }
  const uint16_t version = compat();
  if (version != kExpectedCompatVersion) {
    std::fprintf(stderr, "pahost: module compatibility number %u, expected %u\n", version,
                 kExpectedCompatVersion);
    return false;
  }
  std::fprintf(info, "loaded %s (compatibility %u)\n", path.c_str(), version);
  return true;
}

// Under the address sanitizer (g++ and clang say so differently)?
#if defined(__SANITIZE_ADDRESS__)
#define PAHOST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAHOST_ADDRESS_SANITIZER 1
#endif
#endif

// Ends the process. The libraries' own teardown (the module's tables and
// the host's) only gives back memory that the exit gives back anyway, so it
// is skipped, except under the sanitizers, whose leak check runs there.
int finish(int status) {
#if defined(PAHOST_ADDRESS_SANITIZER)
  return status;
#else
  std::fflush(nullptr);
  std::_Exit(status);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseOptions(argc, argv, &o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (o.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  // With --dump, standard output carries the dump alone.
  std::FILE* info = o.dump ? stderr : stdout;
  ModuleLoader module;
  if (!openModule(module, o.modulePath, info)) return 2;

  int status = 0;
  {
    HostSession session;
    if (session.findFactories(module) && session.build()) {
      if (o.returnFile.empty()) {
        session.report(info);
      } else {
        status = runReturn(session, o, info);
      }
    } else {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
    if (!session.close() && status == 0) {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
  }  // every object the module made is gone
  return finish(status);
}
