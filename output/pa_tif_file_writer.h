// PATifWriteMgmt::PATifFileWriter: the Pennsylvania writer of the
// electronic-filing data file.
//
// The state layer owns the file (header, record heads, the walk over the
// printed forms, the line format); this layer supplies the state's hooks:
// - the seven value cleaners the host runs on a field before its line;
// - convertStateTifField, run on every field of a PA form before the
//   field's own line is written: it rewrites or clears the value in place,
//   adds lines of its own, and at a few trigger fields of the PA-40 writes
//   whole PA records ("PAPASTMNT", "PAPARTNHDR", "PAPAAUTHDR",
//   "PAPASCHW2M", "PAPA1099G", "PAPASCHEM" at field 42781, "PAPASCHDM" at
//   field 15), each opened by its own record head, so the lines that follow
//   belong to the last record opened;
// - convertStateHeaderField, which adds the tax-period lines to the state's
//   header record.
//
// The host creates the writer through createTifFileWriterInstance and
// deletes it through its virtual destructor. The shares of the returns,
// engine, printer and auditor are the host base's; this layer borrows the
// state return as the PA return, null when it is not one (then no PA line
// is written). A missing form, copy or field reads as empty, zero or not
// marked, so the lines that depend on it are left out or carry empty
// values. Nothing outlives one call: the statement marks, the record
// counters and the split flag of the Schedule D passes are local.
#ifndef OUTPUT_PA_TIF_FILE_WRITER_H_
#define OUTPUT_PA_TIF_FILE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogs/any_named_field.h"
#include "output/state_tif_file_writer.h"
#include "return/pa_tax_return.h"

namespace PATifWriteMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;

// A line copied from a field: the line's code and the field; a mixed-case
// line keeps the text's case (the others are upper-cased by the host).
struct FieldLine {
  const char* code;
  AnyNamedField field;
  bool mixedCase = false;
};

// A line of a numbered occurrence: the line number (its code is
// "LLLLL.000.nnn", nnn the occurrence) and the field.
struct OccurrenceLine {
  int line;
  AnyNamedField field;
};

class PATifFileWriter : public StateTifWriteMgmt::StateTifFileWriter {
 public:
  // The five holders are released before the constructor returns.
  PATifFileWriter(DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
                  CalculationMgmt::TaxReturnCalcEnginePtr engine,
                  TaxFormPrintMgmt::TaxFormPrinterPtr printer, AuditMgmt::TaxFormAuditorPtr auditor,
                  DataMgmt::OrvaneConfiguration* configuration);
  ~PATifFileWriter() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

  // Value cleaners, each on a value buffer of TifWriteMgmt::kTifValueSize
  // bytes: form strings get the general cleaning (except on federal form
  // 131, left as they are), names, addresses, dates and telephone numbers
  // the host's own; "other" and "plain" strings are left unchanged.
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

  // The PA hook for one field of a form copy being converted; `value` is a
  // kTifValueSize buffer. The code and both flags are left alone.
  void convertStateTifField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                            const FieldId& field, char* code, char* value, bool& first,
                            bool& line) override;
  // At field 72481 of federal form 131: the tax-period lines of the header
  // record. The value is left alone.
  void convertStateHeaderField(DataMgmt::TaxFormPtr form, const FormId& formId, uint16_t copy,
                               const FieldId& field, char* code, char* value) override;

  // The forms a return files once, written from copy 1 alone (their
  // lines and the records at the PA-40's fields stand for the whole
  // return): the PA-40, Schedule SP, the W-2G income schedule and the
  // direct deposit or debit form.
  bool filedOncePerReturn(const FormId& formId) const override;

  // One side's share of an amount: the whole amount unless the owner code
  // is exactly "J"; for "J" half of an even amount, and of an odd one
  // (amount - 1) / 2 with `lowerHalf` and (amount + 1) / 2 without
  // (division toward zero). The two shares always add up to the amount.
  static long splitJointAmount(long amount, const char* owner, bool lowerHalf);

 protected:
  // What a trigger's action works on: the copy being converted, its
  // number and its value buffer.
  struct FieldContext {
    DataMgmt::TaxFormPtr form;
    uint16_t copy;
    char* value;
  };
  typedef void (PATifFileWriter::*TriggerAction)(FieldContext& field);
  // A trigger field of a form and what it does.
  struct Trigger {
    AnyNamedField field;
    TriggerAction action;
  };
  // A form with triggers, its triggers in test order.
  struct FormTriggers {
    const FormId* form;
    const Trigger* triggers;
    std::size_t count;
  };

  // ---- trigger actions: the PA-40's (pa_tif_pa40_fields.cc), Schedules UE and
  // C's (pa_tif_business_lines.cc), the other forms' (pa_tif_schedule_lines.cc) ----
  void convertSchoolDistrictField(FieldContext& field);
  void convertDeductionCodeField(FieldContext& field);
  void convertFilingStatusCodeField(FieldContext& field);
  void convertYesCodeField(FieldContext& field);
  void convertPartYearDateField(FieldContext& field);
  void convertFarmerField(FieldContext& field);
  void convertScheduleDTrigger(FieldContext& field);
  void convertStatementTrigger(FieldContext& field);
  void convertScheduleUEOwnerField(FieldContext& field);
  // The office ratio (its copy and itself) and the vehicle business share.
  void convertScheduleUEPercentField(FieldContext& field);
  void convertScheduleUEShareField(FieldContext& field);
  void convertScheduleUEEmployerField(FieldContext& field);
  void convertScheduleUENameField(FieldContext& field);
  void convertScheduleCOwnerField(FieldContext& field);
  void convertScheduleCAnswerField(FieldContext& field);
  void convertScheduleSPFilerField(FieldContext& field);
  void convertScheduleSPSpouseField(FieldContext& field);
  void convertGamblingField(FieldContext& field);
  void convertDeductionsField(FieldContext& field);
  void convertDirectDepositField(FieldContext& field);
  void convertScheduleAOwnerField(FieldContext& field);
  void convertScheduleBOwnerField(FieldContext& field);

  // ---- records (statement, return header, authentication header) ----
  // The statement record of the taxpayer or the spouse, numbered `number`.
  void writeStatementRecord(bool spouse, uint16_t number);
  void writePAPARTNHDRRecord();
  void writeReturnHeaderFilers();
  void writeReturnHeaderAddress();
  void writePAPAAUTHDRRecord();
  // ---- W-2 schedule and 1099-G records ----
  void writePAPASCHW2MRecord();
  void writePAPA1099GRecord();
  // Whether copy `copy` of the federal 1099-G has a PA record; its lines.
  bool has1099GRecord(uint16_t copy) const;
  void write1099GLines(uint16_t copy);
  // Four address lines, cleaned; none unless all four texts are there.
  void writeAddressLines(const FormId& formId, uint16_t copy, const FieldLine (&lines)[4]);
  // ---- Schedule E and Schedule D records ----
  void writePAPASCHEMRecord();
  // Copy `copy` of Schedule E as occurrence `occurrence` of its record.
  void writeScheduleECopy(uint16_t copy, int occurrence);
  void writeScheduleEExpenses(uint16_t copy, int occurrence);
  // One pass over every Schedule D worksheet copy. `mode` 0 writes every
  // owner, 1 the taxpayer's and joint sales, 2 the spouse's and joint ones.
  void writeScheduleDTransactions(uint16_t& recordCounter, int mode, bool& splitFlag);
  // One transaction (sale row `row` of worksheet copy `sheetCopy`), after
  // the record head and the Schedule D totals when `newRecord` is set.
  void writePAPASCHDMRecord(int transaction, uint16_t& recordCounter, int mode,
                            uint16_t sheetCopy, int row, bool newRecord, bool& splitFlag);
  void writeScheduleDTotals(uint16_t scheduleCopy);
  void writeTransactionDates(int transaction, uint16_t sheetCopy, int row);
  void writeTransactionAmounts(int transaction, uint16_t sheetCopy, int row, bool& splitFlag);
  void writeScheduleDLines(uint16_t scheduleCopy);

  // ---- line writers at trigger fields ----
  void writeSchoolDistrictNameLine();
  void writeSchoolDistrictCodeLine();
  void writeScheduleSPPrintedLine();
  void writeDependentLines();
  void writeDirectDepositLines();
  // The deductions-schedule rows of `form`, tested and written from it.
  void writeScheduleORows(DataMgmt::TaxFormPtr form);
  void writeScheduleCAmountRows(DataMgmt::TaxFormPtr form, uint16_t copy);
  void writeScheduleCDatedRows(DataMgmt::TaxFormPtr form);
  void writeScheduleCOwnerLines(uint16_t copy);
  void writeScheduleCFederalLines(uint16_t copy);
  void writeScheduleUEDetail(uint16_t copy);
  // The value becomes "T", "S" or "J" for the last of the three boxes
  // (taxpayer, spouse, joint) marked on the copy; none marked leaves it.
  void writeOwnerLetter(FieldContext& field, const FieldId* const (&boxes)[3]);

  // The software name the records carry, as registered (mixed case).
  static constexpr const char* kSoftwareName = "VazoviZuziv";
  // The first and the last day of the tax year, "YYYY-MM-DD".
  static std::string taxPeriodStart();
  static std::string taxPeriodEnd();

  // ---- reading and writing helpers ----
  // The return that holds forms of `formId`'s side; null when none.
  DataMgmt::TaxReturn* returnOf(const FormId& formId) const;
  std::string textOf(const FormId& formId, uint16_t copy, const FieldId& field) const;
  // The field's text into `buffer` (TifWriteMgmt::kTifValueSize bytes), cut
  // to fit, for the host's cleaners that work in place; returns `buffer`.
  char* textInto(char* buffer, const FormId& formId, uint16_t copy, const FieldId& field) const;
  bool isMarked(const FormId& formId, uint16_t copy, const FieldId& field) const;
  long amountOf(const FormId& formId, uint16_t copy, const FieldId& field) const;
  // The state return's filing status (1, 2 or 3); 1 without a state return.
  uint8_t filingStatus();
  // A joint return; a status of 0 counts as joint.
  bool filesJointly();
  // "LLLLL.SSS.OOO" into `code` (TifWriteMgmt::kTifCodeSize bytes).
  static char* lineCode(char* code, int line, int sub, int occurrence);
  // Writes each line of the table from that copy of the form.
  void writeFieldLines(const FormId& formId, uint16_t copy, const FieldLine* lines,
                       std::size_t count);
  template <std::size_t N>
  void writeFieldLines(const FormId& formId, uint16_t copy, const FieldLine (&lines)[N]) {
    writeFieldLines(formId, copy, lines, N);
  }
  // Writes each line of the table as occurrence `occurrence`.
  void writeOccurrenceLines(const FormId& formId, uint16_t copy, int occurrence,
                            const OccurrenceLine* lines, std::size_t count);
  template <std::size_t N>
  void writeOccurrenceLines(const FormId& formId, uint16_t copy, int occurrence,
                            const OccurrenceLine (&lines)[N]) {
    writeOccurrenceLines(formId, copy, occurrence, lines, N);
  }
  void writeOccurrenceLines(const FormId& formId, uint16_t copy, int occurrence,
                            const std::vector<OccurrenceLine>& lines) {
    writeOccurrenceLines(formId, copy, occurrence, lines.data(), lines.size());
  }
  // "1" when the field is marked on that copy, else "0".
  void writeMarkLine(const char* code, const FormId& formId, uint16_t copy, const FieldId& field);

  PADataMgmt::PATaxReturn* paReturn;  // borrowed

 private:
  // The triggers of `formId` (null for a form without any); the forms are
  // tested in a fixed order and the first equal one counts.
  static const FormTriggers* triggersOf(const FormId& formId);
  template <std::size_t N>
  static FormTriggers formTriggers(const FormId& formId, const Trigger (&triggers)[N]) {
    return {&formId, triggers, N};
  }
};

}  // namespace PATifWriteMgmt

#endif  // OUTPUT_PA_TIF_FILE_WRITER_H_
