// Fixture of the information-form tests: the engine over fixture returns,
// with every field named by host field number so the tests check the
// member mapping independently of the code. The probe engine records the
// forms the information form asks to be calculated instead of calculating
// them.
#ifndef CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_
#define CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"

class ReturnInfoTest : public StateEngineTest {
 protected:
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }
  static const FieldId& filer(int hostField) { return kFedFilerInfoFieldIds.byNumber(hostField); }
  static const FieldId& f183(int hostField) { return kFed183FieldIds.byNumber(hostField); }
  static const FieldId& f190(int hostField) { return kFed190FieldIds.byNumber(hostField); }
  static const FieldId& state14(int hostField) { return kState14FieldIds.byNumber(hostField); }

  // Fresh returns and engine for the next case of a table.
  void restart() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    engine.reset();
    pa.reset();
    SetUp();
  }

  // The whole calculation of information-form copy 1.
  void run() { engine->computeReturnInfo(holder(kFormID_PAReturnInfo), 1, 0); }

  // Information form, copy 1.
  void markInfo(int hostField) { mark(kFormID_PAReturnInfo, info(hostField)); }
  void textInfo(int hostField, const std::string& value) {
    text(kFormID_PAReturnInfo, info(hostField), value);
  }
  bool marked(int hostField) { return pa->formYes(kFormID_PAReturnInfo, 1, info(hostField)); }
  bool isNull(int hostField) { return pa->isNull(kFormID_PAReturnInfo, 1, info(hostField)); }
  bool isProtected(int hostField) { return copyOf(kFormID_PAReturnInfo).isProtected(info(hostField)); }
  double amount(int hostField) { return pa->getIR(kFormID_PAReturnInfo, 1, info(hostField)); }
  std::string infoText(int hostField) { return textOf(kFormID_PAReturnInfo, info(hostField)); }

  // Federal form 92, copy 1.
  void filerYes(int hostField) { mark(kFormID_FedFilerInfo, filer(hostField)); }
  void filerText(int hostField, const std::string& value) {
    text(kFormID_FedFilerInfo, filer(hostField), value);
  }

  // The federal filing status the host pulls (common item 1).
  void setFederalStatus(long status) { federal()->setCommonItem(1, status); }
};

#endif  // CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_
