// Fixture of the information-form tests: the engine over fixture returns.
// The probe engine records the forms the information form asks to be
// calculated instead of calculating them.
#ifndef CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_
#define CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_

#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

class ReturnInfoTest : public StateEngineTest {
 protected:
  // The whole calculation of information-form copy 1.
  void run() { engine->computeReturnInfo(holder(kFormID_PAReturnInfo), 1, 0); }

  // Information form, copy 1.
  void markInfo(const FieldId& field) { mark(kFormID_PAReturnInfo, field); }
  void textInfo(const FieldId& field, const std::string& value) { text(kFormID_PAReturnInfo, field, value); }
  bool marked(const FieldId& field) { return pa->formYes(kFormID_PAReturnInfo, 1, field); }
  bool isNull(const FieldId& field) { return pa->isNull(kFormID_PAReturnInfo, 1, field); }
  bool isProtected(const FieldId& field) { return copyOf(kFormID_PAReturnInfo).isProtected(field); }
  double amount(const FieldId& field) { return pa->getIR(kFormID_PAReturnInfo, 1, field); }
  std::string infoText(const FieldId& field) { return textOf(kFormID_PAReturnInfo, field); }

  // Federal form 92, copy 1.
  void filerYes(const FieldId& field) { mark(kFormID_FedFilerInfo, field); }
  void filerText(const FieldId& field, const std::string& value) { text(kFormID_FedFilerInfo, field, value); }

  // The federal filing status the host pulls (common item 1).
  void setFederalStatus(long status) { federal()->setCommonItem(1, status); }
};

#endif  // CALC_PA_TESTS_RETURN_INFO_FIXTURE_H_
