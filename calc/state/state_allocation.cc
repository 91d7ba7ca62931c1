// The state allocation form's interest and dividend lines and its totals,
// the two steps around the federal wage pull.
#include <cstddef>
#include <utility>

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {
namespace {

const Primitives::OVImmutableIdentifier& field(int member) { return kState16To18FieldIds[member]; }

// Interest (6-9) and dividend (10-13) lines: State16To18FieldIds member
// f - 1 holds host field f. 6, 7: interest for a full-year resident
// (taxpayer, spouse); 8, 9: for a part-year resident; 10-13 the same for
// dividends.
const int kField6 = 5;
const int kField7 = 6;
const int kField8 = 7;
const int kField9 = 8;
const int kField10 = 9;
const int kField11 = 10;
const int kField12 = 11;
const int kField13 = 12;

// Summary rows of state forms 16 and 17 (host fields 174-185); member
// f - 1 holds host field f on both summaries.
const Primitives::OVImmutableIdentifier& interestRow(int hostField) {
  return kState16FieldIds[hostField - 1];
}
const Primitives::OVImmutableIdentifier& dividendRow(int hostField) {
  return kState17FieldIds[hostField - 1];
}

// Wage totals: 24 = 18 + 21, 25 = 19 + 22, 26 = 20 + 23 (target first;
// State16To18FieldIds members).
const int kWageTotals[3][3] = {{23, 17, 20}, {24, 18, 21}, {25, 19, 22}};

// Total lines: the target, then the sources added in the order given
// (State16To18FieldIds members, host field numbers in the comments).
// 65: 24, 27, 28 and the F column of income kinds 1-12 (29, 32, ..., 62).
const int kTotal65[] = {64, 23, 26, 27, 28, 31, 34, 37, 40, 43, 46, 49, 52, 55, 58, 61};
// 104: the F column of kinds 13-22 and of the fixed triples: 68, 71, 108,
// 10498, 74, 80, 83, 86, 89, 92, 95, 98, 77, 101.
const int kTotal104[] = {115, 97, 100, 67, 70, 103, 76, 79, 88, 82, 85, 91, 94, 73, 112};
// 66: 25 and the T column of kinds 1-12 (30, 33, ..., 63).
const int kTotal66[] = {65, 24, 29, 32, 35, 38, 41, 44, 47, 50, 53, 56, 59, 62};
// 67: 26 and the S column of kinds 1-12 (31, 34, ..., 64).
const int kTotal67[] = {66, 25, 30, 33, 36, 39, 42, 45, 48, 51, 54, 57, 60, 63};
// 105: the T column: 69, 72, 75, 78, 81, 84, 87, 90, 93, 109, 10499, 96, 99, 102.
const int kTotal105[] = {116, 98, 101, 104, 74, 77, 80, 89, 83, 86, 68, 71, 92, 95, 113};
// 106: the S column: 70, 73, 76, 79, 82, 85, 88, 91, 94, 110, 10500, 97, 100, 103.
const int kTotal106[] = {117, 99, 102, 105, 75, 78, 81, 90, 84, 87, 69, 72, 93, 96, 114};

const int kField107 = 118;  // pull code 80

template <std::size_t N, std::size_t... I>
void sumInto(DataMgmt::TaxForm& form, const int (&line)[N], std::index_sequence<I...>) {
  form.setValueToSumOf(field(line[0]), {field(line[I + 1])...});
}

// Sets a total line's target to the sum of its sources.
template <std::size_t N>
void total(DataMgmt::TaxForm& form, const int (&line)[N]) {
  sumInto(form, line, std::make_index_sequence<N - 1>());
}

}  // namespace

void StateTaxReturnCalcEngine::pullInterestDividendAmounts(TaxFormPtr copy, int residencyChoice,
                                                           uint16_t filingStatus) {
  if (copy.isNull() || stateReturn == nullptr) return;
  DataMgmt::TaxForm& form = *copy;
  for (int member = kField6; member <= kField13; ++member) form.setNull(field(member));

  // Sums of a summary row's field over every copy of the summary.
  auto all16 = [&](int hostField) {
    return stateReturn->getAllCopies(kFormID_State16, interestRow(hostField));
  };
  auto all17 = [&](int hostField) {
    return stateReturn->getAllCopies(kFormID_State17, dividendRow(hostField));
  };
  const bool joint = isJointFiling(filingStatus);

  if (residencyChoice == 1) {
    // Regular interest and U.S. obligations less the part reported on
    // federal form 3, as the interest summary nets that column per person
    // (and as the part-year lines below do).
    form.assignIR(field(kField6), all16(174) + all16(178) - all16(182));
    if (joint) form.assignIR(field(kField7), all16(175) + all16(179) - all16(183));
    form.assignIR(field(kField10), all17(174) + all17(178));
    if (joint) form.assignIR(field(kField11), all17(175) + all17(179));
  } else if (residencyChoice == 2) {
    // The allocated parts, less the allocated part of the form-3 row.
    form.assignIR(field(kField8), all16(176) + all16(180) - all16(184));
    if (joint) form.assignIR(field(kField9), all16(177) + all16(181) - all16(185));
    form.assignIR(field(kField12), all17(176) + all17(180));
    if (joint) form.assignIR(field(kField13), all17(177) + all17(181));
  }
}

void StateTaxReturnCalcEngine::totalStateAllocationForm(TaxFormPtr copy) {
  if (copy.isNull()) return;
  DataMgmt::TaxForm& form = *copy;
  for (const auto& wages : kWageTotals) form.plus2(field(wages[0]), field(wages[1]), field(wages[2]));
  total(form, kTotal65);
  total(form, kTotal104);
  if (stateReturn != nullptr) {
    form.assignIR(field(kField107), static_cast<double>(stateReturn->pullCommon(
                                        getFederalReturnFormId(), 1, static_cast<Utils::PCTypes>(80))));
  }
  total(form, kTotal66);
  total(form, kTotal67);
  total(form, kTotal105);
  total(form, kTotal106);
  if (stateReturn != nullptr) stateReturn->setDataEntered(kFormID_State18, 1, true, false);
  form.setCalcMark(true);
}

}  // namespace StateCalculationMgmt
