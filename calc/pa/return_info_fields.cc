// The information form's field routines that read the federal return: the
// federal-return type and lines, the residency code, the host's state
// summary, fields kept in step across three forms, and the withholding
// summary of federal form 190.
#include <cstdio>
#include <cstring>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/return_info_view.h"
#include "calc/state/federal_line_table.h"
#include "catalogs/fields/fields.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::FormId;
using DataMgmt::TaxFormPtr;
using Utils::OVStringUtils;

namespace {

// Federal form 92's residency rows: the state, then the taxpayer's and the
// spouse's status, three rows.
const int kResidencyRowCount = FedFilerInfo::kResidencyState.rows();

struct ResidencyStatus {
  const char* text;
  FilerResidencyCode code;
};

const ResidencyStatus kResidencyStatuses[] = {
    {"Full-year resident", kFilerFullYearResident},
    {"Part-year resident", kFilerPartYearResident},
    {"Nonresident", kFilerNonresident},
};

const short kHomeStateLine = 14;

// Federal form 190's withholding rows are walked by position in the form's
// field order: the slot block's rows from its first key to its last, the
// amount, state and excluded mark at their distances from the key; the
// total block's rows likewise, with the same amount and state distances.
const int kSlotCount = 12;

// The field before `field` in the form's own field order; empty when the
// field is not in the form or is its first field.
FieldId fieldBefore(const DataMgmt::TaxForm& form, const FieldId& field) {
  DataMgmt::TaxFormDescPtr desc = form.getTaxFormDescriptor();
  if (desc.isNull() || !field.isValid()) return Primitives::kNullFieldID;
  DataMgmt::OVFieldIDIter position = desc->getFieldIDs();
  position = field;
  if (position.atEOL() || position.position() == 0) return Primitives::kNullFieldID;
  return (position - 1).getID();
}

}  // namespace

void PATaxReturnCalcEngine::fillFederalReturnTypeFields(TaxFormPtr form, FormId fedForm, FormId stateForm,
                                                        const FieldId (&lines)[15], FieldId d, FieldId x1,
                                                        FieldId x55, FieldId x87) {
  if (form.isNull() || paReturn == nullptr) return;

  form->setXNo(x1);
  form->setXNo(x55);
  form->setXNo(x87);
  if (!form->xMarked(x1) && !form->xMarked(x55) && !form->xMarked(x87)) {
    fedForm = findFederalReturnFormInUse();
    if (fedForm == kFormID_Fed87) {
      form->setX(x87);
    } else if (fedForm == kFormID_Fed55) {
      form->setX(x55);
    } else {
      form->setX(x1);
    }
  }

  // Rebuilds the line table, points lines 1-15 at `lines` and copies them.
  copyFederalLines(fedForm, form, lines);

  if (d.isValid() && federalReturn != nullptr) {
    federalReturn->getII(kFormID_FedFilerInfo, FedFilerInfo::kCareOf, form, d);
  }

  TaxFormPtr names = paReturn->getFormUVPtr(stateForm, 1, true);
  if (names.isNull()) return;
  const auto& t = FederalReturnType::kTaxpayerLine;
  const auto& s = FederalReturnType::kSpouseLine;
  assignIndexedText(names, paReturn->getInfoFormId(), 2, t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), s.at(0),
                    s.at(1), s.at(2), s.at(3), s.at(4), Primitives::kNullFieldID, 0);
  paReturn->setDataEntered(stateForm, 1, true, false);
  names->setCalcMark(true);
}

FormId PATaxReturnCalcEngine::findFederalReturnFormInUse() {
  if (federalReturn == nullptr) return kFormID_FedReturn;
  TaxFormPtr form104 = federalReturn->getFormUVPtr(kFormID_Fed104, 1, false);
  if (form104.isNull()) return kFormID_FedReturn;
  if (form104->xMarked(Fed104::kThirdVariantBox)) return kFormID_Fed87;
  if (form104->xMarked(Fed104::kSecondVariantBox)) return kFormID_Fed55;
  return kFormID_FedReturn;
}

int PATaxReturnCalcEngine::getFilerResidencyCode(short whose) {
  if (paReturn == nullptr) return kFilerNonresident;
  const std::string abbreviation = paReturn->getAbbreviation();

  if (federalReturn != nullptr) {
    for (int row = 0; row < kResidencyRowCount; ++row) {
      char state[kSummaryTextSize];
      federalReturn->formString(state, sizeof state, kFormID_FedFilerInfo, 1,
                                FedFilerInfo::kResidencyState.at(row));
      if (OVStringUtils::stricmp(state, abbreviation.c_str()) != 0) continue;
      const auto& person =
          whose == 0 ? FedFilerInfo::kResidencyTaxpayerStatus : FedFilerInfo::kResidencySpouseStatus;
      char status[kSummaryTextSize];
      federalReturn->formString(status, sizeof status, kFormID_FedFilerInfo, 1, person.at(row));
      for (const ResidencyStatus& known : kResidencyStatuses) {
        if (OVStringUtils::stricmp(status, known.text) == 0) return known.code;
      }
    }
  }

  // No row decided: the state of the home address.
  char homeState[kSummaryTextSize];
  paReturn->formString(homeState, sizeof homeState, paReturn->getInfoFormId(), 1,
                       StateCalculationMgmt::federalLineStateField(kHomeStateLine));
  return OVStringUtils::stricmp(homeState, abbreviation.c_str()) == 0 ? kFilerFullYearResident
                                                                      : kFilerNonresident;
}

char* PATaxReturnCalcEngine::findFormByAbbreviation(char* out, const FieldId& field) {
  out[0] = '\0';
  if (federalReturn == nullptr || paReturn == nullptr) return out;
  const std::string abbreviation = paReturn->getAbbreviation();
  for (DataMgmt::TaxFormIter it = federalReturn->getForms(kFormID_Fed32783); !it.atEOL(); it.next()) {
    const uint16_t copy = it.getTaxForm()->getCopyNumber();
    char state[kSummaryTextSize];
    federalReturn->formString(state, sizeof state, kFormID_Fed32783, copy, PAReturnInfoAlt::kStateCode);
    if (OVStringUtils::stricmp(state, abbreviation.c_str()) == 0) {
      federalReturn->formString(out, kSummaryTextSize, kFormID_Fed32783, copy, field);
      break;
    }
  }
  return out;
}

void PATaxReturnCalcEngine::copyAndProtectFields(FormId stateForm, FieldId s, FormId fedForm, FieldId f,
                                                 FormId agreedForm, FieldId k) {
  if (paReturn == nullptr || federalReturn == nullptr) return;
  TaxFormPtr stateCopy = paReturn->getFormUVPtr(stateForm, 1, false);
  TaxFormPtr fedCopy = federalReturn->getFormUVPtr(fedForm, 1, false);
  TaxFormPtr agreedCopy = paReturn->getFormUVPtr(agreedForm, 1, true);
  if (stateCopy.isNull() || fedCopy.isNull() || agreedCopy.isNull()) return;

  DataMgmt::FormFieldPtr stateField = stateCopy->getField(s);
  DataMgmt::FormFieldDescPtr kind =
      stateField.isNull() ? DataMgmt::FormFieldDescPtr() : stateField->getFieldDesc();

  if (!kind.isNull() && kind->isText()) {
    // The agreed text tells which side changed; a change on both sides
    // keeps the state side's text.
    char ts[81];
    char tf[81];
    char tk[81];
    paReturn->formString(ts, sizeof ts, stateForm, 1, s);
    federalReturn->formString(tf, sizeof tf, fedForm, 1, f);
    paReturn->formString(tk, sizeof tk, agreedForm, 1, k);
    if (std::strcmp(ts, tf) != 0) {
      if (std::strcmp(ts, tk) == 0) {
        stateCopy->assignText(s, tf);
        std::snprintf(ts, sizeof ts, "%s", tf);
      } else {
        fedCopy->assignText(f, ts);
      }
    }
    agreedCopy->assignText(k, ts);
  } else if (!kind.isNull() && kind->isBoolean()) {
    auto setBox = [](DataMgmt::TaxForm& copy, const FieldId& field, bool yes) {
      if (yes) {
        copy.setX(field);
      } else {
        copy.setXNo(field);
      }
    };
    const bool ys = paReturn->formYes(stateForm, 1, s);
    const bool yf = federalReturn->formYes(fedForm, 1, f);
    const bool yk = paReturn->formYes(agreedForm, 1, k);
    if (ys == yf) {
      setBox(*agreedCopy, k, ys);
    } else if (ys == yk) {
      setBox(*stateCopy, s, yf);
      setBox(*agreedCopy, k, yf);
    } else {
      setBox(*fedCopy, f, ys);
      setBox(*agreedCopy, k, ys);
    }
  } else {
    const long vs = paReturn->getIN(stateForm, 1, s);
    const long vf = federalReturn->getIN(fedForm, 1, f);
    const long vk = paReturn->getIN(agreedForm, 1, k);
    const bool stateNull = paReturn->isNull(stateForm, 1, s);
    const bool fedNull = federalReturn->isNull(fedForm, 1, f);
    if (vs == vf && stateNull == fedNull) {
      agreedCopy->assignIR(k, static_cast<double>(vs));
    } else if (vs == vk) {
      if (fedNull) {
        stateCopy->setNull(s);
      } else {
        stateCopy->assignIR(s, static_cast<double>(vf));
      }
      agreedCopy->assignIR(k, static_cast<double>(vf));
    } else {
      if (stateNull) {
        fedCopy->setNull(f);
      } else {
        fedCopy->assignIR(f, static_cast<double>(vs));
      }
      agreedCopy->assignIR(k, static_cast<double>(vs));
    }
  }

  // A calculated state field leaves the federal one to the calculation.
  if (!stateField.isNull() && stateField->isCalculated()) {
    fedCopy->makeProtected(f);
  } else {
    fedCopy->unProtect(f);
  }
}

void PATaxReturnCalcEngine::sumFieldsByAbbreviation(TaxFormPtr form, FieldId t1, FieldId t2, FieldId t3,
                                                    const FieldId (&slots)[12]) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  const std::string abbreviation = paReturn->getAbbreviation();

  // The row geometry from the positions of the catalog members in form
  // 190's field order.
  DataMgmt::TaxFormDescPtr desc190 = federalReturn->getTaxFormDescriptor(kFormID_Fed190);
  const DataMgmt::OVFieldIDIter fields =
      desc190.isNull() ? DataMgmt::OVFieldIDIter() : desc190->getFieldIDs();
  const auto& slotKey = Fed190::kWithholdingRowKey;
  const auto& totalKey = Fed190::kTotalRowKey;
  const int base = fields.positionOf(slotKey.at(0));
  const int amountOffset = fields.positionOf(Fed190::kWithholdingRowAmount.at(0)) - base;
  const int stateOffset = fields.positionOf(Fed190::kWithholdingRowState.at(0)) - base;
  const int excludedOffset = fields.positionOf(Fed190::kWithholdingRowExcludedBox.at(0)) - base;
  const int slotStep = fields.positionOf(slotKey.at(1)) - base;
  const int totalStep = fields.positionOf(totalKey.at(1)) - fields.positionOf(totalKey.at(0));

  // A row belongs to this state by its state text, or by a positive amount
  // with no state given.
  auto belongs = [&](const DataMgmt::OVFieldIDIter& row, long* amount) {
    char state[kSummaryTextSize];
    federalReturn->formString(state, sizeof state, kFormID_Fed190, 1, (row + stateOffset).getID());
    *amount = federalReturn->getIN(kFormID_Fed190, 1, (row + amountOffset).getID());
    return OVStringUtils::stricmp(state, abbreviation.c_str()) == 0 || (*amount > 0 && state[0] == '\0');
  };

  // Total block into t1.
  long total = 0;
  if (totalStep > 0) {
    DataMgmt::OVFieldIDIter row = fields;
    row = totalKey.at(0);
    for (; row <= totalKey.at(totalKey.rows() - 1); row += totalStep) {
      long amount = 0;
      if (belongs(row, &amount)) total += amount;
    }
  }
  if (total > 0) {
    form->makeProtected(t1);
    form->assignIR(t1, static_cast<double>(total));
  } else {
    form->unProtect(t1);
    form->setNull(t1);
  }

  // Slot block: the first twelve rows of this state that are not excluded,
  // each into a slot and the field before it.
  int taken = 0;
  if (slotStep > 0) {
    DataMgmt::OVFieldIDIter row = fields;
    row = slotKey.at(0);
    for (; row <= slotKey.at(slotKey.rows() - 1) && taken < kSlotCount; row += slotStep) {
      long amount = 0;
      if (!belongs(row, &amount)) continue;
      if (federalReturn->formYes(kFormID_Fed190, 1, (row + excludedOffset).getID())) continue;
      const FieldId& slot = slots[taken];
      const FieldId partner = fieldBefore(*form, slot);
      federalReturn->getII(kFormID_Fed190, row.getID(), form, partner);
      form->assignIR(slot, static_cast<double>(amount));
      form->makeProtected(partner);
      form->makeProtected(slot);
      ++taken;
    }
  }
  for (int n = taken; n < kSlotCount; ++n) {
    const FieldId partner = fieldBefore(*form, slots[n]);
    form->unProtect(partner);
    form->setNull(partner);
    form->unProtect(slots[n]);
    form->setNull(slots[n]);
  }

  double slotTotal = 0;
  for (const FieldId& slot : slots) slotTotal += form->getIR(slot);
  form->assignIR(t2, slotTotal);
  form->plus2(t3, t1, t2);
}

}  // namespace PACalculationMgmt
