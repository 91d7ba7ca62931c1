// The display lines of the interest and dividend summaries (state forms 16
// and 17): line types, the record text behind each line, the layout of a
// line, and the two free routines that total and allocate the summary
// columns.
//
// Each record field of a summary copy holds one IntDivInfo text, made with
// kIntDivRecordFormat from a description, the federal source form number,
// the source copy number and a line type. A text without the separators
// reads back as empty parts.
#ifndef CALC_STATE_INT_DIV_DISPLAY_H_
#define CALC_STATE_INT_DIV_DISPLAY_H_

#include <cstdint>

#include "host/identifier.h"
#include "host/pointers.h"

namespace StateCalculationMgmt {

// One line type: its label and the summary column (1 to 4) its amount goes
// to; 0 for none.
struct IntDivLineType {
  int lineType;
  const char* label;
  uint16_t column;
};

// The line types: a source's header line, its interest lines, its dividend
// lines (the U.S. obligations line serves both), a restricted-stock
// dividend. 0 is no line.
enum IntDivLineTypeCode : int {
  kNoLineType = 0,
  kSourceHeaderLine = 1,
  kRegularInterestLine = 2,
  kUSObligationsLine = 3,
  kInterestInStateLine = 4,
  kInterestOutOfStateLine = 5,
  kRegularDividendsLine = 6,
  kDividendsInStateLine = 7,
  kDividendsOutOfStateLine = 8,
  kRestrictedStockLine = 9,
};

// Indexed by line type.
const int kIntDivLineTypeCount = 10;
extern const IntDivLineType kIntDivLineTypes[kIntDivLineTypeCount];

// The record text: description, source form number, copy, line type. The
// whole text stays below kIntDivRecordSize characters.
extern const char* const kIntDivRecordFormat;  // "%s||%d||%d||%d"
const int kIntDivRecordSize = 80;
// A description buffer for getIntDivInfo holds this many bytes.
const int kIntDivDescriptionSize = 80;
// A stored description is cut to this many characters, which leaves room
// for the longest numbers: "||-2147483648||65535||9" is 23 characters.
const int kIntDivDescriptionMax = kIntDivRecordSize - 1 - 23;

// Owner texts of owner codes 0 (taxpayer), 1 (spouse) and 2 (joint).
extern const char* const kIntDivOwnerTexts[3];

// Field offsets of a display line, relative to its label field, in the
// form's field order. The summary calculations set them before use.
struct DisplayLineOffsets {
  static const int8_t kHasOwnerField = -1;  // 0xff: an owner field at offset -1
  int8_t ownerColumn;
  int8_t labelOffset;
  int8_t headerAmountOffset;
  int8_t columnOffset;
  int8_t amountOffset;
  int8_t stateAmountOffset;
  int8_t lineStride;
};

// Adds a positive amount to the taxpayer total (owner 0), the spouse total
// (owner 1) or, for a joint owner, half (rounded) to the taxpayer and the
// rest to the spouse when isJointFiling(filing status), else all to the
// taxpayer. An amount of 0 or less adds nothing.
void addToOwnerTotals(int owner, double* taxpayerTotal, double* spouseTotal, double amount,
                      uint16_t filingStatus);

// Keeps the allocated parts (the third and fourth field) of each allocation
// row within the row's amounts (its first two fields) when the filer
// enters parts (filerEntersParts), and empties and protects them for any
// other choice; the spouse part only when isJointOrNone(filing status).
// `rows` lists each row's first field and ends with
// an id <= 0. Throws OrvaneException "Summary is not 4 cols wide" when the
// first two rows are not 4 fields apart.
void intDivSummaryAllocation1(DataMgmt::TaxFormPtr summaryCopy, uint16_t filingStatus,
                              int residencyChoice, const Primitives::OVImmutableIdentifier* rows);

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INT_DIV_DISPLAY_H_
