// StateTifWriteMgmt::StateTifFileWriter: the state layer of the writer of a
// state return's electronic-filing data file, shared by every state's
// writer.
//
// It owns the layout of the whole file: the seven header lines (or, when a
// write of mode 2 or more finds the file, the update of its header), the
// record heads, the walk over the printed forms, the per-field dispatch to
// the header-form conversions and the state's hooks, and the federal data
// appended at the end. It also offers the lines of the authentication
// header and small line helpers that a state's records use.
//
// The host base keeps shares of both returns, the engine, the printer and
// the auditor, and the configuration pointer (never released). The engine
// and the auditor are used only through the host's interfaces. The two
// state-typed members borrow the state return and the printer; each is
// null when the object handed in is not of the state type, and every path
// reads a null member as "nothing there".
#ifndef OUTPUT_STATE_TIF_FILE_WRITER_H_
#define OUTPUT_STATE_TIF_FILE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/io.h"
#include "host/tif_writer.h"

namespace StateDataMgmt {
class StateTaxReturn;
}  // namespace StateDataMgmt
namespace StateTaxFormPrintMgmt {
class StateTaxFormPrinter;
}  // namespace StateTaxFormPrintMgmt

namespace StateTifWriteMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

class StateTifFileWriter : public TifWriteMgmt::TifFileWriter {
 public:
  // Size of the buffer that holds a state abbreviation.
  static const std::size_t kAbbreviationSize = 16;

  StateTifFileWriter(DataMgmt::TaxReturnPtr& federalReturn, DataMgmt::TaxReturnPtr& stateReturn,
                     CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                     TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                     AuditMgmt::TaxFormAuditorPtr& auditor,
                     DataMgmt::OrvaneConfiguration*& configuration);
  ~StateTifFileWriter() override;

  // Writes the whole data file of `type`. A mode of 2 or more updates an
  // existing file: its header gets this state's version and section line,
  // this state's section is replaced and every other record is kept as it
  // is. The new file replaces the old one only once it is complete: false,
  // with the old file as it was and the cause in outputError(), when `type`
  // is the federal return's or when the old file or the federal file
  // cannot be read whole (a line too long) or the new one cannot be
  // created, written, flushed or moved into place.
  bool writeTifFile(uint8_t mode, DataMgmt::TaxReturnType type) override;
  // The seven header lines of a fresh file.
  void writeTifHeader() override;
  // The host's per-field callback: the header-form conversions or the
  // state's hook, then the field's line.
  void convertTifField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                       const FieldId& field, char* code, char* value) override;
  // The record head of the form being converted; `first` is not read.
  void writeRecordHead(int first, uint16_t copy) override;
  // Converts every listed copy of one form.
  void convertPrintedForms(const FormId& formId) override;
  // Blank or "M": a 4-decimal fraction; "N": 6 decimals; "F" (or 0xAA):
  // the nearest whole number, empty when 0; 0xAC counts as "H"; any other
  // kind leaves the value.
  char* formatPercentValue(char* value, char kind) override;

  // Value hooks and per-field hooks that every state supplies; the state
  // layer itself leaves the value and writes nothing.
  void cleanFormString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                       char* value) override;
  void cleanNameString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                       char* value) override;
  void cleanAddressString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                          char* value) override;
  void reformatDateString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                          char* value) override;
  void cleanOtherString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                        char* value) override;
  void cleanPlainString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                        char* value) override;
  void reformatPhoneString(DataMgmt::TaxFormPtr form, const FormId& formId, const FieldId& field,
                           char* value) override;
  // Every field of a form other than federal forms 92 and 131.
  void convertStateTifField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                            const FieldId& field, char* code, char* value, bool& first,
                            bool& line) override;
  // Fields of federal forms 92 and 131 while the header flag is set.
  void convertStateHeaderField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                               const FieldId& field, char* code, char* value) override;

  // The current write's mode and whether it updates an existing file.
  uint8_t getMode() const { return mode; }
  bool isUpdating() const { return updating; }

 protected:
  // Lines of the authentication header. `infoForm` is the copy of the
  // state's information form read for values, marks and dates; lines that
  // copy a field take copy 1 of `infoFormId`. Any field or box may be the
  // null identifier (empty value, not marked, line left out).
  void writeAuthHeaderFields(DataMgmt::TaxFormPtr infoForm, const FormId& infoFormId,
                             const FieldId& paymentAccount, const FieldId& paymentDate,
                             const FieldId& directPaymentBox, const FieldId& otherPaymentBox,
                             int32_t amount, const FieldId& taxpayerDocNumber,
                             const FieldId& taxpayerDocState, const FieldId& taxpayerDocExpiry,
                             const FieldId& taxpayerDocDate, const FieldId& spouseDocNumber,
                             const FieldId& spouseDocState, const FieldId& spouseDocExpiry,
                             const FieldId& spouseDocDate, const FieldId& taxpayerLicenceBox,
                             const FieldId& spouseLicenceBox, const FieldId& taxpayerStateIdBox,
                             const FieldId& spouseStateIdBox, const FieldId& taxpayerNoDocBox,
                             const FieldId& spouseNoDocBox, bool joint, const FieldId& unused,
                             const FieldId& practitionerField);

  // Line helpers.
  void outputFieldLineIfPresent(const char* code, const FormId& formId, uint16_t copy,
                                const FieldId& field, bool flag);
  // The field's value text on `form` (kTifValueSize bytes); empty for a null
  // field or copy.
  char* fieldValueString(DataMgmt::TaxFormPtr form, char* value, const FieldId& field,
                         const FormId& formId);
  bool isFieldMarked(DataMgmt::TaxFormPtr form, const FieldId& field);
  // The host's current time in UTC as "%Y-%m-%dT%H:%M:%SZ"; `buf` holds at
  // least 81 bytes.
  static char* formatUtcTimestamp(char* buf);
  // Removes leading zeros of a text longer than one character; a text of
  // zeros only is left.
  static char* stripLeadingZeros(char* text);
  // The state return's refund code; `buf` holds at least 16 bytes.
  char* fetchRefundCode(char* buf);
  void outputRefundCodeLine(const char* code);

  // Header-form conversions. `field2`, `number`, `number2` and both flags
  // are not read.
  void convertFilerInfoField(DataMgmt::TaxFormPtr form, uint16_t copy, const FieldId& field,
                             const FieldId& field2, int number, char* code, int number2,
                             char* value, bool& first, bool& line);
  void convertEFileInfoField(DataMgmt::TaxFormPtr form, uint16_t copy, const FieldId& field,
                             const FieldId& field2, int number, char* code, int number2,
                             char* value, bool& first, bool& line);
  // Whether the state form holds the federal form 131 answer that clears
  // field 325 of the header record.
  bool checkEFileInfoValue();

  // Whole-file write steps.
  // The seven header lines of a fresh file.
  std::vector<std::string> freshHeaderLines();
  // An update: the old file's header with this state's version and "S"
  // line (each once), then its records but this state's section, up to
  // its federal data; the output fails when a line of the old file is too
  // long to be read whole. `oldName` names the old file in that cause.
  void copyOldLines(IOMgmt::FileReader& reader, const std::string& oldName);
  // Opens the old file for an update; false, the output failed with the
  // cause, when it cannot be opened.
  bool openOldFile(IOMgmt::FileReader* reader, const IOMgmt::FileNamePtr& name);
  // The header lines of the old file (those before its first record):
  // the version line gets this state's version in place of an older one
  // of it, and "S <abbreviation>" stands once, before "S FD". Without a
  // version line (an empty or headerless file) the header is the fresh
  // one, with the old file's other "S" lines.
  void copyTifHeader(const std::vector<std::string>& oldHeader);
  // `line` (a version line) with this state's version, given once.
  std::string withStateVersion(const std::string& line);
  // Copies the records from `line` (a record head) to the federal data,
  // leaving out this state's section: the records whose names begin with
  // its abbreviation and its return record ("SYSTRTN" whose state line
  // names it).
  void copyOtherSections(IOMgmt::FileReader& reader, std::string line);
  // Whether the line opens the federal data of a data file.
  static bool opensFederalData(const std::string& line);
  // The line of the return record that names this state ("" when unknown).
  std::string stateLineText();
  // Marks the output failed when `reader` stopped before the end of the
  // file `name`: at a line longer than the reader takes, or at a read that
  // failed (the lines after it would be missing from the new file).
  void failAtCutLine(const IOMgmt::FileReader& reader, const std::string& name);
  // Whether the return files a single copy of the form, so that copy 1
  // alone is written: the state layer knows none; a state names its own.
  virtual bool filedOncePerReturn(const FormId& formId) const;
  // Copy 1 of the direct deposit form (made when missing) is calculated and
  // marked to print; its form goes to `depositForm` (empty without one) and
  // its former print flag is the answer.
  bool printDirectDepositForm(FormId& depositForm);
  // Converts form 131 twice, then every form the printer lists (at most
  // 253).
  void convertWriteList();
  void appendFederalTifData();

  // The state form and field that stand for a federal field (either empty
  // when there is none; a mapping exception counts as none), and whether
  // that field has a significant value on copy 1 of that form.
  void mapFederalField(const FormId& federalForm, const FieldId& federalField, FormId& stateForm,
                       FieldId& stateField);
  bool mappedFieldHasValue(const FormId& federalForm, const FieldId& federalField);
  // The amount of a text item of the state return; 0 without one.
  int32_t stateTextAmount(int item);

  // One person's identity-document fields for the authentication header.
  struct DocumentSource {
    DataMgmt::TaxFormPtr infoForm;
    FormId infoFormId;
    bool spouse;
    FieldId number, state, expiry, date;
    FieldId licenceBox, stateIdBox, noDocBox;
  };
  void writeDocumentLines(const DocumentSource& doc);

  // The state return's abbreviation ("" without a state return).
  std::string stateAbbreviation();
  // " <abbreviation>: <state return's version>", the state's part of the
  // header's version line.
  std::string versionLineTail();
  // The state printer's print flag of the copy; false without one.
  bool printFlagSet(const FormId& formId, uint16_t copy) const;

  StateDataMgmt::StateTaxReturn* stateTaxReturn;                // borrowed, may be null
  StateTaxFormPrintMgmt::StateTaxFormPrinter* statePrinter;     // borrowed, may be null
  uint8_t mode = 1;       // the mode of the current write
  bool updating = false;  // the current write updates an existing file
};

}  // namespace StateTifWriteMgmt

#endif  // OUTPUT_STATE_TIF_FILE_WRITER_H_
