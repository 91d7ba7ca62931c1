// A federal return, a PA return and a PA engine over them, built the way
// the host builds them, with helpers to write fixture values.
//
// The engine is a probe: it records the per-form dispatch and the hooks
// around the whole-return driver instead of calculating, so the state
// layer's own operations can be watched.
#ifndef CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_
#define CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/federal_line_table.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

// One call the probe engine saw.
struct ProbeCall {
  std::string operation;
  int form = 0;
  int copy = 0;
  bool markDataEntered = false;
  int passOn = 0;
  int spare = 0;
  bool formGiven = false;
};

class ProbeEngine : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;

  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override {
    calls.push_back({"calcStateForm", formId.getNumber(), copy, markDataEntered, passOn, spare,
                     !form.isNull() && form->getCopyNumber() == copy});
  }
  void preCalc() override { calls.push_back({"preCalc"}); }
  void calcStateReturn() override { calls.push_back({"calcStateReturn"}); }
  void postCalc() override { calls.push_back({"postCalc"}); }

  std::vector<ProbeCall> calls;
};

class StateEngineTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override {
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new ProbeEngine(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  // Every field the module or a fixture wrote belongs to its form.
  void TearDown() override { EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0); }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxReturn& returnOf(const FormId& form) {
    return form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
  }
  // Copy `copy` of `form` on the return of its side, created when missing.
  DataMgmt::TaxForm& copyOf(const FormId& form, uint16_t copy = 1) {
    return *returnOf(form).getFormOrCreate(form, copy);
  }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return returnOf(form).getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value, uint16_t copy = 1) {
    copyOf(form, copy).store(field, value);
  }
  void mark(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::mark(), copy);
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::of(value), copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::ofText(value), copy);
  }
  std::string textOf(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return returnOf(form).getFieldAsString(form, copy, field);
  }

  // Points lines 1-15 of the process-wide line table at the information
  // form's fields 31-45, as its calculation does; row 16 stays empty.
  static void useInformationFormLines() {
    StateCalculationMgmt::StateTaxReturnCalcEngine::buildFederalLineTable();
    for (short code = 1; code <= 15; ++code) {
      StateCalculationMgmt::federalLineRow(code)->stateField = kPAReturnInfoFieldIds[85 + code];
    }
  }
  // The information form's field of line `code` (1-15).
  static const FieldId& line(short code) { return kPAReturnInfoFieldIds[85 + code]; }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<ProbeEngine> engine;  // destroyed first
};

#endif  // CALC_STATE_TESTS_STATE_ENGINE_FIXTURE_H_
