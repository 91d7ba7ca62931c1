#ifndef PA_CALC_PA_COPY_SCAN_CACHE_H_
#define PA_CALC_PA_COPY_SCAN_CACHE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <unordered_map>
#include <utility>

#include "host/form_identifier.h"
#include "host/tax_return.h"

namespace PACalculationMgmt {

// The forms a loop over copies reads: each of a return, every copy but
// `exceptCopy` when it is not 0 (a copy the loop leaves out, which may
// change without making the loop run again).
struct ScanSource {
  const DataMgmt::TaxReturn* taxReturn;
  DataMgmt::FormId form;
  uint16_t exceptCopy = 0;
};

// Up to four amounts a loop over every copy of a form adds up.
typedef std::array<double, 4> ScanTotals;

// The loops kept, each with the inputs it reads besides its forms.
enum class CopyScan : long {
  kScheduleCIncome,       // PA Schedule C net profit by owner
  kRK1Owners,             // federal form 51 copies by owner; joint or not
  kNRK1Owners,            // federal form 89 copies by owner; joint or not
  kScheduleERents,        // PA Schedule E net income by owner; which copies
  kRentalScheduleC,       // federal Schedule C copies marked as rentals
  kScheduleUE,            // Schedule UE expenses and excess by owner
  kMarkedW2,              // named federal W-2 copies with an owner mark; which mark
  kDependentChildren,     // federal dependents who count as children
  kFederalCopies,         // copies of a federal form; which form, sales above 0 only
  kOtherWithheldRows,     // PA tax withheld on PA W-2 copies 2 and up and on the worksheets
  kOtherStateW2,          // federal W-2 copies with a PA W-2 row and another state's amounts; joint or not
};

// The key of a loop and the value of its other inputs (below 2^32).
inline long long scanKey(CopyScan scan, long inputs = 0) {
  return (static_cast<long long>(scan) << 32) + inputs;
}

// Results of loops over every copy of some forms, kept while none of those
// forms has changed. One calculation runs the PA-40 once for each copy of
// the PA-40 and of the information form, and each run reads every copy of
// the schedules and federal forms behind it: without this the cost would
// grow with copies times copies. The engine owns one and clears it at the
// start of every calculation, so nothing outlives the returns it read.
class CopyScanCache {
 public:
  // The totals of `scan` for `key`; `scan` runs again only when a source
  // changed since it last ran for `key`. `key` names the loop and every
  // input it reads besides the sources.
  // A loop of more than kMaxSources sources is not kept: it runs every time.
  template <class Scan>
  ScanTotals get(long long key, std::initializer_list<ScanSource> sources, Scan scan) {
    if (sources.size() > kMaxSources) return scan();
    Versions versions{};
    std::size_t k = 0;
    for (const ScanSource& source : sources) {
      if (source.taxReturn != nullptr) versions[k] = source.taxReturn->formVersion(source.form, source.exceptCopy);
      ++k;
    }
    Entry& entry = entries_[key];
    if (!entry.made || entry.versions != versions) {
      entry.totals = scan();
      entry.versions = versions;
      entry.made = true;
    }
    return entry.totals;
  }

  void clear() { entries_.clear(); }

 private:
  static constexpr std::size_t kMaxSources = 2;
  typedef std::array<std::pair<unsigned long, unsigned long>, kMaxSources> Versions;
  struct Entry {
    bool made = false;
    Versions versions{};
    ScanTotals totals{};
  };
  std::unordered_map<long long, Entry> entries_;
};

}  // namespace PACalculationMgmt

#endif  // PA_CALC_PA_COPY_SCAN_CACHE_H_
