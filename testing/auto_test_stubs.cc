// Placeholder automated-test hooks: each notes its call and does nothing
// else.
#include "testing/auto_test_stubs.h"

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/state_tax_return_calc_engine.h"

namespace AutoTestStubs {

std::vector<HookCall>& hookCalls() {
  static std::vector<HookCall> calls;
  return calls;
}

namespace {

void record(const HookCall& call) {
  std::vector<HookCall>& calls = hookCalls();
  if (calls.size() >= kMaxHookCalls) calls.erase(calls.begin());
  calls.push_back(call);
}

void note(const char* hook, const std::string& prefix, const DataMgmt::TaxReturn* taxReturn,
          const DataMgmt::FormId& formId, const DataMgmt::FieldId& doneBox,
          const DataMgmt::FieldId& inProgressBox) {
  HookCall call;
  call.hook = hook;
  call.prefix = prefix;
  call.taxReturn = taxReturn;
  call.form = formId.getNumber();
  call.doneBox = doneBox.getNumber();
  call.inProgressBox = inProgressBox.getNumber();
  record(call);
}

}  // namespace
}  // namespace AutoTestStubs

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::runScrubberAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn,
                                                   FormId formId, FieldId doneBox, FieldId inProgressBox) {
  AutoTestStubs::note("runScrubberAutoTest", prefix, taxReturn, formId, doneBox, inProgressBox);
}

void StateTaxReturnCalcEngine::runCycleDaemonAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn,
                                                      FormId formId, FieldId doneBox, FieldId inProgressBox) {
  AutoTestStubs::note("runCycleDaemonAutoTest", prefix, taxReturn, formId, doneBox, inProgressBox);
}

}  // namespace StateCalculationMgmt

namespace PACalculationMgmt {

void PATaxReturnCalcEngine::runAutoTest() {
  AutoTestStubs::HookCall call;
  call.hook = "runAutoTest";
  AutoTestStubs::record(call);
}

}  // namespace PACalculationMgmt
