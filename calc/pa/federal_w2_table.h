// The federal W-2 copies as the PA W-2 and Schedule W2-S read them, each
// read once per calculation.
//
// Both read every federal W-2: the PA W-2 copies to list them, Schedule
// W2-S to tell whether a listed one reports another state's amounts before
// the copies are calculated. They share one table, so that a return of
// many W-2s is read once rather than once for each.
#ifndef PA_CALC_PA_FEDERAL_W2_TABLE_H_
#define PA_CALC_PA_FEDERAL_W2_TABLE_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/tax_return.h"

namespace PACalculationMgmt {

// What one federal W-2 copy holds, read from it: amounts in dollars and
// cents, texts cut to 127 characters, a field left empty read as 0 or "".
// The employer's texts are read only of a W-2 with wages, the only kind
// the PA W-2 lists; they are empty on any other.
struct FederalW2Figures {
  static constexpr int kStateRows = FedW2::kStateCode.rows();

  // One of the W-2's state rows.
  struct StateRow {
    bool pa = false;       // its code is "PA"
    bool foreign = false;  // its code is another state's (an empty code is none)
    double wages = 0;
    double tax = 0;
  };

  bool taxpayerBox = false;
  bool spouseBox = false;
  double wages = 0;        // federal wages
  double otherAmount = 0;  // the amount the PA W-2 lists beside them
  std::string employerName;
  std::string employerNameContinued;
  std::string employerId;
  StateRow stateRows[kStateRows];
  bool reciprocal = false;  // a row names a state of a reciprocal agreement

  bool anyForeign() const;
  bool anyPA() const;
  // Sums over the four rows: every row, the PA rows, the rows not foreign.
  double allWages() const;
  double allTax() const;
  double paWages() const;
  double paTax() const;
  double taxOutsideForeignRows() const;
};

// The figures of the federal W-2 copies of one federal return, each copy
// read on its first request and kept while the return's W-2 form stands
// (TaxReturn::formVersion): any change of a W-2, or a copy made or dropped,
// drops them all. The engine owns one and clears it at the start of every
// calculation; it borrows the return it reads, which must outlive its
// figures.
class FederalW2Table {
 public:
  // The figures of copy `copy` of the federal W-2 of `federal`; null when
  // the return holds no such copy. They stay valid until the W-2 form
  // changes or the table is cleared.
  const FederalW2Figures* find(const DataMgmt::TaxReturn& federal, uint16_t copy);

  void clear();

 private:
  struct Entry {
    bool read = false;
    bool exists = false;
    FederalW2Figures figures;
  };
  const DataMgmt::TaxReturn* federal_ = nullptr;
  std::pair<unsigned long, unsigned long> version_{};
  std::vector<Entry> entries_;  // by copy number, up to the highest copy
};

}  // namespace PACalculationMgmt

#endif  // PA_CALC_PA_FEDERAL_W2_TABLE_H_
