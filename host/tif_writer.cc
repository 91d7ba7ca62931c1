#include "host/tif_writer.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/descriptors.h"
#include "host/stand_in.h"
#include "host/string_utils.h"
#include "host/tax_form.h"

namespace TifWriteMgmt {
namespace {

const char kTemporarySuffix[] = ".tmp";

TifFileWriter::OutputFault& pendingFault() {
  static TifFileWriter::OutputFault fault = TifFileWriter::kNoFault;
  return fault;
}

const StandIn::ResetHook kResetOutputFault([] { pendingFault() = TifFileWriter::kNoFault; });

// Whether the injected fault is the one at `step`; it fires once.
bool faultAt(TifFileWriter::OutputFault step) {
  if (pendingFault() != step) return false;
  pendingFault() = TifFileWriter::kNoFault;
  errno = EIO;  // what a failing disk would answer
  return true;
}

// "<what> <path>: <the system's reason>".
std::string failure(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

TifFileWriter::TifFileWriter(DataMgmt::TaxReturnPtr& federalReturn,
                             DataMgmt::TaxReturnPtr& stateReturn,
                             CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                             TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                             AuditMgmt::TaxFormAuditorPtr& auditor,
                             DataMgmt::OrvaneConfiguration*& configuration)
    : federalReturn(federalReturn),
      stateReturn(stateReturn),
      printer(printer),
      engine(engine),
      auditor(auditor),
      configuration(configuration) {}

// A write that never reached its commit leaves no temporary file behind.
TifFileWriter::~TifFileWriter() { discardTifOutput(); }

bool TifFileWriter::writeTifFile(uint8_t, DataMgmt::TaxReturnType) { return false; }
void TifFileWriter::writeTifHeader() {}

void TifFileWriter::convertTifField(DataMgmt::TaxFormPtr, const FormId&, uint16_t, const FieldId&,
                                    char* code, char* value) {
  outputTifLine(code, value, false);
}

void TifFileWriter::writeRecordHead(int, uint16_t) {}
void TifFileWriter::convertPrintedForms(const FormId&) {}
char* TifFileWriter::formatPercentValue(char* value, char) { return value; }
void TifFileWriter::cleanFormString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::cleanNameString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::cleanAddressString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::reformatDateString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::cleanOtherString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::cleanPlainString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::reformatPhoneString(DataMgmt::TaxFormPtr, const FormId&, const FieldId&, char*) {}
void TifFileWriter::convertStateTifField(DataMgmt::TaxFormPtr, const FormId&, uint16_t,
                                         const FieldId&, char*, char*, bool&, bool&) {}
void TifFileWriter::convertStateHeaderField(DataMgmt::TaxFormPtr, const FormId&, uint16_t,
                                            const FieldId&, char*, char*) {}

char* TifFileWriter::tifGetStateID(char* buf) {
  const std::string id = stateReturn.isNull() ? std::string() : stateReturn->getAbbreviation();
  Utils::safestrncpy(buf, id, kTifCodeSize);
  return buf;
}

// Line output.

void TifFileWriter::queueLine(const char* code, const std::string& value, bool flag, bool upperCase) {
  if (value.empty() && !flag) return;
  std::string line = std::string(code != nullptr ? code : "") + " ";
  for (char ch : value) {
    line += upperCase ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
  }
  queued_.push_back(line);
}

DataMgmt::TaxReturn* TifFileWriter::returnOfSide(const FormId& formId) const {
  return formId.isStateForm() ? stateReturn.get() : federalReturn.get();
}

void TifFileWriter::outputTifLine(const char* code, const char* text, bool flag) {
  queueLine(code, text != nullptr ? text : "", flag, true);
}

void TifFileWriter::outputTifLine(const char* code, const FormId& formId, uint16_t copy,
                                  const FieldId& field, bool flag) {
  const DataMgmt::TaxReturn* r = returnOfSide(formId);
  queueLine(code, r != nullptr ? r->getFieldAsString(formId, copy, field) : std::string(), flag, true);
}

void TifFileWriter::outputTifLine(const char* code, long value, bool flag) {
  queueLine(code, std::to_string(value), flag, true);
}

void TifFileWriter::outputTifLineMixedCase(const char* code, const char* text, bool flag) {
  queueLine(code, text != nullptr ? text : "", flag, false);
}

void TifFileWriter::outputTifLineCB(const char* code, const FormId& formId, uint16_t copy,
                                    const FieldId& field, const char* text, bool flag) {
  const DataMgmt::TaxReturn* r = returnOfSide(formId);
  const bool marked = r != nullptr && r->formYes(formId, copy, field);
  outputTifLine(code, marked ? text : "", flag);
}

void TifFileWriter::outputValueSet() {
  for (const std::string& line : queued_) putTifLine(line);
  queued_.clear();
}

void TifFileWriter::outputTifSubHead(const char* name, uint16_t copy, bool flag) {
  outputValueSet();
  char head[64];
  std::snprintf(head, sizeof head, "D %-10s %03d X T %s", name != nullptr ? name : "",
                static_cast<int>(copy), flag ? "1" : " ");
  putTifLine(head);
}

// Data-file output.

void TifFileWriter::injectOutputFault(OutputFault fault) { pendingFault() = fault; }

bool TifFileWriter::openTifOutput(const IOMgmt::FileNamePtr& target) {
  discardTifOutput();
  queued_.clear();
  outputFailed_ = false;
  outputError_.clear();
  if (target.isNull() || target->getDisplayName(-1).empty()) {
    outputError_ = "no data file name";
    return false;
  }
  targetPath_ = target->getDisplayName(-1);
  const std::string temporary = targetPath_ + kTemporarySuffix;
  if (faultAt(kFailOpen) || !fileWriter.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(temporary)))) {
    outputError_ = failure("cannot create", temporary);
    return false;
  }
  outputPath_ = temporary;
  return true;
}

void TifFileWriter::putTifLine(const std::string& line) {
  if (outputFailed_) return;  // the output is lost already
  if (faultAt(kFailWrite) || !fileWriter.putPCLine(line)) {
    failTifOutput(failure("cannot write", outputPath_));
  }
}

void TifFileWriter::failTifOutput(const std::string& cause) {
  if (!outputFailed_) outputError_ = cause;
  outputFailed_ = true;
}

bool TifFileWriter::commitTifOutput() {
  if (outputPath_.empty()) return false;
  outputValueSet();
  // Forced out to disk before the rename only when an older file is
  // replaced: a crash then cannot leave an empty file in its place. With
  // no older file there is nothing to lose, and the wait is saved.
  const bool replacing = ::access(targetPath_.c_str(), F_OK) == 0;
  if (!outputFailed_ && replacing && !fileWriter.sync()) failTifOutput(failure("cannot flush", outputPath_));
  if (!fileWriter.close()) failTifOutput(failure("cannot write", outputPath_));
  if (!outputFailed_ &&
      (faultAt(kFailRename) || std::rename(outputPath_.c_str(), targetPath_.c_str()) != 0)) {
    failTifOutput(failure("cannot rename", outputPath_ + " to " + targetPath_));
  }
  if (outputFailed_) {
    discardTifOutput();
    return false;
  }
  outputPath_.clear();
  return true;
}

void TifFileWriter::discardTifOutput() {
  fileWriter.close();
  if (!outputPath_.empty()) std::remove(outputPath_.c_str());
  outputPath_.clear();
}

// Form conversion.

void TifFileWriter::runHook(const DataMgmt::TifFieldDescriptor& d, DataMgmt::TaxFormPtr& form,
                            char* value) {
  if (d.getPercentKind() != 0) {
    formatPercentValue(value, d.getPercentKind());
    return;
  }
  const FormId source = d.getForm();
  const FieldId field = d.getField();
  switch (d.getCleanKind()) {
    case kTifCleanForm: cleanFormString(form, source, field, value); break;
    case kTifCleanName: cleanNameString(form, source, field, value); break;
    case kTifCleanAddress: cleanAddressString(form, source, field, value); break;
    case kTifCleanDate: reformatDateString(form, source, field, value); break;
    case kTifCleanOther: cleanOtherString(form, source, field, value); break;
    case kTifCleanPlain: cleanPlainString(form, source, field, value); break;
    case kTifCleanPhone: reformatPhoneString(form, source, field, value); break;
    default: break;
  }
}

void TifFileWriter::convertTIFForm(bool first, const FormId& formId, uint16_t copy,
                                   DataMgmt::TaxFormPtr form, int) {
  if (descriptors.isNull() || descriptors->empty()) return;
  // Hold a share of the list: a hook may replace `descriptors`.
  DataMgmt::TifFieldDescriptorListPtr list = descriptors;
  writeRecordHead(first, copy);
  for (const auto& d : *list) {
    if (d.isNull()) continue;
    const FormId source = d->getForm();
    const FieldId field = d->getField();
    std::string text;
    if (source == formId && !form.isNull()) {
      text = form->valueText(field);
    } else if (const DataMgmt::TaxReturn* r = returnOfSide(source)) {
      text = r->getFieldAsString(source, source == formId ? copy : 1, field);
    }
    char value[kTifValueSize];
    Utils::safestrncpy(value, text, sizeof value);
    runHook(*d, form, value);
    char code[kTifCodeSize];
    Utils::safestrncpy(code, d->getFieldCode(), sizeof code);
    convertTifField(form, source, copy, field, code, value);
  }
}

IOMgmt::FileNamePtr TifFileWriter::getTifFileSpec(DataMgmt::TaxReturnType type) const {
  const DataMgmt::OrvaneConfiguration& config =
      configuration != nullptr ? *configuration : DataMgmt::OrvaneConfiguration::getInstance();
  return IOMgmt::FileNamePtr(
      new IOMgmt::FileName(config.getDataDir() + "/" + std::to_string(type) + ".tif"));
}

}  // namespace TifWriteMgmt
