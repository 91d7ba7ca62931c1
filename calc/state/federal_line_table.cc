// federalLineTable, its rebuild from the federal catalogs, and the copy of
// the federal variant's lines into the information form.
#include "calc/state/federal_line_table.h"

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/release_share.h"

namespace StateCalculationMgmt {

// Every identifier is empty until the first rebuild.
FederalLineRow federalLineTable[kFederalLineCount];

namespace {

// The federal columns of lines 1-15, in line-code order (FederalLineCode);
// each line has the same name on the three federal return forms.
struct FederalLineSource {
  NamedField<FedReturnFieldIds> fedReturn;
  NamedField<Fed55FieldIds> fed55;
  NamedField<Fed87FieldIds> fed87;
};

#define FEDERAL_LINE(name) {FedReturn::k##name, Fed55::k##name, Fed87::k##name}
constexpr FederalLineSource kFederalLineSources[kFederalLineCount - 1] = {
    FEDERAL_LINE(TaxpayerFirstName),
    FEDERAL_LINE(TaxpayerMiddleInitial),
    FEDERAL_LINE(TaxpayerLastName),
    FEDERAL_LINE(TaxpayerSuffix),
    FEDERAL_LINE(TaxpayerSsn),
    FEDERAL_LINE(SpouseFirstName),
    FEDERAL_LINE(SpouseMiddleInitial),
    FEDERAL_LINE(SpouseLastName),
    FEDERAL_LINE(SpouseSuffix),
    FEDERAL_LINE(SpouseSsn),
    FEDERAL_LINE(Street),
    FEDERAL_LINE(Apartment),
    FEDERAL_LINE(City),
    FEDERAL_LINE(State),
    FEDERAL_LINE(ZipCode),
};
#undef FEDERAL_LINE

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
    row.fedReturnField = source.fedReturn;
    row.fed55Field = source.fed55;
    row.fed87Field = source.fed87;
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
