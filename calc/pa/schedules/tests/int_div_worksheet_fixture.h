// Fixture of the interest and dividend worksheet tests: the sources the
// worksheet reads; the probe engine records the copies it calculates.
#ifndef CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_
#define CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_

#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"

class IntDivWorksheetTest : public PA40Test {
 protected:
  static const FormId& sheet() { return kFormID_PAInterestDividendWorksheet; }
  const FieldId& kNone = Primitives::kNullFieldID;
  void joint() { mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox); }
  // Single wins over joint.
  void single() { mark(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox); }
  void partYear() { mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox); }
  void run() { engine->computeInterestDividendWorksheet(holder(sheet()), 1, 1); }
  DataMgmt::TaxForm& ws() { return copyOf(sheet()); }
  double amount(const FieldId& f) { return ws().getIR(f); }
  bool closed(const FieldId& f) { return ws().isNull(f) && ws().isProtected(f); }
  // A user's entry: the field's value, unprotected.
  void enter(const FieldId& f, double value) { number(sheet(), f, value); }
  // The taxpayer's and the spouse's amount of a state summary group.
  void summary(const FormId& form, const FieldId& taxpayer, const FieldId& spouse, double t, double s) {
    number(form, taxpayer, t);
    number(form, spouse, s);
  }
  // A federal form 51 copy: owner mark (or none), kind box (or none),
  // interest, federal interest line and dividends.
  void form51(uint16_t copy, const FieldId& owner, const FieldId& kind, double interest, double line = 0,
              double dividends = 0) {
    markIfAny(kFormID_Fed51, owner, copy);
    markIfAny(kFormID_Fed51, kind, copy);
    number(kFormID_Fed51, Fed51::kInterest, interest, copy);
    number(kFormID_Fed51, Fed51::kInterestFederalLine, line, copy);
    number(kFormID_Fed51, Fed51::kDividends, dividends, copy);
  }
  // A federal form 89 copy: interest amounts a, b, c and dividends.
  void form89(uint16_t copy, const FieldId& owner, double a, double b, double c, double dividends = 0) {
    markIfAny(kFormID_Fed89, owner, copy);
    number(kFormID_Fed89, Fed89::kInterest, a, copy);
    number(kFormID_Fed89, Fed89::kExemptInterest, b, copy);
    number(kFormID_Fed89, Fed89::kInStateExemptInterest, c, copy);
    number(kFormID_Fed89, Fed89::kDividends, dividends, copy);
  }
  // The federal dividends of federal form 1.
  void federalDividends(double amount) { number(kFormID_Fed5, Fed5::kTotalDividends, amount); }
  // The federal interest pulled for a return that is not joint (code 73).
  void federalInterest(long amount) { federal()->setCommonItem(73, amount); }

 private:
  void markIfAny(const FormId& form, const FieldId& box, uint16_t copy) {
    if (box.isValid()) mark(form, box, copy);
  }
};

#endif  // CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_
