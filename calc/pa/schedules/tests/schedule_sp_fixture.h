// Fixture of the Schedule SP tests: fields named by host field number, so
// the tests check the member mapping independently of the code, and
// setters for the PA and federal answers the schedule reads.
#ifndef CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_
#define CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

class ScheduleSPTest : public StateEngineTest {
 protected:
  static const FieldId& sp(int hostField) { return kPAScheduleSPFieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }
  static const FieldId& filer(int hostField) { return kFedFilerInfoFieldIds.byNumber(hostField); }
  static const FieldId& dependent(int hostField) { return kFedDependentsFieldIds.byNumber(hostField); }

  // PA filing status: 1 single, 2 joint, 3 separate.
  void setFilingStatus(int status) {
    static const int kBoxes[] = {55, 57, 56};
    mark(kFormID_PAReturnInfo, info(kBoxes[status - 1]));
  }
  // 0 full-year (no box), 1 part-year (48), 2 nonresident (47).
  void setResidency(int residency) {
    if (residency > 0) mark(kFormID_PAReturnInfo, info(residency == 1 ? 48 : 47));
  }
  // Federal filing status (common item 1) and common amounts.
  void setFederalStatus(long status) { federal()->setCommonItem(1, status); }
  void setFederalAmount(int code, long amount) { federal()->setCommonItem(code, amount); }
  // PA-40 income (170), the PA tax (line 14, 173) and line 18 (245).
  void setPA40(double income, double tax, double line18) {
    number(kFormID_PA40, kPA40FieldIds.byNumber(170), income);
    number(kFormID_PA40, kPA40FieldIds.byNumber(173), tax);
    number(kFormID_PA40, kPA40FieldIds.byNumber(245), line18);
  }
  // A federal dependents copy.
  void addDependent(uint16_t copy, const std::string& first, const std::string& relationship, bool included,
                    double age = 5, const std::string& number = "123-45-6789") {
    if (included) mark(kFormID_FedDependents, dependent(1136), copy);
    text(kFormID_FedDependents, dependent(1103), first, copy);
    text(kFormID_FedDependents, dependent(1105), "Doe", copy);
    text(kFormID_FedDependents, dependent(1108), relationship, copy);
    this->number(kFormID_FedDependents, dependent(1110), age, copy);
    text(kFormID_FedDependents, dependent(1106), number, copy);
  }

  // Fresh returns and engine for the next case of a table.
  void restart() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    engine.reset();
    pa.reset();
    SetUp();
  }

  void run(uint16_t copy = 1) { engine->computeScheduleSP(holder(kFormID_PAScheduleSP, copy), copy, 1); }

  DataMgmt::TaxForm& schedule() { return copyOf(kFormID_PAScheduleSP); }
  double amount(int hostField) { return pa->getIR(kFormID_PAScheduleSP, 1, sp(hostField)); }
  bool isNull(int hostField) { return pa->isNull(kFormID_PAScheduleSP, 1, sp(hostField)); }
  bool isProtected(int hostField) { return schedule().isProtected(sp(hostField)); }
  bool marked(int hostField) { return pa->formYes(kFormID_PAScheduleSP, 1, sp(hostField)); }
  bool markedNo(int hostField) { return pa->formNo(kFormID_PAScheduleSP, 1, sp(hostField)); }
  std::string textOf(int hostField) { return pa->getFieldAsString(kFormID_PAScheduleSP, 1, sp(hostField)); }
  void enter(int hostField, double value) { number(kFormID_PAScheduleSP, sp(hostField), value); }
  void check(int hostField) { mark(kFormID_PAScheduleSP, sp(hostField)); }
  bool dataEntered() { return schedule().isDataEntered(); }
};

#endif  // CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_
