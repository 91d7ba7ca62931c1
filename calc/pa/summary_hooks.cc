// The hooks around the PA whole-return calculation: nothing before it,
// the host's state-summary form after it.
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::TaxFormPtr;

namespace {

// Residency as the state summary shows it, by residency code (0: none).
const char* const kResidencyTexts[] = {
    "No Entry", "Full-year resident", "Part-year resident", "Nonresident",
};

}  // namespace

void PATaxReturnCalcEngine::preCalc() {}

void PATaxReturnCalcEngine::postCalc() {
  if (paReturn == nullptr) return;
  TaxFormPtr summary = paReturn->getFormUVPtr(kFormID_StateSummary, 1, true);
  if (summary.isNull()) return;
  const PADataMgmt::PATaxReturn& pa = *paReturn;
  auto pa40 = [&pa](const NamedField<PA40FieldIds>& field) { return pa.getIN(kFormID_PA40, 1, field); };

  // The balance, in the summary's own arithmetic: an overpayment line
  // above 0 with the penalties and the use tax, else the tax due less the
  // use tax; a tax due below 0 leaves both alone.
  const long overpayment = pa40(PA40::kOverpayment);
  const long penalties = pa40(PA40::kPenaltiesInterest);
  const long taxDue = pa40(PA40::kTaxDue);
  const long useTax = pa40(PA40::kUseTax);
  if (overpayment > 0) {
    summary->assignIR(StateSummary::kAmountOwed, static_cast<double>(overpayment + penalties + useTax));
    summary->setNull(StateSummary::kRefund);
  } else if (taxDue >= 0) {
    summary->assignIR(StateSummary::kRefund, static_cast<double>(taxDue - useTax));
    summary->setNull(StateSummary::kAmountOwed);
  }

  pa.getII(kFormID_PA40, PA40::kEstimatedAccountCredit, summary, StateSummary::kEstimatedAccountCredit);
  pa.getII(kFormID_PAReturnInfo, PAReturnInfo::kExtensionPayment, summary, StateSummary::kExtensionPayment);
  pa.getII(kFormID_PAReturnInfo, PAReturnInfo::kCounty, summary, StateSummary::kCounty);
  pa.getII(kFormID_PAReturnInfo, PAReturnInfo::kSchoolDistrict, summary, StateSummary::kSchoolDistrict);

  auto infoYes = [&pa](const NamedField<PAReturnInfoFieldIds>& box) {
    return pa.formYes(kFormID_PAReturnInfo, 1, box);
  };
  const bool nonresident = infoYes(PAReturnInfo::kNonresidentBox);
  if (nonresident) {
    summary->assignText(StateSummary::kResidencyText, kResidencyTexts[3]);
  } else if (infoYes(PAReturnInfo::kPartYearResidentBox)) {
    summary->assignText(StateSummary::kResidencyText, kResidencyTexts[2]);
  } else if (infoYes(PAReturnInfo::kFullYearResidentBox)) {
    summary->assignText(StateSummary::kResidencyText, kResidencyTexts[1]);
  } else {
    summary->setNull(StateSummary::kResidencyText);
  }

  // Nonresident only: the adjusted PA taxable income, and the tax less the
  // forgiveness, resident and other credits.
  if (nonresident) {
    pa.getII(kFormID_PA40, PA40::kAdjustedTaxableIncome, summary, StateSummary::kNonresidentIncome);
    const long netTax = pa40(PA40::kTaxLiability) - pa40(PA40::kForgivenessCredit) -
                        pa40(PA40::kResidentCredit) - pa40(PA40::kOtherCredits);
    summary->assignIR(StateSummary::kNonresidentNetTax, static_cast<double>(netTax));
  } else {
    summary->setNull(StateSummary::kNonresidentIncome);
    summary->setNull(StateSummary::kNonresidentNetTax);
  }

  paReturn->setDataEntered(kFormID_StateSummary, 1, true, false);
}

}  // namespace PACalculationMgmt
