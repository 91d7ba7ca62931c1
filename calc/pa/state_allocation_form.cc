// The PA calculation of the state allocation form (state form 18): the
// return's residency choice, recorded on the information form, drives the
// state layer's interest and dividend lines, federal wage pull and totals.
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

void PATaxReturnCalcEngine::computeStateAllocationForm(DataMgmt::TaxFormPtr form, uint16_t /*copy*/,
                                                       int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;

  // Residency choice from the information form's residency boxes and its
  // part-year allocation box.
  const int choice = readMarkedChoice(form, kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox,
                                      PAReturnInfo::kNonresidentBox, PAReturnInfo::kPartYearResidentBox,
                                      PAReturnInfo::kPartYearAllocatedBox);
  DataMgmt::TaxFormPtr info = paReturn->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  if (!info.isNull()) info->assignIR(PAReturnInfo::kResidencyChoice, choice);

  const uint16_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  pullInterestDividendAmounts(form, choice, filingStatus);
  pullFederalWages(form, kFormID_PAReturnInfo, filingStatus, choice, 0);
  totalStateAllocationForm(form);
}

}  // namespace PACalculationMgmt
