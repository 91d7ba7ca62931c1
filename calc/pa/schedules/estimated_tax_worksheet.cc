// The estimated tax worksheet (state form 183, one copy): next year's PA
// estimated tax, the required annual payment and its 245 threshold, an
// amended estimate, and the schedule of up to four installments with the
// overpayment carried from the PA-40 applied to them; the four voucher
// blocks follow (estimated_tax_voucher_blocks.cc).
//
// With the basis box marked the amounts come from the PA-40's lines and
// are protected; otherwise the user's entries stand. The copy is part of
// the return while its compute box is marked or an entry of the user's is
// on it.
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/estimated_tax_worksheet.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;
using StateCalculationMgmt::InstallmentTable;
using StateCalculationMgmt::kInstallmentRows;

namespace {

namespace E = PAEstimatedTaxWorksheet;

// The PA-40 lines the worksheet takes (line indexes of the PA return's
// line values). The line that names no amount is only protected.
const int kLineIncome = 13;
const int kLineCredit = 19;
const int kLinePayments = 21;
const int kLineReduction = 30;
const int kLineWithoutAmount = 29;

// The amended installment count: the default and the limits.
const double kAmendedCountDefault = 3.0;
const double kAmendedCountMin = 1.0;
const double kAmendedCountMax = 3.0;

// Installment count of the four count boxes, with 1 when none is marked.
int markedCount(const DataMgmt::TaxForm& ws) {
  if (ws.xMarked(E::kFourInstallmentsBox)) return 4;
  if (ws.xMarked(E::kThreeInstallmentsBox)) return 3;
  if (ws.xMarked(E::kTwoInstallmentsBox)) return 2;
  return 1;
}

// Takes line `line` of the PA-40 into `target` and protects it when `take`
// is set; otherwise leaves the user's entry open.
void assignSelectedAmount(PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& ws, bool take, const FormId& lineForm,
                          const OVImmutableIdentifier& target, int line) {
  if (!take) {
    ws.unProtect(target);
    return;
  }
  if (line != kLineWithoutAmount) {
    ws.assignIR(target, static_cast<double>(pa.getStateLineValue(lineForm, 1, line)));
  }
  ws.makeProtected(target);
}

// The credits in catalog order, into their total.
void sumCredits(DataMgmt::TaxForm& ws) {
  auto further = [](int k) -> const OVImmutableIdentifier& { return E::kFurtherCredit.at(k); };
  ws.setValueToSumOf(E::kTotalCredits,
                     {E::kFirstCredit, further(0),  further(1),  further(2),  further(3),  further(4),
                      further(5),      further(6),  further(7),  further(8),  further(9),  further(10),
                      further(11),     further(12), further(13), further(14), further(15), further(16),
                      further(17),     further(18), further(19), E::kTaxForgivenessCredit});
}

// Installments the scheduler put before the worksheet's first due row (an
// amended count above the chosen one) are carried forward into that row,
// all three amounts of each row.
void catchUpEarlierRows(InstallmentTable& table, int dueCount) {
  for (int row = 1; row < kInstallmentRows; ++row) {
    if (dueCount >= kInstallmentRows + 1 - row) continue;
    for (int column = 0; column < 3; ++column) table[row][column] += table[row - 1][column];
  }
}

// The amended estimate: its entries open only when the filer amends, and
// the amount left to schedule once the overpayment carried from the PA-40
// and other amounts are taken off.
void fillAmendedEstimate(PADataMgmt::PATaxReturn& pa, TaxFormPtr form) {
  DataMgmt::TaxForm& ws = *form;
  if (ws.xMarked(E::kAmendedYesBox)) {
    ws.makeProtected(E::kAmendedCarriedOverpayment);
    ws.unProtect(E::kAmendedAnnualAmount);
    ws.unProtect(E::kAmendedOtherAmount);
  } else {
    for (const OVImmutableIdentifier& entry :
         {E::kAmendedCarriedOverpayment.id(), E::kAmendedAnnualAmount.id(), E::kAmendedOtherAmount.id()}) {
      ws.makeProtectedAndSetNull(entry);
    }
  }
  const OVImmutableIdentifier& carried = PA40::kEstimatedAccountCredit;
  if (ws.nonNull(E::kAmendedAnnualAmount)) {
    if (pa.getIN(kFormID_PA40, 1, carried) > 0) {
      pa.getII(kFormID_PA40, carried, form, E::kAmendedCarriedOverpayment);
    } else {
      ws.setNull(E::kAmendedCarriedOverpayment);
    }
    ws.plus2(E::kAmendedDeductions, E::kAmendedCarriedOverpayment, E::kAmendedOtherAmount);
    ws.minusII(E::kAmendedToSchedule, E::kAmendedAnnualAmount, E::kAmendedDeductions);
  } else {
    // Nothing to schedule without an amended annual amount: an amount the
    // user cleared must not leave its old total to be scheduled.
    ws.setNull(E::kAmendedCarriedOverpayment);
    ws.setNull(E::kAmendedDeductions);
    ws.setNull(E::kAmendedToSchedule);
  }
}

// The installments: the count boxes (four by default, one when the
// required payment is skipped), the overpayment carried from the PA-40,
// the amended count, and the schedule's amount, credit and net rows with
// their row-pair sums.
void scheduleInstallments(PATaxReturnCalcEngine& engine, TaxFormPtr form, uint16_t copy) {
  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  DataMgmt::TaxForm& ws = *form;
  const FormId& worksheetId = kFormID_PAEstimatedTaxWorksheet;
  const OVImmutableIdentifier& carried = PA40::kEstimatedAccountCredit;
  ws.oneX9(E::kFourInstallmentsBox, E::kThreeInstallmentsBox, E::kTwoInstallmentsBox, E::kOneInstallmentBox,
           E::kThreeInstallmentsBox, E::kThreeInstallmentsBox, E::kThreeInstallmentsBox, E::kThreeInstallmentsBox,
           E::kThreeInstallmentsBox);
  if (!ws.xMarked(E::kFourInstallmentsBox) && !ws.xMarked(E::kThreeInstallmentsBox) &&
      !ws.xMarked(E::kTwoInstallmentsBox) && !ws.xMarked(E::kOneInstallmentBox)) {
    ws.setX(ws.xMarked(E::kSkipNoBox) ? E::kOneInstallmentBox : E::kFourInstallmentsBox);
  }
  pa.getII(kFormID_PA40, carried, form, E::kCarriedOverpayment);
  // Not amended unless the filer says so.
  Utils::setDefaultX(form, E::kAmendedNoBox, E::kAmendedYesBox, E::kAmendedNoBox);
  if (ws.xMarked(E::kAmendedYesBox)) {
    ws.unProtect(E::kAmendedInstallmentCount);
    engine.defaultAndClampNumberField(worksheetId, copy, E::kAmendedInstallmentCount, kAmendedCountDefault,
                               kAmendedCountMin, kAmendedCountMax);
  } else {
    ws.makeProtectedAndSetNull(E::kAmendedInstallmentCount);
  }

  const long required = ws.getIN(E::kRequiredPayment);
  const long credit = ws.getIN(E::kCarriedOverpayment);
  const long amended = ws.getIN(E::kAmendedToSchedule);
  const uint16_t amendedCount = static_cast<uint16_t>(ws.getIN(E::kAmendedInstallmentCount));
  InstallmentTable table = {};
  uint16_t scheduledCount = 0;
  engine.allocateInstallments(worksheetId, E::kFourInstallmentsBox, E::kThreeInstallmentsBox, E::kTwoInstallmentsBox,
                       E::kOneInstallmentBox, scheduledCount, static_cast<double>(required),
                       static_cast<double>(credit), 0.0, table, worksheetId, E::kAmendedYesBox, amendedCount,
                       static_cast<double>(amended));

  const int dueCount = markedCount(ws);
  catchUpEarlierRows(table, dueCount);
  const NamedColumn<PAEstimatedTaxWorksheetFieldIds>* columns[3] = {&E::kInstallmentAmount, &E::kInstallmentCredit,
                                                                    &E::kInstallmentNet};
  for (int row = 0; row < kInstallmentRows; ++row) {
    for (int column = 0; column < 3; ++column) ws.assignIR(columns[column]->at(row), table[row][column]);
  }
  for (int row = 0; row < kInstallmentRows - dueCount; ++row) {
    for (const auto* column : columns) ws.setNull(column->at(row));
  }
  for (int row = 0; row < E::kRowPairSum.rows(); ++row) {
    ws.plus2(E::kRowPairSum.at(row), E::kRowPairFirst.at(row), E::kRowPairSecond.at(row));
  }
}

}  // namespace

void PATaxReturnCalcEngine::computeEstimatedTaxWorksheet(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  DataMgmt::TaxForm& ws = *form;
  const FormId& worksheetId = kFormID_PAEstimatedTaxWorksheet;
  const OVImmutableIdentifier& none = Primitives::kNullFieldID;

  // Identity and defaults.
  Utils::setDefaultX(form, E::kComputeNoBox, E::kComputeYesBox, E::kComputeYesBox);
  const uint8_t filingStatus = pa.readFilingStatus(kFormID_PAReturnInfo);
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, E::kTaxpayerName, E::kTaxpayerSSN, none, none,
               E::kSpouseName, E::kSpouseSSN, none, none, none, 0);
  Utils::setDefaultX(form, E::kBasisYesBox, E::kBasisNoBox, E::kBasisYesBox);
  const bool take = ws.xMarked(E::kBasisYesBox);
  if (pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFarmerYesBox)) {
    ws.unProtect(E::kSkipYesBox);
    ws.unProtect(E::kSkipNoBox);
    Utils::setDefaultX(form, E::kSkipYesBox, E::kSkipYesBox, E::kSkipNoBox);
  } else {
    ws.makeProtectedAndSetNull(E::kSkipYesBox);
    ws.makeProtectedAndSetNull(E::kSkipNoBox);
  }

  // Estimated tax.
  const FormId lineForm = getStateReturnFormId();
  assignSelectedAmount(pa, ws, take, lineForm, E::kEstimatedIncome, kLineIncome);
  ws.timesIR(E::kEstimatedTax, E::kEstimatedIncome, PATax2018::kTaxRate);
  ws.maxIR(E::kEstimatedTax, E::kEstimatedTax, 0.0);
  ws.unProtect(E::kFirstCredit);
  assignSelectedAmount(pa, ws, take, lineForm, E::kTaxForgivenessCredit, kLineCredit);
  sumCredits(ws);
  ws.minusIIge0(E::kNetEstimatedTax, E::kEstimatedTax, E::kTotalCredits);

  // Required annual payment, unless the filer skips it.
  if (ws.xMarked(E::kSkipYesBox)) {
    clearFormFields(worksheetId, copy, E::kNinetyPercent, E::kRowPairSum.at(E::kRowPairSum.rows() - 1));
  } else {
    ws.timesIR(E::kNinetyPercent, E::kNetEstimatedTax, PATax2018::kEstimatedTaxShare);
    ws.makeProtected(E::kCurrentIncome);
    assignSelectedAmount(pa, ws, true, lineForm, E::kCurrentIncome, kLineIncome);
    ws.timesIR(E::kCurrentTax, E::kCurrentIncome, PATax2018::kTaxRate);
    ws.maxIR(E::kCurrentTax, E::kCurrentTax, 0.0);
    assignSelectedAmount(pa, ws, take, lineForm, E::kCurrentTaxWithheld, kLinePayments);
    ws.setValueToSumOf(E::kCreditsAndWithholding, {E::kTotalCredits, E::kCurrentTaxWithheld});
    if (ws.getIR(E::kCurrentTax) > ws.getIR(E::kCreditsAndWithholding)) {
      ws.minusIIge0(E::kTaxLessCredits, E::kCurrentTax, E::kCreditsAndWithholding);
    } else {
      ws.assignIR(E::kTaxLessCredits, 0.0);
    }
    const bool ninetyPercentSmaller = ws.getIR(E::kTaxLessCredits) > ws.getIR(E::kNinetyPercent);
    ws.assignII(E::kRequiredBeforeReduction, ninetyPercentSmaller ? E::kNinetyPercent : E::kTaxLessCredits);
    if (pa.readResidencyStatus(kFormID_PAReturnInfo) != PADataMgmt::kFullYearResident) {
      assignSelectedAmount(pa, ws, take, lineForm, E::kNonresidentWithholding, kLineReduction);
    } else {
      ws.makeProtectedAndSetNull(E::kNonresidentWithholding);
    }
    ws.minusIIge0(E::kRequiredPayment, E::kRequiredBeforeReduction, E::kNonresidentWithholding);
    if (ws.getIR(E::kRequiredPayment) > PATax2018::kEstimatedPaymentThreshold) {
      ws.assignII(E::kRequiredAboveThreshold, E::kRequiredPayment);
    } else {
      ws.assignIR(E::kRequiredAboveThreshold, 0.0);
    }
  }

  fillAmendedEstimate(pa, form);
  scheduleInstallments(*this, form, copy);

  EstimatedTaxWorksheet::fillVoucherBlocks(*this, form, copy, filingStatus == PADataMgmt::kFilingJoint);

  markPartOfReturn(pa, worksheetId, copy, ws, ws.xMarked(E::kComputeYesBox),
                   [&] { return holdsUserEntry(ws, E::kUserFields); });
}

}  // namespace PACalculationMgmt
