#include "pahost/session.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "host/descriptors.h"
#include "host/io.h"
#include "host/state_tax_return.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "pahost/dump.h"
#include "pahost/federal_items.h"
#include "pahost/engine_slots.h"

namespace {

const DataMgmt::TaxReturnType kFederalReturnType = 1;
const DataMgmt::TaxReturnType kPAReturnType = 40;

// Room for every text the state return writes into a caller's buffer.
const int kTextBufferSize = 256;

template <class Fn>
bool findFactory(ModuleLoader& module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(module.find(name));
  return fn != nullptr;
}

// A whole write of the data file, not an update of the file there.
const uint8_t kFreshWrite = 1;
// The head of a record line of the data file.
const char kRecordHead[] = "D ";

// The records of the data file at `path`: its lines that start a record.
long countRecords(const std::string& path) {
  IOMgmt::FileReader reader;
  if (!reader.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) return 0;
  long records = 0;
  std::string line;
  while (!reader.eof()) {
    reader.readPCLine(line);
    if (line.compare(0, sizeof kRecordHead - 1, kRecordHead) == 0) ++records;
  }
  return records;
}

// Writes `text` line by line, each indented.
void printIndented(std::FILE* out, const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::fprintf(out, "  %s\n", text.substr(start, end - start).c_str());
    start = end + 1;
  }
}

// Moves the file at `path` to a fresh name in `folder` (a move never
// replaces a file: replacing one makes the file system write the moved file
// out at once); the new name, or "" when it was not moved.
std::string setAside(const std::string& folder, const std::string& path) {
  // A name of this process and this moment; a clash is tried again.
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 4; ++attempt) {
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "%ld-%llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(now) + static_cast<unsigned long long>(attempt));
    const std::string aside = folder + "/.pahost-" + suffix;
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
      return aside;
    }
    if (errno != EEXIST) break;
  }
  return "";
}

// Holds an exclusive lock on a folder while it lives (none when the folder
// cannot be opened: the write then goes ahead alone).
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

}  // namespace

HostSession::~HostSession() { close(); }

bool HostSession::fail(const std::string& message) {
  if (error_.empty()) error_ = message;
  return false;
}

bool HostSession::findFactories(ModuleLoader& module) {
  Factories& f = factories_;
  if (!findFactory(module, "createTaxReturnInstance", f.taxReturn) ||
      !findFactory(module, "createCalcEngineInstance", f.engine) ||
      !findFactory(module, "createAuditorInstance", f.auditor) ||
      !findFactory(module, "createTaxFormPrinterInstance", f.printer) ||
      !findFactory(module, "createTifFileWriterInstance", f.writer) ||
      !findFactory(module, "createMacroExpanderInstance", f.expander) ||
      !findFactory(module, "createTaxSummaryReport", f.report) ||
      !findFactory(module, "createInterviewHierarchy", f.interview)) {
    return fail(module.error());
  }
  return true;
}

bool HostSession::build() {
  if (factories_.interview == nullptr) return fail("the module's factories were not found");
  DataMgmt::OrvaneConfiguration* configuration = &DataMgmt::OrvaneConfiguration::getInstance();
  try {
    federal_ = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());

    DataMgmt::TaxReturn* paReturn = nullptr;
    factories_.taxReturn(federal_, DataMgmt::TaxReturnDesc::pennsylvania(),
                         Utils::StringPool::shared(), paReturn);
    if (paReturn == nullptr) return fail("createTaxReturnInstance made no PA return");
    state_ = DataMgmt::TaxReturnPtr(paReturn);
    if (dynamic_cast<StateDataMgmt::StateTaxReturn*>(paReturn) == nullptr) {
      return fail("createTaxReturnInstance made a return that is not a state return");
    }

    printer_ = TaxFormPrintMgmt::TaxFormPrinterPtr(factories_.printer(federal_, state_));
    if (printer_.isNull()) return fail("createTaxFormPrinterInstance made no printer");

    engine_ =
        CalculationMgmt::TaxReturnCalcEnginePtr(factories_.engine(federal_, state_, printer_));
    if (engine_.isNull()) return fail("createCalcEngineInstance made no engine");

    auditor_ = AuditMgmt::TaxFormAuditorPtr(
        factories_.auditor(federal_, state_, configuration, engine_, printer_));
    if (auditor_.isNull()) return fail("createAuditorInstance made no auditor");

    writer_.reset(
        factories_.writer(federal_, state_, engine_, printer_, auditor_, configuration));
    if (!writer_) return fail("createTifFileWriterInstance made no data-file writer");

    expander_.reset(factories_.expander(federal_, state_));
    if (!expander_) return fail("createMacroExpanderInstance made no macro expander");

    report_.reset(factories_.report(state_));
    if (!report_) return fail("createTaxSummaryReport made no summary report");

    store_.reset(new DataMgmt::TaxDataStore());
    store_->addReturn(kFederalReturnType, federal_);
    store_->addReturn(kPAReturnType, state_);
    interview_ = factories_.interview(*store_);
    if (interview_ == nullptr) return fail("createInterviewHierarchy made no topic list");
  } catch (const std::exception& e) {
    return fail(std::string("a factory failed: ") + e.what());
  }
  return true;
}

void HostSession::report(std::FILE* out) {
  auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(state_.get());
  if (state == nullptr) return;

  char text[kTextBufferSize];
  std::fprintf(out, "PA return\n");
  state->getStateAbbreviation(text);
  std::fprintf(out, "  abbreviation:  %s\n", text);
  state->getStateName(text);
  std::fprintf(out, "  name:          %s\n", text);
  std::fprintf(out, "  state number:  %" PRId32 "\n", state->getStateNumber());
  const uint32_t code = state->getStateProductCode();
  std::fprintf(out, "  product code:  %c%c%c%c (0x%08" PRIX32 ")\n", int(code >> 24 & 0xFF),
               int(code >> 16 & 0xFF), int(code >> 8 & 0xFF), int(code & 0xFF), code);

  struct AddressKind {
    int kind;
    const char* label;
  };
  const AddressKind kinds[] = {
      {0, "kind 0, chosen by the return"},
      {2, "kind 2, payment"},
  };
  for (const AddressKind& k : kinds) {
    state->getMailingAddress(text, k.kind);
    std::fprintf(out, "Mailing address, %s:\n", k.label);
    printIndented(out, text);
  }

  std::fprintf(out, "Objects built: engine, printer, auditor, data-file writer, macro expander, "
                    "summary report (%zu lines), interview (%zu top-level topics)\n",
               report_ ? report_->getFields().size() : size_t(0),
               interview_ ? interview_->size() : size_t(0));
}

void HostSession::load(const std::string& path) {
  if (engine_.isNull()) return;
  if (auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federal_.get())) {
    applyFederalItems(path, *federal);
  }
  loadInputTextFile(*engine_, path, federal_.get());
  loadInputTextFile(*engine_, path, state_.get());
}

void HostSession::calculate() {
  if (!engine_.isNull()) engine_->calcReturn(0);
}

LineCheck HostSession::checkLines(const std::string& path) const {
  std::vector<DataMgmt::TaxReturnDescPtr> descriptions;
  if (!federal_.isNull()) descriptions.push_back(federal_->getTaxReturnDesc());
  if (!state_.isNull()) descriptions.push_back(state_->getTaxReturnDesc());
  return checkReturnLines(path, descriptions);
}

std::string HostSession::chosenMailingAddress() {
  auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(state_.get());
  if (state == nullptr) return "";
  char text[kTextBufferSize] = "";
  state->getMailingAddress(text, 0);
  text[kTextBufferSize - 1] = '\0';
  return text;
}

std::vector<HostSession::AuditMessage> HostSession::audit(bool eFile) {
  std::vector<AuditMessage> messages;
  if (auditor_.isNull()) return messages;
  auditor_->auditReturn(eFile ? AuditMgmt::kAuditEFile : AuditMgmt::kAuditStandard);
  // The auditor's record holds this audit's calls alone.
  const auto& calls = auditor_->messageCalls();
  for (std::size_t i = 0; i < calls.size(); ++i) {
    // A rule reports its answer whether or not the problem is there; the
    // host shows the message only when it is.
    const bool refusal = calls[i].call == "epFailMsg";
    if ((refusal || calls[i].call == "showAuditMsg") && calls[i].answer) {
      messages.push_back({calls[i].text, refusal});
    }
  }
  return messages;
}

bool HostSession::writeDataFile(const std::string& path, long* records) {
  *records = 0;
  if (!writer_) return fail("no data-file writer");
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const bool ok = name == hostFileName() ? writeInPlace(folder, path) : writeBeside(folder, path);
  if (!ok) return fail("the data file " + path + " could not be written");
  *records = countRecords(path);
  return true;
}

bool HostSession::calculateAndWrite(const std::string& path, long* records) {
  if (writeDataFile(path, records)) return true;
  calculate();
  return false;
}

std::string HostSession::hostFileName() { return std::to_string(kPAReturnType) + ".tif"; }

bool HostSession::writeInto(const std::string& folder) {
  DataMgmt::OrvaneConfiguration& configuration = DataMgmt::OrvaneConfiguration::getInstance();
  const std::string dataDir = configuration.getDataDir();
  configuration.setDataDir(folder);
  const bool ok = writer_->writeTifFile(kFreshWrite, kPAReturnType);
  configuration.setDataDir(dataDir);
  return ok;
}

bool HostSession::writeInPlace(const std::string& folder, const std::string& path) {
  // An older file is set aside under a fresh name while the new one is
  // written, then dropped, or put back when the write fails: the writer
  // never replaces a file, which would make the file system write the new
  // one out at once and only slow a run. Runs writing into one folder take
  // turns (the writer's temporary file has a fixed name).
  const FolderLock lock(folder);
  std::string aside;
  if (::access(path.c_str(), F_OK) == 0) {
    aside = setAside(folder, path);
    // Not set aside (a rare clash of names, or no right to): the writer
    // replaces the file itself.
  }
  const bool ok = writeInto(folder);
  if (!aside.empty()) {
    if (ok) {
      std::remove(aside.c_str());
    } else {
      std::rename(aside.c_str(), path.c_str());
    }
  }
  return ok;
}

bool HostSession::writeBeside(const std::string& folder, const std::string& path) {
  // Written under the host's name in a fresh folder beside `path`, so that
  // no other file is touched, then moved to `path`. An older file at `path`
  // is removed just before the move, for the reason given above.
  std::string scratch = folder + "/.pahost-XXXXXX";
  if (mkdtemp(&scratch[0]) == nullptr) return false;
  const std::string written = scratch + "/" + hostFileName();
  const bool ok = writeInto(scratch) && (std::remove(path.c_str()) == 0 || errno == ENOENT) &&
                  std::rename(written.c_str(), path.c_str()) == 0;
  std::remove(written.c_str());
  ::rmdir(scratch.c_str());
  return ok;
}

const std::vector<TopicMgmt::TopicDesc*>& HostSession::interview() const {
  static const std::vector<TopicMgmt::TopicDesc*> none;
  return interview_ == nullptr ? none : *interview_;
}

void HostSession::dump(std::FILE* out) const {
  if (auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federal_.get())) {
    dumpFederalItems(out, *federal);
  }
  if (!federal_.isNull()) dumpReturn(out, *federal_);
  if (!state_.isNull()) dumpReturn(out, *state_);
}

long HostSession::summaryAmount() { return engine_.isNull() ? 0 : engine_->getSummaryAmount(); }

void HostSession::printSummaryReport(std::FILE* out) {
  if (factories_.report == nullptr || state_.isNull()) return;
  report_.reset(factories_.report(state_));
  if (!report_) return;
  std::fprintf(out, "Tax summary report\n");
  for (const auto& line : report_->getFields()) {
    std::fprintf(out, "  %-22s %12ld\n", line.first.c_str(), line.second);
  }
}

void HostSession::deleteInterview() {
  if (interview_ == nullptr) return;
  for (TopicMgmt::TopicDesc* topic : *interview_) delete topic;  // each deletes its children
  delete interview_;
  interview_ = nullptr;
}

template <class Holder>
bool HostSession::releaseLast(Holder& holder, const char* name) {
  const bool last = holder.useCount() <= 1;
  if (!last) fail(std::string("the ") + name + " is still shared when the host deletes it");
  holder = Holder();
  return last;
}

bool HostSession::close() {
  deleteInterview();
  store_.reset();
  report_.reset();
  expander_.reset();
  writer_.reset();
  bool ok = releaseLast(auditor_, "auditor");
  ok = releaseLast(engine_, "engine") && ok;
  ok = releaseLast(printer_, "printer") && ok;
  ok = releaseLast(state_, "PA return") && ok;
  ok = releaseLast(federal_, "federal return") && ok;
  return ok;
}
