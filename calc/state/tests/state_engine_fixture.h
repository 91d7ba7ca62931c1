// A federal return, a PA return and a PA engine over them, built the way
// the host builds them, with helpers to write and read fixture values.
//
// The engine is a probe: it records the per-form dispatch and the hooks
// around the whole-return driver instead of calculating, so the state
// layer's own operations can be watched; while `routeSummaries` is set it
// routes the interest and dividend summaries (state forms 16 and 17) to
// their calculations.
#ifndef CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_
#define CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/federal_line_table.h"
#include "calc/state/int_div_display.h"
#include "calc/state/int_div_records.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

using StateCalculationMgmt::kChoiceFullYearResident;
using StateCalculationMgmt::kChoiceNonresident;
using StateCalculationMgmt::kChoicePartYearAllocated;
using StateCalculationMgmt::kChoicePartYearResident;
using StateCalculationMgmt::ResidencyChoice;

// One dispatch the probe engine saw (operation "calcStateForm"), or a hook.
struct ProbeCall {
  std::string operation;
  int form = 0;
  int copy = 0;
  bool markDataEntered = false;
  int passOn = 0;
  int spare = 0;
  bool formGiven = false;  // the copy itself was handed on
};

class ProbeEngine : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  using PACalculationMgmt::PATaxReturnCalcEngine::startPAW2RowRecord;

  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override {
    calls.push_back({"calcStateForm", formId.getNumber(), copy, markDataEntered, passOn, spare,
                     !form.isNull() && form->getCopyNumber() == copy});
    if (onCalc) onCalc(formId);
    if (routeSummaries && formId == kFormID_State16) {
      computeInterestSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
    } else if (routeSummaries && formId == kFormID_State17) {
      computeDividendSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
    }
  }
  void preCalc() override { calls.push_back({"preCalc"}); }
  void calcStateReturn() override { calls.push_back({"calcStateReturn"}); }
  void postCalc() override { calls.push_back({"postCalc"}); }

  // The summaries' display-line layout, as their calculations set it.
  void useSummaryLayout(bool withOwner = true) {
    DisplayLineLayout = {StateCalculationMgmt::DisplayLineOffsets::kHasOwnerField, 0, 1, 2, 3, 4, 6};
    if (!withOwner) DisplayLineLayout.ownerColumn = 0;
    for (double& total : ownerTotals) total = 0;
  }
  double ownerTotal(int index) const { return ownerTotals[index]; }

  std::vector<ProbeCall> calls;
  // Told of each form calcStateForm is asked for, as it is asked.
  std::function<void(const DataMgmt::FormId&)> onCalc;
  bool routeSummaries = true;
  uint16_t filingStatus = 1;
  int residencyChoice = kChoiceFullYearResident;
};

class StateEngineTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;
  typedef DataMgmt::FieldValue FieldValue;

  void SetUp() override {
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new ProbeEngine(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  // Every field written belongs to its form; every number is finite.
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
  }

  // Fresh returns and engine for the next case of a table.
  void restart() {
    TearDown();
    engine.reset();
    pa.reset();
    SetUp();
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxReturn& returnOf(const FormId& form) {
    return form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
  }
  // Copy `copy` of `form` on the return of its side, created when missing.
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return returnOf(form).getFormOrCreate(form, copy);
  }
  DataMgmt::TaxForm& copyOf(const FormId& form, uint16_t copy = 1) { return *holder(form, copy); }
  void put(const FormId& form, const FieldId& field, const FieldValue& value, uint16_t copy = 1) {
    copyOf(form, copy).store(field, value);
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    put(form, field, FieldValue::mark(), copy);
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, FieldValue::of(value), copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, FieldValue::ofText(value), copy);
  }
  std::string textOf(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return returnOf(form).getFieldAsString(form, copy, field);
  }
  double valueOf(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return copyOf(form, copy).getIR(field);
  }
  bool isNull(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return copyOf(form, copy).isNull(field);
  }
  bool isProtected(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return copyOf(form, copy).isProtected(field);
  }
  // Several fields of a copy at once (a null reads 0).
  std::vector<double> values(const FormId& form, std::initializer_list<FieldId> fields, uint16_t copy = 1) {
    std::vector<double> result;
    for (const FieldId& field : fields) result.push_back(valueOf(form, field, copy));
    return result;
  }
  std::vector<bool> nulls(const FormId& form, std::initializer_list<FieldId> fields) {
    std::vector<bool> result;
    for (const FieldId& field : fields) result.push_back(isNull(form, field));
    return result;
  }

  // The information form's fields of lines 1-15, in line-code order.
  static const FieldId& line(short code) {
    static const AnyNamedField kLines[15] = {
        PAReturnInfo::kTaxpayerFirstName, PAReturnInfo::kTaxpayerMiddleInitial, PAReturnInfo::kTaxpayerLastName,
        PAReturnInfo::kTaxpayerNameSuffix, PAReturnInfo::kTaxpayerSSN, PAReturnInfo::kSpouseFirstName,
        PAReturnInfo::kSpouseMiddleInitial, PAReturnInfo::kSpouseLastName, PAReturnInfo::kSpouseNameSuffix,
        PAReturnInfo::kSpouseSSN, PAReturnInfo::kStreet, PAReturnInfo::kApartment, PAReturnInfo::kCity,
        PAReturnInfo::kStateCode, PAReturnInfo::kZipCode};
    return kLines[code - 1];
  }
  // Points lines 1-15 of the line table at the information form, as its
  // calculation does.
  static void useInformationFormLines() {
    StateCalculationMgmt::StateTaxReturnCalcEngine::buildFederalLineTable();
    for (short code = 1; code <= 15; ++code)
      StateCalculationMgmt::federalLineRow(code)->stateField = line(code);
  }

  // The information form's answers: one residency box (the others
  // cleared), joint or single.
  void setResidency(ResidencyChoice choice) {
    const FieldId boxes[] = {PAReturnInfo::kFullYearResidentBox, PAReturnInfo::kPartYearResidentBox,
                             PAReturnInfo::kNonresidentBox, PAReturnInfo::kPartYearAllocatedBox};
    for (const FieldId& box : boxes) put(kFormID_PAReturnInfo, box, FieldValue::null());
    mark(kFormID_PAReturnInfo, boxes[choice - 1]);
  }
  void setJoint(bool joint) {
    put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, joint ? FieldValue::mark() : FieldValue::null());
  }

  // ---- interest and dividend summaries ----

  // A federal source copy: amounts as the form stores them (hundredths on
  // 164 and 166), marked boxes and the payer's name.
  void source(const FormId& form, uint16_t copy, const std::vector<std::pair<FieldId, double>>& amounts,
              std::vector<FieldId> marks = {}, const std::string& name = "") {
    copyOf(form, copy);
    for (const auto& amount : amounts) number(form, amount.first, amount.second, copy);
    for (const FieldId& box : marks) mark(form, box, copy);
    if (name.empty()) return;
    const FieldId payer = form == kFormID_Fed164  ? Fed164::kPayerName.id()
                          : form == kFormID_Fed51 ? Fed51::kName.id()
                          : form == kFormID_Fed89 ? Fed89::kName.id()
                                                  : Fed166::kPayerName.id();
    text(form, payer, name, copy);
  }
  // Record k (1 to 24) of a summary copy.
  std::string record(const FormId& summary, int k, uint16_t copy = 1) {
    const FieldId field = summary == kFormID_State16 ? AnyNamedField(State16::kLineRecord, k - 1)
                                                     : AnyNamedField(State17::kLineRecord, k - 1);
    return textOf(summary, field, copy);
  }
  // Field `offset` of display line k (1 to 24) of the interest summary:
  // -1 owner, 0 label, 1 header amount, 2 column, 3 amount, 4 state amount.
  static const FieldId& lineField(int k, int offset) {
    const NamedColumn<State16FieldIds>* columns[] = {
        &State16::kDisplayLineOwner,  &State16::kDisplayLineLabel,  &State16::kDisplayLineHeaderAmount,
        &State16::kDisplayLineColumn, &State16::kDisplayLineAmount, &State16::kDisplayLineStateAmount};
    return columns[offset + 1]->at(k - 1);
  }
  void listSummaries() {
    engine->computeIntDivSummary(1, kFormID_PAReturnInfo, kFormID_State18, kFormID_State16,
                                 State16::kLineRecord.at(0), kFormID_State17, State17::kLineRecord.at(0));
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<ProbeEngine> engine;  // destroyed first
};

#endif  // CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_
