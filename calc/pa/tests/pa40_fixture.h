// Fixture of the PA-40 tests: the engine over fixture returns, with the
// fields named by host field number, so the tests check the member mapping
// independently of the code. The probe engine records the schedules the
// PA-40 has calculated instead of calculating them.
#ifndef CALC_PA_TESTS_PA40_FIXTURE_H_
#define CALC_PA_TESTS_PA40_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

class PA40Test : public StateEngineTest {
 protected:
  static const FieldId& pa40(int hostField) { return kPA40FieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }

  // 1 single, 2 joint, 3 separate.
  void setFilingStatus(int status) {
    static const int kBoxes[] = {55, 57, 56};
    mark(kFormID_PAReturnInfo, info(kBoxes[status - 1]));
  }
  // 0 full-year (field 46), 1 part-year (48), 2 nonresident (47).
  void setResidency(int residency) {
    static const int kBoxes[] = {46, 48, 47};
    mark(kFormID_PAReturnInfo, info(kBoxes[residency]));
  }

  // Fresh returns and engine for the next case of a table, after checking
  // the case before wrote only fields its forms have.
  void restart() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    engine.reset();
    pa.reset();
    SetUp();
  }

  // The whole PA-40 routine on copy 1.
  void run() { engine->computePA40(holder(kFormID_PA40), 1, 1); }

  // Field `hostField` of PA-40 copy 1.
  double amount(int hostField) { return pa->getIR(kFormID_PA40, 1, pa40(hostField)); }
  bool isNull(int hostField) { return pa->isNull(kFormID_PA40, 1, pa40(hostField)); }
  bool isProtected(int hostField) { return copyOf(kFormID_PA40).isProtected(pa40(hostField)); }
  bool marked(int hostField) { return pa->formYes(kFormID_PA40, 1, pa40(hostField)); }
  bool markedNo(int hostField) { return pa->formNo(kFormID_PA40, 1, pa40(hostField)); }
  std::string textOf(int hostField) { return pa->getFieldAsString(kFormID_PA40, 1, pa40(hostField)); }
  void enter(int hostField, double value) { number(kFormID_PA40, pa40(hostField), value); }

  // A PA Schedule C copy included on the return with its owner and net income.
  void scheduleC(uint16_t copy, bool spouse, double net) {
    mark(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(spouse ? 56182 : 56181), copy);
    mark(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56183), copy);
    number(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56306), net, copy);
  }
  // A Schedule UE copy of the taxpayer or spouse with its net amount.
  void scheduleUE(uint16_t copy, bool spouse, double net) {
    mark(kFormID_PAScheduleUE, kPAScheduleUEFieldIds.byNumber(spouse ? 13 : 12), copy);
    number(kFormID_PAScheduleUE, kPAScheduleUEFieldIds.byNumber(130), net, copy);
  }
  // A Schedule E copy with its owner mark (18, 19 or 26) and net amount.
  void scheduleE(uint16_t copy, int ownerMark, double net) {
    mark(kFormID_PAScheduleE, kPAScheduleEFieldIds.byNumber(ownerMark), copy);
    number(kFormID_PAScheduleE, kPAScheduleEFieldIds.byNumber(129), net, copy);
  }
  // PA compensation of one PA W-2 copy (fields 133, 135).
  void w2(uint16_t copy, double taxpayer, double spouse) {
    number(kFormID_PAW2, kPAW2FieldIds.byNumber(133), taxpayer, copy);
    number(kFormID_PAW2, kPAW2FieldIds.byNumber(135), spouse, copy);
  }
};

#endif  // CALC_PA_TESTS_PA40_FIXTURE_H_
