// Fixture of the tests of single PA-40 sections (header, credits, balance):
// the probe engine over fixture returns, with fields named by host field
// number so the tests check the member mapping independently of the code.
// The probe records the schedules a section has calculated instead of
// calculating them.
#ifndef CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_
#define CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

class PA40SectionTest : public StateEngineTest {
 protected:
  static const FieldId& pa40(int hostField) { return kPA40FieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }
  static const FieldId& filer(int hostField) { return kFedFilerInfoFieldIds.byNumber(hostField); }

  // A fresh return inside a table-driven test, after checking the last one.
  void restart() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    SetUp();
  }

  // 1 single, 2 joint, 3 separate.
  void setFilingStatus(int status) {
    static const int kBoxes[] = {55, 57, 56};
    mark(kFormID_PAReturnInfo, info(kBoxes[status - 1]));
  }
  // 0 full-year (nothing marked), 1 part-year (48), 2 nonresident (47).
  void setResidency(int residency) {
    if (residency == 1) mark(kFormID_PAReturnInfo, info(48));
    if (residency == 2) mark(kFormID_PAReturnInfo, info(47));
  }

  void runHeader() { engine->computePA40Header(holder(kFormID_PA40), 1); }
  void runCredits() { engine->computePA40Credits(holder(kFormID_PA40), 1); }
  void runBalance() { engine->computePA40Balance(holder(kFormID_PA40), 1); }

  // PA-40 copy 1.
  double amount(int hostField) { return pa->getIR(kFormID_PA40, 1, pa40(hostField)); }
  bool isNull(int hostField) { return pa->isNull(kFormID_PA40, 1, pa40(hostField)); }
  bool isProtected(int hostField) { return copyOf(kFormID_PA40).isProtected(pa40(hostField)); }
  bool marked(int hostField) { return pa->formYes(kFormID_PA40, 1, pa40(hostField)); }
  bool markedNo(int hostField) { return pa->formNo(kFormID_PA40, 1, pa40(hostField)); }
  std::string textOf(int hostField) { return pa->getFieldAsString(kFormID_PA40, 1, pa40(hostField)); }
  void enter(int hostField, double value) { number(kFormID_PA40, pa40(hostField), value); }
  void enterText(int hostField, const std::string& value) { text(kFormID_PA40, pa40(hostField), value); }
  void markPA40(int hostField) { mark(kFormID_PA40, pa40(hostField)); }

  void infoText(int hostField, const std::string& value) {
    text(kFormID_PAReturnInfo, info(hostField), value);
  }
  void infoMark(int hostField) { mark(kFormID_PAReturnInfo, info(hostField)); }
  void infoNumber(int hostField, double value) { number(kFormID_PAReturnInfo, info(hostField), value); }
  void filerText(int hostField, const std::string& value) {
    text(kFormID_FedFilerInfo, filer(hostField), value);
  }
  void filerMark(int hostField) { mark(kFormID_FedFilerInfo, filer(hostField)); }

  // Calls of calcStateForm for `form` the probe saw.
  int calcCalls(int form) {
    int n = 0;
    for (const ProbeCall& call : engine->calls) n += call.operation == "calcStateForm" && call.form == form;
    return n;
  }
};

#endif  // CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_
