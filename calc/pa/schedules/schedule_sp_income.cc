// Schedule SP eligibility income and the tax subject to forgiveness.
//
// One column serves an unmarried, separated or deceased filer and a married
// filer whose spouse's income is included (sub-box J); otherwise the lines
// split into taxpayer and spouse columns. Lines the user completes (C4,
// C5, C7 to C10, the added interest C2b, the spouse's C6) are only
// unprotected, so what was entered stays; the lines of the layout not in
// use are protected and null.
#include "calc/pa/schedules/schedule_sp_parts.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

namespace {

// Federal common amounts.
const int kPullFederalIncome = 25;  // C3
const int kPullAllIncome = 80;      // C6 before the PA-40 income is taken off

// PA-40 members read: the income that starts C1, and the amount taken off
// the tax in the one-column layout.
const int kPA40Income = 201;      // 170
const int kPA40TaxOffset = 210;   // 352
// Lines of the PA-40 read through the return's line values: the PA tax
// and the deduction from it.
const int kTaxLine = 14;
const int kDeductionLine = 18;

// Interest and dividend parts of Schedules A and B that make up C2a.
const int kScheduleAFirst = 15;   // 155725
const int kScheduleASecond = 16;  // 155726
const int kScheduleB = 11;        // 155766

// The lines of the eligibility income in the order they are added.
const IncomeLine* const kSummedLines[] = {&kC1, &kC10, &kC2, &kC3, &kC4, &kC5, &kC6, &kC7, &kC8, &kC9};

// Lines the filer completes in either layout.
const IncomeLine* const kEnteredLines[] = {&kC4, &kC5, &kC7, &kC8, &kC9, &kC10};

// Every line of the income part, C2a and C2b included.
const IncomeLine* const kAllLines[] = {&kC1, &kC2a, &kC2b, &kC2, &kC3, &kC4,
                                       &kC5, &kC6, &kC7, &kC8, &kC9, &kC10};

double pa40Amount(const Run& run, int member) {
  return run.pa.getIR(kFormID_PA40, 1, kPA40FieldIds[member]);
}

// C2a of one person: Schedule A's two parts and Schedule B's of `copy`.
double interestDividends(const Run& run, uint16_t copy) {
  return static_cast<double>(run.pa.getIN(kFormID_PAScheduleA, copy, kPAScheduleAFieldIds[kScheduleAFirst]) +
                             run.pa.getIN(kFormID_PAScheduleA, copy, kPAScheduleAFieldIds[kScheduleASecond]) +
                             run.pa.getIN(kFormID_PAScheduleB, copy, kPAScheduleBFieldIds[kScheduleB]));
}

// C6 (`member`), income earned outside Pennsylvania: the federal income
// less the PA-40 income, never below 0. Calculated on every run, so it
// follows the income schedules as they stand; a value the user overrides
// is kept by the host.
void fillIncomeOutsidePA(const Run& run, int member) {
  const double outside = static_cast<double>(run.federalAmount(kPullAllIncome)) - pa40Amount(run, kPA40Income);
  run.form().makeProtected(sp(member));
  run.form().assignIR(sp(member), outside > 0 ? outside : 0.0);
}

// A joint amount entered whole on the taxpayer's line: the spouse's share
// becomes the lesser of the two lines and the taxpayer keeps the rest, so
// the pair adds up to the amount.
void splitJointAmount(DataMgmt::TaxForm& form, const IncomeLine& line) {
  form.minII(sp(line.spouse), sp(line.taxpayer), sp(line.spouse));
  form.minusII(sp(line.taxpayer), sp(line.taxpayer), sp(line.spouse));
}

// total := the sum of one column's lines (unrounded; null adds 0).
void sumColumn(DataMgmt::TaxForm& form, int total, int IncomeLine::*column) {
  double sum = 0;
  for (const IncomeLine* line : kSummedLines) sum += form.getIR(sp(line->*column));
  form.assignIR(sp(total), sum);
}

void fillOneColumn(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.assignIR(sp(kC1.single), pa40Amount(run, kPA40Income));

  if (run.marked(kDeceased)) {
    form.unprotectAndMaybeSetNull(sp(kC2a.single));
  } else {
    const double all = static_cast<double>(
        run.pa.getAllCopies(kFormID_PAScheduleA, kPAScheduleAFieldIds[kScheduleASecond]) +
        run.pa.getAllCopies(kFormID_PAScheduleA, kPAScheduleAFieldIds[kScheduleAFirst]) +
        run.pa.getAllCopies(kFormID_PAScheduleB, kPAScheduleBFieldIds[kScheduleB]));
    form.assignIR(sp(kC2a.single), all);
    form.makeProtected(sp(kC2a.single));
  }
  form.unProtect(sp(kC2b.single));
  form.plus2(sp(kC2.single), sp(kC2a.single), sp(kC2b.single));

  if (run.marked(kDiedThisYear)) {
    form.unProtect(sp(kC3.single));
  } else {
    form.assignIR(sp(kC3.single), static_cast<double>(run.federalAmount(kPullFederalIncome)));
  }

  for (const IncomeLine* line : kEnteredLines) form.unProtect(sp(line->single));

  if (run.residency == 0) {
    form.makeProtectedAndSetNull(sp(kC6.single));
  } else {
    fillIncomeOutsidePA(run, kC6.single);
  }

  sumColumn(form, kEligibilitySingle, &IncomeLine::single);

  for (const IncomeLine* line : kAllLines) {
    form.makeProtectedAndSetNull(sp(line->taxpayer));
    form.makeProtectedAndSetNull(sp(line->spouse));
  }
  form.makeProtectedAndSetNull(sp(kTPEligibility));
  form.makeProtectedAndSetNull(sp(kSPEligibility));
  form.setNull(sp(kEligibilityBoth));
}

void fillTwoColumns(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const bool joint = run.filingStatus == 2;

  form.assignIR(sp(kC1.taxpayer), pa40Amount(run, kPA40Income));
  form.unProtect(sp(kC1.spouse));
  if (joint) splitJointAmount(form, kC1);

  form.assignIR(sp(kC2a.taxpayer), interestDividends(run, 1));
  form.makeProtected(sp(kC2a.taxpayer));
  if (joint) {
    form.assignIR(sp(kC2a.spouse), interestDividends(run, 2));
    form.makeProtected(sp(kC2a.spouse));
  } else {
    form.unprotectAndMaybeSetNull(sp(kC2a.spouse));
  }
  form.makeProtectedAndSetNull(sp(kC2a.single));
  form.makeProtectedAndSetNull(sp(kC2b.single));
  form.unProtect(sp(kC2b.taxpayer));
  form.unProtect(sp(kC2b.spouse));
  form.plus2(sp(kC2.taxpayer), sp(kC2a.taxpayer), sp(kC2b.taxpayer));
  form.plus2(sp(kC2.spouse), sp(kC2a.spouse), sp(kC2b.spouse));

  form.assignIR(sp(kC3.taxpayer), static_cast<double>(run.federalAmount(kPullFederalIncome)));
  form.unProtect(sp(kC3.spouse));
  if (joint && !run.marked(kDiedThisYear)) splitJointAmount(form, kC3);

  for (const IncomeLine* line : kEnteredLines) {
    form.unProtect(sp(line->taxpayer));
    form.unProtect(sp(line->spouse));
  }
  form.unProtect(sp(kC6.spouse));

  if (run.residency == 0) {
    form.makeProtectedAndSetNull(sp(kC6.taxpayer));
    form.makeProtectedAndSetNull(sp(kC6.spouse));
  } else {
    fillIncomeOutsidePA(run, kC6.taxpayer);
  }

  sumColumn(form, kTPEligibility, &IncomeLine::taxpayer);
  sumColumn(form, kSPEligibility, &IncomeLine::spouse);
  form.plus2(sp(kEligibilityBoth), sp(kTPEligibility), sp(kSPEligibility));

  for (const IncomeLine* line : kAllLines) form.makeProtectedAndSetNull(sp(line->single));
  form.makeProtectedAndSetNull(sp(kEligibilitySingle));
}

bool oneColumn(const Run& run) {
  return run.marked(kUnmarried) || run.marked(kMarriedJ) || run.marked(kSeparate) || run.marked(kDeceased);
}

// D1 to D3 of one layout; `tax` is the PA tax as that layout takes it.
void fillSubjectLines(const Run& run, const ForgivenessLines& lines, double tax) {
  DataMgmt::TaxForm& form = run.form();
  form.assignIR(sp(lines.tax), tax);
  if (run.residency == 2) {
    form.setNull(sp(lines.deduction));
  } else {
    const int32_t deduction = run.pa.getStateLineValue(run.engine.getStateReturnFormId(), 1, kDeductionLine);
    form.assignIR(sp(lines.deduction), static_cast<double>(deduction));
  }
  form.minusIIge0(sp(lines.subject), sp(lines.tax), sp(lines.deduction));
}

void nullSubjectLines(DataMgmt::TaxForm& form, const ForgivenessLines& lines) {
  form.setNull(sp(lines.tax));
  form.setNull(sp(lines.deduction));
  form.setNull(sp(lines.subject));
}

void nullAllLines(DataMgmt::TaxForm& form, const ForgivenessLines& lines) {
  nullSubjectLines(form, lines);
  form.setNull(sp(lines.percentage));
  form.setNull(sp(lines.forgiven));
}

}  // namespace

void fillEligibilityIncome(const Run& run) {
  if (oneColumn(run)) {
    fillOneColumn(run);
  } else {
    fillTwoColumns(run);
  }
}

void fillForgivenessLines(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const double tax =
      static_cast<double>(run.pa.getStateLineValue(run.engine.getStateReturnFormId(), 1, kTaxLine));
  if (oneColumn(run)) {
    if (form.getIR(sp(kEligibilitySingle)) > 0) {
      const double offset = pa40Amount(run, kPA40TaxOffset);
      fillSubjectLines(run, kOneColumn, offset > 0 ? tax - offset : tax);
    } else {
      nullSubjectLines(form, kOneColumn);
    }
    nullAllLines(form, kTwoColumns);
    return;
  }
  if (run.marked(kMarriedX) || run.marked(kMarriedD) || run.marked(kMarriedY)) {
    if (form.getIR(sp(kTPEligibility)) + form.getIR(sp(kSPEligibility)) > 0) {
      fillSubjectLines(run, kTwoColumns, tax);
    } else {
      nullSubjectLines(form, kTwoColumns);
    }
  } else {
    nullAllLines(form, kTwoColumns);
  }
  nullAllLines(form, kOneColumn);
}

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt
