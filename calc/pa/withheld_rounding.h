// The PA tax withheld on the compensation rows of the return, rounded
// once.
//
// The rows (one per W-2 on the PA W-2 copies, one per source on the
// miscellaneous-compensation worksheet copies) show whole dollars, and
// every total above them (each copy's per-person totals, Schedule W2-S,
// the data file) adds the rows as they show. The taxpayer is credited with
// what was withheld, in cents, rounded once; each row rounded on its own
// can add up to a dollar or more less or more. The difference goes on one
// row: the largest row of PA W-2 copy 1 whose tax the calculation writes
// on this run, afresh or into a row the preparer may type over that was
// empty on the copy's first run in the calculation (filled again on its
// later runs, as the rows it adds up change meanwhile; never changed by a
// later calculation once filled, and no other copy's row is, so that what
// every row holds stays what its source says). A return without such a
// row keeps its rows as they are.
//
// The rows are read from the return as they stand; what the other copies
// add up to is kept in the engine's copy-scan cache while none of them
// changes, since PA W-2 copy 1 is calculated again for each PA-40 copy.
#ifndef CALC_PA_WITHHELD_ROUNDING_H_
#define CALC_PA_WITHHELD_ROUNDING_H_

#include "calc/pa/copy_scan_cache.h"
#include "host/tax_return.h"

namespace PACalculationMgmt {

// The owner of a row by its owner text: 0 the taxpayer ("T" or "t", blanks
// around it allowed), 1 the spouse ("S" or "s"), -1 no one (the row counts
// in no total).
int rowOwner(const char* ownerText);

// A row of PA W-2 copy 1 as its calculation has just written it.
struct WithheldRow {
  double tax = 0;           // PA tax withheld, as stored (cents included)
  bool counted = false;     // its owner is the taxpayer or the spouse
  bool calculated = false;  // the calculation wrote the tax on this run
};

// Row `row` of PA W-2 copy 1 shows `amount` dollars more (less, when below
// 0) than its tax rounded; no row when `row` is -1.
struct WithheldCarry {
  int row = -1;
  long amount = 0;
};

// The carry of the return, given the `count` rows of PA W-2 copy 1 and the
// other PA W-2 copies and worksheet copies as the return holds them (their
// sums kept in `scans`).
WithheldCarry withheldCarry(const DataMgmt::TaxReturn& pa, const WithheldRow* rows, int count,
                            CopyScanCache& scans);

}  // namespace PACalculationMgmt

#endif  // CALC_PA_WITHHELD_ROUNDING_H_
