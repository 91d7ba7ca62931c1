// PACalculationMgmt::PATaxReturnCalcEngine: the Pennsylvania calculation
// engine.
//
// The host creates it through createCalcEngineInstance and deletes it
// through its virtual destructor. Everything but the PA return pointer is
// held by the state layer; the PA return is borrowed (the host keeps it
// alive while the engine lives) and null when the state return handed to
// the factory is not a PA return.
#ifndef CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
#define CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_

#include <vector>

#include "calc/pa/copy_scan_cache.h"
#include "calc/pa/federal_w2_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "return/pa_tax_return.h"

namespace PACalculationMgmt {

class PATaxReturnCalcEngine : public StateCalculationMgmt::StateTaxReturnCalcEngine {
 public:
  // The printer argument is released before the constructor returns.
  PATaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, PADataMgmt::PATaxReturn* paReturn,
                        TaxFormPrintMgmt::TaxFormPrinterPtr printer);
  ~PATaxReturnCalcEngine() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

  // ---- Driver, dispatch, category routers and hooks (driver.cc, dispatch.cc) ----

  // The state engine's operations.
  // Brings the PA copies into line with the federal return (interest and
  // dividend summary, miscellaneous-compensation source rows, PA W-2,
  // Schedule C and E copies, Schedule D worksheet links), makes sure the
  // fixed forms exist, calculates every form in the fixed order and, when
  // the host allows automated tests, runs the test hooks (driver.cc).
  void calcStateReturn() override;
  // Routes one copy to its calculation (dispatch.cc); a form without a
  // route is not calculated. markDataEntered marks the copy data-entered
  // whether or not it was routed.
  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override;
  // calcStateForm twice in succession (without the data-entered mark), so
  // that the second run sees what the first wrote (dispatch.cc). When the
  // first run changed nothing in either return the second is left out: it
  // would change nothing either.
  void calcStateFormTwice(const DataMgmt::FormId& formId, uint16_t copy, int passOn, DataMgmt::TaxFormPtr form);
  // kFormID_PA40.
  DataMgmt::FormId getStateReturnFormId() override;
  // The federal return form in use, as the PA return reads it.
  DataMgmt::FormId getFederalReturnFormId() override;
  // The PA return's filing status: 1, 2 (joint) or 3.
  uint8_t getFilingStatus() override;
  // Category routers: each sends the forms of its category to their
  // calculations and does nothing for any other form. The reserved ones
  // have no forms.
  void calcCommonStateForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                            int passOn) override;
  void calcBusinessForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                         int passOn) override;
  void calcReservedForms1(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms2(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms3(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms4(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms5(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcReservedForms6(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcRentalForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                       int passOn) override;
  void calcReturnForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                       int passOn) override;
  void calcEstimatedTaxForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                             int passOn) override;
  void calcReservedForms7(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                          int passOn) override;
  void calcEmployeeExpenseAndLocalForms(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form,
                                        uint16_t copy, int passOn) override;
  void calcTaxForgivenessForm(const DataMgmt::FormId& formId, DataMgmt::TaxFormPtr form, uint16_t copy,
                              int passOn) override;
  // Nothing to do before the whole-return calculation.
  void preCalc() override;
  // Fills copy 1 of the host's state-summary form from the PA-40 and the
  // information form (summary_hooks.cc).
  void postCalc() override;
  // The PA automated-test driver; the calculation does not depend on it.
  void runAutoTest();

  // ---- Automated-test writers (testing/auto_test_hooks.cc, testing/return_dumps.cc,
  //      testing/field_name_lists.cc) ----
  // They work on the PA return; the done and in-progress boxes are
  // PAReturnInfo::kAutoTestDoneBox and kAutoTestInProgressBox of copy 1 of
  // the PA information form. Each writer marks the done box when its file
  // is finished (or could not be written).

  // Unmarks the done box and rewrites the PA clear file to CLEAR "No".
  void clearAutoTestFlag();
  // XML dumps of the return after a recalculation, into directory + "/" +
  // return name + ".xml": every non-empty field with its id, name, line and
  // value (writeFieldValuesXml, after calcStateReturn), or with its name
  // and value only (writeAllFieldsXml, after calcReturn).
  void writeFieldValuesXml(const std::string& directory);
  void writeAllFieldsXml(const std::string& directory);
  // The symbolic names of every field of every form (display order), or of
  // the form whose developer name is `formName` (any case; an unknown name
  // gives an empty list), one a line, into directory + "/" + fileName.
  void writeAllFieldNames(const std::string& fileName, const std::string& directory);
  void writeFormFieldNames(const std::string& formName, const std::string& fileName,
                           const std::string& directory);
  // Every form of the PA return's description by upper-cased developer
  // name, and every field of those forms by symbolic name.
  void buildAutoTestNameMaps(StateCalculationMgmt::FormNameMap& formNames,
                             StateCalculationMgmt::FieldNameMap& fieldNames);

  // ---- Per-form calculations of the schedules and worksheets (schedules/) ----
  // One copy of each schedule or worksheet; the copy number and passOn as
  // calcForm hands them on. Each releases its form share before returning.

  // ---- Interest and dividend worksheet (schedules/int_div_worksheet*.cc) ----
  void computeInterestDividendWorksheet(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- Schedules A, B, D and J (schedules/) ----
  void computeScheduleA(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleB(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleD(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleJ(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- W-2G income, Schedule OC and Schedule G-L (schedules/) ----
  void computeW2GIncome(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleOC(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleGL(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- Deductions schedule and Schedule W2-S (schedules/) ----
  void computeDeductions(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleW2S(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- Estimated tax worksheet, payment voucher, direct deposit and debit (schedules/) ----
  void computeEstimatedTaxWorksheet(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeEstimatedVouchers(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeDirectDepositDebit(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- Local Income Tax Return and Schedule UE (schedules/) ----
  void computeLocalIncomeTaxReturn(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  void computeScheduleUE(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // ---- Schedule SP, its forgiveness table and dependents (schedules/) ----
  // Special tax forgiveness (state form 172): eligibility, income, the
  // forgiveness percentage and the forgiven tax (schedule_sp*.cc).
  void computeScheduleSP(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Part B rows of Schedule SP from the federal dependents that count as
  // children, in copy order; unused rows are nulled. Nothing is done when
  // the federal return holds no dependents copy numbered
  // firstDependentCopy or above (schedule_sp_dependents.cc).
  void fillScheduleSPDependents(DataMgmt::TaxFormPtr form, uint16_t firstDependentCopy, int passOn);

  // ---- PA W-2 wage list and Schedule E ----

  // One copy k of the PA W-2 wage list (state form 179): one row per
  // qualifying federal W-2 among federal copies 18k-17 .. 18k, PA wages and
  // tax by residency, per-person totals, other-state and reciprocal-state
  // flags (pa_w2.cc). passOn is not used.
  void computePAW2(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Ahead of copy 1's first run in a calculation: calculateOtherPAW2Copies
  // (pa_w2.cc).
  void calculateOtherPAW2CopiesOnce();
  // The PA W-2 copies after the first that this calculation has not
  // calculated yet, from the highest down (pa_w2.cc): each copy is
  // calculated once a calculation. The driver's PA W-2 step calculates
  // those made since copy 1 first ran.
  void calculateOtherPAW2Copies();
  // Whether a federal W-2 that takes a PA W-2 row reports another state's
  // wages or tax (pa_w2.cc): worked out from the W-2s themselves, as the
  // PA W-2 copies count them, so that Schedule W2-S's box says it before
  // the order has calculated the copies. Both read the W-2s' figures from
  // one table, so each W-2 is read once a calculation.
  bool anyListedW2WithOtherStateAmounts();
  // One copy of PA Schedule E (state form 174), filled from the federal
  // Schedule E or farm-rental copy the driver linked it to (schedules/schedule_e.cc).
  // passOn is not used.
  void computeScheduleE(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Empties what a PA Schedule E copy keeps of the federal source it stood
  // for, once the driver links it to another one: the property's address
  // and the marks that only a federal Schedule E writes
  // (schedules/schedule_e.cc).
  static void takeScheduleEAfresh(DataMgmt::TaxForm& form);
  // Leaves a PA Schedule E copy that no federal source stands for any more
  // as a copy the user fills: what the user entered stays (the property's
  // description, the answers and the filer-level amounts), open; the rest
  // goes (schedules/schedule_e.cc).
  static void leaveScheduleEUnlinked(DataMgmt::TaxForm& form);

  // ---- PA information form ----

  // One copy of the information form (state form 168): residency, filing
  // status, deceased-filer dates, county and school code, the answers that
  // follow a box, the federal lines and the withholding summary; also
  // calculates copy 1 of the PA-40, state form 171 and Schedule D first
  // (return_info.cc). passOn is not used.
  void computeReturnInfo(DataMgmt::TaxFormPtr info, uint16_t copy, int passOn);
  // Its three steps, in this order. Rules 1-11, the filers: federal lines,
  // residency, federal and PA filing status, the forms read back (copy 1
  // of the PA-40, state form 171 and Schedule D), the spouse number and
  // deceased filers.
  void computeReturnInfoFilers(DataMgmt::TaxFormPtr info, uint16_t copy);
  // Rules 12-25, the payments: answers, prior-year credit and estimated
  // payments, extension, county and school code, tax withheld, direct
  // deposit and debit.
  void computeReturnInfoPayments(DataMgmt::TaxFormPtr info);
  // Rules 26-33, the records: federal forms present, return form number and
  // filing status, version stamp, synced fields, the nonresident pair, the
  // identity option groups, and the copy's data-entered and calculated
  // marks.
  void computeReturnInfoRecords(DataMgmt::TaxFormPtr info, uint16_t copy);

  // The information-form field routines (return_info_fields.cc; the box
  // routines fillOptionCheckBoxes, fillMarkedText and fillOptionGroups in
  // return_info_options.cc). Fields whose number is 0 or less are skipped;
  // a missing copy is nothing to do.

  // Federal-return-type boxes x1/x55/x87, the federal name and address lines
  // into `lines` (line codes 1-15), the federal care-of line into `d`, and
  // the ten name fields of copy 1 of `stateForm`.
  void fillFederalReturnTypeFields(DataMgmt::TaxFormPtr form, DataMgmt::FormId fedForm,
                                   DataMgmt::FormId stateForm, const DataMgmt::FieldId (&lines)[15],
                                   DataMgmt::FieldId d, DataMgmt::FieldId x1, DataMgmt::FieldId x55,
                                   DataMgmt::FieldId x87);
  // The federal main return the filer uses, by the marks of federal form
  // 104 (form 1 when that form is missing).
  DataMgmt::FormId findFederalReturnFormInUse();
  // 1 full-year resident, 2 part-year, 3 nonresident of this state
  // (FilerResidencyCode, return_info_view.h) for the taxpayer (whose 0) or
  // spouse (any other), from the federal residency rows, else from the
  // home-address state line.
  int getFilerResidencyCode(short whose);
  // The text of `field` on the first copy of federal form 32783 that
  // belongs to this state, into `out` (kSummaryTextSize bytes); empty when
  // no copy does. Returns `out`.
  char* findFormByAbbreviation(char* out, const DataMgmt::FieldId& field);
  static const int kSummaryTextSize = 128;
  // Keeps s (copy 1 of stateForm) and f (copy 1 of fedForm) in step, with
  // k (copy 1 of agreedForm) holding the value they last agreed on.
  void copyAndProtectFields(DataMgmt::FormId stateForm, DataMgmt::FieldId s, DataMgmt::FormId fedForm,
                            DataMgmt::FieldId f, DataMgmt::FormId agreedForm, DataMgmt::FieldId k);
  // Option boxes p1, p2, p12, the box p3 and the fields p4-p11 that follow
  // them, from federal form 92. The defaults from federal form 92 are taken
  // while none of p1, p2, p12 is marked; a marked box is the user's.
  void fillOptionCheckBoxes(DataMgmt::TaxFormPtr form, DataMgmt::FieldId p1, DataMgmt::FieldId p2,
                            DataMgmt::FieldId p3, DataMgmt::FieldId p4, DataMgmt::FieldId p5,
                            DataMgmt::FieldId p6, DataMgmt::FieldId p7, DataMgmt::FieldId p8,
                            DataMgmt::FieldId p9, DataMgmt::FieldId p10, DataMgmt::FieldId p11,
                            DataMgmt::FieldId p12);
  // The box q3, texts and boxes q4-q11 that follow box q1, from federal
  // form 183.
  void fillMarkedText(DataMgmt::TaxFormPtr form, DataMgmt::FieldId q1, DataMgmt::FieldId q2,
                      DataMgmt::FieldId q3, DataMgmt::FieldId q4, DataMgmt::FieldId q5,
                      DataMgmt::FieldId q6, DataMgmt::FieldId q7, DataMgmt::FieldId q8,
                      DataMgmt::FieldId q9, DataMgmt::FieldId q10, DataMgmt::FieldId q11);
  // The taxpayer's (g1-g9) and spouse's (g10-g18) option groups, from
  // federal form 92; groups[0] is g1.
  void fillOptionGroups(DataMgmt::TaxFormPtr form, const DataMgmt::FieldId (&groups)[18]);
  // This state's withholding rows of federal form 190: t1 the first block's
  // total, twelve slots a1-a12 (each with the field before it) from the
  // second block, t2 their total, t3 = t1 + t2.
  void sumFieldsByAbbreviation(DataMgmt::TaxFormPtr form, DataMgmt::FieldId t1, DataMgmt::FieldId t2,
                               DataMgmt::FieldId t3, const DataMgmt::FieldId (&slots)[12]);

  // ---- Schedule D sales worksheet and Schedule C ----

  // One copy of the Schedule D sales worksheet (state form 181): the twelve
  // rows linked to federal sale records, the three hand rows, the owner
  // totals with the split of joint gains (schedules/schedule_d_worksheet.cc). passOn is
  // not used.
  void computeScheduleDWorksheet(DataMgmt::TaxFormPtr worksheet, uint16_t copy, int passOn);
  // Rewrites the owner code of `field` as one letter: "T" unless the filing
  // status is 2 (joint), then "J", "S" or "T" from its first character,
  // "J" for anything else. A "T" written where the user had entered no
  // code is protected and goes on a joint return.
  void normalizeOwnerText(DataMgmt::TaxFormPtr form, const Primitives::OVImmutableIdentifier& field,
                          uint8_t filingStatus);
  // One copy of PA Schedule C from the matching federal Schedule C copy
  // (schedules/schedule_c.cc). passOn is not used.
  void computeScheduleC(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Empties what a PA Schedule C copy keeps of the federal copy it stood
  // for, once the driver links it to another one: the texts and amounts
  // filled in from the federal lines that the calculation leaves as they
  // are once filled (schedules/schedule_c.cc).
  static void takeScheduleCAfresh(DataMgmt::TaxForm& form);

  // ---- Miscellaneous-compensation worksheet ----

  // One copy of the miscellaneous-compensation worksheet (state form 187):
  // fills each row from the federal copy its source reference names, keeps
  // or caps what the user typed in the open columns, totals the rows by
  // person and counts the rows in need of attention
  // (schedules/misc_comp_worksheet.cc). passOn is not used.
  void computeMiscCompWorksheet(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Writes a source reference ("form/copy", for form 57 "57/kind") into the
  // next worksheet row for every qualifying copy of sourceForm (federal
  // 1099-MISC, 1099-R or form 57). *rowCounter is the running row number,
  // shared by all calls of one rebuild; kind is 1 or 2 for form 57 and 0
  // otherwise (schedules/misc_comp_sources.cc).
  void addMiscCompSourceRows(DataMgmt::FormId sourceForm, int* rowCounter, int kind);
  // The worksheet's source rows made afresh before the calculation order
  // runs: every reference emptied, then one row for each federal 1099-MISC,
  // 1099-R and form-57 amount, in that order; a row that comes to stand
  // for another source (or none) is emptied, so that it keeps nothing of
  // the one before.
  void rebuildMiscCompSourceRows();

  // ---- PA-40: income classes, tax and use tax ----

  // The PA-40 (state form 169, one copy): header, income classes and tax,
  // credits and payments, use tax, balance and refund, in that order; each
  // section reads what the sections before it wrote (pa40.cc). Marks the
  // copy data-entered and printable at its end. passOn is not used.
  void computePA40(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);
  // Sections of computePA40 on the PA-40 copy `form` (pa40.cc,
  // pa40_income.cc, pa40_use_tax.cc); `copy` is the call's copy number.
  void computePA40Compensation(DataMgmt::TaxFormPtr form);
  void computePA40InterestDividends(DataMgmt::TaxFormPtr form);
  void computePA40BusinessIncome(DataMgmt::TaxFormPtr form);
  void computePA40SalesGain(DataMgmt::TaxFormPtr form);
  void computePA40Rents(DataMgmt::TaxFormPtr form);
  void computePA40TaxableIncome(DataMgmt::TaxFormPtr form, uint16_t copy);
  void computePA40UseTax(DataMgmt::TaxFormPtr form);
  // The county's use tax rate in percent and the estimated use tax for a
  // gross taxable income; the county text is compared whole and exactly
  // ("Allegheny", "Philadelphia", anything else) (pa40_use_tax.cc).
  static double useTaxRate(const char* county);
  static double estimatedUseTax(double grossTaxableIncome, const char* county);

  // ---- PA-40: credits, payments, balance, header and text fields; identity helpers ----

  // Sections of computePA40 (the PA-40 copy `form`, copy number `copy`);
  // each reads the return as the earlier sections left it.
  // First section: filing status letter, deceased and residency codes with
  // their dates, question texts, names and numbers, address, full name line,
  // telephone and school district (pa40_header.cc).
  void computePA40Header(DataMgmt::TaxFormPtr form, uint16_t copy);
  // After the PA tax: amended additions, payments, tax forgiveness, resident
  // and other credits, total payments and credits (pa40_credits.cc).
  void computePA40Credits(DataMgmt::TaxFormPtr form, uint16_t copy);
  // After the use tax: penalty, tax due, amount owed, overpayment, refund
  // designations and refund, amended clearing and the payment voucher
  // (pa40_credits.cc).
  void computePA40Balance(DataMgmt::TaxFormPtr form, uint16_t copy);
  // Last section before the end: the two no-entry items (pa40_header.cc).
  void computePA40NoEntryItems(DataMgmt::TaxFormPtr form, uint16_t copy);

  // The identity answers getStateReturnFormId, getFederalReturnFormId and
  // getFilingStatus, declared with the state engine's operations above,
  // are answered in engine_helpers.cc.

  // Federal W-2 copies marked as the taxpayer's (first box) or the
  // spouse's (second box) whose employer name is filled in
  // (engine_helpers.cc).
  uint16_t countW2CopiesMarkedFirstBox();
  uint16_t countW2CopiesMarkedSecondBox();
  // Copies the text of `sourceField` of the information form's copy 1 into
  // `targetField` of `target`, uncut.
  void copyInfoTextToField(const Primitives::OVImmutableIdentifier& sourceField, DataMgmt::TaxFormPtr target,
                           const Primitives::OVImmutableIdentifier& targetField);
  // Name texts from two information-form fields ("first initial", "last
  // suffix"), cut to the target field's maximum length: 1 the taxpayer's
  // first name and initial, 2 the taxpayer's last name and suffix, 3 and 4
  // the same for the spouse. `targetForm` names the target's form.
  void composeInfoPairText1(DataMgmt::TaxFormPtr target, const DataMgmt::FormId& targetForm,
                            const Primitives::OVImmutableIdentifier& targetField);
  void composeInfoPairText2(DataMgmt::TaxFormPtr target, const DataMgmt::FormId& targetForm,
                            const Primitives::OVImmutableIdentifier& targetField);
  void composeInfoPairText3(DataMgmt::TaxFormPtr target, const DataMgmt::FormId& targetForm,
                            const Primitives::OVImmutableIdentifier& targetField);
  void composeInfoPairText4(DataMgmt::TaxFormPtr target, const DataMgmt::FormId& targetForm,
                            const Primitives::OVImmutableIdentifier& targetField);

  // One copy of the state allocation form (state form 18): records the
  // residency choice on the information form, then pulls the interest and
  // dividend lines, the federal wages and income kinds, and totals the copy
  // (state_allocation_form.cc). The copy number and passOn are not used.
  void computeStateAllocationForm(DataMgmt::TaxFormPtr form, uint16_t copy, int passOn);

  // Loops over every copy of a form, kept within one calculation (the
  // schedule and form parts outside the engine keep theirs here too).
  CopyScanCache& copyScanCache() { return copyScans; }

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed

  // The record of the PA W-2 rows a whole-return calculation fills
  // (paW2RowsFilled), started as the calculation starts and dropped as it
  // ends: a form the host calculates alone keeps none and refills none.
  void startPAW2RowRecord();
  void dropPAW2RowRecord() { paW2RowsFilled.clear(); }

 private:
  // Loops over every copy of a form, kept within one calculation.
  CopyScanCache copyScans;
  // The federal W-2s' figures, read once a calculation for the PA W-2
  // copies and Schedule W2-S's other-state box.
  FederalW2Table federalW2s;
  // Whether PA W-2 copy 1 has had the other copies calculated ahead of it
  // in this calculation (its carry of the withholding's rounding adds up
  // their rows as this calculation lists them).
  bool otherPAW2CopiesCalculated = false;
  // The PA W-2 copies after the first that this calculation has
  // calculated, by copy number.
  std::vector<bool> paW2CopiesCalculated;
  // The rows of PA W-2 copy 1 whose tax this calculation wrote, by row: a
  // row the preparer may type over, filled while empty on the copy's first
  // run, is filled again on the later ones, so that the carry of the
  // withholding's rounding, which adds up the compensation worksheet's
  // rows as the calculation writes them after that first run, lands on
  // the figure the calculation filled, as it does when the row is empty
  // from the start. Empty, and not kept, outside a whole-return
  // calculation.
  std::vector<bool> paW2RowsFilled;
  // True while a PA-40 run comes ahead of figures it reads: the information
  // form's early run and every run of the whole-return order but the last.
  // Such a run works with the limits of the moment but leaves what the user
  // typed into the PA-40's limited entries as typed (pa40.cc); only a final
  // run caps or clears them.
  bool provisionalPA40Run = false;
  // Sets provisionalPA40Run for its lifetime, then puts the old value back.
  class ProvisionalPA40Scope {
   public:
    ProvisionalPA40Scope(PATaxReturnCalcEngine& engine, bool provisional)
        : flag_(engine.provisionalPA40Run), saved_(flag_) {
      flag_ = provisional;
    }
    ~ProvisionalPA40Scope() { flag_ = saved_; }
    ProvisionalPA40Scope(const ProvisionalPA40Scope&) = delete;
    ProvisionalPA40Scope& operator=(const ProvisionalPA40Scope&) = delete;

   private:
    bool& flag_;
    bool saved_;
  };
};

}  // namespace PACalculationMgmt

#endif  // CALC_PA_PA_TAX_RETURN_CALC_ENGINE_H_
