#include "calc/pa/federal_w2_table.h"

#include <cstring>

#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

using DataMgmt::FieldId;

const int kTextSize = 128;  // a text as read, its end included

// States whose wages a full-year resident may have had withheld under a
// reciprocal agreement.
const char* const kReciprocalStates[] = {"IN", "MD", "NJ", "OH", "VA", "WV"};

bool isReciprocal(const char* code) {
  for (const char* state : kReciprocalStates) {
    if (std::strcmp(code, state) == 0) return true;
  }
  return false;
}

// Copy `copy` of the federal W-2 of `federal`, which holds it.
FederalW2Figures readFigures(const DataMgmt::TaxReturn& federal, uint16_t copy) {
  const auto dollars = [&](const FieldId& field) { return federal.getIN(kFormID_FedW2, copy, field) / 100.0; };
  const auto text = [&](const FieldId& field) {
    char out[kTextSize];
    return std::string(federal.formString(out, sizeof out, kFormID_FedW2, copy, field));
  };
  FederalW2Figures w2;
  for (int k = 0; k < FederalW2Figures::kStateRows; ++k) {
    FederalW2Figures::StateRow& row = w2.stateRows[k];
    const FieldId& codeField = FedW2::kStateCode.at(k);
    char code[kTextSize];
    federal.formString(code, sizeof code, kFormID_FedW2, copy, codeField);
    row.pa = std::strcmp(code, "PA") == 0;
    row.foreign = !row.pa && federal.hasSigValue(kFormID_FedW2, copy, codeField);
    row.wages = dollars(FedW2::kStateWages.at(k));
    row.tax = dollars(FedW2::kStateIncomeTax.at(k));
    w2.reciprocal = w2.reciprocal || isReciprocal(code);
  }
  w2.taxpayerBox = federal.formYes(kFormID_FedW2, copy, FedW2::kTaxpayerBox);
  w2.spouseBox = federal.formYes(kFormID_FedW2, copy, FedW2::kSpouseBox);
  w2.wages = dollars(FedW2::kWages);
  w2.otherAmount = dollars(FedW2::kOtherAmount);
  if (w2.wages != 0) {
    w2.employerName = text(FedW2::kEmployerName);
    w2.employerNameContinued = text(FedW2::kEmployerNameContinued);
    w2.employerId = text(FedW2::kEmployerId);
  }
  return w2;
}

// The sum of the rows' wages (`wages`) or taxes that `keep` chooses.
template <class Keep>
double sumOf(const FederalW2Figures::StateRow (&rows)[FederalW2Figures::kStateRows], bool wages, Keep keep) {
  double sum = 0;
  for (const FederalW2Figures::StateRow& row : rows) {
    if (keep(row)) sum += wages ? row.wages : row.tax;
  }
  return sum;
}

bool every(const FederalW2Figures::StateRow&) { return true; }
bool paRow(const FederalW2Figures::StateRow& row) { return row.pa; }
bool notForeign(const FederalW2Figures::StateRow& row) { return !row.foreign; }

}  // namespace

bool FederalW2Figures::anyForeign() const {
  for (const StateRow& row : stateRows) {
    if (row.foreign) return true;
  }
  return false;
}

bool FederalW2Figures::anyPA() const {
  for (const StateRow& row : stateRows) {
    if (row.pa) return true;
  }
  return false;
}

double FederalW2Figures::allWages() const { return sumOf(stateRows, true, every); }
double FederalW2Figures::allTax() const { return sumOf(stateRows, false, every); }
double FederalW2Figures::paWages() const { return sumOf(stateRows, true, paRow); }
double FederalW2Figures::paTax() const { return sumOf(stateRows, false, paRow); }
double FederalW2Figures::taxOutsideForeignRows() const { return sumOf(stateRows, false, notForeign); }

const FederalW2Figures* FederalW2Table::find(const DataMgmt::TaxReturn& federal, uint16_t copy) {
  const std::pair<unsigned long, unsigned long> version = federal.formVersion(kFormID_FedW2);
  if (&federal != federal_ || version != version_) {
    // The copies are made and dropped only with a new version: the size
    // holds while the figures do, and so do their addresses.
    entries_.clear();
    entries_.resize(static_cast<size_t>(federal.getMaxCopies(kFormID_FedW2)) + 1);
    federal_ = &federal;
    version_ = version;
  }
  if (copy >= entries_.size()) return nullptr;
  Entry& entry = entries_[copy];
  if (!entry.read) {
    entry.read = true;
    entry.exists = federal.formExists(kFormID_FedW2, copy);
    if (entry.exists) entry.figures = readFigures(federal, copy);
  }
  return entry.exists ? &entry.figures : nullptr;
}

void FederalW2Table::clear() {
  entries_.clear();
  federal_ = nullptr;
  version_ = {};
}

}  // namespace PACalculationMgmt
