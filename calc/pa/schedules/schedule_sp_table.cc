// The special tax forgiveness table and its use on Schedule SP: the
// percentage by marital class, eligibility income and dependent children,
// stored on the schedule, and the forgiven part of the tax.
#include "calc/pa/schedules/schedule_sp_table.h"

#include <cmath>

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

namespace {

// The child count is a whole number the schedule holds as an amount; a
// value beyond any real family is held here so the cast stays defined.
const double kMostChildren = 1000000.0;

}  // namespace

double forgivenessBound(MaritalClass maritalClass, int row, int children) {
  const double base = maritalClass == MaritalClass::kMarried ? PATax2018::kForgivenessBaseMarried
                                                             : PATax2018::kForgivenessBaseUnmarried;
  if (children < 0) children = 0;
  return base + 1 + PATax2018::kForgivenessStep * row + PATax2018::kForgivenessPerChild * children;
}

int forgivenessPercent(MaritalClass maritalClass, double income, int children) {
  for (int row = 0; row < kForgivenessRows; ++row) {
    if (income < forgivenessBound(maritalClass, row, children))
      return 100 - PATax2018::kForgivenessPercentStep * row;
  }
  return 0;
}

void applyForgiveness(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  double count = form.getIR(PAScheduleSP::kDependentCount);
  if (count > kMostChildren) count = kMostChildren;
  const int children = count > 0 ? static_cast<int>(count) : 0;

  MaritalClass maritalClass = MaritalClass::kMarried;
  double income = form.getIR(PAScheduleSP::kEligibilityIncome);
  const ForgivenessLines* lines = &kOneColumn;
  if (run.marked(PAScheduleSP::kUnmarriedBox) || run.marked(PAScheduleSP::kSeparatedBox) ||
      run.marked(PAScheduleSP::kDeceasedBox)) {
    maritalClass = MaritalClass::kUnmarried;
  } else if (!run.marked(PAScheduleSP::kMarriedJointBox)) {
    income = form.getIR(PAScheduleSP::kTaxpayerEligibilityIncome) +
             form.getIR(PAScheduleSP::kSpouseEligibilityIncome);
    lines = &kTwoColumns;
  }

  if (form.getIR(lines->subject) <= 0) {
    form.setNull(lines->percentage);
    form.setNull(lines->forgiven);
    return;
  }
  double share = forgivenessPercent(maritalClass, income, children) / 100.0;
  if (share < 0) share = 0;
  if (share > 1) share = 1;
  // Stored as the whole percentage; the forgiven amount uses what the field holds.
  run.engine.copyNumberField(kFormID_PAScheduleSP, run.copy, lines->percentage, share, 2);
  // In cents: 70 % of 175 is 122.50, not the 122.4999... of binary
  // arithmetic, which a whole-dollar read would take as 122.
  const double forgiven = form.getIR(lines->subject) * form.getIR(lines->percentage) / 100.0;
  form.assignIR(lines->forgiven, std::round(forgiven * 100.0) / 100.0);
}

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt
