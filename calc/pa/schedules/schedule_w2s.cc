// computeScheduleW2S: PA Schedule W2-S (state form 170), the summary of the
// return's wages and miscellaneous compensation.
//
// One row per person for wages (summed over every PA W-2 copy) and one per
// person for miscellaneous compensation (summed over every worksheet
// copy), each with three amounts; amount 2 is the PA compensation. Only
// amounts 2 and 3 are totalled. A row whose three sums are all 0 is
// emptied. Amounts are whole dollars.
#include <cstddef>
#include <cstdint>

#include "calc/pa/box_marks.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

namespace S = PAScheduleW2S;
using Field = NamedField<PAScheduleW2SFieldIds>;

const char kSeeWorksheet[] = "See Wks.";

// One summary row: its fields on the schedule, its three sources (each
// summed over every copy of the source form) and the owner and
// description texts.
template <class SourceCatalog>
struct SummaryRow {
  Field owner;
  Field description;
  Field amounts[3];
  NamedField<SourceCatalog> sources[3];
  const char* ownerText;
  const char* descriptionText;
};

// From every PA W-2 copy.
const SummaryRow<PAW2FieldIds> kWageRows[] = {
    {S::kTaxpayerWagesOwner,
     S::kTaxpayerWagesDescription,
     {S::kTaxpayerFederalWages, S::kTaxpayerPACompensation, S::kTaxpayerPATaxWithheld},
     {PAW2::kTaxpayerFederalWages, PAW2::kTaxpayerPACompensation, PAW2::kTaxpayerPATaxWithheld},
     "T",
     "TP - Wages"},
    {S::kSpouseWagesOwner,
     S::kSpouseWagesDescription,
     {S::kSpouseFederalWages, S::kSpousePACompensation, S::kSpousePATaxWithheld},
     {PAW2::kSpouseFederalWages, PAW2::kSpousePACompensation, PAW2::kSpousePATaxWithheld},
     "S",
     "SP - Wages"},
};
// From every miscellaneous-compensation worksheet copy.
const SummaryRow<PAMiscCompWorksheetFieldIds> kCompensationRows[] = {
    {S::kTaxpayerMiscCompOwner,
     S::kTaxpayerMiscCompDescription,
     {S::kTaxpayerMiscCompAmount, S::kTaxpayerMiscCompPACompensation, S::kTaxpayerMiscCompPATaxWithheld},
     {PAMiscCompWorksheet::kTaxpayerAmount, PAMiscCompWorksheet::kTaxpayerPACompensation,
      PAMiscCompWorksheet::kTaxpayerPAWithholding},
     "T",
     "TP - Misc. Comp."},
    {S::kSpouseMiscCompOwner,
     S::kSpouseMiscCompDescription,
     {S::kSpouseMiscCompAmount, S::kSpouseMiscCompPACompensation, S::kSpouseMiscCompPATaxWithheld},
     {PAMiscCompWorksheet::kSpouseAmount, PAMiscCompWorksheet::kSpousePACompensation,
      PAMiscCompWorksheet::kSpousePAWithholding},
     "S",
     "SP - Misc. Comp."},
};

// The situation boxes the user marks; any of them marked, or the
// calculation's other-state box, marks the situation box.
const Field kUserSituationBoxes[] = {S::kTaxpayerWagesDifferenceBox, S::kSpouseWagesDifferenceBox,
                                     S::kIncorrectW2Box,             S::kW2ExplanationBothBox,
                                     S::kMissingW2BothBox,           S::kMissingW2Box};

// Writes the rows of one block from every copy of `source`; returns
// whether any of their sums is not 0.
template <class SourceCatalog, std::size_t N>
bool writeRows(DataMgmt::TaxForm& w2s, const DataMgmt::TaxReturn& pa, const DataMgmt::FormId& source,
               const SummaryRow<SourceCatalog> (&rows)[N]) {
  bool anyAmount = false;
  for (const SummaryRow<SourceCatalog>& row : rows) {
    long sums[3];
    for (int k = 0; k < 3; ++k) sums[k] = pa.getAllCopies(source, row.sources[k]);
    if (sums[0] == 0 && sums[1] == 0 && sums[2] == 0) {
      w2s.setNull(row.owner);
      w2s.setNull(row.description);
      for (const Field& amount : row.amounts) w2s.setNull(amount);
      continue;
    }
    anyAmount = true;
    for (int k = 0; k < 3; ++k) w2s.assignIR(row.amounts[k], static_cast<double>(sums[k]));
    w2s.assignText(row.owner, row.ownerText);
    w2s.assignText(row.description, row.descriptionText);
  }
  return anyAmount;
}

void noteIf(DataMgmt::TaxForm& w2s, const FieldId& note, bool shown) {
  if (shown) {
    w2s.assignText(note, kSeeWorksheet);
  } else {
    w2s.setNull(note);
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleW2S(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  DataMgmt::TaxForm& w2s = *form;
  const DataMgmt::TaxReturn& pa = *paReturn;
  const FieldId& none = Primitives::kNullFieldID;
  const uint8_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  auto paW2Sum = [&pa](const FieldId& field) { return pa.getAllCopies(kFormID_PAW2, field); };
  auto worksheetSum = [&pa](const FieldId& field) { return pa.getAllCopies(kFormID_PAMiscCompWorksheet, field); };

  copyNameText(form, kFormID_PAReturnInfo, status, 0, S::kFilerName, S::kFilerSSN, none, none, none, none, none,
               none, none, 0);

  if (status == PADataMgmt::kFilingJoint) {
    w2s.unProtect(S::kSpouseWagesDifferenceBox);
  } else {
    w2s.makeProtected(S::kSpouseWagesDifferenceBox);
    w2s.setXNo(S::kSpouseWagesDifferenceBox);
  }
  // The PA W-2 copies read the next two boxes: copy 1 below, the others
  // ahead of copy 1's first run in a calculation. The boxes come first,
  // and from their sources, so that every copy reads them as this
  // calculation leaves them.
  markOrNo(w2s, S::kOtherStateWagesBox, anyListedW2WithOtherStateAmounts());
  markOrNo(w2s, S::kAnySituationBox,
           holdsAnyOf(w2s, kUserSituationBoxes) || w2s.xMarked(S::kOtherStateWagesBox));

  // Copy 1 of the PA W-2 is calculated twice in succession before its
  // sums are read; the other copies stand as the driver left them.
  {
    TaxFormPtr firstW2 = paReturn->getFormUVPtr(kFormID_PAW2, 1, false);
    if (!firstW2.isNull()) {
      calcStateFormTwice(kFormID_PAW2, 1, 1, firstW2);
    }
  }

  // Federal W-2 copies of each person; a copy of both counts twice.
  const int w2Count = countW2CopiesMarkedFirstBox() + countW2CopiesMarkedSecondBox();
  w2s.assignIR(S::kW2Count, static_cast<double>(w2Count));

  // Indicator boxes from the PA W-2.
  markOrNo(w2s, S::kWithholdingRateBox,
           paW2Sum(PAW2::kTaxpayerWithholdingAboveRateCount) > 0 ||
               paW2Sum(PAW2::kSpouseWithholdingAboveRateCount) > 0);

  // Wages.
  noteIf(w2s, S::kWagesWorksheetNote, writeRows(w2s, pa, kFormID_PAW2, kWageRows));
  w2s.plus2(S::kWagesTotalPACompensation, S::kTaxpayerPACompensation, S::kSpousePACompensation);
  w2s.plus2(S::kWagesTotalPATaxWithheld, S::kTaxpayerPATaxWithheld, S::kSpousePATaxWithheld);

  // Miscellaneous compensation.
  noteIf(w2s, S::kMiscCompWorksheetNote, worksheetSum(PAMiscCompWorksheet::kCodeHCount) > 0);
  noteIf(w2s, S::kMiscCompRowsNote, writeRows(w2s, pa, kFormID_PAMiscCompWorksheet, kCompensationRows));

  // Totals.
  w2s.plus2(S::kMiscCompTotalPACompensation, S::kTaxpayerMiscCompPACompensation, S::kSpouseMiscCompPACompensation);
  w2s.plus2(S::kMiscCompTotalPATaxWithheld, S::kTaxpayerMiscCompPATaxWithheld, S::kSpouseMiscCompPATaxWithheld);
  w2s.plus2(S::kTotalPACompensation, S::kWagesTotalPACompensation, S::kMiscCompTotalPACompensation);
  w2s.plus2(S::kTotalPATaxWithheld, S::kWagesTotalPATaxWithheld, S::kMiscCompTotalPATaxWithheld);

  // Worksheet rows in need of attention.
  markOrNo(w2s, S::kCompensationWorksheetAttentionBox, worksheetSum(PAMiscCompWorksheet::kProblemCount) > 0);

  // A wage total of either sign, or a positive compensation total, makes
  // the schedule part of the return; without one it leaves the return
  // unless the user marked a situation or an explanation on it.
  const bool totals = w2s.getIR(S::kWagesTotalPACompensation) != 0 || w2s.getIR(S::kWagesTotalPATaxWithheld) != 0 ||
                      w2s.getIR(S::kMiscCompTotalPACompensation) > 0 || w2s.getIR(S::kMiscCompTotalPATaxWithheld) > 0;
  markPartOfReturn(*paReturn, kFormID_PAScheduleW2S, copy, w2s, totals,
                   [&] { return holdsUserEntry(w2s, S::kUserFields); });
}

}  // namespace PACalculationMgmt
