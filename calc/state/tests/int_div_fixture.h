// Fixture for the interest and dividend summaries: the state engine
// fixture with an engine that routes state forms 16 and 17 to their
// calculations (every other form is only recorded), and helpers that write
// federal source copies by host field number.
#ifndef CALC_STATE_TESTS_INT_DIV_FIXTURE_H_
#define CALC_STATE_TESTS_INT_DIV_FIXTURE_H_

#include <map>
#include <string>

#include "calc/state/int_div_display.h"
#include "calc/state/int_div_records.h"
#include "calc/state/tests/state_engine_fixture.h"

class IntDivEngine : public ProbeEngine {
 public:
  using ProbeEngine::ProbeEngine;

  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool markDataEntered, int passOn,
                     int spare, DataMgmt::TaxFormPtr form) override {
    ProbeEngine::calcStateForm(formId, copy, markDataEntered, passOn, spare, form);
    if (!route) return;
    if (formId == kFormID_State16) {
      computeInterestSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
    } else if (formId == kFormID_State17) {
      computeDividendSummaryForm(form, copy, passOn, kFormID_PAReturnInfo, filingStatus, 0, residencyChoice);
    }
  }

  // The summaries' display-line layout, as their calculations set it.
  void useSummaryLayout() {
    DisplayLineLayout = {StateCalculationMgmt::DisplayLineOffsets::kHasOwnerField, 0, 1, 2, 3, 4, 6};
    for (double& total : ownerTotals) total = 0;
  }
  void useLayoutWithoutOwner() {
    useSummaryLayout();
    DisplayLineLayout.ownerColumn = 0;
  }
  double ownerTotal(int index) const { return ownerTotals[index]; }

  bool route = true;
  uint16_t filingStatus = 1;
  int residencyChoice = 1;
};

class IntDivTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    engine.reset(new IntDivEngine(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  IntDivEngine& intDiv() { return static_cast<IntDivEngine&>(*engine); }

  // Field `host` of state form 16 or 17 (member host - 1 of either catalog).
  static FieldId summaryField(int host) { return kState16FieldIds[host - 1]; }

  // A federal source copy from {host field: value} (amounts as the form
  // stores them: hundredths on 164 and 166) and marked boxes.
  void source(const FormId& form, uint16_t copy, const std::map<int, double>& amounts,
              std::initializer_list<int> marks = {}, const std::string& name = "") {
    DataMgmt::TaxForm& f = copyOf(form, copy);
    for (const auto& entry : amounts) f.store(entry.first, DataMgmt::FieldValue::of(entry.second));
    for (int box : marks) f.store(box, DataMgmt::FieldValue::mark());
    if (!name.empty()) f.store(nameField(form), DataMgmt::FieldValue::ofText(name));
  }
  static int nameField(const FormId& form) {
    if (form == kFormID_Fed164) return 5;
    if (form == kFormID_Fed51) return 5;
    return 9;  // 166, 89
  }

  // The record text of record k (1 to 24) of a summary copy.
  std::string record(const FormId& summary, int k, uint16_t copy = 1) {
    return textOf(summary, summaryField(1 + k), copy);
  }
  // Field `offset` of display line k (1 to 24): -1 owner, 0 label, 1 header
  // amount, 2 column, 3 amount, 4 state amount.
  static FieldId lineField(int k, int offset) { return summaryField(31 + 6 * (k - 1) + offset); }

  void listSummaries() {
    engine->computeIntDivSummary(1, kFormID_PAReturnInfo, kFormID_State18, kFormID_State16, summaryField(2),
                                 kFormID_State17, summaryField(2));
  }
};

#endif  // CALC_STATE_TESTS_INT_DIV_FIXTURE_H_
