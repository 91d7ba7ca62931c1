// The PA whole-return driver: brings the PA copies into line with the
// federal return, makes sure the fixed forms exist, calculates every form
// in the fixed order and runs the automated-test hooks when allowed.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/rental_sources.h"
#include "catalogs/fields/fields.h"
#include "host/configuration.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;

namespace {

// A PA W-2 copy k lists the federal W-2 copies 18k-17 to 18k.
const int kW2RowsPerCopy = PAW2::kListedEmployerName.rows();
// A Schedule D worksheet copy links twelve federal sale records, one a row.
const auto& kSaleLink = PAScheduleDWorksheet::kRowFederalLink;
const int kSaleRowsPerWorksheet = kSaleLink.rows();

// The calculation order of a whole return: 41 steps, every existing copy
// of the step's form each time (the PA W-2 and the deductions schedule:
// see calcOrderStep). The PA-40 comes five times, each after the
// schedules it reads have been brought up to date.
const FormId* const kFormCalcOrder[] = {
    &kFormID_PAReturnInfo, &kFormID_PA40, &kFormID_State16, &kFormID_State17, &kFormID_State18,
    &kFormID_PAW2, &kFormID_PAMiscCompWorksheet, &kFormID_PAInterestDividendWorksheet,
    &kFormID_PAScheduleDWorksheet, &kFormID_PAScheduleW2S, &kFormID_PAScheduleUE,
    &kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD, &kFormID_PAScheduleE,
    &kFormID_PAScheduleC, &kFormID_PAScheduleJ, &kFormID_PAW2GIncome, &kFormID_PADeductions,
    // 20-29
    &kFormID_PA40, &kFormID_PAScheduleW2S, &kFormID_PAScheduleA, &kFormID_PAScheduleB,
    &kFormID_PAScheduleD, &kFormID_PAScheduleE, &kFormID_PAScheduleC, &kFormID_PAScheduleJ,
    &kFormID_PAW2GIncome, &kFormID_PAScheduleUE,
    // 30-32
    &kFormID_PA40, &kFormID_PAScheduleGL, &kFormID_PAScheduleOC,
    // 33-35
    &kFormID_PA40, &kFormID_PAScheduleGL, &kFormID_PAScheduleSP,
    // 36-41
    &kFormID_PA40, &kFormID_PAScheduleOC, &kFormID_PAEstimatedTaxWorksheet,
    &kFormID_PAEstimatedVouchers, &kFormID_PADirectDepositDebit, &kFormID_PALocalIncomeTaxReturn,
};

const size_t kFormCalcSteps = sizeof kFormCalcOrder / sizeof kFormCalcOrder[0];

// Copy 1 of these forms always exists before the calculation order runs.
const FormId* const kFixedForms[] = {
    &kFormID_PA40, &kFormID_PAScheduleSP, &kFormID_PAInterestDividendWorksheet,
    &kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD, &kFormID_PAScheduleW2S,
    &kFormID_PAW2, &kFormID_PAMiscCompWorksheet,
};
// Copy 2 of these on a joint return (the spouse's copies).
const FormId* const kSpouseForms[] = {
    &kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD, &kFormID_State45316,
};
// Copy 1 of these, after the spouse's copies.
const FormId* const kLaterFixedForms[] = {
    &kFormID_PAScheduleE, &kFormID_PAScheduleJ, &kFormID_PAScheduleOC, &kFormID_PAW2GIncome,
    &kFormID_PADeductions, &kFormID_State45316,
};

// Copy `copy` of the form, created when missing; empty when it cannot be
// had (copy 0 or beyond the form's copy limit).
TaxFormPtr fetchOrCreate(DataMgmt::TaxReturn& taxReturn, const FormId& formId, int copy) {
  if (copy < 1 || copy > UINT16_MAX) return TaxFormPtr();
  return taxReturn.getFormUVPtr(formId, static_cast<uint16_t>(copy), true);
}

// Enough PA W-2 copies for the federal W-2 copies. The count starts at
// one, so 18 federal copies already ask for a second PA copy. Copies are
// also made up to the one whose rows hold the highest federal copy number,
// so a federal W-2 above a gap in the numbering is never left off.
// Surplus PA copies stay: their rows are recomputed by their own
// calculation.
void ensurePAW2Copies(const DataMgmt::TaxReturn& federal, DataMgmt::TaxReturn& pa) {
  const int highest = federal.getMaxCopies(kFormID_FedW2);
  int count = 1;
  for (int f = 1; f <= highest; ++f) {
    if (federal.formExists(kFormID_FedW2, static_cast<uint16_t>(f))) ++count;
  }
  const int needed = std::max((count + kW2RowsPerCopy - 1) / kW2RowsPerCopy,
                              (highest + kW2RowsPerCopy - 1) / kW2RowsPerCopy);
  for (int c = 1; c <= needed; ++c) fetchOrCreate(pa, kFormID_PAW2, c);
}

// One PA Schedule C copy per federal Schedule C copy that is not a
// statutory employee's, in order, each linked to its federal copy; PA copies left over are
// emptied. A copy that stood for another federal copy before (one above it
// deleted) takes what it kept of that copy afresh; the user's entries stay
// with the copy.
void linkScheduleCCopies(PATaxReturnCalcEngine& engine, const DataMgmt::TaxReturn& federal,
                         DataMgmt::TaxReturn& pa) {
  int next = 1;
  const int highest = federal.getMaxCopies(kFormID_FedScheduleC);
  for (int f = 1; f <= highest; ++f) {
    const uint16_t fedCopy = static_cast<uint16_t>(f);
    if (!federal.formExists(kFormID_FedScheduleC, fedCopy)) continue;
    if (federal.formYes(kFormID_FedScheduleC, fedCopy, FedScheduleC::kStatutoryEmployeeBox)) continue;
    TaxFormPtr copy = fetchOrCreate(pa, kFormID_PAScheduleC, next);
    if (copy.isNull()) continue;
    if (copy->hasSigValue(PAScheduleC::kFederalCopyNumber) && copy->getIN(PAScheduleC::kFederalCopyNumber) != f) {
      PATaxReturnCalcEngine::takeScheduleCAfresh(*copy);
    }
    copy->setX(PAScheduleC::kFromFederalYesBox);
    copy->setXNo(PAScheduleC::kFromFederalNoBox);
    copy->assignIR(PAScheduleC::kFederalCopyNumber, f);
    ++next;
  }
  const int last = pa.getMaxCopies(kFormID_PAScheduleC);
  for (int c = next; c <= last; ++c) {
    if (pa.formExists(kFormID_PAScheduleC, static_cast<uint16_t>(c))) {
      engine.clearForm(kFormID_PAScheduleC, static_cast<uint16_t>(c));
    }
  }
}

// Links every federal sale record to its worksheet row (record c to row
// (c - 1) mod 12 of worksheet copy (c - 1) / 12 + 1) and marks the
// information form's sale-records box when there is at least one record.
void linkSaleRecords(const DataMgmt::TaxReturn& federal, DataMgmt::TaxReturn& pa) {
  for (DataMgmt::TaxFormIter it = pa.getForms(kFormID_PAScheduleDWorksheet); !it.atEOL(); it.next()) {
    TaxFormPtr worksheet = it.getTaxForm();
    for (int r = 0; r < kSaleRowsPerWorksheet; ++r) {
      worksheet->setNull(kSaleLink.at(r));
    }
  }
  bool anyRecord = false;
  for (DataMgmt::TaxFormIter it = federal.getForms(kFormID_Fed135); !it.atEOL(); it.next()) {
    anyRecord = true;
    const int record = it.getTaxForm()->getCopyNumber();
    const int worksheetCopy = (record - 1) / kSaleRowsPerWorksheet + 1;
    const int row = (record - 1) % kSaleRowsPerWorksheet;
    TaxFormPtr worksheet = fetchOrCreate(pa, kFormID_PAScheduleDWorksheet, worksheetCopy);
    if (worksheet.isNull()) continue;
    worksheet->assignIR(kSaleLink.at(row), record);
  }
  TaxFormPtr info = fetchOrCreate(pa, kFormID_PAReturnInfo, 1);
  if (info.isNull()) return;
  info->setXNo(PAReturnInfo::kSaleRecordsBox);
  if (anyRecord) info->setX(PAReturnInfo::kSaleRecordsBox);
}

// Links the next PA Schedule E copy to federal copy `fedCopy` of a
// Schedule E (`fromFarmRental` false) or a Form 4835; true when there was
// a PA copy to link. A copy that stood for another source before (one
// above it deleted) takes what it kept of that source afresh; the user's
// entries stay with the copy.
bool linkScheduleECopy(DataMgmt::TaxReturn& pa, int next, int fedCopy, bool fromFarmRental) {
  TaxFormPtr copy = fetchOrCreate(pa, kFormID_PAScheduleE, next);
  if (copy.isNull()) return false;
  const bool fromScheduleE = copy->xMarked(PAScheduleE::kFromScheduleEBox);
  const bool fromForm4835 = copy->xMarked(PAScheduleE::kFromForm4835Box);
  const bool sameSource = (fromFarmRental ? fromForm4835 : fromScheduleE) &&
                          copy->getIN(PAScheduleE::kFederalCopyNumber) == fedCopy;
  if ((fromScheduleE || fromForm4835) && !sameSource) PATaxReturnCalcEngine::takeScheduleEAfresh(*copy);
  if (fromFarmRental) {
    copy->setXNo(PAScheduleE::kFromScheduleEBox);
    copy->setX(PAScheduleE::kFromForm4835Box);
  } else {
    copy->setX(PAScheduleE::kFromScheduleEBox);
    copy->setXNo(PAScheduleE::kFromForm4835Box);
  }
  copy->assignIR(PAScheduleE::kFederalCopyNumber, fedCopy);
  return true;
}

// Empties PA Schedule E copy `c`, which no federal source stands for any
// more. Copy 1 is emptied only when it was linked (either source box
// marked): an unlinked copy 1 holds a property the user entered. Once
// unlinked it keeps what the user entered on it, as the same entries
// loaded afresh do.
void unlinkScheduleECopy(PATaxReturnCalcEngine& engine, DataMgmt::TaxReturn& pa, uint16_t c) {
  TaxFormPtr copy = pa.getFormUVPtr(kFormID_PAScheduleE, c, false);
  if (copy.isNull()) return;
  if (c != 1) {
    engine.clearForm(kFormID_PAScheduleE, c);
    return;
  }
  const bool linked =
      copy->xMarked(PAScheduleE::kFromScheduleEBox) || copy->xMarked(PAScheduleE::kFromForm4835Box);
  if (linked) PATaxReturnCalcEngine::leaveScheduleEUnlinked(*copy);
}

// One PA Schedule E copy per federal Schedule E copy, then one per federal
// Form 4835 copy; PA copies left over are unlinked and emptied.
void linkScheduleECopies(PATaxReturnCalcEngine& engine, const DataMgmt::TaxReturn& federal,
                         DataMgmt::TaxReturn& pa) {
  int next = 1;
  forEachRentalSource(federal, [&](const FormId& source, uint16_t f, long /*position*/) {
    if (linkScheduleECopy(pa, next, f, source == kFormID_FedFarmRental)) ++next;
  });
  const int last = pa.getMaxCopies(kFormID_PAScheduleE);
  for (int c = next; c <= last; ++c) unlinkScheduleECopy(engine, pa, static_cast<uint16_t>(c));
}

// One step of the calculation order: every copy of the form, but for the
// two forms whose further copies are calculated once a calculation
// elsewhere, where the step calculates copy 1. The PA W-2's are calculated
// ahead of copy 1's first run (Schedule W2-S runs it early), after the
// information form has settled the filers (names, filing status,
// residency) and the schedule its boxes, all they read besides the W-2s;
// those made since (ensurePAW2Copies) by this step, ahead of copy 1 as in
// the order's other steps. The deductions schedule's by the final run of
// PA-40 copy 1, with the income limit the return ends with.
void calcOrderStep(PATaxReturnCalcEngine& engine, DataMgmt::TaxReturn& pa, const FormId& form) {
  if (form == kFormID_PAW2) {
    engine.calculateOtherPAW2Copies();
  } else if (!(form == kFormID_PADeductions)) {
    engine.calcAllCopies(form);
    return;
  }
  TaxFormPtr first = pa.getFormUVPtr(form, 1, false);
  if (!first.isNull()) engine.calcForm(form, 1, false, 1, 1, first);
}

void ensureFixedForms(PADataMgmt::PATaxReturn& pa) {
  for (const FormId* form : kFixedForms) fetchOrCreate(pa, *form, 1);
  if (pa.readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint) {
    for (const FormId* form : kSpouseForms) fetchOrCreate(pa, *form, 2);
  }
  for (const FormId* form : kLaterFixedForms) fetchOrCreate(pa, *form, 1);
}

}  // namespace

void PATaxReturnCalcEngine::calcStateReturn() {
  if (paReturn == nullptr || federalReturn == nullptr) return;
  copyScans.clear();
  federalW2s.clear();
  otherPAW2CopiesCalculated = false;
  paW2CopiesCalculated.clear();
  startPAW2RowRecord();
  computeIntDivSummary(1, kFormID_PAReturnInfo, kFormID_State18, kFormID_State16, State16::kLineRecord.at(0),
                       kFormID_State17, State17::kLineRecord.at(0));
  rebuildMiscCompSourceRows();
  ensurePAW2Copies(*federalReturn, *paReturn);
  linkScheduleCCopies(*this, *federalReturn, *paReturn);
  linkSaleRecords(*federalReturn, *paReturn);
  linkScheduleECopies(*this, *federalReturn, *paReturn);
  ensureFixedForms(*paReturn);

  // Every PA-40 run before the last comes ahead of figures it reads (the
  // compensation and income schedules, Schedules G-L, SP and OC): only the
  // last one caps or clears what the user typed into the PA-40.
  size_t lastPA40Step = 0;
  for (size_t step = 0; step < kFormCalcSteps; ++step) {
    if (*kFormCalcOrder[step] == kFormID_PA40) lastPA40Step = step;
  }
  for (size_t step = 0; step < kFormCalcSteps; ++step) {
    const ProvisionalPA40Scope scope(*this, step < lastPA40Step);
    calcOrderStep(*this, *paReturn, *kFormCalcOrder[step]);
  }
  dropPAW2RowRecord();

  if (DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest()) {
    runAutoTest();
    runScrubberAutoTest("PA", paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                        PAReturnInfo::kAutoTestInProgressBox);
    runCycleDaemonAutoTest("PA", paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
                           PAReturnInfo::kAutoTestInProgressBox);
  }
}

}  // namespace PACalculationMgmt
