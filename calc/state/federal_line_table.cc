// federalLineTable, its rebuild from the federal catalogs, and the copy of
// the federal variant's lines into the information form.
#include "calc/state/federal_line_table.h"

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"
#include "catalogs/catalogs.h"
#include "entry/release_share.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

// Every identifier is empty until the first rebuild.
FederalLineRow federalLineTable[kFederalLineCount];

namespace {

// The federal columns of lines 1-15: the member of each variant's catalog
// (host field number in the comment, form 1 / 55 / 87).
struct FederalLineSource {
  FieldRef fedReturn;
  FieldRef fed55;
  FieldRef fed87;
};

constexpr CatalogId kF1 = CatalogId::FedReturnFieldIds;
constexpr CatalogId kF55 = CatalogId::Fed55FieldIds;
constexpr CatalogId kF87 = CatalogId::Fed87FieldIds;

const FederalLineSource kFederalLineSources[kFederalLineCount - 1] = {
    {{kF1, 325}, {kF55, 92}, {kF87, 48}},    //  1: 1 / 1 / 31         taxpayer name 1
    {{kF1, 326}, {kF55, 93}, {kF87, 49}},    //  2: 411 / 178 / 69     taxpayer name 2
    {{kF1, 327}, {kF55, 94}, {kF87, 50}},    //  3: 2 / 2 / 32         taxpayer family name
    {{kF1, 328}, {kF55, 95}, {kF87, 51}},    //  4: 3 / 3 / 81534      taxpayer name 4
    {{kF1, 329}, {kF55, 96}, {kF87, 52}},    //  5: 11 / 11 / 9        taxpayer number
    {{kF1, 330}, {kF55, 97}, {kF87, 53}},    //  6: 4 / 4 / 81535      spouse name 1
    {{kF1, 331}, {kF55, 98}, {kF87, 54}},    //  7: 412 / 179 / 81536  spouse name 2
    {{kF1, 332}, {kF55, 99}, {kF87, 55}},    //  8: 5 / 5 / 81537      spouse family name
    {{kF1, 333}, {kF55, 100}, {kF87, 56}},   //  9: 6 / 6 / 81538      spouse name 4
    {{kF1, 334}, {kF55, 101}, {kF87, 57}},   // 10: 12 / 12 / 53       spouse number
    {{kF1, 335}, {kF55, 102}, {kF87, 58}},   // 11: 7 / 7 / 33         street
    {{kF1, 336}, {kF55, 103}, {kF87, 59}},   // 12: 317 / 123 / 5      apartment
    {{kF1, 337}, {kF55, 104}, {kF87, 60}},   // 13: 8 / 8 / 6          city
    {{kF1, 338}, {kF55, 105}, {kF87, 61}},   // 14: 9 / 9 / 7          state
    {{kF1, 339}, {kF55, 106}, {kF87, 62}},   // 15: 10 / 10 / 8        postal code
};

}  // namespace

FederalLineRow* federalLineRow(short code) {
  if (code < 1 || code > kFederalLineCount) return nullptr;
  return &federalLineTable[code - 1];
}

const Primitives::OVImmutableIdentifier& federalLineStateField(short code) {
  const FederalLineRow* row = federalLineRow(code);
  return row != nullptr ? row->stateField : Primitives::kNullFieldID;
}

void StateTaxReturnCalcEngine::buildFederalLineTable() {
  for (short code = 1; code < kFederalLineCount; ++code) {
    const FederalLineSource& source = kFederalLineSources[code - 1];
    FederalLineRow& row = *federalLineRow(code);
    row.fedReturnField = fieldOf(source.fedReturn);
    row.fed55Field = fieldOf(source.fed55);
    row.fed87Field = fieldOf(source.fed87);
  }
  FederalLineRow& last = *federalLineRow(kNoFieldLine);
  last.fedReturnField = 0;
  last.fed55Field = 0;
  last.fed87Field = 0;
  last.stateField = 0;
}

void StateTaxReturnCalcEngine::copyFederalLines(const FormId& federalForm, TaxFormPtr target,
                                                const FieldId (&stateFields)[15]) {
  buildFederalLineTable();
  for (short code = 1; code < kFederalLineCount; ++code) {
    federalLineRow(code)->stateField = stateFields[code - 1];
  }
  federalLineRow(kNoFieldLine)->stateField = 0;

  for (short code = 1; code <= kFederalLineCount; ++code) {
    const FederalLineRow& row = *federalLineRow(code);
    const FieldId& federalField = federalForm == kFormID_Fed55   ? row.fed55Field
                                  : federalForm == kFormID_Fed87 ? row.fed87Field
                                                                 : row.fedReturnField;
    if (federalField.isValid()) {
      if (federalReturn != nullptr) federalReturn->getII(federalForm, federalField, target, row.stateField);
    } else if (row.stateField.isValid() && !target.isNull()) {
      target->setNull(row.stateField);
    }
  }
}

}  // namespace StateCalculationMgmt
