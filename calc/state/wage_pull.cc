// The federal wage pull: fills a copy of the state allocation form (state
// form 18) from the federal return and the host's wage services.
//
// Every income kind lands on the form as a triple: F, the federal amount;
// T, the taxpayer's part; S, the spouse's part (the field after T). A
// full-year resident's parts are calculated and protected. A part-year
// resident or nonresident enters the parts; the pull only caps them, and
// resets them to 0 first when the residency choice changed since the last
// pull (field 5 remembers the choice of that pull).
#include <algorithm>

#include "calc/state/income_kind_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {
namespace {

using DataMgmt::TaxForm;

// Fields of the allocation form: State16To18FieldIds members, host field
// numbers in the names.
const int kField5 = 4;    // residency choice of the last pull
const int kField14 = 13;  // taxpayer's name and number
const int kField15 = 14;
const int kField16 = 15;  // spouse's name and number
const int kField17 = 16;
const int kField18 = 17;  // federal W-2 wages
const int kField19 = 18;  // state wages, taxpayer and spouse
const int kField20 = 19;
const int kField21 = 20;  // pull code 14 (+ 15 when joint)
const int kField22 = 21;  // its taxpayer and spouse parts
const int kField23 = 22;
const int kField27 = 26;  // pull codes 18 and 20
const int kField28 = 27;
const int kField62 = 61;  // F, T, S of income kind 12
const int kField63 = 62;
const int kField64 = 63;
const int kField68 = 97;  // the four fixed triples: 68-70, 71-73, 89-91, 92-94
const int kField69 = 98;
const int kField71 = 100;
const int kField72 = 101;
const int kField89 = 82;
const int kField90 = 83;
const int kField92 = 85;
const int kField93 = 86;

const Primitives::OVImmutableIdentifier& field(int member) { return kState16To18FieldIds[member]; }

// The fixed triples (F, T; S follows T) and their split rules.
struct FixedTriple {
  int amount, taxpayer;
  uint8_t rule;
};
const FixedTriple kFixedTriples[] = {
    {kField68, kField69, kTaxpayerOnly},
    {kField71, kField72, kSpouseOnly},
    {kField89, kField90, kTaxpayerOnly},
    {kField92, kField93, kSpouseOnly},
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
// taxpayer and copy 2 for the spouse (host fields 145 and 146 of each).
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

// Residency choices 2, 3 and 4: the filer enters the parts.
bool userEntersParts(int residencyChoice) {
  return residencyChoice == 2 || residencyChoice == 3 || residencyChoice == 4;
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
  const bool perPersonItems = residencyChoice == 1 && joint;
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
      // Host fields 145 and 146 of federal form 18, per copy.
      auto form18Sum = [&](uint16_t fedCopy) -> double {
        if (federalReturn == nullptr) return 0.0;
        return static_cast<double>(federalReturn->getIN(kFormID_Fed18, fedCopy, kFed18FieldIds[106]) +
                                   federalReturn->getIN(kFormID_Fed18, fedCopy, kFed18FieldIds[138]));
      };
      if (residencyChoice == 1) {
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

bool StateTaxReturnCalcEngine::isJointFiling(uint16_t filingStatus) {
  return filingStatus == 0 || filingStatus == 2 || filingStatus == 8;
}

void StateTaxReturnCalcEngine::collectFederalAmounts(uint16_t filingStatus, double& a1, double& a2,
                                                     double& a3, double& a4, double& a5, double& a6,
                                                     double& a7) {
  a1 = a2 = a3 = a4 = a5 = a6 = a7 = 0.0;
  if (stateReturn == nullptr) return;
  const FormId federalForm = getFederalReturnFormId();
  const bool joint = isJointFiling(filingStatus);
  auto pull = [&](int code) { return pullCode(*stateReturn, federalForm, code); };
  // The federal return form's line for the taxpayer (and the spouse's).
  auto federalLine = [&](int fedReturnMember, int fed55Member) -> double {
    if (federalReturn == nullptr) return 0.0;
    if (federalForm == kFormID_FedReturn) {
      return static_cast<double>(
          federalReturn->getIN(kFormID_FedReturn, 1, kFedReturnFieldIds[fedReturnMember]));
    }
    if (federalForm == kFormID_Fed55) {
      return static_cast<double>(federalReturn->getIN(kFormID_Fed55, 1, kFed55FieldIds[fed55Member]));
    }
    return 0.0;
  };

  a1 = pull(18);
  a2 = pull(20);
  a6 = federalLine(625, 201);  // host field 110 of form 1, 77 of form 55
  if (joint) a7 = federalLine(626, 202);  // host field 111 of form 1, 78 of form 55
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

  if (!userEntersParts(residencyChoice)) {
    form.makeProtected(t);
    form.setNull(t);
    form.assignII(t, f);
    if (!joint) {
      form.makeProtected(s);
      form.setNull(s);
      return;
    }
    form.unProtect(s);
    switch (splitRule) {
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
  if (!joint) {
    form.makeProtected(s);
    form.setNull(s);
    return;
  }
  form.unProtect(s);
  switch (splitRule) {
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

void StateTaxReturnCalcEngine::pullFederalWages(TaxFormPtr copy, FormId infoForm, uint16_t filingStatus,
                                                int residencyChoice, int nameFlag) {
  if (copy.isNull() || stateReturn == nullptr) return;
  const int k = residencyChoice;
  const uint16_t fs = filingStatus;
  const bool joint = isJointFiling(fs);
  const FormId federalForm = getFederalReturnFormId();
  const FieldId none;

  copyNameText(copy, infoForm, fs, nameFlag, field(kField14), field(kField15), none, none,
               field(kField16), field(kField17), none, none, none, 0);
  TaxForm& form = *copy;
  const bool changed = form.getIN(field(kField5)) != k;

  double a1, a2, a3, a4, a5, a6, a7;
  collectFederalAmounts(fs, a1, a2, a3, a4, a5, a6, a7);

  // Federal W-2 wages (host field 21 of each W-2).
  double w1 = 0.0;
  double w2 = 0.0;
  stateReturn->getFromW2(kFormID_FedW2, kFedW2FieldIds[206], FieldId(0), false, w1, w2);
  form.assignIR(field(kField18), joint ? w1 + w2 : w1);

  // State wages.
  const FieldId& wages1 = field(kField19);
  const FieldId& wages2 = field(kField20);
  form.makeProtected(wages1);
  form.makeProtected(wages2);
  if (k == 3) {
    form.assignIR(wages1, stateReturn->getStateWages(1));
    if (joint) {
      form.assignIR(wages2, stateReturn->getStateWages(10));
    } else {
      form.setNull(wages2);
    }
  } else if (!userEntersParts(k)) {
    form.assignIR(wages1, stateReturn->getAllStateWages(1));
    if (joint) {
      form.assignIR(wages2, stateReturn->getAllStateWages(10));
    } else {
      form.setNull(wages2);
    }
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
  form.assignIR(field(kField21), a5);
  const FieldId& other1 = field(kField22);
  const FieldId& other2 = field(kField23);
  form.makeProtected(other1);
  form.makeProtected(other2);
  if (!userEntersParts(k)) {
    form.assignIR(other1, pullCode(*stateReturn, federalForm, 14));
    if (joint) {
      form.assignIR(other2, pullCode(*stateReturn, federalForm, 15));
    } else {
      form.setNull(other2);
    }
  } else {
    form.unProtect(other1);
    if (joint) {
      form.unProtect(other2);
    } else {
      form.setNull(other2);
    }
  }

  form.assignIR(field(kField27), a1);
  form.assignIR(field(kField28), a2);
  form.assignIR(field(kField68), a6);
  form.assignIR(field(kField71), a7);
  form.assignIR(field(kField89), a3);
  form.assignIR(field(kField92), a4);

  if (federalForm == kFormID_Fed55 || federalForm == kFormID_Fed87) {
    form.setNull(field(kField62));
    form.setNull(field(kField63));
    form.setNull(field(kField64));
  }

  pullIncomeKinds(*this, copy, federalForm, k, changed, fs);

  for (const FixedTriple& triple : kFixedTriples) {
    applySplitRule(copy, k, changed, field(triple.amount), field(triple.taxpayer), triple.rule, fs);
  }

  form.assignIR(field(kField5), k);
}

}  // namespace StateCalculationMgmt
