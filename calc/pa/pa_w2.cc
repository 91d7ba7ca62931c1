// computePAW2: one copy of the PA W-2 wage list (state form 179).
//
// Copy k lists the qualifying federal W-2s among federal copies 18k-17 to
// 18k, one row each, filled from the top without gaps. A row's PA wages
// (column 5) and PA tax withheld (column 6) follow the filer's residency;
// the copy then totals columns 3, 5 and 6 per person and counts the rows
// whose withholding exceeds the PA rate.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

const int kRows = 18;             // rows of a copy, and federal W-2s per copy
const int kFirstCell = 29;        // member of row 0, column 0 (host field 25)
const int kRowStride = 7;         // members per row
const int kStateRowCount = 4;     // state rows of a federal W-2
const int kTextSize = 128;        // federal texts and the row owner
const int kNameSize = 260;        // the two name parts and a blank
const double kPATaxRate = 0.0307;

// Row columns.
enum Column {
  kOwner = 0,          // "T" or "S"
  kEmployerName = 1,   // name text of federal fields 4 and 146
  kFederalText = 2,    // text of federal field 7
  kFederalAmount = 3,  // federal field 21
  kOtherAmount = 4,    // federal field 78
  kPAWages = 5,
  kPATax = 6,
};

// States whose wages a full-year resident may have had withheld under a
// reciprocal agreement, in the order they are tested.
const char* const kReciprocalStates[] = {"IN", "MD", "NJ", "OH", "VA", "WV"};

// Federal W-2 state rows (FedW2FieldIds members; host fields in comments).
struct StateRowFields {
  int code, wages, tax;
};
const StateRowFields kStateRowFields[kStateRowCount] = {
    {272, 274, 275},  // 34, 33, 32
    {279, 281, 282},  // 99, 98, 97
    {286, 288, 289},  // 27781, 27783, 27784
    {293, 295, 296},  // 27788, 27790, 27791
};

const FieldId& cell(int row, Column column) { return kPAW2FieldIds[kFirstCell + kRowStride * row + column]; }

// One federal W-2 copy as the wage list reads it.
class FederalW2 {
 public:
  FederalW2(const DataMgmt::TaxReturn& federal, uint16_t copy) : federal_(federal), copy_(copy) {
    for (int k = 0; k < kStateRowCount; ++k) {
      const StateRowFields& row = kStateRowFields[k];
      federal.formString(code_[k], kTextSize, kFormID_FedW2, copy, kFedW2FieldIds[row.code]);
      // An empty code field is never foreign.
      foreign_[k] = std::strcmp(code_[k], "PA") != 0 &&
                    federal.hasSigValue(kFormID_FedW2, copy, kFedW2FieldIds[row.code]);
      wages_[k] = hundredths(kFedW2FieldIds[row.wages]);
      tax_[k] = hundredths(kFedW2FieldIds[row.tax]);
    }
  }

  bool yes(int member) const { return federal_.formYes(kFormID_FedW2, copy_, kFedW2FieldIds[member]); }
  double hundredths(const FieldId& field) const {
    return federal_.getIN(kFormID_FedW2, copy_, field) / 100.0;
  }
  void text(char* out, int member) const {
    federal_.formString(out, kTextSize, kFormID_FedW2, copy_, kFedW2FieldIds[member]);
  }

  bool anyForeign() const { return count([this](int k) { return foreign_[k]; }) > 0; }
  bool anyPA() const { return count([this](int k) { return std::strcmp(code_[k], "PA") == 0; }) > 0; }
  bool anyReciprocal() const {
    for (const char* state : kReciprocalStates) {
      if (count([&](int k) { return std::strcmp(code_[k], state) == 0; }) > 0) return true;
    }
    return false;
  }
  // Sums of the four rows' wages or taxes; `keep` chooses the rows.
  template <class Keep>
  double sumOf(const double (&amounts)[kStateRowCount], Keep keep) const {
    double sum = 0;
    for (int k = 0; k < kStateRowCount; ++k) {
      if (keep(k)) sum += amounts[k];
    }
    return sum;
  }
  double allWages() const { return sumOf(wages_, [](int) { return true; }); }
  double allTax() const { return sumOf(tax_, [](int) { return true; }); }
  double paWages() const { return sumOf(wages_, [this](int k) { return isPA(k); }); }
  double paTax() const { return sumOf(tax_, [this](int k) { return isPA(k); }); }
  double taxOutsideForeignRows() const { return sumOf(tax_, [this](int k) { return !foreign_[k]; }); }

 private:
  bool isPA(int k) const { return std::strcmp(code_[k], "PA") == 0; }
  template <class Test>
  int count(Test test) const {
    int n = 0;
    for (int k = 0; k < kStateRowCount; ++k) n += test(k) ? 1 : 0;
    return n;
  }

  const DataMgmt::TaxReturn& federal_;
  uint16_t copy_;
  char code_[kStateRowCount][kTextSize];
  bool foreign_[kStateRowCount];
  double wages_[kStateRowCount];
  double tax_[kStateRowCount];
};

// The Schedule W2-S marks that let the user keep a typed column 5 or 6.
struct UserEntryMarks {
  bool keepTax;        // host field 12
  bool keepWages;      // host field 46174
  bool keepBoth;       // host field 50652
};

// Writes column `column` of `row` := amount, only when it is null.
void fillWhenNull(DataMgmt::TaxForm& form, int row, Column column, double amount) {
  if (form.isNull(cell(row, column))) form.assignIR(cell(row, column), amount);
}

// Column 6 of `row`: kept when the user may enter it (filled only while
// null), else protected and calculated.
void setTaxColumn(DataMgmt::TaxForm& form, int row, bool userMayEnter, double tax) {
  if (userMayEnter) {
    form.unProtect(cell(row, kPATax));
    fillWhenNull(form, row, kPATax, tax);
  } else {
    form.makeProtected(cell(row, kPATax));
    form.assignIR(cell(row, kPATax), tax);
  }
}

// PA wages and tax of one row, by residency (0 full-year, 1 part-year,
// 2 nonresident). Returns whether a full-year resident's W-2 names a
// reciprocal state.
bool fillPAColumns(DataMgmt::TaxForm& form, int row, const FederalW2& w2, int residency,
                   const UserEntryMarks& marks) {
  if (residency == 2) {
    if (!w2.anyPA()) {
      form.setNull(cell(row, kPAWages));
      form.setNull(cell(row, kPATax));
      return false;
    }
    form.unProtect(cell(row, kPAWages));
    setTaxColumn(form, row, marks.keepTax || marks.keepBoth, w2.paTax());
    fillWhenNull(form, row, kPAWages, w2.paWages());
    return false;
  }
  // Residents: all state wages, the tax of the rows that are not foreign.
  const double wages = w2.allWages();
  const double tax = w2.taxOutsideForeignRows();
  if (residency == 1) {
    form.unProtect(cell(row, kPAWages));
    if (form.isNull(cell(row, kPAWages))) {
      form.assignIR(cell(row, kPAWages), wages);
      form.assignIR(cell(row, kPATax), tax);
    }
    return false;
  }
  if (!marks.keepWages && !marks.keepBoth) {
    form.makeProtected(cell(row, kPAWages));
    form.makeProtected(cell(row, kPATax));
    form.assignIR(cell(row, kPAWages), wages);
    form.assignIR(cell(row, kPATax), tax);
  } else {
    form.unProtect(cell(row, kPAWages));
    setTaxColumn(form, row, marks.keepTax || marks.keepBoth, tax);
    fillWhenNull(form, row, kPAWages, wages);
  }
  return w2.anyReciprocal();
}

// One person's totals over the rows.
struct OwnerTotals {
  double federalAmount = 0;  // column 3
  double paWages = 0;        // column 5
  double paTax = 0;          // column 6
  int aboveRate = 0;         // rows whose column 6 exceeds the rounded PA tax on column 5
};

}  // namespace

void PATaxReturnCalcEngine::computePAW2(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  DataMgmt::TaxForm& w2List = *form;
  const DataMgmt::TaxReturn& federal = *federalReturn;
  const FieldId& none = Primitives::kNullFieldID;

  const uint16_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, kPAW2FieldIds[25], kPAW2FieldIds[26], none,
               none, kPAW2FieldIds[27], kPAW2FieldIds[28], none, none, none, 0);  // host fields 21-24
  const bool joint = filingStatus == 2;
  const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
  const UserEntryMarks marks = {
      paReturn->formYes(kFormID_PAScheduleW2S, 1, kPAScheduleW2SFieldIds[31]),  // 12
      paReturn->formYes(kFormID_PAScheduleW2S, 1, kPAScheduleW2SFieldIds[24]),  // 46174
      paReturn->formYes(kFormID_PAScheduleW2S, 1, kPAScheduleW2SFieldIds[37]),  // 50652
  };
  // The employer name is cut to the length the form gives its column.
  size_t nameLength = kNameSize - 1;
  DataMgmt::TaxFormDescPtr desc = w2List.getTaxFormDescriptor();
  DataMgmt::FormFieldDescPtr nameDesc = desc.isNull() ? DataMgmt::FormFieldDescPtr()
                                                      : desc->getFieldDesc(cell(0, kEmployerName));
  if (!nameDesc.isNull() && nameDesc->getLength() < nameLength) nameLength = nameDesc->getLength();

  // First pass: one row per qualifying federal W-2. List field p belongs
  // to federal copy 18(k - 1) + p + 1 whether or not that W-2 takes a row.
  int row = 0;
  int foreignRows = 0;          // rows with a foreign-coded state row
  int foreignAmountCount = 0;   // ... whose state wages or taxes add up to more than 0
  int reciprocalCount = 0;
  const long firstFederalCopy = static_cast<long>(kRows) * copy - (kRows - 1);
  for (int position = 0; position < kRows && row < kRows; ++position) {
    const long federalCopy = firstFederalCopy + position;
    if (federalCopy < 1 || federalCopy > UINT16_MAX) continue;  // no such copy number
    const uint16_t f = static_cast<uint16_t>(federalCopy);
    if (!federal.formExists(kFormID_FedW2, f)) continue;
    const FederalW2 w2(federal, f);
    const bool taxpayer = w2.yes(199);  // host field 1
    const bool spouse = w2.yes(200);    // host field 2
    if (federal.getIN(kFormID_FedW2, f, kFedW2FieldIds[206]) == 0 || (spouse && !joint)) continue;

    // The owner comes from the W-2 on every calculation, so no letter of an
    // earlier row survives; a W-2 without either mark is the taxpayer's, as
    // the host's wage pull counts it.
    w2List.assignText(cell(row, kOwner), spouse && !taxpayer ? "S" : "T");

    char first[kTextSize];
    char second[kTextSize];
    w2.text(first, 210);   // host field 4
    w2.text(second, 211);  // host field 146
    char joined[kNameSize];
    std::snprintf(joined, sizeof joined, "%s %s", first, second);
    char name[kNameSize];
    Utils::strip(name, joined);
    if (std::strlen(name) > nameLength) name[nameLength] = '\0';
    w2List.assignText(kPAW2FieldIds[position], name);
    w2List.assignText(cell(row, kEmployerName), name);

    w2List.assignIR(cell(row, kFederalAmount), w2.hundredths(kFedW2FieldIds[206]));  // host field 21
    w2List.assignIR(cell(row, kOtherAmount), w2.hundredths(kFedW2FieldIds[213]));    // host field 78
    char federalText[kTextSize];
    w2.text(federalText, 205);  // host field 7
    w2List.assignText(cell(row, kFederalText), federalText);

    if (w2.anyForeign()) {
      ++foreignRows;
      if (w2.allWages() > 0 || w2.allTax() > 0) ++foreignAmountCount;
    }
    if (fillPAColumns(w2List, row, w2, residency, marks)) ++reciprocalCount;
    ++row;
  }

  const FieldId& otherStateMark = kPAW2FieldIds[19];   // host field 20
  const FieldId& reciprocalMark = kPAW2FieldIds[23];   // host field 139
  if (foreignRows > 0) {
    w2List.setX(otherStateMark);
  } else {
    w2List.setXNo(otherStateMark);
  }
  w2List.assignIR(kPAW2FieldIds[24], foreignAmountCount);  // host field 50653
  if (reciprocalCount > 0) {
    w2List.setX(reciprocalMark);
  } else {
    w2List.setXNo(reciprocalMark);
  }
  // Rows no W-2 filled hold nothing, column 4 included.
  for (; row < kRows; ++row) {
    for (int column = kOwner; column <= kPATax; ++column) {
      w2List.setNull(cell(row, static_cast<Column>(column)));
    }
  }

  // Second pass: totals and counts per person, by the owner letter.
  OwnerTotals taxpayer;
  OwnerTotals spouse;
  for (int r = 0; r < kRows; ++r) {
    char owner[kTextSize];
    w2List.valueString(owner, cell(r, kOwner), kFormID_PAW2);
    Utils::strip(owner, owner);
    OwnerTotals* totals = nullptr;
    if (owner[0] == 'T' || owner[0] == 't') totals = &taxpayer;
    if (owner[0] == 'S' || owner[0] == 's') totals = &spouse;
    if (totals == nullptr) continue;
    const double wages = w2List.getIR(cell(r, kPAWages));
    const double tax = w2List.getIR(cell(r, kPATax));
    totals->federalAmount += w2List.getIR(cell(r, kFederalAmount));
    totals->paWages += wages;
    totals->paTax += tax;
    if (tax > 0 && wages > 0 && tax > Utils::roundR(wages * kPATaxRate)) ++totals->aboveRate;
  }
  const FieldId& taxpayerFederal = kPAW2FieldIds[155];  // host field 79818
  const FieldId& spouseFederal = kPAW2FieldIds[158];    // 79819
  const FieldId& taxpayerWages = kPAW2FieldIds[156];    // 133
  const FieldId& taxpayerTax = kPAW2FieldIds[157];      // 134
  const FieldId& spouseWages = kPAW2FieldIds[159];      // 135
  const FieldId& spouseTax = kPAW2FieldIds[160];        // 136
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
  w2List.assignIR(kPAW2FieldIds[21], taxpayer.aboveRate);  // host field 42786
  w2List.assignIR(kPAW2FieldIds[22], spouse.aboveRate);    // host field 42787

  bool entered = w2List.hasSigValue(cell(0, kOwner));
  for (const FieldId* total : {&taxpayerFederal, &spouseFederal, &taxpayerWages, &taxpayerTax, &spouseWages,
                               &spouseTax}) {
    entered = entered || w2List.gtZero(*total);
  }
  if (entered) {
    paReturn->setDataEntered(kFormID_PAW2, copy, true, false);
    w2List.setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
