// Fixture of the interest and dividend worksheet tests: the engine over
// fixture returns, with every field named by its host field number so the
// tests check the catalog mapping independently of the code. The probe
// engine records the form copies the worksheet has calculated at once.
#ifndef CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_
#define CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_

#include "calc/state/tests/state_engine_fixture.h"

class IntDivWorksheetTest : public StateEngineTest {
 protected:
  static const FormId& sheet() { return kFormID_PAInterestDividendWorksheet; }
  static const FieldId& w(int hostField) {
    return kPAInterestDividendWorksheetFieldIds.byNumber(hostField);
  }

  // 1 single, 2 joint, 3 separate.
  void setFilingStatus(int status) {
    static const int kBoxes[] = {55, 57, 56};
    mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(kBoxes[status - 1]));
  }
  // 0 full-year (no box), 1 part-year (48), 2 nonresident (47).
  void setResidency(int residency) {
    if (residency == 1) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(48));
    if (residency == 2) mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(47));
  }
  // Federal form 87 (field 54) or 55 (field 53) as the federal return in use.
  void useFederalForm(int number) {
    mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(number == 55 ? 53 : 54));
  }

  void run() { engine->computeInterestDividendWorksheet(holder(sheet()), 1, 1); }
  // Fresh returns and engine for the next case of a table, after checking
  // the case before wrote only fields its forms have.
  void restart() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    engine.reset();
    pa.reset();
    SetUp();
  }

  double amount(int hostField) { return pa->getIR(sheet(), 1, w(hostField)); }
  bool isNull(int hostField) { return pa->isNull(sheet(), 1, w(hostField)); }
  bool isProtected(int hostField) { return copyOf(sheet()).isProtected(w(hostField)); }
  bool marked(int hostField) { return pa->formYes(sheet(), 1, w(hostField)); }
  bool markedNo(int hostField) { return pa->formNo(sheet(), 1, w(hostField)); }
  bool closed(int hostField) { return isNull(hostField) && isProtected(hostField); }
  // A user's entry: the field's value, unprotected.
  void enter(int hostField, double value) { number(sheet(), w(hostField), value); }
  void check(int hostField) { mark(sheet(), w(hostField)); }

  // Summary group k (1-4) of state form 16 (interest) or 17 (dividends),
  // taxpayer and spouse, on copy `copy`.
  void summary(const FormId& form, int group, double taxpayer, double spouse, uint16_t copy = 1) {
    static const int kInterest[4][2] = {{174, 175}, {178, 179}, {194, 195}, {190, 191}};
    static const int kDividends[4][2] = {{174, 175}, {178, 179}, {186, 187}, {182, 183}};
    if (form == kFormID_State16) {
      number(form, kState16FieldIds.byNumber(kInterest[group - 1][0]), taxpayer, copy);
      number(form, kState16FieldIds.byNumber(kInterest[group - 1][1]), spouse, copy);
    } else {
      number(form, kState17FieldIds.byNumber(kDividends[group - 1][0]), taxpayer, copy);
      number(form, kState17FieldIds.byNumber(kDividends[group - 1][1]), spouse, copy);
    }
  }

  // Owner marks of the federal source forms.
  enum Owner { kTaxpayer, kSpouse, kJoint, kNobody };

  // A federal form 51 copy: owner (366/367), kind (6 first, 142 second,
  // 0 none), interest (17), federal interest line (188), dividends (18).
  void form51(uint16_t copy, Owner owner, int kindField, double interest, double line = 0,
              double dividends = 0) {
    const auto& f = kFed51FieldIds;
    if (owner == kTaxpayer) mark(kFormID_Fed51, f.byNumber(366), copy);
    if (owner == kSpouse) mark(kFormID_Fed51, f.byNumber(367), copy);
    if (kindField != 0) mark(kFormID_Fed51, f.byNumber(kindField), copy);
    number(kFormID_Fed51, f.byNumber(17), interest, copy);
    number(kFormID_Fed51, f.byNumber(188), line, copy);
    number(kFormID_Fed51, f.byNumber(18), dividends, copy);
  }
  // A federal form 166 copy (owner 2/3/4) with fields 11 and 19 in hundredths.
  void form166(uint16_t copy, Owner owner, double a, double b) {
    const auto& f = kFed166FieldIds;
    if (owner != kNobody) mark(kFormID_Fed166, f.byNumber(owner == kTaxpayer ? 2 : owner == kSpouse ? 3 : 4), copy);
    number(kFormID_Fed166, f.byNumber(11), a, copy);
    number(kFormID_Fed166, f.byNumber(19), b, copy);
  }
  // A federal form 89 copy (owner 145/146): interest amounts a, b, c
  // (15, 130, 153) and dividends (16).
  void form89(uint16_t copy, Owner owner, double a, double b, double c, double dividends = 0) {
    const auto& f = kFed89FieldIds;
    if (owner == kTaxpayer) mark(kFormID_Fed89, f.byNumber(145), copy);
    if (owner == kSpouse) mark(kFormID_Fed89, f.byNumber(146), copy);
    number(kFormID_Fed89, f.byNumber(15), a, copy);
    number(kFormID_Fed89, f.byNumber(130), b, copy);
    number(kFormID_Fed89, f.byNumber(153), c, copy);
    number(kFormID_Fed89, f.byNumber(16), dividends, copy);
  }
  // A federal form 164 copy (owner 2/3/4): amount in hundredths (7), and
  // the entered-share box (18) with its amount (32).
  void form164(uint16_t copy, Owner owner, double hundredths, bool shareBox = false, double share = 0) {
    const auto& f = kFed164FieldIds;
    if (owner != kNobody) mark(kFormID_Fed164, f.byNumber(owner == kTaxpayer ? 2 : owner == kSpouse ? 3 : 4), copy);
    number(kFormID_Fed164, f.byNumber(7), hundredths, copy);
    if (shareBox) mark(kFormID_Fed164, f.byNumber(18), copy);
    number(kFormID_Fed164, f.byNumber(32), share, copy);
  }
  // The federal dividends of federal form 1 (form 5 field 160).
  void federalDividends(double amount) { number(kFormID_Fed5, kFed5FieldIds.byNumber(160), amount); }
  void form57(int hostField, double amount) { number(kFormID_Fed57, kFed57FieldIds.byNumber(hostField), amount); }
  // The federal interest pulled for a return that is not joint (code 73).
  void federalInterest(long amount) { federal()->setCommonItem(73, amount); }
};

#endif  // CALC_PA_SCHEDULES_TESTS_INT_DIV_WORKSHEET_FIXTURE_H_
