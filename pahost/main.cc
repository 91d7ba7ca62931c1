// pahost: a small host program that does what the host application does
// with a PA return, the way the host application does it: it loads the PA
// module, checks its compatibility number, builds the PA objects through
// the module's factories, loads a return in the test-data text format,
// calculates it, audits it and writes its data file, and shows the result
// the way a preparer reads it.
//
// Exit status (kExit* below): 0 on success; 1 when a factory fails, the
// return does not settle (settling.h), the data file cannot be written (a
// private folder that stays included) or standard output cannot take all
// it is given; 2 on a wrong option (--efile with --no-calc among them),
// when the module cannot be found or loaded or has another compatibility
// number, when the folder pahost runs from cannot be told and no --module
// is given, when the return file cannot be read (a missing file, a
// directory, a read that fails, a line too long, a file past a bound) or
// --out names a folder, the return file, the federal file or pahost's lock
// file, or --autotest names no folder (or one that cannot be looked at); 3
// when lines of the return were skipped (everything else is printed as
// usual, but no data file is written; with --efile the return is not
// ready) or the dump leaves out texts it cannot carry; with --efile, 4
// when the return is refused and 5 when it can be e-filed once the audit's
// messages are dealt with, the data file written as with 0. Where several
// apply, 1 wins; skipped lines give 3 whatever the audit; the verdict's 4
// or 5 wins over the 3 of a dump that left texts out.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/configuration.h"
#include "host/io.h"
#include "host/stand_in.h"
#include "interview/interview_outline.h"
#include "pahost/audit_view.h"
#include "pahost/data_file.h"
#include "pahost/folder_turn.h"
#include "pahost/module_loader.h"
#include "pahost/pa40_view.h"
#include "pahost/session.h"

namespace {

const uint16_t kExpectedCompatVersion = 6101;

const int kExitOK = 0;
const int kExitFailed = 1;         // a factory, or the data file's write
const int kExitCannotStart = 2;    // options, module or return file
const int kExitLinesSkipped = 3;   // lines of the return not stored, or texts not dumped
// The e-file verdicts that are not "can be e-filed" ("not ready" is
// kExitLinesSkipped: lines of the return were not stored).
const int kExitEFileRefused = 4;
const int kExitEFileOnceDealtWith = 5;

// For tests: how long a run waits at most for another that writes into
// the same folder, in whole seconds up to kMostLockWait.
const char kLockWaitVariable[] = "PAHOST_LOCK_WAIT";
const long kMostLockWait = 3600;

const char kUsage[] =
    "usage: pahost [options] [RETURN.txt]\n"
    "Loads the PA module and, given a return in the test-data format, loads it, calculates it\n"
    "until a calculation changes nothing, audits it, writes its data file and prints its PA-40,\n"
    "balance, summary report, mailing address and audit messages. Without a return it shows\n"
    "the PA return's constants.\n"
    "  --module PATH  the module to load (default: libpa2018.so beside pahost)\n"
    "  --efile        file the return electronically: an e-file audit instead of an\n"
    "                 ordinary one, and whether the return can be e-filed\n"
    "  --out FILE     the data file to write (default: 40.tif in the current folder)\n"
    "  --interview    also print the interview's topic tree with titles and statuses\n"
    "  --verbose      also print the host's counts of writes it did not expect\n"
    "  --dump         write both returns to standard output in the test-data format\n"
    "                 instead of the data file; everything else goes to standard error\n"
    "  --no-calc      load the return without calculating, auditing or writing it\n"
    "  --autotest DIR run the module's automated-test hooks on the option files in DIR\n"
    "  --help         print this text\n"
    "Lines of the return that are not stored are listed on standard error, and no data\n"
    "file is written then.\n"
    "Exit status: 0 done; 1 a failure (a factory, a return that does not settle, the data\n"
    "file, standard output); 2 a wrong option, or a module or return file that cannot be\n"
    "used; 3 lines of the return skipped, or texts the dump left out; with --efile, 4 refused\n"
    "and 5 can be e-filed once the audit's messages are dealt with (0: can be e-filed).\n";

// --no-calc makes no e-file verdict, and a run without one would end as
// one that can be e-filed.
const char kEFileWithoutCalculation[] = "--efile needs the calculation: it cannot go with --no-calc";

struct Options {
  std::string modulePath = defaultModulePath();
  std::string returnFile;
  std::string outFile = "40.tif";
  std::string autoTestDir;  // the hooks' folder; "" leaves them off
  int lockWait = -1;        // seconds; below 0, the placement's own bound
  bool dump = false;
  bool calculate = true;
  bool eFile = false;
  bool interview = false;
  bool verbose = false;
  bool help = false;
};

// Reads the lock wait a test may set; false when it is no whole number of
// seconds in bounds, with what is wrong in `error`.
bool readLockWait(Options* o, std::string* error) {
  const char* text = std::getenv(kLockWaitVariable);
  if (text == nullptr) return true;
  char* end = nullptr;
  errno = 0;
  const long seconds = std::strtol(text, &end, 10);
  if (text[0] < '0' || text[0] > '9' || *end != '\0' || errno != 0 || seconds > kMostLockWait) {
    *error = std::string(kLockWaitVariable) + " must be a whole number of seconds up to " +
             std::to_string(kMostLockWait) + ": " + text;
    return false;
  }
  o->lockWait = static_cast<int>(seconds);
  return true;
}

// Reads the options; false on a wrong one, with what is wrong in `error`.
bool parseOptions(int argc, char** argv, Options* o, std::string* error) {
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
    if (std::strcmp(arg, "--module") == 0 || std::strcmp(arg, "--out") == 0 ||
        std::strcmp(arg, "--autotest") == 0) {
      if (++i >= argc || argv[i][0] == '\0') {
        *error = std::string(arg) + (arg[2] == 'a' ? " needs a folder" : " needs a file name");
        return false;
      }
      (arg[2] == 'm' ? o->modulePath : arg[2] == 'o' ? o->outFile : o->autoTestDir) = argv[i];
    } else if (arg[0] == '-') {
      *error = std::string("unknown option ") + arg;
      return false;
    } else if (!o->returnFile.empty()) {
      *error = std::string("one return file at a time: ") + arg + " after " + o->returnFile;
      return false;
    } else {
      o->returnFile = arg;
    }
  }
  if (o->eFile && !o->calculate) {
    *error = kEFileWithoutCalculation;
    return false;
  }
  return readLockWait(o, error);
}

// The number `n` with its digits in groups of three ("1,000,000").
std::string grouped(long n) {
  std::string digits = std::to_string(n);
  for (long at = static_cast<long>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

// Says which lines were skipped; false (the file not to be used) when the
// file cannot be read, a line is too long to be a line of a return or the
// file passes a bound of one.
bool reportLines(const LineCheck& check, const Options& o, std::FILE* info) {
  const char* path = o.returnFile.c_str();
  if (!check.readable) {
    std::fprintf(stderr, "pahost: cannot read the return file %s: %s\n", path, check.cause.c_str());
    return false;
  }
  if (check.cutAt != 0) {
    std::fprintf(stderr, "pahost: line %ld of %s is longer than %zu bytes: not a return file\n",
                 check.cutAt, path, IOMgmt::kMaxLineLength);
    return false;
  }
  if (check.pastBound != ReturnBound::kNone) {
    const std::string bound = check.pastBound == ReturnBound::kLines
                                  ? grouped(kMaxReturnLines) + " lines"
                                  : std::to_string(kMaxReturnBytes >> 20) + " MiB";
    std::fprintf(stderr, "pahost: %s holds more than %s: not a return file\n", path, bound.c_str());
    return false;
  }
  const std::size_t skipped = check.skipped.size();
  std::fprintf(info, "%zu line%s of %s skipped%s\n", skipped, skipped == 1 ? "" : "s", path,
               skipped == 0 ? "" : " (listed on standard error)");
  std::fflush(info);
  check.skipped.forEach([](const SkippedLine& line) {
    std::fprintf(stderr, "pahost: line %ld skipped (%s): %s\n", line.number, line.reason.c_str(),
                 line.text.c_str());
  });
  return true;
}

// The exit status of an e-file verdict.
int statusOf(EFileVerdict verdict) {
  switch (verdict) {
    case EFileVerdict::kRefused: return kExitEFileRefused;
    case EFileVerdict::kOnceDealtWith: return kExitEFileOnceDealtWith;
    case EFileVerdict::kNotReady: return kExitLinesSkipped;
    case EFileVerdict::kCanBeFiled: break;
  }
  return kExitOK;
}

// Says on standard error that the return does not settle, and which
// fields its last calculation still changed.
void reportUnsettled(const HostSession& session) {
  const std::vector<std::string> fields = session.lastChangesNamed();
  const std::string changed = fields.size() == 1 ? "this field" : "these " + std::to_string(fields.size()) + " fields";
  std::fprintf(stderr, "pahost: the return does not settle: each of %d calculations changed it; the last changed %s:\n",
               session.settling().passes, changed.c_str());
  for (const std::string& field : fields) std::fprintf(stderr, "pahost:   %s\n", field.c_str());
}

// The job's data file: whether it was written yet, and how.
struct DataFileRun {
  bool done = false;
  bool written = false;
  long records = 0;
};

// The main job's results, in the order a preparer reads them; the data
// file is written here unless it was already, and not at all when `skipped`
// lines of the return were not stored or with --dump.
int reportReturn(HostSession& session, const Options& o, std::size_t skipped, DataFileRun file,
                 std::FILE* info) {
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
  std::fprintf(info, "\n");
  printAudit(info, o.eFile, messages);
  const EFileVerdict verdict =
      o.eFile ? printEFileVerdict(info, session.eFileOutcome(), messages, skipped, session.settling().settled)
              : EFileVerdict::kCanBeFiled;
  // Nothing is filed from a return whose calculation does not settle.
  if (!session.settling().settled) {
    if (file.done && !file.written) std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
    std::fprintf(info, "\nNo data file written: the return does not settle (the fields that still change are "
                       "listed on standard error)\n");
    return kExitFailed;
  }
  // A return with lines that were not stored is not the return as written:
  // no data file is made of it.
  if (skipped > 0) {
    std::fprintf(info, "\nNo data file written: %zu line%s of the return %s skipped (listed on standard error)\n",
                 skipped, skipped == 1 ? "" : "s", skipped == 1 ? "was" : "were");
    return kExitLinesSkipped;
  }
  if (o.dump) {  // the dump stands in for the data file
    std::fprintf(info, "\nNo data file written: --dump writes the returns to standard output instead\n");
    return statusOf(verdict);
  }
  if (!file.done) file.written = session.writeDataFile(o.outFile, &file.records);
  if (!file.written) {
    std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
    return kExitFailed;
  }
  if (file.records < 0) {
    std::fprintf(info, "\nData file written to %s (its records could not be counted: %s)\n", o.outFile.c_str(),
                 session.error().c_str());
  } else {
    std::fprintf(info, "\nData file written to %s: %ld record%s\n", o.outFile.c_str(), file.records,
                 file.records == 1 ? "" : "s");
  }
  return statusOf(verdict);
}

// The host's counts of writes it did not expect: printed with --verbose,
// and as a warning whenever one is not 0.
void reportDiagnostics(const Options& o, std::FILE* info) {
  const StandIn::Diagnostics& seen = StandIn::diagnostics();
  const bool any =
      seen.unknownFieldWrites != 0 || seen.nonFiniteWrites != 0 || seen.textIntoOtherFields != 0;
  if (!any && !o.verbose) return;
  std::FILE* out = any ? stderr : info;
  std::fprintf(out, "%shost saw %d writes to unknown fields, %d non-finite writes, %d texts written "
                    "into fields that are not text fields\n",
               any ? "pahost: warning: " : "\n", seen.unknownFieldWrites, seen.nonFiniteWrites,
               seen.textIntoOtherFields);
}

// Loads, calculates and reports the return file; the exit status.
int runReturn(HostSession& session, const Options& o, std::FILE* info) {
  LineCheck check = session.checkLines(o.returnFile);
  if (!reportLines(check, o, info)) return kExitCannotStart;
  const std::size_t skipped = check.skipped.size();
  check.stored.forEachPart([&](const std::vector<std::string>& lines) { session.loadLines(lines); });
  // The returns hold the lines now: the lines give their memory back
  // before the calculation takes its own.
  check = LineCheck();
  if (o.eFile) session.fileElectronically();
  session.setDataFileWait(o.lockWait, stderr);
  // Everything the job shows or writes is of the settled return: it is
  // calculated until a calculation changes nothing. The data file's
  // writer calculates the return before it writes it: a job that writes
  // one has that calculation settle the return with the others. A job
  // that writes none (lines were skipped, or --dump) settles it itself.
  DataFileRun file;
  if (o.calculate && !o.dump && skipped == 0) {
    file.done = true;
    file.written = session.settleAndWrite(o.outFile, &file.records);
  } else if (o.calculate) {
    session.settle();
  }
  if (o.calculate && !session.settling().settled) reportUnsettled(session);
  // A dump that leaves texts out is not the return as it stands: the
  // status says so, as for skipped lines.
  int leftOut = 0;
  if (o.dump) {
    leftOut = session.dump(stdout);
    if (leftOut > 0) {
      std::fprintf(stderr,
                   "pahost: the dump leaves out %d text%s the format cannot carry (a leading colon or a line end)\n",
                   leftOut, leftOut == 1 ? "" : "s");
    }
  }
  int status = kExitOK;
  if (o.calculate) {
    status = reportReturn(session, o, skipped, file, info);
  } else {
    std::fprintf(info, "\nNo data file written: --no-calc only loads the return\n");
  }
  if (o.interview) {
    std::fprintf(info, "\n");
    std::fprintf(info, "Interview topics\n%s",
                 InterviewOutline::renderInterviewTree(session.interview(), 2).c_str());
  }
  reportDiagnostics(o, info);
  // Skipped lines gave 3 already; a failure (1) and the verdict's 4 or 5
  // win over the 3 of a dump that left texts out.
  return status == kExitOK && (skipped > 0 || leftOut > 0) ? kExitLinesSkipped : status;
}

// Why --out may not be written, before anything is: a folder, the return
// file, the federal file it would be made from, or a file of pahost's own
// (by its name, which a data file would take); "" when it may.
std::string outRefusal(const Options& o) {
  struct stat out;
  if (::stat(o.outFile.c_str(), &out) == 0 && S_ISDIR(out.st_mode)) {
    return "--out names the folder " + o.outFile + ": give a file in it";
  }
  if (!o.returnFile.empty() && IOMgmt::sameFile(o.outFile, o.returnFile)) {
    return "--out names the return file " + o.returnFile + ": the data file would replace it";
  }
  if (FolderTurn::isTurnFileName(DataFilePlacement::nameOf(o.outFile))) {
    return "--out names " + o.outFile + ", a file pahost keeps for itself beside the data files it writes (the lock "
           "through which its runs take turns): give the data file another name";
  }
  const std::string federal = HostSession::federalFileBeside(o.outFile);
  if (IOMgmt::sameFile(o.outFile, federal)) {
    return "--out names the federal file " + federal + ", which the data file is made from";
  }
  return "";
}

// Why --autotest's `dir` cannot be the hooks' folder: none there, no
// folder, or one that cannot be looked at (a loop of links, a name too
// long, no permission, a disk that fails), with the system's cause; ""
// when it can.
std::string autoTestRefusal(const std::string& dir) {
  const std::string needed = "--autotest needs a folder: " + dir;
  struct stat info;
  if (::stat(dir.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? "" : needed;
  const int cause = errno;
  return cause == ENOENT ? needed : needed + " cannot be looked at (" + std::strerror(cause) + ")";
}

// Standard output after its last write: false, said on standard error,
// when it did not take everything (a full disk); a closed pipe ends the
// process before, as it does any program.
bool outputComplete() {
  errno = 0;
  bool whole = std::fflush(stdout) == 0 && !std::ferror(stdout);
  int cause = errno;
  if (std::fclose(stdout) != 0 && whole) {
    whole = false;
    cause = errno;
  }
  if (!whole) {
    std::fprintf(stderr, "pahost: standard output is incomplete: %s\n",
                 cause != 0 ? std::strerror(cause) : "a write failed");
  }
  return whole;
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
  if (!outputComplete()) status = kExitFailed;
#if defined(PAHOST_ADDRESS_SANITIZER)
  return status;
#else
  std::fflush(nullptr);
  std::_Exit(status);
#endif
}

// The whole run; its exit status.
int run(int argc, char** argv) {
  Options o;
  std::string error;
  if (!parseOptions(argc, argv, &o, &error)) {
    std::fprintf(stderr, "pahost: %s\n", error.c_str());
    std::fputs(kUsage, stderr);
    return kExitCannotStart;
  }
  if (o.help) {
    std::fputs(kUsage, stdout);
    return kExitOK;
  }
  if (o.modulePath.empty()) {
    std::fprintf(stderr, "pahost: cannot tell the folder pahost runs from (%s): name the module with --module PATH\n",
                 kSelfLink);
    return kExitCannotStart;
  }
  const std::string refusal = outRefusal(o);
  if (!refusal.empty()) {
    std::fprintf(stderr, "pahost: %s\n", refusal.c_str());
    return kExitCannotStart;
  }
  if (!o.autoTestDir.empty()) {
    // The host's switch and folder for the module's automated-test hooks,
    // which then run at the end of each calculation.
    const std::string wrong = autoTestRefusal(o.autoTestDir);
    if (!wrong.empty()) {
      std::fprintf(stderr, "pahost: %s\n", wrong.c_str());
      return kExitCannotStart;
    }
    DataMgmt::OrvaneConfiguration& configuration = DataMgmt::OrvaneConfiguration::getInstance();
    configuration.setAllowAutoTest(true);
    configuration.setAutoTestDir(o.autoTestDir);
    configuration.setHostInputFiles({o.returnFile, HostSession::federalFileBeside(o.outFile)});
    std::vector<std::string> outputs = FolderTurn::turnFilesIn(DataFilePlacement::folderOf(o.outFile));
    outputs.insert(outputs.begin(), o.outFile);
    configuration.setHostOutputs(outputs);
  }
  // With --dump, standard output carries the dump alone.
  std::FILE* info = o.dump ? stderr : stdout;
  ModuleLoader module;
  if (!openModule(module, o.modulePath, info)) return kExitCannotStart;

  int status = kExitOK;
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
      status = kExitFailed;
    }
    if (!session.close()) {  // a failure, which wins over any other status
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = kExitFailed;
    }
  }  // every object the module made is gone
  return status;
}

}  // namespace

int main(int argc, char** argv) { return finish(run(argc, argv)); }
