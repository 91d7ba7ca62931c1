// Fixture of the driver and dispatch tests: a federal return, a PA return
// and a probe PA engine over them.
//
// The probe records the forms the driver walks (calcAllCopies) and, while
// `calculate` is false, every copy handed to calcStateForm instead of
// calculating it, so the driver's own work can be watched apart from the
// per-form calculations. With `recordRouters` it records the category
// routers calcStateForm reaches instead of running them.
#ifndef CALC_PA_TESTS_DRIVER_FIXTURE_H_
#define CALC_PA_TESTS_DRIVER_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

struct FormCopyCall {
  int form;
  int copy;
  bool markDataEntered;
};

class DriverProbe : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  typedef DataMgmt::FormId FormId;
  typedef DataMgmt::TaxFormPtr TaxFormPtr;

  void calcAllCopies(const FormId& formId) override {
    walked.push_back(formId.getNumber());
    PATaxReturnCalcEngine::calcAllCopies(formId);
  }
  void calcStateForm(const FormId& formId, uint16_t copy, bool markDataEntered, int passOn, int spare,
                     TaxFormPtr form) override {
    if (!calculate) {
      forms.push_back({formId.getNumber(), copy, markDataEntered});
      return;
    }
    PATaxReturnCalcEngine::calcStateForm(formId, copy, markDataEntered, passOn, spare, form);
  }

#define PROBE_ROUTER(name)                                                                   \
  void name(const FormId& formId, TaxFormPtr form, uint16_t copy, int passOn) override {    \
    if (recordRouters) {                                                                   \
      routers.push_back(#name);                                                            \
      return;                                                                              \
    }                                                                                      \
    PATaxReturnCalcEngine::name(formId, form, copy, passOn);                               \
  }
  PROBE_ROUTER(calcCommonStateForms)
  PROBE_ROUTER(calcBusinessForms)
  PROBE_ROUTER(calcRentalForms)
  PROBE_ROUTER(calcReturnForms)
  PROBE_ROUTER(calcEstimatedTaxForms)
  PROBE_ROUTER(calcEmployeeExpenseAndLocalForms)
  PROBE_ROUTER(calcTaxForgivenessForm)
#undef PROBE_ROUTER

  bool calculate = false;
  bool recordRouters = false;
  std::vector<int> walked;
  std::vector<FormCopyCall> forms;
  std::vector<std::string> routers;
};

class DriverTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override {
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new DriverProbe(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    for (const FormId* form : limited) pa->getTaxFormDescriptor(*form)->setMaxCopies(999);
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxReturn& returnOf(const FormId& form) {
    return form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
  }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return returnOf(form).getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value, uint16_t copy = 1) {
    holder(form, copy)->store(field, value);
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
  bool exists(const FormId& form, uint16_t copy) { return returnOf(form).formExists(form, copy); }
  // Copies 1..count of a federal form.
  void federalCopies(const FormId& form, int count) {
    for (int c = 1; c <= count; ++c) holder(form, static_cast<uint16_t>(c));
  }
  // The form's copy limit, restored after the test.
  void limitCopies(const FormId& form, uint16_t limit) {
    pa->getTaxFormDescriptor(form)->setMaxCopies(limit);
    limited.push_back(&form);
  }
  void setJoint() { mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[117]); }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<DriverProbe> engine;  // destroyed first
  std::vector<const FormId*> limited;
};

#endif  // CALC_PA_TESTS_DRIVER_FIXTURE_H_
