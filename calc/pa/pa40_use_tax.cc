// The PA-40's use tax: the tax on entered purchases at the county's rate,
// an optional estimate from the use-tax table by gross taxable income, less
// an entered credit. Runs after the credits and before the balance, which
// adds the use tax due to the amount owed.
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"

namespace PACalculationMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;
using PATax2018::UseTaxCounty;

namespace {

// The county group of the information form's county text: the two
// counties with a local sales tax by name, compared whole and exactly (case
// and blanks count); every other text, the empty one included, is the third
// group.
UseTaxCounty countyGroup(const char* county) {
  if (county == nullptr) return PATax2018::kUseTaxOtherCounty;
  for (UseTaxCounty group : {PATax2018::kUseTaxAllegheny, PATax2018::kUseTaxPhiladelphia}) {
    if (std::strcmp(county, PATax2018::kUseTaxCountyNames[group]) == 0) return group;
  }
  return PATax2018::kUseTaxOtherCounty;
}

}  // namespace

double PATaxReturnCalcEngine::useTaxRate(const char* county) {
  return PATax2018::kUseTaxRatePercent[countyGroup(county)];
}

double PATaxReturnCalcEngine::estimatedUseTax(double grossTaxableIncome, const char* county) {
  const UseTaxCounty group = countyGroup(county);
  for (const PATax2018::UseTaxRow& row : PATax2018::kUseTaxRows) {
    if (row.bound > grossTaxableIncome) return row.amount[group];
  }
  const double estimate = grossTaxableIncome * PATax2018::kUseTaxFactor[group];
  return estimate < PATax2018::kUseTaxCap[group] ? estimate : PATax2018::kUseTaxCap[group];
}

void PATaxReturnCalcEngine::computePA40UseTax(TaxFormPtr form) {
  TaxForm& pa40 = *form;

  // The purchases box: utilities on any Schedule C or E, or the fourth
  // office expense on any Schedule UE.
  markOrNo(pa40, PA40::kPurchasesBox,
           paReturn->getAllCopies(kFormID_PAScheduleUE, PAScheduleUE::kOfficeFourthExpense) > 0 ||
               paReturn->getAllCopies(kFormID_PAScheduleC, PAScheduleC::kUtilities) > 0 ||
               paReturn->getAllCopies(kFormID_PAScheduleE, PAScheduleE::kUtilities) > 0);

  pa40.setValueToSumOf(PA40::kPurchasesSubjectToUseTax,
                       {PA40::kPurchasesPartOne, PA40::kPurchasesPartTwo, PA40::kPurchasesPartThree});
  char county[128];
  paReturn->formString(county, sizeof county, kFormID_PAReturnInfo, 1, PAReturnInfo::kCounty);
  const double rate = useTaxRate(county);
  if (pa40.getIR(PA40::kPurchasesSubjectToUseTax) > 0) {
    pa40.assignIR(PA40::kUseTaxRate, rate);
  } else {
    pa40.makeProtectedAndSetNull(PA40::kUseTaxRate);
  }
  pa40.assignIR(PA40::kUseTaxOnPurchases, pa40.getIR(PA40::kPurchasesSubjectToUseTax) * rate / 100);

  Utils::setDefaultX(form, PA40::kEstimatedUseTaxNoBox, PA40::kEstimatedUseTaxNoBox,
                     PA40::kEstimatedUseTaxYesBox);
  const double gross = pa40.getIN(PA40::kTotalTaxableIncome);
  pa40.assignIR(PA40::kEstimatedUseTax,
                pa40.xMarked(PA40::kEstimatedUseTaxYesBox) ? estimatedUseTax(gross, county) : 0.0);

  // The credit is limited to the tax.
  const double useTax = pa40.getIR(PA40::kEstimatedUseTax) + pa40.getIR(PA40::kUseTaxOnPurchases);
  pa40.minIR(PA40::kUseTaxCredit, PA40::kUseTaxCredit, useTax);
  pa40.assignIR(PA40::kUseTaxLessCredit, useTax - pa40.getIR(PA40::kUseTaxCredit));
  pa40.assignII(PA40::kUseTax, PA40::kUseTaxLessCredit);
  Utils::setDefaultX(form, PA40::kUseTaxChoiceYesBox, PA40::kUseTaxChoiceNoBox, PA40::kUseTaxChoiceNoBox);
}

}  // namespace PACalculationMgmt
