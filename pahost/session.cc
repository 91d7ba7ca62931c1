#include "pahost/session.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <exception>

#include "host/descriptors.h"
#include "host/efile.h"
#include "host/io.h"
#include "host/state_tax_return.h"
#include "host/string_pool.h"
#include "host/us_tax_return.h"
#include "pahost/data_file.h"
#include "pahost/dump.h"
#include "pahost/engine_slots.h"
#include "pahost/federal_items.h"
#include "pahost/message_copies.h"
#include "pahost/table_numbers.h"

namespace {

const DataMgmt::TaxReturnType kFederalReturnType = 1;
const DataMgmt::TaxReturnType kPAReturnType = 40;

// Room for every text the state return writes into a caller's buffer.
const int kTextBufferSize = 256;

// The e-file manager's status of a return being filed electronically.
const int32_t kFiledElectronically = 2;
// The refusal record: copy 1 of federal form 183, whose status field holds
// 1 until the first refusal is recorded, with its text beside it.
const DataMgmt::FormId kRefusalForm(TableNumbers::kFed183FormNumber, false);
const DataMgmt::FieldId kRefusalStatus(TableNumbers::fieldNumberOf(CatalogId::Fed183FieldIds, "RefusalStatus"));
const DataMgmt::FieldId kRefusalText(TableNumbers::fieldNumberOf(CatalogId::Fed183FieldIds, "RefusalText"));
const double kNothingRecorded = 1;
// Message codes of the host's display that restrict electronic filing: a
// restriction of the return (6), more copies than may be e-filed (11), a
// form that may not be e-filed (12).
const char kEFileRestrictionCodes[] = {6, 11, 12};
// The title of messages about the whole return.
const char kWholeReturnTitle[] = "PA return";

bool restrictsEFiling(const AuditMgmt::TaxFormAuditor::MessageCall& call) {
  if (call.call == "epFailMsg") return true;
  for (char code : kEFileRestrictionCodes) {
    if (call.code == code) return true;
  }
  return false;
}

template <class Fn>
bool findFactory(ModuleLoader& module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(module.find(name));
  return fn != nullptr;
}

// A whole write of the data file, not an update of the file there.
const uint8_t kFreshWrite = 1;
// The head of a record line of the data file.
const char kRecordHead[] = "D ";

// The records of the data file at `path`: its lines that start a record;
// -1, with the system's cause in `why`, when it cannot be read whole.
long countRecords(const std::string& path, std::string* why) {
  IOMgmt::FileReader reader;
  if (!reader.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) {
    *why = std::strerror(errno);
    return -1;
  }
  long records = 0;
  std::string line;
  while (!reader.eof()) {
    reader.readPCLine(line);
    if (line.compare(0, sizeof kRecordHead - 1, kRecordHead) == 0) ++records;
  }
  if (reader.readError() == 0) return records;
  *why = std::strerror(reader.readError());
  return -1;
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
  std::vector<std::string> lines;
  if (IOMgmt::readAllLines(path, &lines)) loadLines(lines);
}

void HostSession::loadLines(const std::vector<std::string>& lines) {
  if (engine_.isNull()) return;
  if (auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federal_.get())) {
    applyFederalItems(lines, *federal);
  }
  loadInputLines(*engine_, lines, federal_.get());
  loadInputLines(*engine_, lines, state_.get());
}

void HostSession::deleteCopy(const std::string& form, uint16_t copy) {
  for (DataMgmt::TaxReturn* taxReturn : {federal_.get(), state_.get()}) {
    if (taxReturn == nullptr || taxReturn->getTaxReturnDesc().isNull()) continue;
    const DataMgmt::FormId id = taxReturn->getTaxReturnDesc()->findFormNamed(form);
    if (id.isValid()) taxReturn->deleteForm(id, copy);
  }
}

void HostSession::fileElectronically() {
  EFileMgmt::EFileMgrHandle::setStateReturnStatus(kPAReturnType, kFiledElectronically);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(kPAReturnType);
  if (auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(state_.get())) state->setInElf(true);
}

void HostSession::calculate() {
  if (!engine_.isNull()) engine_->calcReturn(0);
}

void HostSession::settle() {
  if (engine_.isNull()) return;
  ReturnSettler settler(*engine_, *federal_, *state_);
  settler.settle();
  settling_ = settler.settling();
}

std::vector<std::string> HostSession::calculateNamingChanges() {
  if (engine_.isNull()) return {};
  DataMgmt::ChangeWatch federal(*federal_);
  DataMgmt::ChangeWatch pa(*state_);
  engine_->calcReturn(0);
  std::vector<DataMgmt::ChangeWatch::Change> changes = federal.changes();
  const std::vector<DataMgmt::ChangeWatch::Change> paChanges = pa.changes();
  changes.insert(changes.end(), paChanges.begin(), paChanges.end());
  return named(changes);
}

std::vector<std::string> HostSession::lastChangesNamed() const { return named(settling_.lastChanges); }

std::vector<std::string> HostSession::named(const std::vector<DataMgmt::ChangeWatch::Change>& changes) const {
  std::vector<std::string> named;
  for (const DataMgmt::ChangeWatch::Change& change : changes) {
    const DataMgmt::TaxReturnPtr& owner = change.form.isStateForm() ? state_ : federal_;
    const DataMgmt::TaxFormDescPtr form = owner->getTaxFormDescriptor(change.form);
    const std::string copy = std::to_string(change.copy);
    // As the test-data format names the field (DEVNAME:copy:FIELDNAME),
    // where it can.
    std::string where = "F" + std::to_string(change.field.getNumber());
    if (!form.isNull()) {
      const std::string name = testDataFieldName(*form, change.field);
      where = form->getDevName() + ":" + copy + ":" + (name.empty() ? where : name);
    }
    named.push_back(formTitle(change.form) + ", copy " + copy + ": " + where);
  }
  return named;
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
  if (eFile) {
    const DataMgmt::TaxFormPtr record = refusalRecord(true);
    if (!record.isNull()) {
      record->assignIR(kRefusalStatus, kNothingRecorded);
      record->setNull(kRefusalText);
    }
    if (auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(state_.get())) state->eFileAuditProblem = 0;
  }
  auditor_->auditReturn(eFile ? AuditMgmt::kAuditEFile : AuditMgmt::kAuditStandard);
  // The auditor's record holds this audit's calls alone.
  const auto& calls = auditor_->messageCalls();
  const std::vector<unsigned short> copies =
      messageCopies(calls, [this](const DataMgmt::FormId& form) { return copiesOf(form); });
  for (std::size_t i = 0; i < calls.size(); ++i) {
    // A rule reports its answer whether or not the problem is there; the
    // host shows the message only when it is.
    const AuditMgmt::TaxFormAuditor::MessageCall& call = calls[i];
    if ((call.call == "epFailMsg" || call.call == "showAuditMsg") && call.answer) {
      messages.push_back({formTitle(call.form), copies[i], call.text, restrictsEFiling(call)});
    }
  }
  return messages;
}

HostSession::EFileOutcome HostSession::eFileOutcome() const {
  EFileOutcome outcome{"", false};
  const DataMgmt::TaxFormPtr record = refusalRecord(false);
  if (!record.isNull() && record->getIR(kRefusalStatus) != kNothingRecorded) {
    outcome.refusal = federal_->getFieldAsString(kRefusalForm, 1, kRefusalText);
  }
  if (auto* state = dynamic_cast<const StateDataMgmt::StateTaxReturn*>(state_.get())) {
    outcome.problem = state->eFileAuditProblem != 0;
  }
  return outcome;
}

DataMgmt::TaxFormPtr HostSession::refusalRecord(bool create) const {
  if (federal_.isNull()) return DataMgmt::TaxFormPtr();
  return federal_->getFormUVPtr(kRefusalForm, 1, create);
}

std::string HostSession::formTitle(const DataMgmt::FormId& form) const {
  if (form.getNumber() == 0) return kWholeReturnTitle;
  const DataMgmt::TaxReturnPtr& owner = form.isStateForm() ? state_ : federal_;
  char name[kTextBufferSize] = "";
  if (!owner.isNull()) owner->formName(name, form, 1);
  return name[0] != '\0' ? name : "form " + std::to_string(form.getNumber());
}

int HostSession::copiesOf(const DataMgmt::FormId& form) const {
  const DataMgmt::TaxReturnPtr& owner = form.isStateForm() ? state_ : federal_;
  return owner.isNull() ? 0 : owner->numFormCopies(form);
}

bool HostSession::writeDataFile(const std::string& path, long* records) {
  return writeDataFile(path, records, nullptr);
}

bool HostSession::writeDataFile(const std::string& path, long* records, ReturnSettler* settler) {
  *records = 0;
  error_.clear();  // this write's own cause, if any
  if (!writer_) return fail("no data-file writer");
  DataFilePlacement placement(path, fileNameOf(kPAReturnType), fileNameOf(kFederalReturnType));
  placement.setTurnWait(dataFileWait_ < 0 ? DataFilePlacement::kDefaultTurnWait : dataFileWait_, waitNotices_);
  DataMgmt::OrvaneConfiguration& configuration = DataMgmt::OrvaneConfiguration::getInstance();
  const std::vector<std::string> hostOutputs = configuration.getHostOutputs();
  const bool written = placeDataFile(placement, path, records, settler);
  configuration.setHostOutputs(hostOutputs);  // the private folder is the placement's no more
  // A private folder that stays beside the file holds a copy of the
  // federal file (social security numbers): the run is not a success.
  if (placement.finish()) return written;
  error_ = written ? "the new data file " + path + " is in place, but " + placement.error()
                   : error_ + "; " + placement.error();
  return false;
}

bool HostSession::placeDataFile(DataFilePlacement& placement, const std::string& path, long* records,
                                ReturnSettler* settler) {
  const std::string failed = "the data file " + path + " could not be written: ";
  if (!placement.begin()) return fail(failed + placement.error());
  // The writer calculates the return, which runs the automated-test hooks:
  // none may write into the private folder.
  DataMgmt::OrvaneConfiguration::getInstance().addHostOutput(placement.privateFolder());
  const std::string& folder = placement.folder();
  const bool wrote =
      settler != nullptr ? settler->settleWriting([this, &folder] { return writeInto(folder); }) : writeInto(folder);
  if (!wrote) {
    if (settler != nullptr && settler->settling().exhausted()) return fail(failed + "the return does not settle");
    const std::string& cause = writer_->outputError();
    return fail(failed + (cause.empty() ? "the module's writer failed" : placement.outsideNames(cause)));
  }
  // Counted before it is put in place: by then another file may stand at
  // `path` (or a FIFO that would never end the count).
  std::string why;
  const long written = countRecords(placement.folder() + "/" + fileNameOf(kPAReturnType), &why);
  if (!placement.commit()) return fail((placement.inPlace() ? "the new data file " : failed) + placement.error());
  *records = written;
  if (written < 0) error_ = why;
  return true;
}

void HostSession::setDataFileWait(int seconds, std::FILE* notices) {
  dataFileWait_ = seconds;
  waitNotices_ = notices;
}

std::string HostSession::federalFileBeside(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + fileNameOf(kFederalReturnType);
}

std::string HostSession::fileNameOf(DataMgmt::TaxReturnType type) { return std::to_string(type) + ".tif"; }

bool HostSession::settleAndWrite(const std::string& path, long* records) {
  if (engine_.isNull()) return fail("no engine");
  ReturnSettler settler(*engine_, *federal_, *state_);
  const bool written = writeDataFile(path, records, &settler);
  // The report is of the settled return all the same.
  if (!written) settler.settle();
  settling_ = settler.settling();
  return written;
}

bool HostSession::writeInto(const std::string& folder) {
  DataMgmt::OrvaneConfiguration& configuration = DataMgmt::OrvaneConfiguration::getInstance();
  const std::string dataDir = configuration.getDataDir();
  configuration.setDataDir(folder);
  const bool ok = writer_->writeTifFile(kFreshWrite, kPAReturnType);
  configuration.setDataDir(dataDir);
  return ok;
}

const std::vector<TopicMgmt::TopicDesc*>& HostSession::interview() const {
  static const std::vector<TopicMgmt::TopicDesc*> none;
  return interview_ == nullptr ? none : *interview_;
}

int HostSession::dump(std::FILE* out) const {
  if (auto* federal = dynamic_cast<DataMgmt::USTaxReturn*>(federal_.get())) {
    dumpFederalItems(out, *federal);
  }
  int leftOut = 0;
  if (!federal_.isNull()) leftOut += dumpReturn(out, *federal_);
  if (!state_.isNull()) leftOut += dumpReturn(out, *state_);
  return leftOut;
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
