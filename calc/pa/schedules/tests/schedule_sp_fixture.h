// Fixture of the Schedule SP tests: the PA-40 fixture with the federal
// answers the schedule reads, and its field helpers pointed at copy 1 of
// Schedule SP.
#ifndef CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_
#define CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_

#include <string>

#include "calc/pa/tests/pa40_fixture.h"

class ScheduleSPTest : public PA40Test {
 protected:
  // Federal filing status (common item 1; 1 single, 2 joint, 3 separate)
  // and common amounts.
  void setFederalStatus(long status) { federal()->setCommonItem(1, status); }
  void setFederalAmount(int code, long amount) { federal()->setCommonItem(code, amount); }
  // A PA filing status with the same federal status.
  void setStatus(int status) {
    setFilingStatus(status);
    setFederalStatus(status);
  }
  // PA-40 copy 1: total PA taxable income, the PA tax and the resident
  // credit taken off it (lines 14 and 18 of the return's line values).
  void setPA40(double income, double tax, double residentCredit) {
    number(kFormID_PA40, PA40::kTotalTaxableIncome, income);
    number(kFormID_PA40, PA40::kTaxLiability, tax);
    number(kFormID_PA40, PA40::kResidentCredit, residentCredit);
  }
  // A federal dependents copy.
  void addDependent(uint16_t copy, const std::string& first, const std::string& relationship, bool included,
                    double age = 5, const std::string& ssn = "123-45-6789") {
    if (included) mark(kFormID_FedDependents, FedDependents::kIncludedBox, copy);
    text(kFormID_FedDependents, FedDependents::kFirstName, first, copy);
    text(kFormID_FedDependents, FedDependents::kLastName, "Doe", copy);
    text(kFormID_FedDependents, FedDependents::kRelationship, relationship, copy);
    number(kFormID_FedDependents, FedDependents::kAge, age, copy);
    text(kFormID_FedDependents, FedDependents::kSsn, ssn, copy);
  }

  void runSP(uint16_t copy = 1) { engine->computeScheduleSP(holder(kFormID_PAScheduleSP, copy), copy, 1); }

  // Fields of Schedule SP copy 1.
  DataMgmt::TaxForm& schedule() { return copyOf(kFormID_PAScheduleSP); }
  double amount(const FieldId& field) { return pa->getIR(kFormID_PAScheduleSP, 1, field); }
  bool isNull(const FieldId& field) { return pa->isNull(kFormID_PAScheduleSP, 1, field); }
  bool isProtected(const FieldId& field) { return schedule().isProtected(field); }
  bool marked(const FieldId& field) { return pa->formYes(kFormID_PAScheduleSP, 1, field); }
  bool markedNo(const FieldId& field) { return pa->formNo(kFormID_PAScheduleSP, 1, field); }
  std::string textOf(const FieldId& field) { return pa->getFieldAsString(kFormID_PAScheduleSP, 1, field); }
  void enter(const FieldId& field, double value) { number(kFormID_PAScheduleSP, field, value); }
  void check(const FieldId& box) { mark(kFormID_PAScheduleSP, box); }
  bool dataEntered() { return schedule().isDataEntered(); }
};

#endif  // CALC_PA_SCHEDULES_TESTS_SCHEDULE_SP_FIXTURE_H_
