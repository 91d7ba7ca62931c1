// TifWriteMgmt::TifFileWriter: the host's base of the writer of a state
// return's electronic-filing data file (the TIF file).
//
// The writer keeps shares of both returns, the engine, the printer and the
// auditor, and the host configuration pointer (never released). The base
// owns the line output: field lines are queued ("CODE VALUE", the value
// upper-cased; an empty value gives no line unless the line flag asks for
// "CODE ") and go to `fileWriter` in order at outputValueSet or before the
// next record head. `fileWriter` writes a temporary file that replaces the
// data file only once it is complete (openTifOutput, commitTifOutput); a
// failed write says why in outputError(). The base converts one form copy
// by its data-file descriptors (convertTIFForm) and offers the value
// cleaners. A state writer supplies the whole-file write, record heads and
// the per-field hooks; the base's versions do nothing, except
// convertTifField, which writes the field's line as it stands. Value
// buffers are 512 bytes, code buffers 32; every operation stays within
// them.
#ifndef HOST_TIF_WRITER_H_
#define HOST_TIF_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/auditor.h"
#include "host/calc_engine.h"
#include "host/configuration.h"
#include "host/host_api.h"
#include "host/io.h"
#include "host/pointers.h"
#include "host/printer.h"
#include "host/tax_return.h"

namespace TifWriteMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

// Sizes of the buffers the writer hands to its hooks.
const std::size_t kTifValueSize = 512;
const std::size_t kTifCodeSize = 32;

// The clean kind of a data-file descriptor: which value hook convertTIFForm
// runs on the value before the field's callback (ours).
enum TifCleanKind : char {
  kTifCleanNone = 0,
  kTifCleanForm = 'F',     // cleanFormString
  kTifCleanName = 'N',     // cleanNameString
  kTifCleanAddress = 'A',  // cleanAddressString
  kTifCleanDate = 'D',     // reformatDateString
  kTifCleanOther = 'O',    // cleanOtherString
  kTifCleanPlain = 'P',    // cleanPlainString
  kTifCleanPhone = 'T',    // reformatPhoneString
};

class HOST_API TifFileWriter {
 public:
  TifFileWriter(DataMgmt::TaxReturnPtr& federalReturn, DataMgmt::TaxReturnPtr& stateReturn,
                CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                TaxFormPrintMgmt::TaxFormPrinterPtr& printer, AuditMgmt::TaxFormAuditorPtr& auditor,
                DataMgmt::OrvaneConfiguration*& configuration);
  virtual ~TifFileWriter();
  TifFileWriter(const TifFileWriter&) = delete;
  TifFileWriter& operator=(const TifFileWriter&) = delete;

  // Writes the whole data file of a return type; the base writes nothing
  // and answers false.
  virtual bool writeTifFile(uint8_t mode, DataMgmt::TaxReturnType type);
  virtual void writeTifHeader();
  // The per-field callback of convertTIFForm; the base queues the line
  // (code, value) with the line flag false.
  virtual void convertTifField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                               const FieldId& field, char* code, char* value);
  virtual void writeRecordHead(int first, uint16_t copy);
  virtual void convertPrintedForms(const FormId& formId);
  // Formats a percentage value in place; the base leaves it.
  virtual char* formatPercentValue(char* value, char kind);
  // Value hooks: rewrite `value` in place; the base leaves it.
  virtual void cleanFormString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                               char* value);
  virtual void cleanNameString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                               char* value);
  virtual void cleanAddressString(DataMgmt::TaxFormPtr form, const FormId& formId,
                                  const FieldId& field, char* value);
  virtual void reformatDateString(DataMgmt::TaxFormPtr form, const FormId& formId,
                                  const FieldId& field, char* value);
  virtual void cleanOtherString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                                char* value);
  virtual void cleanPlainString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                                char* value);
  virtual void reformatPhoneString(DataMgmt::TaxFormPtr form, const FormId& formId,
                                   const FieldId& field, char* value);
  // Keeps letters and blanks (blanks collapsed and trimmed).
  virtual void tifCleanAllAlphaSpaceStringDispatch(char* value);
  // The state's hook for every field of a state form; the base does nothing.
  virtual void convertStateTifField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                                    const FieldId& field, char* code, char* value, bool& first,
                                    bool& line);
  // The state return's abbreviation into `buf` (a code buffer).
  virtual char* tifGetStateID(char* buf);
  // The state's hook for the header forms' fields; the base does nothing.
  virtual void convertStateHeaderField(DataMgmt::TaxFormPtr form, const FormId& formId,
                                       uint16_t copy, const FieldId& field, char* code, char* value);

  // Line output.
  void outputTifLine(const char* code, const char* text, bool flag);
  // The value text of a field of a copy, on the federal or the state return
  // by the form's side.
  void outputTifLine(const char* code, const FormId& formId, uint16_t copy, const FieldId& field,
                     bool flag);
  void outputTifLine(const char* code, long value, bool flag);  // "%ld"
  void outputTifLine(const char* code, int value, bool flag) {
    outputTifLine(code, static_cast<long>(value), flag);
  }
  void outputTifLineMixedCase(const char* code, const char* text, bool flag);
  // `text` when the field holds the mark, else an empty value.
  void outputTifLineCB(const char* code, const FormId& formId, uint16_t copy, const FieldId& field,
                       const char* text, bool flag);
  // Writes the queued lines, then the head "D " + name padded to 10 + " " +
  // the copy as %03d + " X T " + ("1" when `flag`, else " ").
  void outputTifSubHead(const char* name, uint16_t copy, bool flag);
  // Writes the queued lines in order.
  void outputValueSet();
  // Converts one copy by the descriptor list in `descriptors`: nothing when
  // the list is empty; else writeRecordHead(first, copy) once, then for
  // every descriptor the source field's value text (of `form` when the
  // source is the converted form, else of copy 1), its hook, and
  // convertTifField. `sequence` is not read.
  void convertTIFForm(bool first, const FormId& formId, uint16_t copy, DataMgmt::TaxFormPtr form,
                      int sequence);
  // dataDir + "/" + type + ".tif"; type 1 is the federal file.
  IOMgmt::FileNamePtr getTifFileSpec(DataMgmt::TaxReturnType type) const;

  // Value cleaners; each rewrites a 512-byte value in place and returns it.
  // Letters, digits, blank and &'-,./# stay, anything else becomes a
  // blank; blanks are collapsed and trimmed.
  static char* tifStringClean(char* value);
  // Keeps letters, digits, blank, "-" and "/" (Utils::tifCleanAddressString).
  static char* tifCleanAddressString(char* value);
  static char* tifReformatDate(char* value);   // a valid date becomes YYYY-MM-DD
  static char* tifReformatPhone(char* value);  // keeps the digits
  // The percentage as a decimal with `digits` decimals: x = 0 divides by
  // 100, x != 0 takes the value as a ratio already; not a number gives "".
  static char* tifConvertPercentToDecimal(char* value, int digits, int x);
  // The host's office codes (settable; "00", "000", "00" by default).
  static char* tifGetDistrictNum(char* buf);
  static char* tifGetOfficeNum(char* buf);
  static char* tifGetServiceCenter(char* buf);
  static void setOfficeCodes(const std::string& district, const std::string& office,
                             const std::string& serviceCenter);  // ours

  // Lines queued and not yet written (ours, for tests).
  const std::vector<std::string>& queuedLines() const { return queued_; }
  // Why the last data-file output failed, "" when it did not (ours): the
  // step and the system's reason, for the host to show.
  const std::string& outputError() const { return outputError_; }

  // Ours, for tests: one step of the next data-file output fails on
  // purpose, as a full or read-only disk would make it fail. The fault
  // fires once; StandIn::resetAll clears it.
  enum OutputFault { kNoFault, kFailOpen, kFailWrite, kFailRename };
  static void injectOutputFault(OutputFault fault);

 protected:
  // The data file is written beside its target and takes its place only
  // when complete (ours). openTifOutput opens "<target>.tmp" for writing;
  // commitTifOutput writes out the queued lines, flushes the file to the
  // disk, closes it and renames it over the target (atomic on POSIX);
  // discardTifOutput closes and removes it. Until a commit succeeds the
  // target is untouched. False when a step failed or a line could not be
  // written; the temporary file is then removed.
  bool openTifOutput(const IOMgmt::FileNamePtr& target);
  bool commitTifOutput();
  void discardTifOutput();
  // Writes one line of the data file; a line that fails is remembered
  // until the commit.
  void putTifLine(const std::string& line);
  // Marks the output as failed for `cause` (the first cause is kept): the
  // commit then fails and leaves the target as it was.
  void failTifOutput(const std::string& cause);

  IOMgmt::FileWriter fileWriter;
  DataMgmt::TaxReturnPtr federalReturn;
  DataMgmt::TaxReturnPtr stateReturn;
  TaxFormPrintMgmt::TaxFormPrinterPtr printer;
  CalculationMgmt::TaxReturnCalcEnginePtr engine;
  AuditMgmt::TaxFormAuditorPtr auditor;
  DataMgmt::OrvaneConfiguration* configuration;
  DataMgmt::TifFieldDescriptorListPtr descriptors;
  uint8_t calcFlag = 0;
  bool headerFlag = false;

 private:
  void queueLine(const char* code, const std::string& value, bool flag, bool upperCase);
  DataMgmt::TaxReturn* returnOfSide(const FormId& formId) const;
  void runHook(const DataMgmt::TifFieldDescriptor& d, DataMgmt::TaxFormPtr& form, char* value);

  std::vector<std::string> queued_;
  std::string targetPath_;  // the data file being written
  std::string outputPath_;  // its temporary file while open, else empty
  bool outputFailed_ = false;
  std::string outputError_;
};

}  // namespace TifWriteMgmt

#endif  // HOST_TIF_WRITER_H_
