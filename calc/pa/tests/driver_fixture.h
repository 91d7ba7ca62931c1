// Fixture of the driver and dispatch tests: the state fixture's returns
// with a probe PA engine over them.
//
// The probe records the forms the driver walks (calcAllCopies, or calcForm
// for a step that calculates one copy) and every copy handed to
// calcStateForm; while `calculate` is false, it records the copy instead
// of calculating it, so the driver's own work can be watched apart from
// the per-form calculations.
#ifndef CALC_PA_TESTS_DRIVER_FIXTURE_H_
#define CALC_PA_TESTS_DRIVER_FIXTURE_H_

#include <memory>
#include <vector>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

struct FormCopyCall {
  int form;
  int copy;
  bool markDataEntered;
};

class DriverProbe : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;

  void calcAllCopies(const DataMgmt::FormId& formId) override {
    walked.push_back(formId.getNumber());
    walking = true;
    PATaxReturnCalcEngine::calcAllCopies(formId);
    walking = false;
  }
  void calcForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn, int spare,
                DataMgmt::TaxFormPtr form) override {
    if (!walking) walked.push_back(formId.getNumber());
    PATaxReturnCalcEngine::calcForm(formId, copy, markDataEntered, passOn, spare, form);
  }
  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override {
    forms.push_back({formId.getNumber(), copy, markDataEntered});
    if (!calculate) return;
    PATaxReturnCalcEngine::calcStateForm(formId, copy, markDataEntered, passOn, spare, form);
  }

  bool calculate = false;
  bool walking = false;  // within calcAllCopies
  std::vector<int> walked;
  std::vector<FormCopyCall> forms;
};

class DriverTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    engine.reset(new DriverProbe(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }

  bool exists(const FormId& form, uint16_t copy) { return returnOf(form).formExists(form, copy); }
  // Copies 1..count of a federal form.
  void federalCopies(const FormId& form, int count) {
    for (int c = 1; c <= count; ++c) holder(form, static_cast<uint16_t>(c));
  }
  void setJoint() { mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox); }

  std::unique_ptr<DriverProbe> engine;  // the probe of these tests; destroyed before the returns
};

#endif  // CALC_PA_TESTS_DRIVER_FIXTURE_H_
