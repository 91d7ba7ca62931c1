// computePAW2: one copy of the PA W-2 wage list (state form 179).
//
// Copy k lists the qualifying federal W-2s among federal copies 18k-17 to
// 18k, one row each, filled from the top without gaps. A row's PA
// compensation and PA tax withheld follow the filer's residency; the copy
// then totals the federal wages, PA compensation and PA tax per person and
// counts the rows whose withholding exceeds the PA rate.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/pa/box_marks.h"
#include "calc/pa/federal_w2_table.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "calc/state/joined_text.h"
#include "calc/pa/withheld_rounding.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

const int kRows = PAW2::kRowOwner.rows();  // rows of a copy, and federal W-2s per copy
const int kTextSize = 128;                 // the row owner
const int kNameSize = 260;                 // the two name parts and a blank

// The columns of a row, in form order: the owner ("T" or "S"), the
// employer's name, EIN, federal wages and other amount, the PA
// compensation and the PA tax withheld.
const NamedColumn<PAW2FieldIds>* const kRowColumns[] = {
    &PAW2::kRowOwner,       &PAW2::kRowEmployerName,   &PAW2::kRowEmployerEIN,   &PAW2::kRowFederalWages,
    &PAW2::kRowOtherAmount, &PAW2::kRowPACompensation, &PAW2::kRowPATaxWithheld,
};

// Whether federal W-2 `w2` takes a row of the PA W-2: it has wages, and a
// spouse's W-2 counts only on a joint return.
bool takesARow(const FederalW2Figures& w2, bool joint) { return w2.wages != 0 && !(w2.spouseBox && !joint); }

// Whether a W-2 that takes a row reports wages or tax to another state.
bool otherStateAmounts(const FederalW2Figures& w2) { return w2.anyForeign() && (w2.allWages() > 0 || w2.allTax() > 0); }

// The Schedule W2-S marks that let the user keep a typed PA compensation
// or PA tax.
struct UserEntryMarks {
  bool keepTax;    // incorrect W-2
  bool keepWages;  // any situation
  bool keepBoth;   // other-state wages
};

// The federal W-2 each row listed when the copy was last calculated, by
// its position in the copy's list (-1: the row listed none). Rows list the
// W-2s the list names, in order and without gaps, so the list as the last
// calculation left it tells which W-2 each row stood for, whatever the
// W-2s say (two W-2s of one employer look alike).
struct ListedRows {
  int position[kRows];
};

ListedRows rowsAsListed(const DataMgmt::TaxForm& list) {
  ListedRows listed;
  int row = 0;
  for (int position = 0; position < kRows; ++position) {
    if (!list.isNull(PAW2::kListedEmployerName.at(position))) listed.position[row++] = position;
  }
  for (; row < kRows; ++row) listed.position[row] = -1;
  return listed;
}

// Writes field := amount, only when it is null.
void fillWhenNull(DataMgmt::TaxForm& form, const FieldId& field, double amount) {
  if (form.isNull(field)) form.assignIR(field, amount);
}

// The PA tax of `row`: kept when the user may enter it (filled only while
// null, and again on every later run of the calculation that filled it:
// `filledBefore`), else protected and calculated. Returns whether this run
// wrote it: a row filled while null takes the rounding as a calculated one
// does.
bool setTaxColumn(DataMgmt::TaxForm& form, int row, bool userMayEnter, bool filledBefore, double tax) {
  const FieldId& paTax = PAW2::kRowPATaxWithheld.at(row);
  if (userMayEnter) {
    form.unprotectAndMaybeSetNull(paTax);
    if (!filledBefore && !form.isNull(paTax)) return false;
    form.assignIR(paTax, tax);
    return true;
  }
  form.makeProtected(paTax);
  form.assignIR(paTax, tax);
  return true;
}

// What filling a row's PA columns found: whether a full-year resident's
// W-2 names a reciprocal state, and whether the PA tax was calculated
// afresh (rather than kept for the user).
struct FilledRow {
  bool reciprocal = false;
  bool taxCalculated = false;
};

// PA compensation and tax of one row, by residency. A column opened to
// the user loses what the calculation wrote while it held it (a protected
// field holds the calculation's amount), so that the figures of a
// residency or a situation left behind do not pass for the user's.
// `filledBefore`: this calculation wrote the row's tax on an earlier run.
FilledRow fillPAColumns(DataMgmt::TaxForm& form, int row, const FederalW2Figures& w2, int residency,
                        const UserEntryMarks& marks, bool filledBefore) {
  const FieldId& paWages = PAW2::kRowPACompensation.at(row);
  const FieldId& paTax = PAW2::kRowPATaxWithheld.at(row);
  FilledRow filled;
  if (residency == PADataMgmt::kNonresident) {
    if (!w2.anyPA()) {
      form.setNull(paWages);
      form.setNull(paTax);
      return filled;
    }
    form.unprotectAndMaybeSetNull(paWages);
    filled.taxCalculated = setTaxColumn(form, row, marks.keepTax || marks.keepBoth, filledBefore, w2.paTax());
    fillWhenNull(form, paWages, w2.paWages());
    return filled;
  }
  // Residents: all state wages, the tax of the rows that are not foreign.
  const double wages = w2.allWages();
  const double tax = w2.taxOutsideForeignRows();
  if (residency == PADataMgmt::kPartYearResident) {
    form.unprotectAndMaybeSetNull(paWages);
    form.unprotectAndMaybeSetNull(paTax);
    if (form.isNull(paWages)) {
      form.assignIR(paWages, wages);
      form.assignIR(paTax, tax);
    } else {
      // The compensation is the preparer's; a tax the calculation held
      // under another rule went above and is filled afresh.
      fillWhenNull(form, paTax, tax);
    }
    return filled;
  }
  if (!marks.keepWages && !marks.keepBoth) {
    form.makeProtected(paWages);
    form.makeProtected(paTax);
    form.assignIR(paWages, wages);
    form.assignIR(paTax, tax);
    filled.taxCalculated = true;
  } else {
    form.unprotectAndMaybeSetNull(paWages);
    filled.taxCalculated = setTaxColumn(form, row, marks.keepTax || marks.keepBoth, filledBefore, tax);
    fillWhenNull(form, paWages, wages);
  }
  filled.reciprocal = w2.reciprocal;
  return filled;
}

// One person's totals over the rows.
struct OwnerTotals {
  double federalAmount = 0;
  double paWages = 0;
  double paTax = 0;
  int aboveRate = 0;  // rows whose PA tax exceeds the rounded PA tax on their PA compensation
};

// Whether a row's withholding is above the PA rate on its wages: above the
// whole-dollar tax, and above the exact tax too, in cents, so that 1,596.40
// withheld on 52,000 (exactly the rate, whose whole-dollar tax is 1,596)
// is not above it. Rows without wages or withholding never are.
bool withheldAboveRate(double wages, double tax) {
  if (!(tax > 0 && wages > 0)) return false;
  const double exact = wages * PATax2018::kTaxRate;
  const long long taxCents = std::llround(tax * 100.0);
  const long long limitCents = std::max(std::llround(exact * 100.0), std::llround(Utils::roundR(exact) * 100.0));
  return taxCents > limitCents;
}

// The totals and counts of each person over the rows, by each row's owner
// letter; the spouse's only on a joint return (none from an earlier joint
// calculation is left behind either). The carry row takes the rounding
// difference of the return's withholding on top of its own tax, in whole
// dollars; its count compares the tax withheld.
void writeOwnerTotals(DataMgmt::TaxForm& w2List, bool joint, const WithheldCarry& carry) {
  OwnerTotals owners[2];
  for (int r = 0; r < kRows; ++r) {
    char owner[kTextSize];
    w2List.valueString(owner, PAW2::kRowOwner.at(r), kFormID_PAW2);
    const int person = rowOwner(owner);
    if (person < 0) continue;
    OwnerTotals* totals = &owners[person];
    const double wages = w2List.getIR(PAW2::kRowPACompensation.at(r));
    const double tax = w2List.getIR(PAW2::kRowPATaxWithheld.at(r));
    if (withheldAboveRate(wages, tax)) ++totals->aboveRate;
    if (r == carry.row) {
      w2List.assignIR(PAW2::kRowPATaxWithheld.at(r), static_cast<double>(Utils::roundR(tax) + carry.amount));
    }
    // The form is in whole dollars: its totals add the rows as they stand
    // on it, so that they agree with the rows (and with the data file).
    totals->federalAmount += static_cast<double>(w2List.getIN(PAW2::kRowFederalWages.at(r)));
    totals->paWages += static_cast<double>(w2List.getIN(PAW2::kRowPACompensation.at(r)));
    totals->paTax += static_cast<double>(w2List.getIN(PAW2::kRowPATaxWithheld.at(r)));
  }
  const OwnerTotals& taxpayer = owners[0];
  const OwnerTotals& spouse = owners[1];
  const FieldId& taxpayerFederal = PAW2::kTaxpayerFederalWages;
  const FieldId& spouseFederal = PAW2::kSpouseFederalWages;
  const FieldId& taxpayerWages = PAW2::kTaxpayerPACompensation;
  const FieldId& taxpayerTax = PAW2::kTaxpayerPATaxWithheld;
  const FieldId& spouseWages = PAW2::kSpousePACompensation;
  const FieldId& spouseTax = PAW2::kSpousePATaxWithheld;
  w2List.assignIR(taxpayerFederal, taxpayer.federalAmount);
  w2List.assignIR(taxpayerWages, taxpayer.paWages);
  w2List.assignIR(taxpayerTax, taxpayer.paTax);
  if (joint) {
    w2List.assignIR(spouseFederal, spouse.federalAmount);
    w2List.assignIR(spouseWages, spouse.paWages);
    w2List.assignIR(spouseTax, spouse.paTax);
  } else {
    // No spouse totals unless filing jointly, so none from an earlier
    // joint calculation is left behind either.
    w2List.setNull(spouseFederal);
    w2List.setNull(spouseWages);
    w2List.setNull(spouseTax);
  }
  w2List.assignIR(PAW2::kTaxpayerWithholdingAboveRateCount, taxpayer.aboveRate);
  w2List.assignIR(PAW2::kSpouseWithholdingAboveRateCount, spouse.aboveRate);
}

}  // namespace

bool PATaxReturnCalcEngine::anyListedW2WithOtherStateAmounts() {
  if (paReturn == nullptr || federalReturn == nullptr) return false;
  const DataMgmt::TaxReturn& federal = *federalReturn;
  const bool joint = paReturn->readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint;
  const ScanTotals found =
      copyScans.get(scanKey(CopyScan::kOtherStateW2, joint), {{federalReturn, kFormID_FedW2}}, [&] {
        ScanTotals count{};
        for (int c = federal.getMaxCopies(kFormID_FedW2); c >= 1; --c) {
          const FederalW2Figures* w2 = federalW2s.find(federal, static_cast<uint16_t>(c));
          if (w2 != nullptr && takesARow(*w2, joint) && otherStateAmounts(*w2)) ++count[0];
        }
        return count;
      });
  return found[0] > 0;
}

void PATaxReturnCalcEngine::calculateOtherPAW2CopiesOnce() {
  if (otherPAW2CopiesCalculated) return;
  otherPAW2CopiesCalculated = true;
  // Copy 1 may come first (Schedule W2-S calculates it early): the copies
  // it adds up to the return's withholding list their W-2s before it does.
  calculateOtherPAW2Copies();
}

void PATaxReturnCalcEngine::calculateOtherPAW2Copies() {
  if (paReturn == nullptr) return;
  for (int c = paReturn->getMaxCopies(kFormID_PAW2); c >= 2; --c) {
    const size_t copy = static_cast<size_t>(c);
    if (copy < paW2CopiesCalculated.size() && paW2CopiesCalculated[copy]) continue;
    TaxFormPtr other = paReturn->getFormUVPtr(kFormID_PAW2, static_cast<uint16_t>(c), false);
    if (other.isNull()) continue;
    if (paW2CopiesCalculated.size() <= copy) paW2CopiesCalculated.resize(copy + 1, false);
    paW2CopiesCalculated[copy] = true;
    calcStateForm(kFormID_PAW2, static_cast<uint16_t>(c), false, 0, 0, other);
  }
}

void PATaxReturnCalcEngine::startPAW2RowRecord() { paW2RowsFilled.assign(kRows, false); }

void PATaxReturnCalcEngine::computePAW2(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  if (copy == 1) calculateOtherPAW2CopiesOnce();
  DataMgmt::TaxForm& w2List = *form;
  const DataMgmt::TaxReturn& federal = *federalReturn;
  const FieldId& none = Primitives::kNullFieldID;

  const uint16_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, PAW2::kTaxpayerName, PAW2::kTaxpayerSSN, none,
               none, PAW2::kSpouseName, PAW2::kSpouseSSN, none, none, none, 0);
  const bool joint = filingStatus == PADataMgmt::kFilingJoint;
  const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
  const UserEntryMarks marks = {
      paReturn->formYes(kFormID_PAScheduleW2S, 1, PAScheduleW2S::kIncorrectW2Box),
      paReturn->formYes(kFormID_PAScheduleW2S, 1, PAScheduleW2S::kAnySituationBox),
      paReturn->formYes(kFormID_PAScheduleW2S, 1, PAScheduleW2S::kOtherStateWagesBox),
  };
  // The employer name is cut to the length the form gives its column.
  size_t nameLength = kNameSize - 1;
  DataMgmt::TaxFormDescPtr desc = w2List.getTaxFormDescriptor();
  DataMgmt::FormFieldDescPtr nameDesc =
      desc.isNull() ? DataMgmt::FormFieldDescPtr() : desc->getFieldDesc(PAW2::kRowEmployerName.at(0));
  if (!nameDesc.isNull() && nameDesc->getLength() < nameLength) nameLength = nameDesc->getLength();

  const bool recording = copy == 1 && !paW2RowsFilled.empty();
  // First pass: one row per qualifying federal W-2. List field p belongs
  // to federal copy 18(k - 1) + p + 1 whether or not that W-2 takes a row.
  const ListedRows before = rowsAsListed(w2List);
  int row = 0;
  int foreignRows = 0;          // rows with a foreign-coded state row
  int foreignAmountCount = 0;   // ... whose state wages or taxes add up to more than 0
  int reciprocalCount = 0;
  WithheldRow withheld[kRows];  // the rows as this run writes them
  const long firstFederalCopy = static_cast<long>(kRows) * copy - (kRows - 1);
  for (int position = 0; position < kRows && row < kRows; ++position) {
    const long federalCopy = firstFederalCopy + position;
    if (federalCopy < 1 || federalCopy > UINT16_MAX) continue;  // no such copy number
    const uint16_t f = static_cast<uint16_t>(federalCopy);
    const FederalW2Figures* found = federalW2s.find(federal, f);
    if (found == nullptr || !takesARow(*found, joint)) {
      // A W-2 deleted, or one that no longer takes a row, leaves no name.
      w2List.setNull(PAW2::kListedEmployerName.at(position));
      continue;
    }
    const FederalW2Figures& w2 = *found;

    // The owner comes from the W-2 on every calculation, so no letter of an
    // earlier row survives; a W-2 without either mark is the taxpayer's, as
    // the host's wage pull counts it.
    w2List.assignText(PAW2::kRowOwner.at(row), w2.spouseBox && !w2.taxpayerBox ? "S" : "T");

    char joined[kNameSize];
    StateCalculationMgmt::joinWithBlank(joined, sizeof joined, w2.employerName.c_str(),
                                        w2.employerNameContinued.c_str());
    char name[kNameSize];
    Utils::strip(name, joined);
    if (std::strlen(name) > nameLength) name[nameLength] = '\0';
    // PA columns a row kept for the user belong to the W-2 it listed: once
    // another W-2 takes the row (one above it deleted or no longer taking
    // a row), they go, and the row is filled afresh.
    if (before.position[row] >= 0 && before.position[row] != position) {
      w2List.setNull(PAW2::kRowPACompensation.at(row));
      w2List.setNull(PAW2::kRowPATaxWithheld.at(row));
    }
    w2List.assignText(PAW2::kListedEmployerName.at(position), name);
    w2List.assignText(PAW2::kRowEmployerName.at(row), name);

    w2List.assignIR(PAW2::kRowFederalWages.at(row), w2.wages);
    w2List.assignIR(PAW2::kRowOtherAmount.at(row), w2.otherAmount);
    w2List.assignText(PAW2::kRowEmployerEIN.at(row), w2.employerId.c_str());

    if (w2.anyForeign()) ++foreignRows;
    if (otherStateAmounts(w2)) ++foreignAmountCount;
    const FilledRow filled = fillPAColumns(w2List, row, w2, residency, marks, recording && paW2RowsFilled[row]);
    if (recording) paW2RowsFilled[row] = filled.taxCalculated;
    if (filled.reciprocal) ++reciprocalCount;
    withheld[row].tax = w2List.getIR(PAW2::kRowPATaxWithheld.at(row));
    withheld[row].counted = true;
    withheld[row].calculated = filled.taxCalculated;
    ++row;
  }

  markOrNo(w2List, PAW2::kOtherStateWagesBox, foreignRows > 0);
  w2List.assignIR(PAW2::kOtherStateWagesCount, foreignAmountCount);
  markOrNo(w2List, PAW2::kReciprocalStateBox, reciprocalCount > 0);
  // Rows no W-2 filled hold nothing, the other amount included.
  for (; row < kRows; ++row) {
    for (const NamedColumn<PAW2FieldIds>* column : kRowColumns) w2List.setNull(column->at(row));
  }

  // Second pass: totals and counts per person, by the owner letter. Copy 1
  // carries the rounding of the return's withholding.
  writeOwnerTotals(w2List, joint, copy == 1 ? withheldCarry(*paReturn, withheld, kRows, copyScans) : WithheldCarry());

  bool entered = w2List.hasSigValue(PAW2::kRowOwner.at(0));
  for (const FieldId* total : {&PAW2::kTaxpayerFederalWages.id(), &PAW2::kSpouseFederalWages.id(),
                               &PAW2::kTaxpayerPACompensation.id(), &PAW2::kTaxpayerPATaxWithheld.id(),
                               &PAW2::kSpousePACompensation.id(), &PAW2::kSpousePATaxWithheld.id()}) {
    entered = entered || w2List.gtZero(*total);
  }
  // A copy no W-2 fills holds nothing of the user's: its rows are emptied.
  markPartOfReturn(*paReturn, kFormID_PAW2, copy, w2List, entered);
}

}  // namespace PACalculationMgmt
