// The hooks around the PA whole-return calculation: nothing before it,
// the host's state-summary form after it.
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
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
  auto pa40 = [&pa](int member) { return pa.getIN(kFormID_PA40, 1, kPA40FieldIds[member]); };
  const FieldId& owed = kStateSummaryFieldIds[0];     // 32784
  const FieldId& refunded = kStateSummaryFieldIds[1];  // 32785

  // The balance: an amount owed with its additions, else the refund less
  // what the filer gave away; a negative refund line leaves both alone.
  const long due = pa40(262);          // 251
  const long dueAdditions = pa40(250);  // 267
  const long refund = pa40(249);        // 250
  const long donations = pa40(248);     // 131111
  if (due > 0) {
    summary->assignIR(owed, static_cast<double>(due + dueAdditions + donations));
    summary->setNull(refunded);
  } else if (refund >= 0) {
    summary->assignIR(refunded, static_cast<double>(refund - donations));
    summary->setNull(owed);
  }

  pa.getII(kFormID_PA40, kPA40FieldIds[265] /* 253 */, summary, kStateSummaryFieldIds[3] /* 32787 */);
  pa.getII(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[154] /* 90 */, summary,
           kStateSummaryFieldIds[2] /* 32786 */);
  pa.getII(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[172] /* 94 */, summary,
           kStateSummaryFieldIds[5] /* 81494 */);
  pa.getII(kFormID_PAReturnInfo, kPAReturnInfoFieldIds[173] /* 92 */, summary,
           kStateSummaryFieldIds[6] /* 81495 */);

  const bool nonresident = pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[102] /* 47 */);
  const FieldId& residency = kStateSummaryFieldIds[7];  // 133645
  if (nonresident) {
    summary->assignText(residency, kResidencyTexts[3]);
  } else if (pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[103] /* 48 */)) {
    summary->assignText(residency, kResidencyTexts[2]);
  } else if (pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[101] /* 46 */)) {
    summary->assignText(residency, kResidencyTexts[1]);
  } else {
    summary->setNull(residency);
  }

  // Nonresident only: PA-40 field 172, and field 173 less 244, 245 and 266.
  const FieldId& paIncome = kStateSummaryFieldIds[8];     // 133646
  const FieldId& netIncome = kStateSummaryFieldIds[9];    // 133647
  if (nonresident) {
    pa.getII(kFormID_PA40, kPA40FieldIds[204] /* 172 */, summary, paIncome);
    summary->assignIR(netIncome,
                      static_cast<double>(pa40(207) /* 173 */ - pa40(228) /* 244 */ -
                                          pa40(231) /* 245 */ - pa40(232) /* 266 */));
  } else {
    summary->setNull(paIncome);
    summary->setNull(netIncome);
  }

  paReturn->setDataEntered(kFormID_StateSummary, 1, true, false);
}

}  // namespace PACalculationMgmt
