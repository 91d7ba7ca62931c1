// The PA tax withheld on the compensation rows, rounded once (see the
// header).
#include "calc/pa/withheld_rounding.h"

#include <cmath>
#include <cstdint>

#include "catalogs/fields/fields.h"
#include "host/rounding.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

namespace {

const int kTextSize = 128;  // an owner text
const uint16_t kCopyOne = 1;  // the copy whose rows the caller hands over

// The withholding of the rows, in cents, and as the rows show it.
struct Sums {
  long long cents = 0;
  long shown = 0;
  void add(double tax) {
    cents += std::llround(tax * 100.0);
    shown += Utils::roundR(tax);
  }
};

// The counted rows of PA W-2 copies 2 and up.
void addOtherW2Copies(const DataMgmt::TaxReturn& pa, Sums& sums) {
  const uint16_t last = pa.getMaxCopies(kFormID_PAW2);
  for (int copy = 2; copy <= last; ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    if (!pa.formExists(kFormID_PAW2, c)) continue;
    for (int row = 0; row < PAW2::kRowOwner.rows(); ++row) {
      char owner[kTextSize];
      pa.formString(owner, kTextSize, kFormID_PAW2, c, PAW2::kRowOwner.at(row));
      if (rowOwner(owner) >= 0) sums.add(pa.getIR(kFormID_PAW2, c, PAW2::kRowPATaxWithheld.at(row)));
    }
  }
}

// Every row of every worksheet copy: each counts for one person.
void addWorksheetCopies(const DataMgmt::TaxReturn& pa, Sums& sums) {
  const DataMgmt::FormId& sheet = kFormID_PAMiscCompWorksheet;
  const uint16_t last = pa.getMaxCopies(sheet);
  for (int copy = 1; copy <= last; ++copy) {
    const uint16_t c = static_cast<uint16_t>(copy);
    if (!pa.formExists(sheet, c)) continue;
    for (int row = 0; row < PAMiscCompWorksheet::kRowPAWithholding.rows(); ++row) {
      sums.add(pa.getIR(sheet, c, PAMiscCompWorksheet::kRowPAWithholding.at(row)));
    }
  }
}

}  // namespace

int rowOwner(const char* ownerText) {
  char owner[kTextSize];
  Utils::safestrncpy(owner, ownerText != nullptr ? ownerText : "", sizeof owner);
  Utils::strip(owner, owner);
  if (owner[0] == 'T' || owner[0] == 't') return 0;
  if (owner[0] == 'S' || owner[0] == 's') return 1;
  return -1;
}

WithheldCarry withheldCarry(const DataMgmt::TaxReturn& pa, const WithheldRow* rows, int count,
                            CopyScanCache& scans) {
  // Cents and whole dollars of the other copies; a double holds either
  // exactly within the host's whole bound.
  const ScanTotals others = scans.get(
      scanKey(CopyScan::kOtherWithheldRows),
      {{&pa, kFormID_PAW2, kCopyOne}, {&pa, kFormID_PAMiscCompWorksheet}}, [&pa] {
        Sums other;
        addOtherW2Copies(pa, other);
        addWorksheetCopies(pa, other);
        return ScanTotals{static_cast<double>(other.cents), static_cast<double>(other.shown), 0, 0};
      });
  Sums sums;
  sums.cents = static_cast<long long>(others[0]);
  sums.shown = static_cast<long>(others[1]);
  for (int row = 0; row < count; ++row) {
    if (rows[row].counted) sums.add(rows[row].tax);
  }

  WithheldCarry carry;
  const long difference = Utils::roundR(static_cast<double>(sums.cents) / 100.0) - sums.shown;
  if (difference == 0) return carry;
  for (int row = 0; row < count; ++row) {
    const WithheldRow& r = rows[row];
    if (!r.counted || !r.calculated) continue;
    if (carry.row < 0 || r.tax > rows[carry.row].tax) carry.row = row;
  }
  if (carry.row >= 0) carry.amount = difference;
  return carry;
}

}  // namespace PACalculationMgmt
