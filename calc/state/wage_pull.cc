// The federal wage pull: fills a copy of the state allocation form (state
// form 18) from the federal return and the host's wage services.
//
// Every income kind lands on the form as a triple: F, the federal amount;
// T, the taxpayer's part; S, the spouse's part (the field after T). A
// full-year resident's parts are calculated and protected. A part-year
// resident or nonresident enters the parts; the pull only caps them, and
// resets them to 0 first when the residency choice changed since the last
// pull (the copy remembers the choice of that pull).
#include <algorithm>

#include "calc/state/income_kind_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {
namespace {

using DataMgmt::TaxForm;

// The fixed triples (F, T; S follows T) and their split rules.
struct FixedTriple {
  NamedField<State16To18FieldIds> amount, taxpayer;
  uint8_t rule;
};
constexpr FixedTriple kFixedTriples[] = {
    {State16To18::kTaxpayerOnlyAmount, State16To18::kTaxpayerOnlyTaxpayer, kTaxpayerOnly},
    {State16To18::kSpouseOnlyAmount, State16To18::kSpouseOnlyTaxpayer, kSpouseOnly},
    {State16To18::kSecondTaxpayerOnlyAmount, State16To18::kSecondTaxpayerOnlyTaxpayer, kTaxpayerOnly},
    {State16To18::kSecondSpouseOnlyAmount, State16To18::kSecondSpouseOnlyTaxpayer, kSpouseOnly},
};

// Income kinds whose parts a joint full-year resident takes from the
// federal return's per-person items: row of the income-kind table (from
// 1) and the pull codes of the taxpayer's and the spouse's part.
struct PersonCodes {
  int row, taxpayerCode, spouseCode;
};
const PersonCodes kPersonCodes[] = {
    {1, 23, 24},   {3, 27, 28},   {6, 35, 36},   {7, 40, 41},   {9, 50, 51},   {10, 53, 54},
    {11, 59, 60},  {13, 173, 174}, {14, 175, 176}, {15, 177, 178}, {16, 179, 180}, {20, 181, 182},
};

// The income kind whose parts come from federal form 18, copy 1 for the
// taxpayer and copy 2 for the spouse (the sum of its two parts).
const int kForm18Row = 18;

const PersonCodes* personCodesOf(int row) {
  for (const PersonCodes& codes : kPersonCodes) {
    if (codes.row == row) return &codes;
  }
  return nullptr;
}

// A common federal item of the federal return form in use, as a real.
double pullCode(const StateDataMgmt::StateTaxReturn& stateReturn, const FormId& federalForm, int code) {
  return static_cast<double>(stateReturn.pullCommon(federalForm, 1, static_cast<Utils::PCTypes>(code)));
}

// The taxpayer's amount, and on a joint return the spouse's (read only
// then); otherwise the spouse's field is set null.
template <class SpouseAmount>
void assignPerPerson(TaxForm& form, const FieldId& taxpayerField, double taxpayer, const FieldId& spouseField,
                     bool joint, SpouseAmount spouse) {
  form.assignIR(taxpayerField, taxpayer);
  if (joint) {
    form.assignIR(spouseField, spouse());
  } else {
    form.setNull(spouseField);
  }
}

// The field after `field` in the copy's field order; kNullFieldID when
// there is none.
Primitives::OVImmutableIdentifier fieldAfter(const TaxForm& form,
                                             const Primitives::OVImmutableIdentifier& field) {
  DataMgmt::TaxFormDescPtr desc = form.getTaxFormDescriptor();
  if (desc.isNull()) return Primitives::kNullFieldID;
  DataMgmt::OVFieldIDIter it = desc->getFieldIDs();
  it = field;
  if (it.atEOL()) return Primitives::kNullFieldID;
  return (it + 1).getID();
}

// Without joint filing there is no spouse part: S is protected and null.
// Gives whether S is open for a part (joint filing).
bool openSpousePart(TaxForm& form, const FieldId& s, bool joint) {
  if (!joint) {
    form.makeProtected(s);
    form.setNull(s);
    return false;
  }
  form.unProtect(s);
  return true;
}

// A full-year resident's joint parts, T holding F: divided by the rule.
void splitCalculatedParts(TaxForm& form, const FieldId& f, const FieldId& t, const FieldId& s, uint8_t rule) {
  switch (rule) {
    case kSplitCapped:
      form.minII(s, s, t);
      if (form.sumOf2(t, s) > form.getIN(f)) {
        form.minusII(t, t, s);
        if (form.ltZero(t)) form.zero(t);
      }
      break;
    case kSplitUncapped:
      form.minusII(t, t, s);
      break;
    case kSpouseOnly:
      form.makeProtected(t);
      form.makeProtected(s);
      form.setNull(t);
      form.assignII(s, f);
      break;
    case kTaxpayerOnly:
      form.makeProtected(t);
      form.makeProtected(s);
      form.setNull(s);
      form.assignII(t, f);
      break;
    default:
      break;
  }
}

// The joint parts the filer entered, T already capped: S capped by the rule.
void capEnteredParts(TaxForm& form, const FieldId& f, const FieldId& t, const FieldId& s, uint8_t rule) {
  switch (rule) {
    case kSplitCapped:
      form.minIR(s, s, form.getIR(f) - form.getIR(t));
      break;
    case kSpouseOnly:
      form.makeProtected(t);
      form.setNull(t);
      form.minII(s, s, f);
      break;
    case kTaxpayerOnly:
      form.makeProtected(s);
      form.setNull(s);
      break;
    default:
      break;
  }
}

// The income kinds of the table, from the federal return form in use: F
// pulled, split by the kind's rule, then the per-person overrides.
void pullIncomeKinds(StateTaxReturnCalcEngine& engine, const DataMgmt::TaxFormPtr& copy,
                     const FormId& federalForm, int residencyChoice, bool changed,
                     uint16_t filingStatus) {
  const IncomeKindRow* table = StateTaxReturnCalcEngine::incomeKindTable;
  DataMgmt::USTaxReturn* federalReturn = engine.getFederalReturn();
  StateDataMgmt::StateTaxReturn* stateReturn = engine.getStateReturn();
  if (copy.isNull() || table == nullptr || stateReturn == nullptr) return;
  const bool fromForm1 = federalForm == kFormID_FedReturn;
  const bool fromForm55 = federalForm == kFormID_Fed55;
  if (!fromForm1 && !fromForm55 && federalForm != kFormID_Fed87) return;
  const bool joint = StateTaxReturnCalcEngine::isJointFiling(filingStatus);
  const bool perPersonItems = residencyChoice == kChoiceFullYearResident && joint;
  TaxForm& form = *copy;
  for (int i = 0; i < kIncomeKindTableSize && table[i].federalField.getNumber() > 0; ++i) {
    const IncomeKindRow& kind = table[i];
    const int row = i + 1;
    const FieldId& source =
        fromForm1 ? kind.federalField : fromForm55 ? kind.federal55Field : kind.federal87Field;
    if (source.getNumber() <= 0 || kind.amountField.getNumber() <= 0) continue;

    if (federalReturn != nullptr) federalReturn->getII(federalForm, source, copy, kind.amountField);
    engine.applySplitRule(copy, residencyChoice, changed, kind.amountField, kind.taxpayerField,
                          kind.splitRule, filingStatus);
    if (!fromForm1 && !fromForm55) continue;
    // Form 55's kind 13 keeps its pulled amount and split, like the others.

    const FieldId& t = kind.taxpayerField;
    const FieldId s = fieldAfter(form, t);
    const PersonCodes* codes = personCodesOf(row);
    if (codes != nullptr && perPersonItems) {
      form.makeProtected(t);
      form.makeProtected(s);
      form.assignIR(t, pullCode(*stateReturn, federalForm, codes->taxpayerCode));
      form.assignIR(s, pullCode(*stateReturn, federalForm, codes->spouseCode));
    }
    if (fromForm1 && row == kForm18Row) {
      // The two parts of federal form 18, per copy.
      auto form18Sum = [&](uint16_t fedCopy) -> double {
        if (federalReturn == nullptr) return 0.0;
        return static_cast<double>(federalReturn->getIN(kFormID_Fed18, fedCopy, Fed18::kDeductionFirstPart) +
                                   federalReturn->getIN(kFormID_Fed18, fedCopy, Fed18::kDeductionSecondPart));
      };
      if (residencyChoice == kChoiceFullYearResident) {
        if (joint) {
          form.makeProtected(t);
          form.makeProtected(s);
          form.assignIR(t, form18Sum(1));
          form.assignIR(s, form18Sum(2));
        }
      } else {
        form.minIR(t, t, form18Sum(1));
        form.minIR(s, s, form18Sum(2));
      }
    }
  }
}

}  // namespace

void StateTaxReturnCalcEngine::collectFederalAmounts(uint16_t filingStatus, double& a1, double& a2,
                                                     double& a3, double& a4, double& a5, double& a6,
                                                     double& a7) {
  a1 = a2 = a3 = a4 = a5 = a6 = a7 = 0.0;
  if (stateReturn == nullptr) return;
  const FormId federalForm = getFederalReturnFormId();
  const bool joint = isJointFiling(filingStatus);
  auto pull = [&](int code) { return pullCode(*stateReturn, federalForm, code); };
  // The federal return form's line for the taxpayer (and the spouse's).
  auto federalLine = [&](const FieldId& fedReturnLine, const FieldId& fed55Line) -> double {
    if (federalReturn == nullptr) return 0.0;
    if (federalForm == kFormID_FedReturn) {
      return static_cast<double>(federalReturn->getIN(kFormID_FedReturn, 1, fedReturnLine));
    }
    if (federalForm == kFormID_Fed55) {
      return static_cast<double>(federalReturn->getIN(kFormID_Fed55, 1, fed55Line));
    }
    return 0.0;
  };

  a1 = pull(18);
  a2 = pull(20);
  a6 = federalLine(FedReturn::kTaxpayerIraDeduction, Fed55::kTaxpayerIraDeduction);
  if (joint) a7 = federalLine(FedReturn::kSpouseIraDeduction, Fed55::kSpouseIraDeduction);
  a5 = pull(14);
  if (joint) a5 += pull(15);
  a3 = pull(71);
  if (joint) a4 = pull(72);
}

void StateTaxReturnCalcEngine::applySplitRule(TaxFormPtr copy, int residencyChoice, bool changed,
                                              FieldId amountField, FieldId taxpayerField,
                                              uint8_t splitRule, uint16_t filingStatus) {
  if (copy.isNull()) return;
  TaxForm& form = *copy;
  const FieldId& f = amountField;
  const FieldId& t = taxpayerField;
  const FieldId s = fieldAfter(form, t);
  const bool joint = isJointFiling(filingStatus);

  if (!filerEntersParts(residencyChoice)) {
    form.makeProtected(t);
    form.setNull(t);
    form.assignII(t, f);
    if (openSpousePart(form, s, joint)) splitCalculatedParts(form, f, t, s, splitRule);
    return;
  }
  form.unProtect(t);
  if (changed) {
    form.zero(t);
    form.zero(s);
  }
  if (splitRule == kSplitCapped || splitRule == kSpouseOnly || splitRule == kTaxpayerOnly) {
    form.minII(t, t, f);
  }
  if (openSpousePart(form, s, joint)) capEnteredParts(form, f, t, s, splitRule);
}

void StateTaxReturnCalcEngine::pullFederalWages(TaxFormPtr copy, FormId infoForm, uint16_t filingStatus,
                                                int residencyChoice, int nameFlag) {
  if (copy.isNull() || stateReturn == nullptr) return;
  const int k = residencyChoice;
  const uint16_t fs = filingStatus;
  const bool joint = isJointFiling(fs);
  const FormId federalForm = getFederalReturnFormId();
  const FieldId none;

  copyNameText(copy, infoForm, fs, nameFlag, State16To18::kTaxpayerName, State16To18::kTaxpayerSSN, none, none,
               State16To18::kSpouseName, State16To18::kSpouseSSN, none, none, none, 0);
  TaxForm& form = *copy;
  const bool changed = form.getIN(State16To18::kResidencyChoiceOfLastPull) != k;

  double a1, a2, a3, a4, a5, a6, a7;
  collectFederalAmounts(fs, a1, a2, a3, a4, a5, a6, a7);

  double w1 = 0.0;
  double w2 = 0.0;
  stateReturn->getFromW2(kFormID_FedW2, FedW2::kWages, FieldId(0), false, w1, w2);
  form.assignIR(State16To18::kFederalWages, joint ? w1 + w2 : w1);

  // State wages.
  const FieldId& wages1 = State16To18::kTaxpayerStateWages;
  const FieldId& wages2 = State16To18::kSpouseStateWages;
  form.makeProtected(wages1);
  form.makeProtected(wages2);
  if (k == kChoiceNonresident) {
    assignPerPerson(form, wages1, stateReturn->getStateWages(1), wages2, joint,
                    [&] { return stateReturn->getStateWages(10); });
  } else if (!filerEntersParts(k)) {
    assignPerPerson(form, wages1, stateReturn->getAllStateWages(1), wages2, joint,
                    [&] { return stateReturn->getAllStateWages(10); });
  } else {
    form.unProtect(wages1);
    if (changed) form.zero(wages1);
    form.minIR(wages1, wages1, stateReturn->getAllStateWages(1));
    if (joint) {
      form.unProtect(wages2);
      if (changed) form.zero(wages2);
      form.minIR(wages2, wages2, stateReturn->getAllStateWages(10));
      const double rest = stateReturn->getAllStateWages(static_cast<char>(fs)) - form.getIR(wages1);
      form.minIR(wages2, wages2, std::max(0.0, rest));
    } else {
      form.setNull(wages2);
    }
  }

  // Pull code 14 (and 15) with its parts.
  form.assignIR(State16To18::kOtherCompensation, a5);
  const FieldId& other1 = State16To18::kTaxpayerOtherCompensation;
  const FieldId& other2 = State16To18::kSpouseOtherCompensation;
  if (!filerEntersParts(k)) {
    form.makeProtected(other1);
    form.makeProtected(other2);
    assignPerPerson(form, other1, pullCode(*stateReturn, federalForm, 14), other2, joint,
                    [&] { return pullCode(*stateReturn, federalForm, 15); });
  } else {
    // The parts a full-year resident's pull protected in go with the
    // residency; what the filer entered since stays.
    form.unprotectAndMaybeSetNull(other1);
    if (joint) {
      form.unprotectAndMaybeSetNull(other2);
    } else {
      form.makeProtectedAndSetNull(other2);
    }
  }

  form.assignIR(State16To18::kPulledAmountFirst, a1);
  form.assignIR(State16To18::kPulledAmountSecond, a2);
  form.assignIR(State16To18::kTaxpayerOnlyAmount, a6);
  form.assignIR(State16To18::kSpouseOnlyAmount, a7);
  form.assignIR(State16To18::kSecondTaxpayerOnlyAmount, a3);
  form.assignIR(State16To18::kSecondSpouseOnlyAmount, a4);

  // Income kind 12 has no line on forms 55 and 87.
  if (federalForm == kFormID_Fed55 || federalForm == kFormID_Fed87) {
    const int lastEarlyKind = State16To18::kKindAmount.rows() - 1;
    form.setNull(State16To18::kKindAmount.at(lastEarlyKind));
    form.setNull(State16To18::kKindTaxpayer.at(lastEarlyKind));
    form.setNull(State16To18::kKindSpouse.at(lastEarlyKind));
  }

  pullIncomeKinds(*this, copy, federalForm, k, changed, fs);

  for (const FixedTriple& triple : kFixedTriples) {
    applySplitRule(copy, k, changed, triple.amount, triple.taxpayer, triple.rule, fs);
  }

  form.assignIR(State16To18::kResidencyChoiceOfLastPull, k);
}

}  // namespace StateCalculationMgmt
