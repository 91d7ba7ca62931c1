// Schedule SP eligibility income and the tax subject to forgiveness.
//
// One column serves an unmarried, separated or deceased filer and a married
// filer whose spouse's income is included (sub-box J); otherwise the lines
// split into taxpayer and spouse columns. Lines the user completes (C4,
// C5, C7 to C10, the added interest C2b, the spouse's C6) are only
// unprotected, so what was entered stays; the lines of the layout not in
// use are protected and null.
#include <algorithm>

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

namespace {

using Primitives::OVImmutableIdentifier;

// Federal common amounts.
const int kPullFederalIncome = 25;  // C3
const int kPullAllIncome = 80;      // C6 before the PA-40 income is taken off

// Lines of the PA-40 read through the return's line values: the PA tax
// and the deduction from it.
const int kTaxLine = 14;
const int kDeductionLine = 18;

// The lines of the eligibility income in the order they are added.
const IncomeLine* const kSummedLines[] = {&kC1, &kC10, &kC2, &kC3, &kC4, &kC5, &kC6, &kC7, &kC8, &kC9};

// Lines the filer completes in either layout.
const IncomeLine* const kEnteredLines[] = {&kC4, &kC5, &kC7, &kC8, &kC9, &kC10};

// Every line of the income part, C2a and C2b included.
const IncomeLine* const kAllLines[] = {&kC1, &kC2a, &kC2b, &kC2, &kC3, &kC4,
                                       &kC5, &kC6,  &kC7,  &kC8, &kC9, &kC10};

double pa40Amount(const Run& run, const OVImmutableIdentifier& field) {
  return run.pa.getIR(kFormID_PA40, 1, field);
}

// C2a of one person: Schedule A's two parts and Schedule B's of `copy`.
double interestDividends(const Run& run, uint16_t copy) {
  return static_cast<double>(run.pa.getIN(kFormID_PAScheduleA, copy, PAScheduleA::kPAExemptInterest) +
                             run.pa.getIN(kFormID_PAScheduleA, copy, PAScheduleA::kUSObligationInterest) +
                             run.pa.getIN(kFormID_PAScheduleB, copy, PAScheduleB::kDividendsNotTaxed));
}

// C6 (`line`), income earned outside Pennsylvania: the federal income
// less the PA-40 income, never below 0. Calculated on every run, so it
// follows the income schedules as they stand; a value the user overrides
// is kept by the host.
void fillIncomeOutsidePA(const Run& run, const OVImmutableIdentifier& line) {
  const double outside =
      static_cast<double>(run.federalAmount(kPullAllIncome)) - pa40Amount(run, PA40::kTotalTaxableIncome);
  run.form().makeProtected(line);
  run.form().assignIR(line, outside > 0 ? outside : 0.0);
}

// A joint amount entered whole on the taxpayer's line: the spouse's share
// becomes the lesser of the two lines and the taxpayer keeps the rest, so
// the pair adds up to the amount. The spouse's share is the user's entry,
// limited in place; `limitEntry` false leaves it as typed (a run ahead of
// the figure it is limited by) and takes only the lesser off the
// taxpayer's line. Without a share typed the taxpayer keeps the whole and
// the spouse's line stays empty (no figure of the calculation's is left in
// the user's field).
void splitJointAmount(DataMgmt::TaxForm& form, const IncomeLine& line, bool limitEntry = true) {
  if (form.isNull(line.spouse)) return;
  if (!limitEntry) {
    const double whole = form.getIR(line.taxpayer);
    const double spouse = form.getIR(line.spouse);
    form.assignIR(line.taxpayer, whole - std::min(spouse, whole));
    return;
  }
  form.minII(line.spouse, line.taxpayer, line.spouse);
  form.minusII(line.taxpayer, line.taxpayer, line.spouse);
}

// total := the sum of one column's lines (unrounded; null adds 0).
void sumColumn(DataMgmt::TaxForm& form, const OVImmutableIdentifier& total, SPField IncomeLine::*column) {
  double sum = 0;
  for (const IncomeLine* line : kSummedLines) sum += form.getIR(line->*column);
  form.assignIR(total, sum);
}

void fillOneColumn(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  form.assignIR(kC1.single, pa40Amount(run, PA40::kTotalTaxableIncome));

  if (run.marked(PAScheduleSP::kDeceasedBox)) {
    form.unprotectAndMaybeSetNull(kC2a.single);
  } else {
    const double all =
        static_cast<double>(run.pa.getAllCopies(kFormID_PAScheduleA, PAScheduleA::kUSObligationInterest) +
                            run.pa.getAllCopies(kFormID_PAScheduleA, PAScheduleA::kPAExemptInterest) +
                            run.pa.getAllCopies(kFormID_PAScheduleB, PAScheduleB::kDividendsNotTaxed));
    form.assignIR(kC2a.single, all);
    form.makeProtected(kC2a.single);
  }
  form.unProtect(kC2b.single);
  form.plus2(kC2.single, kC2a.single, kC2b.single);

  // The federal amount, closed, unless a filer died in the year: then the
  // line is the user's to enter, and the federal amount written before
  // goes.
  if (run.marked(PAScheduleSP::kDiedThisYearBox)) {
    form.unprotectAndMaybeSetNull(kC3.single);
  } else {
    form.makeProtected(kC3.single);
    form.assignIR(kC3.single, static_cast<double>(run.federalAmount(kPullFederalIncome)));
  }

  for (const IncomeLine* line : kEnteredLines) form.unProtect(line->single);

  if (run.residency == PADataMgmt::kFullYearResident) {
    form.makeProtectedAndSetNull(kC6.single);
  } else {
    fillIncomeOutsidePA(run, kC6.single);
  }

  sumColumn(form, PAScheduleSP::kEligibilityIncome, &IncomeLine::single);

  for (const IncomeLine* line : kAllLines) {
    form.makeProtectedAndSetNull(line->taxpayer);
    form.makeProtectedAndSetNull(line->spouse);
  }
  form.makeProtectedAndSetNull(PAScheduleSP::kTaxpayerEligibilityIncome);
  form.makeProtectedAndSetNull(PAScheduleSP::kSpouseEligibilityIncome);
  form.setNull(PAScheduleSP::kJointEligibilityIncome);
}

void fillTwoColumns(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  const bool joint = run.filingStatus == PADataMgmt::kFilingJoint;

  form.assignIR(kC1.taxpayer, pa40Amount(run, PA40::kTotalTaxableIncome));
  form.unProtect(kC1.spouse);
  // The PA-40 income is final only in a run that is not provisional.
  if (joint) splitJointAmount(form, kC1, !run.provisional);

  form.assignIR(kC2a.taxpayer, interestDividends(run, 1));
  form.makeProtected(kC2a.taxpayer);
  if (joint) {
    form.assignIR(kC2a.spouse, interestDividends(run, 2));
    form.makeProtected(kC2a.spouse);
  } else {
    form.unprotectAndMaybeSetNull(kC2a.spouse);
  }
  form.makeProtectedAndSetNull(kC2a.single);
  form.makeProtectedAndSetNull(kC2b.single);
  form.unProtect(kC2b.taxpayer);
  form.unProtect(kC2b.spouse);
  form.plus2(kC2.taxpayer, kC2a.taxpayer, kC2b.taxpayer);
  form.plus2(kC2.spouse, kC2a.spouse, kC2b.spouse);

  form.assignIR(kC3.taxpayer, static_cast<double>(run.federalAmount(kPullFederalIncome)));
  form.unProtect(kC3.spouse);
  if (joint && !run.marked(PAScheduleSP::kDiedThisYearBox)) splitJointAmount(form, kC3);

  for (const IncomeLine* line : kEnteredLines) {
    form.unProtect(line->taxpayer);
    form.unProtect(line->spouse);
  }
  form.unProtect(kC6.spouse);

  if (run.residency == PADataMgmt::kFullYearResident) {
    form.makeProtectedAndSetNull(kC6.taxpayer);
    form.makeProtectedAndSetNull(kC6.spouse);
  } else {
    fillIncomeOutsidePA(run, kC6.taxpayer);
  }

  sumColumn(form, PAScheduleSP::kTaxpayerEligibilityIncome, &IncomeLine::taxpayer);
  sumColumn(form, PAScheduleSP::kSpouseEligibilityIncome, &IncomeLine::spouse);
  form.plus2(PAScheduleSP::kJointEligibilityIncome, PAScheduleSP::kTaxpayerEligibilityIncome,
             PAScheduleSP::kSpouseEligibilityIncome);

  for (const IncomeLine* line : kAllLines) form.makeProtectedAndSetNull(line->single);
  form.makeProtectedAndSetNull(PAScheduleSP::kEligibilityIncome);
}

bool oneColumn(const Run& run) {
  return run.marked(PAScheduleSP::kUnmarriedBox) || run.marked(PAScheduleSP::kMarriedJointBox) ||
         run.marked(PAScheduleSP::kSeparatedBox) || run.marked(PAScheduleSP::kDeceasedBox);
}

// D1 to D3 of one layout; `tax` is the PA tax as that layout takes it.
void fillSubjectLines(const Run& run, const ForgivenessLines& lines, double tax) {
  DataMgmt::TaxForm& form = run.form();
  form.assignIR(lines.tax, tax);
  if (run.residency == PADataMgmt::kNonresident) {
    form.setNull(lines.deduction);
  } else {
    const int32_t deduction = run.pa.getStateLineValue(run.engine.getStateReturnFormId(), 1, kDeductionLine);
    form.assignIR(lines.deduction, static_cast<double>(deduction));
  }
  form.minusIIge0(lines.subject, lines.tax, lines.deduction);
}

void nullSubjectLines(DataMgmt::TaxForm& form, const ForgivenessLines& lines) {
  form.setNull(lines.tax);
  form.setNull(lines.deduction);
  form.setNull(lines.subject);
}

void nullAllLines(DataMgmt::TaxForm& form, const ForgivenessLines& lines) {
  nullSubjectLines(form, lines);
  form.setNull(lines.percentage);
  form.setNull(lines.forgiven);
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
    if (form.getIR(PAScheduleSP::kEligibilityIncome) > 0) {
      const double offset = pa40Amount(run, PA40::kAmendedTaxAddition);
      fillSubjectLines(run, kOneColumn, offset > 0 ? tax - offset : tax);
    } else {
      nullSubjectLines(form, kOneColumn);
    }
    nullAllLines(form, kTwoColumns);
    return;
  }
  if (run.marked(PAScheduleSP::kMarriedSeparateSchedulesBox) ||
      run.marked(PAScheduleSP::kMarriedClaimedBox) || run.marked(PAScheduleSP::kMarriedOtherBox)) {
    if (form.getIR(PAScheduleSP::kTaxpayerEligibilityIncome) +
            form.getIR(PAScheduleSP::kSpouseEligibilityIncome) >
        0) {
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
