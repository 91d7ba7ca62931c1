// The estimated tax worksheet (state form 183, one copy): next year's PA
// estimated tax, the required annual payment and its 245 threshold, an
// amended estimate, and the schedule of up to four installments with the
// overpayment carried from the PA-40 applied to them; the four voucher
// blocks follow (estimated_tax_voucher_blocks.cc).
//
// With the basis box (field 12) marked the amounts come from the PA-40's
// lines and are protected; otherwise the user's entries stand. The copy is
// marked entered only when its compute box (field 6) is marked.
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/schedules/estimated_tax_worksheet.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;
using StateCalculationMgmt::InstallmentTable;
using StateCalculationMgmt::kInstallmentRows;
using namespace EstimatedTaxWorksheet;

namespace {

const double kPATaxRate = 0.0307;
// A required payment at or below this needs no estimated payments.
const double kPaymentThreshold = 245.0;

// Worksheet members (host field numbers in the comments).
const int kComputeBox = 1;         // 6
const int kComputeNoBox = 2;       // 7
const int kTaxpayerName = 3;       // 8
const int kTaxpayerNumber = 4;     // 9
const int kSpouseName = 5;         // 10
const int kSpouseNumber = 6;       // 11
const int kBasisBox = 7;           // 12
const int kBasisNoBox = 8;         // 13
const int kEstimatedIncome = 9;    // 14
const int kEstimatedTax = 10;      // 15
const int kFirstCredit = 11;       // 16, the user's; 17 .. 185304 follow
const int kLine19Credit = 32;      // 20, the last credit
const int kTotalCredits = 33;      // 21
const int kNetEstimatedTax = 34;   // 22
const int kSkipBox = 35;           // 23
const int kSkipNoBox = 36;         // 23900
const int kNinetyPercent = 38;     // 24, the first field cleared when skipping
const int kCurrentIncome = 39;     // 25
const int kCurrentTax = 40;        // 26
const int kLine21Amount = 41;      // 31
const int kCreditsAndLine21 = 42;  // 185305
const int kTaxLessCredits = 43;    // 185306
const int kRequiredBeforeReduction = 44;  // 27
const int kLine30Reduction = 45;   // 185307
const int kAboveThreshold = 47;    // 185308
const int kFourBox = 48;           // 33
const int kThreeBox = 49;          // 34
const int kTwoBox = 50;            // 35
const int kOneBox = 51;            // 36
const int kCarriedOverpayment = 52;  // 37
const int kAmendedNoBox = 54;      // 39
const int kAmendedCount = 55;      // 40
const int kAmendedOverpayment = 57;  // 42
const int kAmendedOther = 58;      // 43
const int kAmendedDeductions = 59;  // 44
const int kAmendedToSchedule = 60;  // 45
const int kLastSkipCleared = 84;   // 69
// The row pairs and their sums: 58 + 59 = 60, 61 + 62 = 63, 64 + 65 = 66,
// 67 + 68 = 69 (first member of each triple).
const int kRowPairs[] = {73, 76, 79, 82};

// PA-40 lines the worksheet takes (the PA return's line values).
const int kLineIncome = 13;     // field 172
const int kLineCredit = 19;     // field 244
const int kLinePayments = 21;   // field 233
const int kLineReduction = 30;  // field 237
const int kPA40CarriedOverpayment = 265;  // 253
const int kInfoSkipAllowed = 157;          // 106

// Installment count of the boxes 33, 34, 35, 36, with 1 when none is marked.
int markedCount(const DataMgmt::TaxForm& ws) {
  if (ws.xMarked(field(kFourBox))) return 4;
  if (ws.xMarked(field(kThreeBox))) return 3;
  if (ws.xMarked(field(kTwoBox))) return 2;
  return 1;
}

// Takes line `line` of the PA-40 into `target` and protects it when `take`
// is set; otherwise leaves the user's entry open. Line 29 names no amount
// and is only protected.
void assignSelectedAmount(PADataMgmt::PATaxReturn& pa, DataMgmt::TaxForm& ws, bool take,
                          const FormId& lineForm, const OVImmutableIdentifier& target, int line) {
  if (!take) {
    ws.unProtect(target);
    return;
  }
  if (line != 29) ws.assignIR(target, static_cast<double>(pa.getStateLineValue(lineForm, 1, line)));
  ws.makeProtected(target);
}

// The credits of members 11 to 32 in catalog order, into field 21.
void sumCredits(DataMgmt::TaxForm& ws) {
  ws.setValueToSumOf(field(kTotalCredits),
                     {field(11), field(12), field(13), field(14), field(15), field(16), field(17),
                      field(18), field(19), field(20), field(21), field(22), field(23), field(24),
                      field(25), field(26), field(27), field(28), field(29), field(30), field(31),
                      field(kLine19Credit)});
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

}  // namespace

void PATaxReturnCalcEngine::computeEstimatedTaxWorksheet(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  PADataMgmt::PATaxReturn& pa = *paReturn;
  DataMgmt::TaxForm& ws = *form;
  const FormId& worksheetId = kFormID_PAEstimatedTaxWorksheet;

  // Identity and defaults.
  Utils::setDefaultX(form, field(kComputeNoBox), field(kComputeBox), field(kComputeBox));
  const uint8_t filingStatus = pa.readFilingStatus(kFormID_PAReturnInfo);
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, field(kTaxpayerName), field(kTaxpayerNumber),
               Primitives::kNullFieldID, Primitives::kNullFieldID, field(kSpouseName),
               field(kSpouseNumber), Primitives::kNullFieldID, Primitives::kNullFieldID,
               Primitives::kNullFieldID, 0);
  Utils::setDefaultX(form, field(kBasisBox), field(kBasisNoBox), field(kBasisBox));
  const bool take = ws.xMarked(field(kBasisBox));
  if (pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoSkipAllowed])) {
    ws.unProtect(field(kSkipBox));
    ws.unProtect(field(kSkipNoBox));
    Utils::setDefaultX(form, field(kSkipBox), field(kSkipBox), field(kSkipNoBox));
  } else {
    ws.makeProtectedAndSetNull(field(kSkipBox));
    ws.makeProtectedAndSetNull(field(kSkipNoBox));
  }

  // Estimated tax.
  const FormId lineForm = getStateReturnFormId();
  assignSelectedAmount(pa, ws, take, lineForm, field(kEstimatedIncome), kLineIncome);
  ws.timesIR(field(kEstimatedTax), field(kEstimatedIncome), kPATaxRate);
  ws.maxIR(field(kEstimatedTax), field(kEstimatedTax), 0.0);
  ws.unProtect(field(kFirstCredit));
  assignSelectedAmount(pa, ws, take, lineForm, field(kLine19Credit), kLineCredit);
  sumCredits(ws);
  ws.minusIIge0(field(kNetEstimatedTax), field(kEstimatedTax), field(kTotalCredits));

  // Required annual payment, unless the filer skips it.
  if (ws.xMarked(field(kSkipBox))) {
    clearFormFields(worksheetId, copy, field(kNinetyPercent), field(kLastSkipCleared));
  } else {
    ws.timesIR(field(kNinetyPercent), field(kNetEstimatedTax), 0.9);
    ws.makeProtected(field(kCurrentIncome));
    assignSelectedAmount(pa, ws, true, lineForm, field(kCurrentIncome), kLineIncome);
    ws.timesIR(field(kCurrentTax), field(kCurrentIncome), kPATaxRate);
    ws.maxIR(field(kCurrentTax), field(kCurrentTax), 0.0);
    assignSelectedAmount(pa, ws, take, lineForm, field(kLine21Amount), kLinePayments);
    ws.setValueToSumOf(field(kCreditsAndLine21), {field(kTotalCredits), field(kLine21Amount)});
    if (ws.getIR(field(kCurrentTax)) > ws.getIR(field(kCreditsAndLine21))) {
      ws.minusIIge0(field(kTaxLessCredits), field(kCurrentTax), field(kCreditsAndLine21));
    } else {
      ws.assignIR(field(kTaxLessCredits), 0.0);
    }
    const bool ninetyPercentSmaller = ws.getIR(field(kTaxLessCredits)) > ws.getIR(field(kNinetyPercent));
    ws.assignII(field(kRequiredBeforeReduction),
                field(ninetyPercentSmaller ? kNinetyPercent : kTaxLessCredits));
    if (pa.readResidencyStatus(kFormID_PAReturnInfo) != 0) {
      assignSelectedAmount(pa, ws, take, lineForm, field(kLine30Reduction), kLineReduction);
    } else {
      ws.makeProtectedAndSetNull(field(kLine30Reduction));
    }
    ws.minusIIge0(field(kRequiredPayment), field(kRequiredBeforeReduction), field(kLine30Reduction));
    if (ws.getIR(field(kRequiredPayment)) > kPaymentThreshold) {
      ws.assignII(field(kAboveThreshold), field(kRequiredPayment));
    } else {
      ws.assignIR(field(kAboveThreshold), 0.0);
    }
  }

  // Amended estimate.
  const int amendedEntries[] = {kAmendedOverpayment, kAmendedAnnual, kAmendedOther};
  if (ws.xMarked(field(kAmendedBox))) {
    ws.makeProtected(field(kAmendedOverpayment));
    ws.unProtect(field(kAmendedAnnual));
    ws.unProtect(field(kAmendedOther));
  } else {
    for (int member : amendedEntries) ws.makeProtected(field(member));
    for (int member : amendedEntries) ws.setNull(field(member));
  }
  const OVImmutableIdentifier& carried = kPA40FieldIds[kPA40CarriedOverpayment];
  if (ws.nonNull(field(kAmendedAnnual))) {
    if (pa.getIN(kFormID_PA40, 1, carried) > 0) {
      pa.getII(kFormID_PA40, carried, form, field(kAmendedOverpayment));
    } else {
      ws.setNull(field(kAmendedOverpayment));
    }
    ws.plus2(field(kAmendedDeductions), field(kAmendedOverpayment), field(kAmendedOther));
    ws.minusII(field(kAmendedToSchedule), field(kAmendedAnnual), field(kAmendedDeductions));
  } else {
    // Nothing to schedule without an amended annual amount: an amount the
    // user cleared must not leave its old total to be scheduled.
    ws.setNull(field(kAmendedOverpayment));
    ws.setNull(field(kAmendedDeductions));
    ws.setNull(field(kAmendedToSchedule));
  }

  // Installments.
  ws.oneX9(field(kFourBox), field(kThreeBox), field(kTwoBox), field(kOneBox), field(kThreeBox),
           field(kThreeBox), field(kThreeBox), field(kThreeBox), field(kThreeBox));
  if (!ws.xMarked(field(kFourBox)) && !ws.xMarked(field(kThreeBox)) && !ws.xMarked(field(kTwoBox)) &&
      !ws.xMarked(field(kOneBox))) {
    ws.setX(field(ws.xMarked(field(kSkipNoBox)) ? kOneBox : kFourBox));
  }
  pa.getII(kFormID_PA40, carried, form, field(kCarriedOverpayment));
  // Not amended unless the filer says so.
  Utils::setDefaultX(form, field(kAmendedNoBox), field(kAmendedBox), field(kAmendedNoBox));
  if (ws.xMarked(field(kAmendedBox))) {
    ws.unProtect(field(kAmendedCount));
    defaultAndClampNumberField(worksheetId, copy, field(kAmendedCount), 3.0, 1.0, 3.0);
  } else {
    ws.makeProtectedAndSetNull(field(kAmendedCount));
  }

  const long required = ws.getIN(field(kRequiredPayment));
  const long credit = ws.getIN(field(kCarriedOverpayment));
  const long amended = ws.getIN(field(kAmendedToSchedule));
  const uint16_t amendedCount = static_cast<uint16_t>(ws.getIN(field(kAmendedCount)));
  InstallmentTable table = {};
  uint16_t scheduledCount = 0;
  allocateInstallments(worksheetId, field(kFourBox), field(kThreeBox), field(kTwoBox), field(kOneBox),
                       scheduledCount, static_cast<double>(required), static_cast<double>(credit), 0.0,
                       table, worksheetId, field(kAmendedBox), amendedCount, static_cast<double>(amended));

  const int dueCount = markedCount(ws);
  catchUpEarlierRows(table, dueCount);
  const int columns[3] = {kInstallmentAmount, kInstallmentCredit, kInstallmentNet};
  for (int row = 0; row < kInstallmentRows; ++row) {
    for (int column = 0; column < 3; ++column) ws.assignIR(field(columns[column] + row), table[row][column]);
  }
  for (int row = 0; row < kInstallmentRows - dueCount; ++row) {
    for (int column : columns) ws.setNull(field(column + row));
  }
  for (int first : kRowPairs) ws.plus2(field(first + 2), field(first), field(first + 1));

  fillVoucherBlocks(*this, form, copy, filingStatus == 2);

  if (ws.xMarked(field(kComputeBox))) {
    pa.setDataEntered(worksheetId, copy, true, false);
    ws.setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
