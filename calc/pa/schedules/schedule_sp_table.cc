// The special tax forgiveness table and its use on Schedule SP: the
// percentage by marital class, eligibility income and dependent children,
// stored on the schedule, and the forgiven part of the tax.
#include "calc/pa/schedules/schedule_sp_table.h"

#include <cmath>

#include "calc/pa/schedules/schedule_sp_parts.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

namespace {

// Income must be below the bound; rows from 100 percent down to 10,
// columns for 0 to 9 dependent children.
const double kUnmarriedBounds[kForgivenessRows][kTabulatedChildren] = {
    {6501, 16001, 25501, 35001, 44501, 54001, 63501, 73001, 82501, 92001},  // 100 percent
    {6751, 16251, 25751, 35251, 44751, 54251, 63751, 73251, 82751, 92251},  // 90 percent
    {7001, 16501, 26001, 35501, 45001, 54501, 64001, 73501, 83001, 92501},  // 80 percent
    {7251, 16751, 26251, 35751, 45251, 54751, 64251, 73751, 83251, 92751},  // 70 percent
    {7501, 17001, 26501, 36001, 45501, 55001, 64501, 74001, 83501, 93001},  // 60 percent
    {7751, 17251, 26751, 36251, 45751, 55251, 64751, 74251, 83751, 93251},  // 50 percent
    {8001, 17501, 27001, 36501, 46001, 55501, 65001, 74501, 84001, 93501},  // 40 percent
    {8251, 17751, 27251, 36751, 46251, 55751, 65251, 74751, 84251, 93751},  // 30 percent
    {8501, 18001, 27501, 37001, 46501, 56001, 65501, 75001, 84501, 94001},  // 20 percent
    {8751, 18251, 27751, 37251, 46751, 56251, 65751, 75251, 84751, 94251},  // 10 percent
};

const double kMarriedBounds[kForgivenessRows][kTabulatedChildren] = {
    {13001, 22501, 32001, 41501, 51001, 60501, 70001, 79501, 89001, 98501},   // 100 percent
    {13251, 22751, 32251, 41751, 51251, 60751, 70251, 79751, 89251, 98751},   // 90 percent
    {13501, 23001, 32501, 42001, 51501, 61001, 70501, 80001, 89501, 99001},   // 80 percent
    {13751, 23251, 32751, 42251, 51751, 61251, 70751, 80251, 89751, 99251},   // 70 percent
    {14001, 23501, 33001, 42501, 52001, 61501, 71001, 80501, 90001, 99501},   // 60 percent
    {14251, 23751, 33251, 42751, 52251, 61751, 71251, 80751, 90251, 99751},   // 50 percent
    {14501, 24001, 33501, 43001, 52501, 62001, 71501, 81001, 90501, 100001},  // 40 percent
    {14751, 24251, 33751, 43251, 52751, 62251, 71751, 81251, 90751, 100251},  // 30 percent
    {15001, 24501, 34001, 43501, 53001, 62501, 72001, 81501, 91001, 100501},  // 20 percent
    {15251, 24751, 34251, 43751, 53251, 62751, 72251, 81751, 91251, 100751},  // 10 percent
};

// Every child beyond the tabulated ones raises each bound by this much.
const double kPerChild = 9500.0;

// The child count is a whole number the schedule holds as an amount; a
// value beyond any real family is held here so the cast stays defined.
const double kMostChildren = 1000000.0;

}  // namespace

double forgivenessBound(MaritalClass maritalClass, int row, int children) {
  const double (&bounds)[kForgivenessRows][kTabulatedChildren] =
      maritalClass == MaritalClass::kMarried ? kMarriedBounds : kUnmarriedBounds;
  if (children < 0) children = 0;
  const int last = kTabulatedChildren - 1;
  if (children <= last) return bounds[row][children];
  return bounds[row][last] + static_cast<double>(children - last) * kPerChild;
}

int forgivenessPercent(MaritalClass maritalClass, double income, int children) {
  for (int row = 0; row < kForgivenessRows; ++row) {
    if (income < forgivenessBound(maritalClass, row, children)) return 100 - 10 * row;
  }
  return 0;
}

void applyForgiveness(const Run& run) {
  DataMgmt::TaxForm& form = run.form();
  double count = form.getIR(sp(kChildCount));
  if (count > kMostChildren) count = kMostChildren;
  const int children = count > 0 ? static_cast<int>(count) : 0;

  MaritalClass maritalClass = MaritalClass::kMarried;
  double income = form.getIR(sp(kEligibilitySingle));
  const ForgivenessLines* lines = &kOneColumn;
  if (run.marked(kUnmarried) || run.marked(kSeparate) || run.marked(kDeceased)) {
    maritalClass = MaritalClass::kUnmarried;
  } else if (!run.marked(kMarriedJ)) {
    income = form.getIR(sp(kTPEligibility)) + form.getIR(sp(kSPEligibility));
    lines = &kTwoColumns;
  }

  if (form.getIR(sp(lines->subject)) <= 0) {
    form.setNull(sp(lines->percentage));
    form.setNull(sp(lines->forgiven));
    return;
  }
  double share = forgivenessPercent(maritalClass, income, children) / 100.0;
  if (share < 0) share = 0;
  if (share > 1) share = 1;
  // Stored as the whole percentage; the forgiven amount uses what the field holds.
  run.engine.copyNumberField(kFormID_PAScheduleSP, run.copy, sp(lines->percentage), share, 2);
  // In cents: 70 % of 175 is 122.50, not the 122.4999... of binary
  // arithmetic, which a whole-dollar read would take as 122.
  const double forgiven = form.getIR(sp(lines->subject)) * form.getIR(sp(lines->percentage)) / 100.0;
  form.assignIR(sp(lines->forgiven), std::round(forgiven * 100.0) / 100.0);
}

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt
