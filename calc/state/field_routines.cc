// The field routines that the per-form calculations share: scaled number
// stores, defaults and clamps, the quarterly installment split, the
// residency choice, form clears and the line texts of federalLineTable.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "calc/state/federal_line_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "return/release_share.h"
#include "return/return_codes.h"

namespace StateCalculationMgmt {

namespace {

// 10^places for places 1-6; 1 for any other count.
double scaleFactor(int places) {
  static const double kFactors[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  return places >= 1 && places <= 6 ? kFactors[places] : 1;
}

// Size of the buffers formatApartment reads the street and apartment into.
const int kAddressPartSize = 128;
// A street and apartment shorter than this together keep the blank after
// "Apt".
const size_t kApartmentBlankLimit = 31;

}  // namespace

void StateTaxReturnCalcEngine::copyNumberField(const FormId& formId, uint16_t copy, FieldId field,
                                               double& value, int8_t places) {
  TaxFormPtr target = stateReturn != nullptr ? stateReturn->getFormUVPtr(formId, copy, false) : TaxFormPtr();
  if (target.isNull()) {
    value = 0;
    return;
  }
  const double factor = scaleFactor(places);
  target->assignIR(field, value * factor);
  value = static_cast<double>(stateReturn->getIN(formId, copy, field)) / factor;
}

void StateTaxReturnCalcEngine::defaultAndClampNumberField(const FormId& formId, uint16_t copy,
                                                          FieldId field, double defaultValue,
                                                          double low, double high) {
  TaxFormPtr target = stateReturn != nullptr ? stateReturn->getFormUVPtr(formId, copy, false) : TaxFormPtr();
  if (target.isNull()) return;
  const double value = static_cast<double>(stateReturn->getIN(formId, copy, field));
  if (!target->nonNull(field)) {
    target->assignIR(field, defaultValue);
  } else if (value > high) {
    target->assignIR(field, high);
  } else if (value < low) {
    target->assignIR(field, low);
  }
}

void StateTaxReturnCalcEngine::allocateInstallments(FormId markForm, FieldId first, FieldId second,
                                                    FieldId third, FieldId fourth, uint16_t& count,
                                                    double amount, double credit, double threshold,
                                                    InstallmentTable& table, FormId overrideForm,
                                                    FieldId overrideMark, uint16_t overrideCount,
                                                    double overrideAmount) {
  for (auto& row : table) std::fill(std::begin(row), std::end(row), 0.0);
  if (stateReturn == nullptr) return;
  TaxFormPtr marks = stateReturn->getFormUVPtr(markForm, 1, false);
  TaxFormPtr overrides = stateReturn->getFormUVPtr(overrideForm, 1, false);
  if (marks.isNull() || overrides.isNull()) return;

  const bool overridden = overrides->xMarked(overrideMark);
  double total = amount;
  if (overridden) {
    total = overrideAmount;
    credit = 0;
    threshold = 0;
  } else {
    overrideAmount = amount;
  }
  if (total - credit < threshold) return;

  int n = 4;
  if (marks->xMarked(first)) {
    n = 4;
  } else if (marks->xMarked(second)) {
    n = 3;
  } else if (marks->xMarked(third)) {
    n = 2;
  } else if (marks->xMarked(fourth)) {
    n = 1;
  }
  // An override count outside 1..4 would divide by zero or start before
  // the first quarter: keep it within the table.
  if (overridden) n = std::min(std::max(static_cast<int>(overrideCount), 1), kInstallmentRows);
  count = static_cast<uint16_t>(n);

  const double annual = overrideAmount;
  const int start = std::abs(n - 4);
  const double share = std::trunc(annual / n);
  double sum = 0;
  for (int row = 3; row >= start; --row) {
    table[row][kInstallment] = share;
    sum += share;
  }
  for (int row = 3; row >= start && annual > sum; --row) {
    table[row][kInstallment] += 1;
    sum += 1;
  }

  double remaining = annual;
  double creditLeft = credit;
  for (int row = start; row <= 3; ++row) {
    const double installment = table[row][kInstallment];
    remaining -= installment;
    const double applied = std::min(creditLeft, installment);
    creditLeft -= applied;
    table[row][kCreditApplied] = applied;
    table[row][kNetInstallment] = installment - applied;
    table[row][kAmountRemaining] = remaining;
    table[row][kCreditRemaining] = creditLeft;
  }
}

ResidencyChoice StateTaxReturnCalcEngine::readMarkedChoice(TaxFormPtr form, FormId formId, FieldId /*a*/,
                                                           FieldId b, FieldId c, FieldId d) {
  releaseShare(form);
  if (stateReturn == nullptr) return kChoiceFullYearResident;
  TaxFormPtr first = stateReturn->getFormUVPtr(formId, 1, false);
  if (first.isNull()) return kChoiceFullYearResident;
  if (first->xMarked(d)) return kChoicePartYearAllocated;
  if (first->xMarked(b)) return kChoiceNonresident;
  if (first->xMarked(c)) return kChoicePartYearResident;
  return kChoiceFullYearResident;
}

bool StateTaxReturnCalcEngine::isJointOrNone(uint16_t filingStatus) {
  return filingStatus == kFilingStatusNone || filingStatus == PADataMgmt::kFilingJoint;
}

bool StateTaxReturnCalcEngine::isJointFiling(uint16_t filingStatus) {
  return isJointOrNone(filingStatus) || filingStatus == kFilingStatusGenericJoint;
}

void StateTaxReturnCalcEngine::clearForm(const FormId& formId, uint16_t copy) {
  clearFormFields(formId, copy, Primitives::kNullFieldID, Primitives::kNullFieldID);
}

void StateTaxReturnCalcEngine::clearFormFields(const FormId& formId, uint16_t copy, FieldId first,
                                               FieldId last) {
  TaxFormPtr target = stateReturn != nullptr ? stateReturn->getFormUVPtr(formId, copy, false) : TaxFormPtr();
  if (target.isNull()) return;
  DataMgmt::TaxFormDescPtr desc = target->getTaxFormDescriptor();
  if (desc.isNull()) return;
  DataMgmt::OVFieldIDIter field = desc->getFieldIDs();
  if (!first.isValid()) first = field.getID();
  field = first;
  if (!last.isValid()) {
    for (DataMgmt::OVFieldIDIter walk = field; !walk.atEOL(); walk.next()) last = walk.getID();
  }
  for (; field <= last; field.next()) target->setNull(field.getID());
  target->setNull(last);
}

void StateTaxReturnCalcEngine::readFederalLineTexts(FormId formId, short c1, short c2, short c3, short c4,
                                                    short c5, char* b1, char* b2, char* b3, char* b4,
                                                    char* b5, int upper) {
  const short codes[5] = {c1, c2, c3, c4, c5};
  char* buffers[5] = {b1, b2, b3, b4, b5};
  for (int i = 0; i < 5; ++i) {
    if (codes[i] == 0) continue;
    const FieldId& field = federalLineStateField(codes[i]);
    if (!field.isValid() || stateReturn == nullptr) continue;
    stateReturn->formString(buffers[i], kLineTextSize, formId, 1, field);
    if (upper == 1) Utils::OVStringUtils::toUpperCase(buffers[i]);
  }
}

void StateTaxReturnCalcEngine::assignIndexedText(TaxFormPtr target, FormId source, uint16_t filingChoice,
                                                 FieldId t1, FieldId t2, FieldId t3, FieldId t4,
                                                 FieldId t5, FieldId s1, FieldId s2, FieldId s3,
                                                 FieldId s4, FieldId s5, FieldId valueTarget, int upper) {
  if (stateReturn == nullptr || target.isNull()) return;
  TaxFormPtr sourceCopy = stateReturn->getFormUVPtr(source, 1, true);
  char texts[5][kLineTextSize] = {"", "", "", "", ""};

  const FieldId* firsts[5] = {&t1, &t2, &t3, &t4, &t5};
  readFederalLineTexts(source, kTaxpayerFirstNameLine, kTaxpayerMiddleInitialLine, kTaxpayerLastNameLine,
                       kTaxpayerSuffixLine, kTaxpayerNumberLine, texts[0], texts[1], texts[2], texts[3],
                       texts[4], upper);
  for (int i = 0; i < 5; ++i) {
    if (firsts[i]->isValid()) target->assignText(*firsts[i], texts[i]);
  }

  const FieldId* seconds[5] = {&s1, &s2, &s3, &s4, &s5};
  if (!isJointOrNone(filingChoice)) {
    for (const FieldId* field : seconds) {
      if (field->isValid()) target->setNull(*field);
    }
  } else {
    readFederalLineTexts(source, kSpouseFirstNameLine, kSpouseMiddleInitialLine, kSpouseLastNameLine,
                         kSpouseSuffixLine, kSpouseNumberLine, texts[0], texts[1], texts[2], texts[3],
                         texts[4], upper);
    for (int i = 0; i < 5; ++i) {
      if (seconds[i]->isValid()) target->assignText(*seconds[i], texts[i]);
    }
  }

  const FieldId& valueLine = federalLineStateField(kNoFieldLine);
  if (valueTarget.isValid() && valueLine.isValid()) stateReturn->getII(source, valueLine, target, valueTarget);
}

char* StateTaxReturnCalcEngine::formatApartment(char* destination, FormId formId, int upper) {
  destination[0] = '\0';
  if (stateReturn == nullptr) return destination;
  char street[kAddressPartSize] = "";
  char apartment[kAddressPartSize] = "";
  TaxFormPtr first = stateReturn->getFormUVPtr(formId, 1, true);
  if (!first.isNull()) {
    stateReturn->formString(street, sizeof street, formId, 1, federalLineStateField(kStreetLine));
    stateReturn->formString(apartment, sizeof apartment, formId, 1, federalLineStateField(kApartmentLine));
  }

  const size_t streetLength = std::strlen(street);
  const size_t apartmentLength = std::strlen(apartment);
  if (streetLength == 0 && apartmentLength > 0) {
    std::snprintf(destination, kApartmentTextSize, "Apartment %s", apartment);
  } else if (streetLength > 0 && apartmentLength == 0) {
    std::snprintf(destination, kApartmentTextSize, "%s", street);
  } else if (streetLength > 0 && streetLength + apartmentLength < kApartmentBlankLimit) {
    std::snprintf(destination, kApartmentTextSize, "%s Apt %s", street, apartment);
  } else if (streetLength > 0) {
    std::snprintf(destination, kApartmentTextSize, "%s Apt%s", street, apartment);
  }
  if (upper == 1) Utils::OVStringUtils::toUpperCase(destination);
  return destination;
}

}  // namespace StateCalculationMgmt
