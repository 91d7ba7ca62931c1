// Fixture of the PA-40 and PA schedule tests: the probe engine (it records
// the forms a routine has calculated instead of calculating them) over
// fixture returns, and helpers for copy 1 of the PA-40.
#ifndef CALC_PA_TESTS_PA40_FIXTURE_H_
#define CALC_PA_TESTS_PA40_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"
#include "return/return_codes.h"

class PA40Test : public StateEngineTest {
 protected:
  // A PADataMgmt::FilingStatus.
  void setFilingStatus(int status) {
    static const FieldId* const kBoxes[] = {&PAReturnInfo::kSingleBox.id(), &PAReturnInfo::kJointBox.id(),
                                            &PAReturnInfo::kSeparateBox.id()};
    mark(kFormID_PAReturnInfo, *kBoxes[status - PADataMgmt::kFilingSingle]);
  }
  // A PADataMgmt::Residency, by its box.
  void setResidency(int residency) {
    static const FieldId* const kBoxes[] = {&PAReturnInfo::kFullYearResidentBox.id(),
                                            &PAReturnInfo::kPartYearResidentBox.id(),
                                            &PAReturnInfo::kNonresidentBox.id()};
    mark(kFormID_PAReturnInfo, *kBoxes[residency]);
  }

  // The whole PA-40 routine on copy 1, and single sections of it.
  void run() { engine->computePA40(holder(kFormID_PA40), 1, 1); }
  void runHeader() { engine->computePA40Header(holder(kFormID_PA40), 1); }
  void runCredits() { engine->computePA40Credits(holder(kFormID_PA40), 1); }
  void runBalance() { engine->computePA40Balance(holder(kFormID_PA40), 1); }
  // Copy `copy` of any PA form calculated as the dispatch calculates it
  // (the probe only records the forms that calculation asks for).
  void compute(const FormId& form, uint16_t copy = 1) {
    engine->PACalculationMgmt::PATaxReturnCalcEngine::calcStateForm(form, copy, false, 1, 1,
                                                                   holder(form, copy));
  }
  bool closed(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return copyOf(form, copy).isNull(field) && copyOf(form, copy).isProtected(field);
  }
  // Marked data-entered and calculated.
  bool entered(const FormId& form, uint16_t copy = 1) {
    return copyOf(form, copy).isDataEntered() && copyOf(form, copy).getCalcMark();
  }
  // Calls of calcStateForm for `form` the probe saw.
  int calcCalls(const FormId& form) {
    int n = 0;
    for (const ProbeCall& call : engine->calls) {
      n += call.operation == "calcStateForm" && call.form == form.getNumber();
    }
    return n;
  }

  // Fields of PA-40 copy 1; the fixture's readers of any form stay in view.
  using StateEngineTest::isNull;
  using StateEngineTest::isProtected;
  using StateEngineTest::textOf;
  double amount(const FieldId& field) { return pa->getIR(kFormID_PA40, 1, field); }
  bool isNull(const FieldId& field) { return pa->isNull(kFormID_PA40, 1, field); }
  bool isProtected(const FieldId& field) { return copyOf(kFormID_PA40).isProtected(field); }
  bool marked(const FieldId& field) { return pa->formYes(kFormID_PA40, 1, field); }
  bool markedNo(const FieldId& field) { return pa->formNo(kFormID_PA40, 1, field); }
  std::string textOf(const FieldId& field) { return pa->getFieldAsString(kFormID_PA40, 1, field); }
  void enter(const FieldId& field, double value) { number(kFormID_PA40, field, value); }
  // Copy 1 of the information form.
  void infoText(const FieldId& field, const std::string& value) { text(kFormID_PAReturnInfo, field, value); }
  void infoMark(const FieldId& box) { mark(kFormID_PAReturnInfo, box); }

  // A PA Schedule C copy included on the return with its owner and net income.
  void scheduleC(uint16_t copy, bool spouse, double net) {
    mark(kFormID_PAScheduleC, spouse ? PAScheduleC::kSpouseBox : PAScheduleC::kTaxpayerBox, copy);
    mark(kFormID_PAScheduleC, PAScheduleC::kAllPABusinessYesBox, copy);
    number(kFormID_PAScheduleC, PAScheduleC::kNetProfit, net, copy);
  }
  // A Schedule UE copy of the taxpayer or spouse with its net amount.
  void scheduleUE(uint16_t copy, bool spouse, double net) {
    mark(kFormID_PAScheduleUE, spouse ? PAScheduleUE::kSpouseBox : PAScheduleUE::kTaxpayerBox, copy);
    number(kFormID_PAScheduleUE, PAScheduleUE::kNetExpenses, net, copy);
  }
  // A Schedule E copy with its owner box and net amount.
  void scheduleE(uint16_t copy, const FieldId& ownerBox, double net) {
    mark(kFormID_PAScheduleE, ownerBox, copy);
    number(kFormID_PAScheduleE, PAScheduleE::kPANetIncome, net, copy);
  }
  // PA compensation of one PA W-2 copy.
  void w2(uint16_t copy, double taxpayer, double spouse) {
    number(kFormID_PAW2, PAW2::kTaxpayerPACompensation, taxpayer, copy);
    number(kFormID_PAW2, PAW2::kSpousePACompensation, spouse, copy);
  }
};

#endif  // CALC_PA_TESTS_PA40_FIXTURE_H_
