// The PA-40's use tax: the tax on entered purchases at the county's rate,
// an optional estimate from the table below by gross taxable income, less
// an entered credit. Runs after the credits and before the balance, which
// adds the use tax due to the amount owed.
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/box_marks.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;

namespace {

// The two counties with a local sales tax, as the information form's
// county text names them; every other text (the empty one included)
// belongs to the third column.
const char* const kAllegheny = "Allegheny";
const char* const kPhiladelphia = "Philadelphia";

// One column of amounts per county group: Allegheny, Philadelphia, others.
enum CountyColumn { kColumnAllegheny, kColumnPhiladelphia, kColumnOther, kColumnCount };

const double kUseTaxRate[kColumnCount] = {7, 8, 6};  // percent

// Estimated use tax: the first row whose bound is above the gross taxable
// income gives the amount; above the last bound the amount is the income
// times the factor, capped.
struct EstimateRow {
  double bound;
  double amount[kColumnCount];
};
const EstimateRow kEstimateRows[] = {
    {15001, {7, 8, 6}},     {30001, {14, 17, 12}},  {50001, {19, 22, 17}},  {75001, {26, 30, 23}},
    {100001, {37, 43, 32}}, {150001, {52, 59, 44}}, {200001, {66, 76, 57}},
};
const double kEstimateFactor[kColumnCount] = {0.00035, 0.0004, 0.0003};
const double kEstimateCap[kColumnCount] = {88, 100, 75};

// Whole, exact comparison: case and blanks count.
CountyColumn columnOf(const char* county) {
  if (county == nullptr) return kColumnOther;
  if (std::strcmp(county, kAllegheny) == 0) return kColumnAllegheny;
  if (std::strcmp(county, kPhiladelphia) == 0) return kColumnPhiladelphia;
  return kColumnOther;
}

}  // namespace

double PATaxReturnCalcEngine::useTaxRate(const char* county) { return kUseTaxRate[columnOf(county)]; }

double PATaxReturnCalcEngine::estimatedUseTax(double grossTaxableIncome, const char* county) {
  const CountyColumn column = columnOf(county);
  for (const EstimateRow& row : kEstimateRows) {
    if (row.bound > grossTaxableIncome) return row.amount[column];
  }
  const double estimate = grossTaxableIncome * kEstimateFactor[column];
  return estimate < kEstimateCap[column] ? estimate : kEstimateCap[column];
}

void PATaxReturnCalcEngine::computePA40UseTax(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const auto& f = kPA40FieldIds;

  // Businesses and Schedule UE report purchases of their own (Schedule UE
  // field 56, Schedule C 56261, Schedule E 106).
  markOrNo(pa40, f[109],
           paReturn->getAllCopies(kFormID_PAScheduleUE, kPAScheduleUEFieldIds[87]) > 0 ||
               paReturn->getAllCopies(kFormID_PAScheduleC, kPAScheduleCFieldIds[140]) > 0 ||
               paReturn->getAllCopies(kFormID_PAScheduleE, kPAScheduleEFieldIds[117]) > 0);

  pa40.setValueToSumOf(f[240], {f[237], f[238], f[239]});  // purchases subject to use tax
  char county[128];
  paReturn->formString(county, sizeof county, kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[172]);  // 94
  const double rate = useTaxRate(county);
  if (pa40.getIR(f[240]) > 0) {
    pa40.assignIR(f[241], rate);
  } else {
    pa40.makeProtectedAndSetNull(f[241]);
  }
  pa40.assignIR(f[242], pa40.getIR(f[240]) * rate / 100);

  Utils::setDefaultX(form, f[244], f[244], f[243]);
  const double gross = pa40.getIN(f[201]);
  pa40.assignIR(f[245], pa40.xMarked(f[243]) ? estimatedUseTax(gross, county) : 0.0);

  pa40.minIR(f[246], f[246], pa40.getIR(f[245]) + pa40.getIR(f[242]));  // credit, limited
  pa40.assignIR(f[247], pa40.getIR(f[245]) + pa40.getIR(f[242]) - pa40.getIR(f[246]));
  pa40.assignII(f[248], f[247]);
  Utils::setDefaultX(form, f[107], f[108], f[108]);
}

}  // namespace PACalculationMgmt
