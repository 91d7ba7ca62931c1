// The PA-40 of a calculated return as a preparer reads it: each line that
// holds an amount other than 0, with its label from the PA-40's field
// table ("Line 9   Total PA taxable income      92,274"), in the table's
// order (the form's line order), then the balance in words. A return
// without a PA-40 prints that it has none.
#ifndef PAHOST_PA40_VIEW_H_
#define PAHOST_PA40_VIEW_H_

#include <cstdio>
#include <string>

namespace DataMgmt {
class TaxReturn;
}

// Writes the PA-40 lines and the balance of `paReturn`.
void printPA40(std::FILE* out, const DataMgmt::TaxReturn& paReturn);

// A whole amount with thousands separated by commas ("92,274", "-8,000").
std::string groupedAmount(long amount);

#endif  // PAHOST_PA40_VIEW_H_
