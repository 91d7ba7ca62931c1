// The state layer's whole-file write: header, update of an existing file,
// the walk over the printed forms, record heads, the per-field dispatch,
// the federal data at the end, and the percent formatting.
#include "output/state_tif_file_writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/business.h"
#include "host/orvane_exception.h"
#include "host/state_printer.h"
#include "host/state_tax_return.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"

namespace StateTifWriteMgmt {

namespace {

// The write list: two entries for federal form 131 and the printer's forms.
const int kWriteListSize = 255;
const int kRecordNameWidth = 10;
const char kProductWord[] = "Orvane";
const DataMgmt::TaxReturnType kFederalReturnType = 1;

// Closes the reader and gives it back to the IO manager.
void releaseReader(IOMgmt::FileReader* reader) {
  if (reader == nullptr) return;
  reader->close();
  IOMgmt::IOMgr::getInstance().deallocateFileReader(reader);
}

}  // namespace

bool StateTifFileWriter::opensFederalData(const std::string& line) {
  static const char* const kFederalHeads[] = {"D FDBKDATA", "D FDF1040"};
  for (const char* head : kFederalHeads) {
    if (line.compare(0, std::strlen(head), head) == 0) return true;
  }
  return false;
}

StateTifFileWriter::StateTifFileWriter(DataMgmt::TaxReturnPtr& federalReturn,
                                       DataMgmt::TaxReturnPtr& stateReturn,
                                       CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                       TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                                       AuditMgmt::TaxFormAuditorPtr& auditor,
                                       DataMgmt::OrvaneConfiguration*& configuration)
    : TifWriteMgmt::TifFileWriter(federalReturn, stateReturn, engine, printer, auditor,
                                  configuration),
      stateTaxReturn(dynamic_cast<StateDataMgmt::StateTaxReturn*>(stateReturn.get())),
      statePrinter(dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printer.get())) {}

StateTifFileWriter::~StateTifFileWriter() = default;

// The value hooks of the state layer leave everything to the state.
void StateTifFileWriter::cleanFormString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                         char*) {}
void StateTifFileWriter::cleanNameString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                         char*) {}
void StateTifFileWriter::cleanAddressString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                            char*) {}
void StateTifFileWriter::reformatDateString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                            char*) {}
void StateTifFileWriter::cleanOtherString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                          char*) {}
void StateTifFileWriter::cleanPlainString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                          char*) {}
void StateTifFileWriter::reformatPhoneString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&,
                                             char*) {}
void StateTifFileWriter::convertStateTifField(DataMgmt::TaxFormPtr, const FormId&, uint16_t,
                                              const FieldId&, char*, char*, bool&, bool&) {}
void StateTifFileWriter::convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId&, uint16_t,
                                                 const FieldId&, char*, char*) {}

std::string StateTifFileWriter::stateAbbreviation() {
  char buf[kAbbreviationSize] = {0};
  if (stateTaxReturn != nullptr) {
    char wide[TifWriteMgmt::kTifValueSize] = {0};
    stateTaxReturn->getStateAbbreviation(wide);
    wide[sizeof wide - 1] = '\0';
    Utils::safestrncpy(buf, wide, sizeof buf);
  }
  return buf;
}

std::string StateTifFileWriter::versionLineTail() {
  std::string version;
  if (!stateReturn.isNull() && !stateReturn->getTaxReturnDesc().isNull()) {
    version = BusinessMgmt::BusinessMgr::getInstance().getVersion(*stateReturn->getTaxReturnDesc());
  }
  return " " + stateAbbreviation() + ": " + version;
}

bool StateTifFileWriter::writeTifFile(uint8_t newMode, DataMgmt::TaxReturnType type) {
  // The state file must never be written over the federal file it copies
  // its federal data from.
  if (type == kFederalReturnType) return false;

  headerFlag = true;
  const IOMgmt::FileNamePtr fileName = getTifFileSpec(type);
  mode = newMode;
  // Each write decides afresh whether it updates.
  updating = mode > 1 && fileName->fileExist();

  // The old file is only read: the new one takes its place once complete,
  // so a failure at any step leaves it as it was.
  IOMgmt::FileReader* reader = IOMgmt::IOMgr::getInstance().allocateFileReader();
  const bool opened = (!updating || openOldFile(reader, fileName)) && openTifOutput(fileName);
  if (opened && updating) {
    copyOldLines(*reader, fileName->getDisplayName(-1));
  } else if (opened) {
    writeTifHeader();
  }
  releaseReader(reader);
  if (!opened) return false;

  if (!engine.isNull()) engine->calcReturn(calcFlag);
  FormId depositForm;
  const bool depositPrintFlag = printDirectDepositForm(depositForm);
  convertWriteList();
  outputValueSet();
  appendFederalTifData();
  const bool written = commitTifOutput();

  if (depositForm.getNumber() > 0) {
    DataMgmt::TaxForm* copy = stateReturn->getForm(depositForm, 1);
    if (copy != nullptr) copy->setPrintingEnabled(depositPrintFlag);
  }
  return written;
}

bool StateTifFileWriter::printDirectDepositForm(FormId& depositForm) {
  FieldId unusedField;
  if (stateTaxReturn != nullptr) {
    stateTaxReturn->mapStateField(kFormID_Fed43, Primitives::kNullFieldID, depositForm,
                                  unusedField);
  }
  if (depositForm.getNumber() <= 0) return false;
  const bool printFlag = printFlagSet(depositForm, 1);
  DataMgmt::TaxFormPtr copy = stateReturn->getFormOrCreate(depositForm, 1);
  if (!copy.isNull()) {
    if (!engine.isNull()) engine->calcForm(depositForm, 1, false, 0, 0, copy);
    copy->setPrintingEnabled(true);
  }
  return printFlag;
}

void StateTifFileWriter::convertWriteList() {
  FormId printed[kWriteListSize];
  char countA = 0;
  char countB = 0;
  if (!printer.isNull()) printer->formsToPrint(printed, countA, countB, 2);
  int count = static_cast<unsigned char>(countA) + static_cast<unsigned char>(countB);
  // Two entries of the list go to form 131.
  if (count > kWriteListSize - 2) count = kWriteListSize - 2;

  // Without copy 1 of form 131 its two entries are empty and write nothing.
  const bool hasEFileInfo =
      !federalReturn.isNull() && federalReturn->formExists(kFormID_Fed131, 1);
  const FormId eFileInfo = hasEFileInfo ? kFormID_Fed131 : FormId();
  convertPrintedForms(eFileInfo);
  convertPrintedForms(eFileInfo);
  for (int i = 0; i < count; ++i) convertPrintedForms(printed[i]);
}

std::vector<std::string> StateTifFileWriter::freshHeaderLines() {
  const DataMgmt::OrvaneConfiguration& config =
      configuration != nullptr ? *configuration : DataMgmt::OrvaneConfiguration::getInstance();
  // The taxpayer's number, for the "T" line.
  std::string filerText;
  if (!federalReturn.isNull()) {
    filerText =
        federalReturn->getFieldAsString(kFormID_FedFilerInfo, 1, FedFilerInfo::kTaxpayerSsn);
  }
  return {std::string("Y ") + kYearText2018,
          std::string("P ") + kProductWord,
          "V FD: " + config.getVersionText() + versionLineTail(),
          "T " + filerText,
          "S SY",
          "S " + stateAbbreviation(),
          "S FD"};
}

void StateTifFileWriter::writeTifHeader() {
  for (const std::string& line : freshHeaderLines()) putTifLine(line);
}

bool StateTifFileWriter::openOldFile(IOMgmt::FileReader* reader, const IOMgmt::FileNamePtr& name) {
  if (reader != nullptr && reader->open(name)) return true;
  failTifOutput("cannot open " + name->getDisplayName(-1) + ": " + std::strerror(errno));
  return false;
}

// No federal file is no federal data; a federal file that cannot be
// opened or read whole fails the write, which would otherwise go out
// without its federal records.
void StateTifFileWriter::appendFederalTifData() {
  IOMgmt::FileReader* reader = IOMgmt::IOMgr::getInstance().allocateFileReader();
  const IOMgmt::FileNamePtr federalFile = getTifFileSpec(kFederalReturnType);
  if (reader != nullptr && reader->open(federalFile)) {
    std::string line;
    bool copying = false;
    while (!reader->eof()) {
      reader->readPCLine(line);
      if (!copying && opensFederalData(line)) copying = true;
      if (copying) putTifLine(line);
    }
    failAtCutLine(*reader, federalFile->getDisplayName(-1));
  } else if (reader == nullptr || errno != ENOENT) {
    failTifOutput("cannot open " + federalFile->getDisplayName(-1) + ": " + std::strerror(errno));
  }
  releaseReader(reader);
}

void StateTifFileWriter::failAtCutLine(const IOMgmt::FileReader& reader, const std::string& name) {
  if (reader.readError() != 0) {
    failTifOutput("cannot read " + name + " (after line " + std::to_string(reader.linesGiven()) +
                  "): " + std::strerror(reader.readError()));
  }
  if (reader.cutAt() == 0) return;
  failTifOutput("line " + std::to_string(reader.cutAt()) + " of " + name + " is longer than " +
                std::to_string(IOMgmt::kMaxLineLength) + " bytes");
}

bool StateTifFileWriter::filedOncePerReturn(const FormId&) const { return false; }

bool StateTifFileWriter::printFlagSet(const FormId& formId, uint16_t copy) const {
  return statePrinter != nullptr && statePrinter->isPrintFlagSet(formId, copy);
}

void StateTifFileWriter::convertPrintedForms(const FormId& formId) {
  const bool eFileInfo = formId == kFormID_Fed131;
  if (mode > 1 && eFileInfo && headerFlag) {
    // An update writes one form-131 record, the state's.
    headerFlag = false;
    return;
  }
  DataMgmt::TaxReturn* source = eFileInfo ? federalReturn.get() : stateReturn.get();
  if (source == nullptr || source->getTaxReturnDesc().isNull()) return;
  descriptors = source->getTaxReturnDesc()->getTifFieldDescriptors(formId);
  if (descriptors.isNull() || descriptors->empty()) return;

  // The state's return record comes from copy 1 of form 131, and a form
  // the return files once from its copy 1: a later copy would repeat it.
  const bool firstCopyOnly = eFileInfo || filedOncePerReturn(formId);
  int sequence = 1;
  for (DataMgmt::TaxFormIter it = source->getForms(formId); !it.atEOL(); it.next()) {
    DataMgmt::TaxFormPtr copy = it.getTaxForm();
    const uint16_t number = copy->getCopyNumber();
    if (firstCopyOnly && number != 1) continue;
    if (eFileInfo || printFlagSet(formId, number)) {
      convertTIFForm(!eFileInfo, formId, number, copy, sequence);
      ++sequence;
    }
  }
}

void StateTifFileWriter::writeRecordHead(int, uint16_t copy) {
  outputValueSet();
  std::string attributes;
  if (!descriptors.isNull() && !descriptors->empty() && !descriptors->front().isNull()) {
    attributes = descriptors->front()->getFieldAttributes();
  }
  std::size_t pos = 0;
  std::string name = Utils::readNextWord(attributes, pos);
  const std::string flagWord = Utils::readNextWord(attributes, pos);
  if (name == "DUMMYHDR") return;

  std::string flag = flagWord.substr(0, 1);
  if (flag == "0") flag = " ";

  unsigned sequence = copy;
  const bool stateRecord = !headerFlag && name == "SYPCRTN";
  if (stateRecord && mode > 1) sequence = mode;
  if (stateRecord) {
    headerFlag = true;
    name = "SYSTRTN";
  } else {
    headerFlag = false;
  }
  if (name.size() < kRecordNameWidth) name.resize(kRecordNameWidth, ' ');

  char digits[16];
  std::snprintf(digits, sizeof digits, "%03u", sequence);
  putTifLine("D " + name + " " + digits + " X T " + flag);
}

void StateTifFileWriter::convertTifField(DataMgmt::TaxFormPtr form, const FormId& formId,
                                         uint16_t copy, const FieldId& field, char* code,
                                         char* value) {
  bool first = true;
  bool line = false;
  const bool filerInfo = formId == kFormID_FedFilerInfo;
  const bool eFileInfo = formId == kFormID_Fed131;
  if (filerInfo) {
    convertFilerInfoField(form, copy, field, Primitives::kNullFieldID, 0, code, 0, value, first,
                          line);
  } else if (eFileInfo) {
    convertEFileInfoField(form, copy, field, Primitives::kNullFieldID, 0, code, 0, value, first,
                          line);
  } else {
    convertStateTifField(form, formId, copy, field, code, value, first, line);
  }
  if ((filerInfo || eFileInfo) && headerFlag) {
    try {
      convertStateHeaderField(form, formId, copy, field, code, value);
    } catch (const Exceptions::OrvaneException&) {
      // The field's own line is still written.
    }
  }
  outputTifLine(code, value, line);
}

char* StateTifFileWriter::formatPercentValue(char* value, char kind) {
  if (static_cast<unsigned char>(kind) == 0xAA) kind = 'F';
  if (static_cast<unsigned char>(kind) == 0xAC) kind = 'H';
  switch (kind) {
    case ' ':
    case 'M':
      return tifConvertPercentToDecimal(value, 4, 0);
    case 'N':
      return tifConvertPercentToDecimal(value, 6, 0);
    case 'F': {
      const double number = std::atof(value);
      double rounded = std::floor(std::fabs(number) + 0.5);
      if (number < 0) rounded = -rounded;
      // Written as a whole number; a value too large for "%d" keeps all its
      // digits rather than wrapping.
      if (!std::isfinite(rounded) || rounded == 0) {
        value[0] = '\0';
      } else {
        std::snprintf(value, TifWriteMgmt::kTifValueSize, "%.0f", rounded);
      }
      return value;
    }
    default:
      return value;
  }
}

}  // namespace StateTifWriteMgmt
