// The interest and dividend summary records: what one federal source copy
// contributes, and how many record fields its group of line records takes.
//
// The interest summary (state form 16) and the dividend summary (state
// form 17) keep kIntDivRecordsPerCopy record fields per copy, from the
// first record field on. Every federal source copy that carries an amount gets a group
// of consecutive records: a header, then one record per kind of amount (see
// int_div_display.h for the line types and the record text). A group never
// straddles two summary copies.
#ifndef CALC_STATE_INT_DIV_RECORDS_H_
#define CALC_STATE_INT_DIV_RECORDS_H_

namespace StateCalculationMgmt {

// Record fields of one summary copy.
const int kIntDivRecordsPerCopy = 24;

// The split of one federal source copy into the summary's kinds. Amounts
// are in dollars; a split routine sets every member before it returns, all
// to 0 / false when the copy is missing or of another form.
struct IntDivSourceAmounts {
  double net = 0;            // the copy's net amount
  double regular = 0;        // regular interest or dividends (column 1)
  double usObligations = 0;  // U.S. obligations part (column 2)
  double exemptTotal = 0;    // exempt interest or exempt-interest dividends, whole
  double inState = 0;        // exempt part from this state (column 3)
  double outOfState = 0;     // exempt part from other states (column 4)
  int owner = 0;             // 0 taxpayer, 1 spouse, 2 joint
  bool hasAmount = false;    // the copy carries an amount
};

// The records one source copy takes: the header, a regular record when the
// regular amount is not 0 or when regular, U.S. and exempt amounts add up
// to 0, a U.S. record when that amount is not 0, the exempt pair when the
// exempt total is not 0. A restricted-stock dividend source takes the
// header and one record.
int intDivGroupSize(const IntDivSourceAmounts& amounts, bool restrictedStock);

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_INT_DIV_RECORDS_H_
