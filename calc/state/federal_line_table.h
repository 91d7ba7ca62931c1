// federalLineTable: where each of the filer's name and address lines lives.
//
// Sixteen rows, one per line code 1-16 (code c is row c, stored at index
// c - 1). For each line a row names its field on federal form 1, 55 and 87
// and the state field that receives it on the information form. Code 0
// means "no line"; row 16 never carries a field.
//
// The table is process-wide: every identifier is empty from load until the
// information form's first calculation, which rebuilds the federal columns
// (StateTaxReturnCalcEngine::buildFederalLineTable) and sets the state
// column; later lookups see the fields of the last such calculation. It is
// written and read on the host's calling thread only.
#ifndef CALC_STATE_FEDERAL_LINE_TABLE_H_
#define CALC_STATE_FEDERAL_LINE_TABLE_H_

#include "host/identifier.h"

namespace StateCalculationMgmt {

struct FederalLineRow {
  Primitives::OVImmutableIdentifier fedReturnField;  // on kFormID_FedReturn
  Primitives::OVImmutableIdentifier fed55Field;      // on kFormID_Fed55
  Primitives::OVImmutableIdentifier fed87Field;      // on kFormID_Fed87
  Primitives::OVImmutableIdentifier stateField;      // on the state form
};

// The line codes of rows 1-15 (0 is no line).
enum FederalLineCode : short {
  kTaxpayerFirstNameLine = 1,
  kTaxpayerMiddleInitialLine,
  kTaxpayerLastNameLine,
  kTaxpayerSuffixLine,
  kTaxpayerNumberLine,
  kSpouseFirstNameLine,
  kSpouseMiddleInitialLine,
  kSpouseLastNameLine,
  kSpouseSuffixLine,
  kSpouseNumberLine,
  kStreetLine,
  kApartmentLine,
  kCityLine,
  kStateLine,
  kZipCodeLine,
};

const short kFederalLineCount = 16;
// The line code without a field in any column.
const short kNoFieldLine = 16;

extern FederalLineRow federalLineTable[kFederalLineCount];

// The row of line `code`; null for code 0 and for any code outside 1-16,
// so that a stray code can never address memory beside the table.
FederalLineRow* federalLineRow(short code);

// The state field of line `code`; the empty identifier when the code names
// no row.
const Primitives::OVImmutableIdentifier& federalLineStateField(short code);

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_FEDERAL_LINE_TABLE_H_
