// StateCalculationMgmt::StateTaxReturnCalcEngine: the state layer of a state
// return's calculation engine, shared by every state's engine.
//
// It implements the host-facing calculate operations (whole return, one
// copy, all copies of a form, recalculation on unsaved changes, the
// summary amount) and the host's test-data loader, offers the field
// routines and shared-form calculations that a state's own calculations
// use, and declares the state-specific operations a state engine fills in.
//
// It borrows the federal return and the state return (the host keeps both
// alive while the engine lives); the state return is null when the return
// handed in is not a StateTaxReturn. The printer share is the host base's.
// The income-kind table of the federal wage pull is one table for every
// engine, built by the first engine constructed.
//
// The members below are grouped by concern; each group's bodies live in
// the source file its heading names.
#ifndef CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_
#define CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "calc/state/installment_table.h"
#include "calc/state/int_div_display.h"
#include "calc/state/int_div_records.h"
#include "calc/state/test_data_types.h"
#include "host/calc_engine.h"
#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/pointers.h"
#include "host/state_tax_return.h"
#include "host/test_data_loader.h"
#include "host/us_tax_return.h"
#include "host/utils_types.h"

namespace StateCalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

// The residency choice of the state forms 16, 17 and 18, as
// readMarkedChoice reads it from the information form's boxes. It is not
// the PA return's residency code (PADataMgmt::Residency, 0 to 2).
enum ResidencyChoice : int {
  kChoiceFullYearResident = 1,
  kChoicePartYearResident = 2,
  kChoiceNonresident = 3,
  kChoicePartYearAllocated = 4,  // the part-year allocation box is marked
};

// Every choice but a full-year resident's: the filer enters the parts of
// each amount that are taxed here, and the calculation only caps them.
inline bool filerEntersParts(int residencyChoice) {
  return residencyChoice == kChoicePartYearResident || residencyChoice == kChoiceNonresident ||
         residencyChoice == kChoicePartYearAllocated;
}

// Filing-status codes the state layer's routines take beside the state's
// own (PADataMgmt::FilingStatus): none given, and the host's generic
// joint code. Both count as joint where isJointFiling says so.
enum GenericFilingStatus : uint16_t {
  kFilingStatusNone = 0,
  kFilingStatusGenericJoint = 8,
};

// One income kind of the federal wage pull.
struct IncomeKindRow;
// The source table of one interest and dividend summary form.
struct IntDivSummary;

class StateTaxReturnCalcEngine : public CalculationMgmt::TaxReturnCalcEngine,
                                 public CalculationMgmt::TestDataLoader {
 public:
  // The printer goes to the host base, which keeps a share; the argument
  // itself is released before the constructor returns.
  StateTaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, DataMgmt::TaxReturn* stateReturn,
                           TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~StateTaxReturnCalcEngine() override;

  DataMgmt::USTaxReturn* getFederalReturn() const { return federalReturn; }
  StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }

  // ---- Host-facing calculate operations (calc_engine.cc) ----

  // Clears every copy's calculated mark, then runs preCalc, calcStateReturn
  // and postCalc. The flag is not read.
  void calcReturn(int flag) override;
  // Calculates one existing copy through calcStateForm; `form` is only
  // released (the copy is fetched afresh). State form 14 is never
  // dispatched: its default box is set on copy 1 instead.
  void calcForm(const FormId& formId, uint16_t copy, bool markDataEntered, int passOn, int spare,
                TaxFormPtr form) override;
  // Every existing copy of the form, highest copy number first.
  void calcAllCopies(const FormId& formId) override;
  // calcReturn(flag) only when the state return has unsaved changes.
  void calcIfChanged(int flag) override;
  // Amount owed (line 17) when not 0, else minus the refund (line 16), as
  // the state return's text item 0 gives it.
  long getSummaryAmount() override;
  // Clears the calculated mark of every copy of the state return.
  void clearCalculatedFlags();

  // ---- State operations a state engine implements (pure) ----

  // The whole-return driver and the per-form dispatch.
  virtual void calcStateReturn() = 0;
  virtual void calcStateForm(const FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                             int spare, TaxFormPtr form) = 0;
  virtual FormId getStateReturnFormId() = 0;
  virtual FormId getFederalReturnFormId() = 0;
  virtual uint8_t getFilingStatus() = 0;
  // Category routers: (form, the copy as a share the callee releases, copy
  // number, passOn).
  virtual void calcCommonStateForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcBusinessForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms1(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms2(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms3(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms4(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms5(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms6(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcRentalForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReturnForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcEstimatedTaxForms(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcReservedForms7(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  virtual void calcEmployeeExpenseAndLocalForms(const FormId& formId, TaxFormPtr form, uint16_t copy,
                                                int passOn) = 0;
  virtual void calcTaxForgivenessForm(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) = 0;
  // Hooks around calcStateReturn.
  virtual void preCalc() = 0;
  virtual void postCalc() = 0;

  // ---- Field routines (field_routines.cc) ----

  // They work on the state return only. Empty field ids (number <= 0) are
  // skipped and a missing copy is nothing to do.

  // Stores value * 10^places (places 1..6; any other count scales by 1) and
  // gives back what the field then holds, divided again; 0 when the copy
  // is missing.
  void copyNumberField(const FormId& formId, uint16_t copy, FieldId field, double& value, int8_t places);
  // A null field gets `defaultValue`, a value above `high` gets `high`, one
  // below `low` gets `low`.
  void defaultAndClampNumberField(const FormId& formId, uint16_t copy, FieldId field, double defaultValue,
                                  double low, double high);
  // Splits the annual amount into the quarterly rows of `table` (see
  // installment_table.h) and writes the installment count. The override
  // mark on the override form replaces the amount, credit and threshold by
  // the override amount, 0 and 0, and the count by `overrideCount`
  // (clamped to 1..4). Stops with a zero table, the count unwritten, when
  // either copy 1 is missing or the amount less the credit is below the
  // threshold.
  void allocateInstallments(FormId markForm, FieldId first, FieldId second, FieldId third,
                            FieldId fourth, uint16_t& count, double amount, double credit,
                            double threshold, InstallmentTable& table, FormId overrideForm,
                            FieldId overrideMark, uint16_t overrideCount, double overrideAmount);
  // On copy 1 of the form: 4 when d is marked, else 3 when b is, else 2
  // when c is, else 1 (also when the copy is missing). `a` is not tested;
  // `form` is only released.
  ResidencyChoice readMarkedChoice(TaxFormPtr form, FormId formId, FieldId a, FieldId b, FieldId c,
                                   FieldId d);
  // Sets every field of the copy null.
  void clearForm(const FormId& formId, uint16_t copy);
  // Sets the fields first..last (descriptor order) of the copy null; an
  // empty first starts at the first field, an empty last runs to the end.
  void clearFormFields(const FormId& formId, uint16_t copy, FieldId first, FieldId last);
  // Copies the texts of lines 1-5 into t1-t5 and, when isJointOrNone(filing
  // choice), those of lines 6-10 into s1-s5 (otherwise s1-s5 are set null). The
  // source is read at copy 1; upper 1 upper-cases the texts.
  void assignIndexedText(TaxFormPtr target, FormId source, uint16_t filingChoice, FieldId t1, FieldId t2,
                         FieldId t3, FieldId t4, FieldId t5, FieldId s1, FieldId s2, FieldId s3,
                         FieldId s4, FieldId s5, FieldId valueTarget, int upper);
  // The texts of up to five lines (code 0: none) of copy 1 of the form
  // into b1-b5, each of kLineTextSize bytes; a buffer whose line has no
  // field is not touched.
  void readFederalLineTexts(FormId formId, short c1, short c2, short c3, short c4, short c5, char* b1,
                            char* b2, char* b3, char* b4, char* b5, int upper);
  static const int kLineTextSize = 84;
  // Street (line 11) and apartment (line 12) of copy 1 in one text, into
  // `destination` of kApartmentTextSize bytes. Returns `destination`.
  char* formatApartment(char* destination, FormId formId, int upper);
  static const int kApartmentTextSize = 260;

  // ---- Federal line table, common text pull, name copy ----

  // The line table itself is federal_line_table.h. Name outputs hold
  // Utils::kNameBufferSize bytes.

  // Sets the federal columns of rows 1-15 and clears row 16; the state
  // column of rows 1-15 is left as it is.
  static void buildFederalLineTable();
  // The part of the information form's line fill that uses the table:
  // rebuilds it, sets the state column of rows 1-15 from `stateFields`,
  // and copies each line of the federal form in use into its state field
  // of `target` (nulls the state field when the federal form has no such
  // line).
  void copyFederalLines(const FormId& federalForm, TaxFormPtr target, const FieldId (&stateFields)[15]);
  // The name joined from the texts of four fields of copy 1 of the form
  // (an empty id gives an empty part).
  char* buildNameFromFields(char* out, FormId formId, FieldId a, FieldId b, FieldId c, FieldId d,
                            Utils::DISPLAY_NAME mode);
  // The same from the state fields of four line codes (0: no part).
  char* getFederalLineFieldID(char* out, FormId formId, short codeA, short codeB, short codeC,
                              short codeD, Utils::DISPLAY_NAME mode);
  // The stripped text of the line's state field on the copy in hand, cut to
  // `width` (at most 127); `out` holds width + 1 bytes.
  char* getFederalLineText(char* out, TaxFormPtr form, short code, unsigned short width);
  // Whose name buildFilerName builds.
  enum FilerName : short { kNameOfBoth = 0, kNameOfTaxpayer = 1, kNameOfCouple = 2, kNameOfSpouse = 10 };
  // The filer's display name from copy 1 of the form: the taxpayer's, the
  // spouse's, or (kNameOfBoth, kNameOfCouple) the joint name.
  char* buildFilerName(char* out, FormId formId, short whose, Utils::DISPLAY_NAME mode);

  // Fills one field of a state form copy from the federal return by pull
  // code 116-150; another code throws OrvaneException "Invalid PCType".
  // A value a pull protects in goes once its federal source (or copy 1 of
  // the federal return form) is gone; the user may then enter the field.
  void pullCommonText(FormId federalReturnForm, const FormId& targetForm, uint16_t copy,
                      const FieldId& targetField, int pcType);

  // Fills the name and number head fields of `target` from copy 1 of
  // `source`: the first person always, the second when isJointOrNone(filing
  // choice) (otherwise its fields are set null). upper 1 upper-cases the names.
  void copyNameText(TaxFormPtr target, FormId source, uint16_t filingChoice, int displayMode,
                    FieldId name1, FieldId number1, FieldId secondName1, FieldId secondNumber1,
                    FieldId name2, FieldId number2, FieldId secondName2, FieldId secondNumber2,
                    FieldId valueTarget, int upper);

  // ---- Income kinds, federal wage pull, state allocation lines ----
  // (income_kind_table.cc, wage_pull.cc, state_allocation.cc)

  // The income kinds the federal wage pull carries to the state allocation
  // form (income_kind_table.h); null until built. Building is idempotent:
  // the first engine builds the table, later engines share it.
  static const IncomeKindRow* incomeKindTable;
  static void buildIncomeKindTable();

  // Joint filing as the state layer counts it: the allocation routines and
  // the owner totals take none, joint and the generic joint code; the name
  // copies and the summaries' spouse columns take none and joint only.
  static bool isJointFiling(uint16_t filingStatus);
  static bool isJointOrNone(uint16_t filingStatus);

  // Fills one copy of the state allocation form (state form 18) from the
  // federal return and the host's wage services: names, federal and state
  // wages, federal amounts, every income kind with its taxpayer and spouse
  // parts, and the choice of this pull := `residencyChoice` (a
  // ResidencyChoice). A full-year resident gets calculated, protected parts; the others enter
  // them and the pull only caps them (resetting them to 0 first when the
  // choice changed since the last pull).
  void pullFederalWages(TaxFormPtr copy, FormId infoForm, uint16_t filingStatus, int residencyChoice,
                        int nameFlag);
  // Divides amount F between taxpayer part T and spouse part S (the field
  // after T) by `splitRule` (a SplitRule) for the residency choice.
  void applySplitRule(TaxFormPtr copy, int residencyChoice, bool changed, FieldId amountField,
                      FieldId taxpayerField, uint8_t splitRule, uint16_t filingStatus);
  // The federal amounts of the pull: a1, a2 (codes 18, 20), a3, a4 (codes
  // 71, 72; a4 joint only), a5 (code 14, plus 15 when joint), a6 and a7
  // (the federal return form's taxpayer and, joint only, spouse lines).
  void collectFederalAmounts(uint16_t filingStatus, double& a1, double& a2, double& a3, double& a4,
                             double& a5, double& a6, double& a7);

  // Interest and dividend lines of an allocation copy from all copies of
  // state forms 16 and 17: the amounts for a full-year resident, the
  // allocated parts for a part-year resident, nothing for other choices.
  void pullInterestDividendAmounts(TaxFormPtr copy, int residencyChoice, uint16_t filingStatus);
  // The allocation copy's total lines and federal total income, then the data-entered
  // mark of copy 1 and the copy's calculated mark.
  void totalStateAllocationForm(TaxFormPtr copy);

  // ---- Interest and dividend summary (records, display lines, forms) ----

  // Records (int_div_records.cc). computeIntDivSummary lists every federal
  // interest source (forms 166, 51, 89) on the interest summary and every
  // dividend source (164, 51, 89) on the dividend summary, one record group
  // per source copy with an amount, opening further summary copies as they
  // fill; records left over from an earlier, longer list are emptied. It
  // calculates the information form first and the allocation form last.
  void computeIntDivSummary(int recalcCopies, FormId infoForm, FormId allocationForm, FormId interestForm,
                            FieldId interestFirstRecord, FormId dividendForm, FieldId dividendFirstRecord);
  // Split routines (int_div_sources.cc): one federal copy into the kinds (0 when
  // the copy is missing). Forms 166 and 164 hold hundredths; 51 and 89
  // whole dollars. The 166/164 routines read their own form whatever
  // `source` says; the 51/89 routines read `source` and give 0 for any
  // other form.
  void readForm166Interest(FormId source, uint16_t copy, IntDivSourceAmounts* amounts);
  void readForm164Dividends(FormId source, uint16_t copy, IntDivSourceAmounts* amounts);
  void readForm51Or89Interest(FormId source, uint16_t copy, IntDivSourceAmounts* amounts);
  void readForm51Or89Dividends(FormId source, uint16_t copy, IntDivSourceAmounts* amounts);
  // Writes the detail records of one group after its header (at
  // `position`) and leaves `position` on the record after the group.
  void writeSourceRecords(TaxFormPtr summaryCopy, DataMgmt::OVFieldIDIter& position, const char* description,
                          const FormId& source, uint16_t copy, double regular, double usObligations,
                          double exemptTotal, double inState, double outOfState, bool isDividend);
  // Moves to the first record of the next summary copy when a group of
  // `lineCount` records does not fit into the rest of the current one,
  // emptying that rest (and calculating the copy when asked).
  void reserveRecordLines(FormId summaryForm, uint16_t& copy, DataMgmt::OVFieldIDIter& position,
                          FieldId firstRecord, short lineCount, bool recalcCopies);
  // Empties the records from `position` on, through the last summary copy.
  // `currentCopy` (copy `copy`, may be empty) is calculated when asked.
  void clearRemainingRecords(TaxFormPtr currentCopy, FormId summaryForm, uint16_t copy, FieldId position,
                             FieldId firstRecord, bool recalcCopies);

  // Display lines and records (int_div_display.cc). Non-empty description,
  // source above 0, copy other than 0 and line type 1-9 replace the stored
  // parts; a state form as source and a line type of 10 or more throw
  // OrvaneException. The description is cut so the text fits the record.
  void setIntDivInfo(TaxFormPtr summaryCopy, const FieldId& recordField, const char* description,
                     FormId source, uint16_t copy, int lineType);
  // The parts of a record; empty parts for a text without separators.
  // `description` holds kIntDivDescriptionSize bytes.
  void getIntDivInfo(TaxFormPtr summaryCopy, const FieldId& recordField, char* description, FormId& source,
                     uint16_t* copy, int* lineType);
  // Fills the display line at `line` (its label field) for one record and
  // moves `line` past it; line types 0 and above 9 empty it and stay.
  void fillDisplayLine(TaxFormPtr summaryCopy, const FormId& summaryForm, uint16_t copy,
                       DataMgmt::OVFieldIDIter& line, int lineType, const char* label, double amount,
                       double regular, double usObligations, double inStateLimit, double inState,
                       double outOfState, int residencyChoice, int protectAmounts, int owner,
                       uint16_t filingStatus);
  // Empties a display line's owner, header amount and column fields, the
  // label when asked, and protects and empties the amounts when asked.
  void clearDisplayLine(TaxFormPtr summaryCopy, const FieldId& lineStart, bool clearLabel, bool protectAmounts);

  // Summary forms (int_div_forms.cc): one copy of state form 16 or 17 from
  // its records, with per-person summary rows and allocated parts.
  void computeInterestSummaryForm(TaxFormPtr summaryCopy, uint16_t copy, int passOn, FormId infoForm,
                                  uint16_t filingStatus, int nameFlag, int residencyChoice);
  void computeDividendSummaryForm(TaxFormPtr summaryCopy, uint16_t copy, int passOn, FormId infoForm,
                                  uint16_t filingStatus, int nameFlag, int residencyChoice);

 private:
  // The calculation both summary forms share; the interest summary also
  // writes the federal form 3 part.
  void computeSummaryForm(const IntDivSummary& summary, bool withForm3Part,
                          TaxFormPtr summaryCopy, uint16_t copy, FormId infoForm,
                          uint16_t filingStatus, int nameFlag, int residencyChoice);

 public:

  // ---- Test data (testing/) ----

  // Loads a text file of "FORM:copy:FIELD:value" lines into the return.
  void loadInputTextFile(const std::string& path, DataMgmt::TaxReturn* taxReturn) override;
  // Sets one field from a text, whatever its kind; with `onlyWithData` a
  // field holding no significant value is left alone.
  virtual void assignFieldFromText(const FormId& formId, uint16_t copy, const FieldId& field,
                                   const std::string& value, DataMgmt::TaxReturn* taxReturn,
                                   bool onlyWithData);
  // Field relations: set inputs, recalculate, record the outputs. Sets
  // relationResultsWritten.
  virtual void loadInputXmlFile(const std::string& formsAffectedPath, const std::string& relationsPath,
                                const std::string& resultsPath, DataMgmt::TaxReturn* taxReturn,
                                const FormId& boxForm, const FieldId& inProgressBox);
  virtual void applyRelations(XmlDom::XmlNodePtr node, FormNameMap& formNames, FieldNameMap& fieldNames,
                              std::vector<FieldRelation>& inputs, std::vector<FieldRelation>& outputs,
                              std::ostream& results, DataMgmt::TaxReturn* taxReturn,
                              const FormId& boxForm, const FieldId& inProgressBox);
  virtual void applyNodeList(XmlDom::XmlNodePtr node, FormNameMap& formNames, FieldNameMap& fieldNames,
                             std::vector<FieldRelation>& inputs, std::vector<FieldRelation>& outputs,
                             std::ostream& results, DataMgmt::TaxReturn* taxReturn,
                             const FormId& boxForm, const FieldId& inProgressBox);
  // The named attribute's value; "" when it is not there.
  virtual std::string getAttributeValue(XmlDom::XmlNamedNodeMapPtr attributes, const std::string& name);
  // Loads lines of "FORM:copy:FIELD:value" already read from a file, as
  // loadInputTextFile loads its file's.
  void loadInputLines(const std::vector<std::string>& lines, DataMgmt::TaxReturn* taxReturn) override;

  // ---- Automated-test hooks (testing/auto_test_hooks.cc, testing/field_groups.cc,
  //      testing/return_dumps.cc) ----

  // The scrubber and cycle-daemon hooks that the state's driver runs at the
  // end of a whole-return calculation when the host allows automated tests:
  // the state abbreviation, the state return, the form holding the two
  // coordination boxes (on its copy 1), its done box and its in-progress
  // box. Each reads its clear file and the options file in the host's
  // automated-test directory; a hook stops while the done box is marked and
  // skips its work while the in-progress box is.
  void runScrubberAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn, FormId formId,
                           FieldId doneBox, FieldId inProgressBox);
  void runCycleDaemonAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn, FormId formId,
                              FieldId doneBox, FieldId inProgressBox);
  // Unmark the done box; the scrubber's also rewrites its clear file to
  // CLEAR "No" (the cycle daemon's clear file is left as it is).
  void clearScrubberFlag(const std::string& prefix, DataMgmt::TaxReturn* taxReturn, FormId formId,
                         FieldId doneBox);
  void clearCycleDaemonFlag(const std::string& prefix, DataMgmt::TaxReturn* taxReturn, FormId formId,
                            FieldId doneBox);
  // Gives the fields that the prefix's FIELDGROUP of the field-group file
  // names new values, only where they already hold data, then marks the
  // done box. The in-progress box is not used.
  void scrubInputFields(const std::string& prefix, const std::string& path,
                        DataMgmt::TaxReturn* taxReturn, FormId formId, FieldId doneBox,
                        FieldId inProgressBox);
  // The field-group walk: collects into `refs`, in document order, the
  // FIELDREFs outside any group and those of the FIELDGROUPs whose ENTITY
  // is exactly `entity`; each such group first empties the list, so the
  // last one wins.
  void walkFieldGroups(XmlDom::XmlNodePtr node, const std::string& entity, FieldGroupRefList& refs);
  void walkFieldGroupNodeList(XmlDom::XmlNodePtr node, const std::string& entity,
                              FieldGroupRefList& refs);
  // The cycle daemon's XML dump of the engine's return after a
  // recalculation, into directory + "\\" + return name + ".xml" (the
  // backslash is this host's "/"); marks the done box. The prefix is not
  // used.
  void writeReturnXmlDump(const std::string& prefix, const std::string& directory,
                          DataMgmt::TaxReturn* taxReturn, FormId formId, FieldId doneBox,
                          FieldId inProgressBox);

 protected:
  DataMgmt::USTaxReturn* federalReturn;         // borrowed
  StateDataMgmt::StateTaxReturn* stateReturn;   // borrowed; null when not a state return
  Primitives::OVImmutableFormIdentifier stateForm2;  // kFormID_State2
  Primitives::OVImmutableFormIdentifier stateForm3;  // kFormID_State3
  Primitives::OVImmutableFormIdentifier stateForm4;  // kFormID_State4
  // Whether the last loadInputXmlFile read its relations file and wrote
  // every result line; the automated-test driver marks its done box only
  // then.
  bool relationResultsWritten = false;

  // Interest and dividend summary: the display-line layout and the
  // taxpayer/spouse totals of summary columns 1 to 4 (ownerTotals[2k] and
  // [2k + 1] for column k + 1). Both are set by the summary calculation at
  // its start and mean something only during it.
  DisplayLineOffsets DisplayLineLayout = {};
  double ownerTotals[8] = {};

 private:
  // A filer name copyNameText built, with the version of the form it was
  // read from: it stands while the version does. A pass copies the same
  // names onto dozens of forms; each pass starts with none.
  struct BuiltName {
    int form;
    bool stateForm;
    short whose;
    Utils::DISPLAY_NAME mode;
    std::pair<unsigned long, unsigned long> version;
    std::string name;
  };
  std::vector<BuiltName> builtNames;
  // buildFilerName into `out`, or the name built before while its form's
  // version stands.
  void filerName(char* out, FormId formId, short whose, Utils::DISPLAY_NAME mode);
};

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_STATE_TAX_RETURN_CALC_ENGINE_H_
