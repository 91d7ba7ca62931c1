// The state allocation form's interest and dividend lines and its totals,
// the two steps around the federal wage pull.
#include <initializer_list>

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {
namespace {

// One person's interest and dividend lines for one residency choice, and
// the summary rows they add up over every summary copy: regular and U.S.
// obligations, less (interest only) the U.S. obligations reported on
// federal form 3, as the interest summary nets that column.
struct IntDivLines {
  NamedField<State16To18FieldIds> interest, dividends;
  NamedField<State16FieldIds> regular, usObligations, reported;
  NamedField<State17FieldIds> regularDividends, usDividends;
};

// A full-year resident's lines take the amounts (taxpayer, spouse).
constexpr IntDivLines kResidentLines[2] = {
    {State16To18::kResidentTaxpayerInterest, State16To18::kResidentTaxpayerDividends,
     State16::kTaxpayerRegular, State16::kTaxpayerUSObligations, State16::kTaxpayerReportedUSObligations,
     State17::kTaxpayerRegular, State17::kTaxpayerUSObligations},
    {State16To18::kResidentSpouseInterest, State16To18::kResidentSpouseDividends, State16::kSpouseRegular,
     State16::kSpouseUSObligations, State16::kSpouseReportedUSObligations, State17::kSpouseRegular,
     State17::kSpouseUSObligations},
};
// A part-year resident's lines take the allocated parts.
constexpr IntDivLines kPartYearLines[2] = {
    {State16To18::kPartYearTaxpayerInterest, State16To18::kPartYearTaxpayerDividends,
     State16::kTaxpayerRegularAllocated, State16::kTaxpayerUSObligationsAllocated,
     State16::kTaxpayerReportedUSObligationsAllocated, State17::kTaxpayerRegularAllocated,
     State17::kTaxpayerUSObligationsAllocated},
    {State16To18::kPartYearSpouseInterest, State16To18::kPartYearSpouseDividends,
     State16::kSpouseRegularAllocated, State16::kSpouseUSObligationsAllocated,
     State16::kSpouseReportedUSObligationsAllocated, State17::kSpouseRegularAllocated,
     State17::kSpouseUSObligationsAllocated},
};

// A triple of the allocation form: amount F, taxpayer part T, spouse part S.
struct Triple {
  AnyNamedField amount, taxpayer, spouse;
};
#define TRIPLE(name) \
  {State16To18::k##name##Amount, State16To18::k##name##Taxpayer, State16To18::k##name##Spouse}
constexpr Triple laterKind(int row) {
  return {{State16To18::kLaterKindAmount, row},
          {State16To18::kLaterKindTaxpayer, row},
          {State16To18::kLaterKindSpouse, row}};
}
constexpr Triple lateKind(int row) {
  return {{State16To18::kLateKindAmount, row},
          {State16To18::kLateKindTaxpayer, row},
          {State16To18::kLateKindSpouse, row}};
}

// The income kinds after the first twelve and the fixed triples, in the
// order the amount total adds them, and in the order the taxpayer and the
// spouse totals add them (the sums are of reals: the order stays).
constexpr Triple kAmountTotalOrder[] = {
    TRIPLE(TaxpayerOnly), TRIPLE(SpouseOnly), laterKind(0), laterKind(1), TRIPLE(ExtraKind),
    laterKind(3), laterKind(4), lateKind(0), TRIPLE(SecondTaxpayerOnly), TRIPLE(SecondSpouseOnly),
    lateKind(1), lateKind(2), laterKind(2), TRIPLE(FinalKind),
};
constexpr Triple kPartTotalOrder[] = {
    TRIPLE(TaxpayerOnly), TRIPLE(SpouseOnly), TRIPLE(ExtraKind), laterKind(2), laterKind(3),
    laterKind(4), lateKind(0), TRIPLE(SecondTaxpayerOnly), TRIPLE(SecondSpouseOnly), laterKind(0),
    laterKind(1), lateKind(1), lateKind(2), TRIPLE(FinalKind),
};
#undef TRIPLE

// The total of one column (F, T or S) of a triple list.
double columnSum(const DataMgmt::TaxForm& form, const Triple (&triples)[14], AnyNamedField Triple::*column) {
  double sum = 0.0;
  for (const Triple& triple : triples) sum += form.getIR(triple.*column);
  return sum;
}

// A total line over the first twelve income kinds: the named lines, then
// the kinds' column in kind order.
void totalEarlyKinds(DataMgmt::TaxForm& form, const FieldId& target, std::initializer_list<FieldId> lines,
                     const NamedColumn<State16To18FieldIds>& kinds) {
  double sum = 0.0;
  for (const FieldId& line : lines) sum += form.getIR(line);
  for (int row = 0; row < kinds.rows(); ++row) sum += form.getIR(kinds.at(row));
  form.assignIR(target, sum);
}

}  // namespace

void StateTaxReturnCalcEngine::pullInterestDividendAmounts(TaxFormPtr copy, int residencyChoice,
                                                           uint16_t filingStatus) {
  if (copy.isNull() || stateReturn == nullptr) return;
  DataMgmt::TaxForm& form = *copy;
  for (const IntDivLines* lines : {kResidentLines, kPartYearLines}) {
    for (int person = 0; person < 2; ++person) {
      form.setNull(lines[person].interest);
      form.setNull(lines[person].dividends);
    }
  }
  const IntDivLines* lines = residencyChoice == kChoiceFullYearResident   ? kResidentLines
                             : residencyChoice == kChoicePartYearResident ? kPartYearLines
                                                                          : nullptr;
  if (lines == nullptr) return;

  // Sums of a summary row over every copy of its summary.
  auto all16 = [&](const FieldId& row) { return stateReturn->getAllCopies(kFormID_State16, row); };
  auto all17 = [&](const FieldId& row) { return stateReturn->getAllCopies(kFormID_State17, row); };
  const int people = isJointFiling(filingStatus) ? 2 : 1;
  for (int person = 0; person < people; ++person) {
    const IntDivLines& line = lines[person];
    form.assignIR(line.interest, all16(line.regular) + all16(line.usObligations) - all16(line.reported));
    form.assignIR(line.dividends, all17(line.regularDividends) + all17(line.usDividends));
  }
}

void StateTaxReturnCalcEngine::totalStateAllocationForm(TaxFormPtr copy) {
  if (copy.isNull()) return;
  DataMgmt::TaxForm& form = *copy;
  form.plus2(State16To18::kTotalWages, State16To18::kFederalWages, State16To18::kOtherCompensation);
  form.plus2(State16To18::kTaxpayerTotalWages, State16To18::kTaxpayerStateWages,
             State16To18::kTaxpayerOtherCompensation);
  form.plus2(State16To18::kSpouseTotalWages, State16To18::kSpouseStateWages,
             State16To18::kSpouseOtherCompensation);
  totalEarlyKinds(form, State16To18::kTotalAmounts,
                  {State16To18::kTotalWages, State16To18::kPulledAmountFirst, State16To18::kPulledAmountSecond},
                  State16To18::kKindAmount);
  form.assignIR(State16To18::kOtherTotalAmounts, columnSum(form, kAmountTotalOrder, &Triple::amount));
  if (stateReturn != nullptr) {
    form.assignIR(State16To18::kFederalTotalIncome,
                  static_cast<double>(stateReturn->pullCommon(getFederalReturnFormId(), 1,
                                                              static_cast<Utils::PCTypes>(80))));
  }
  totalEarlyKinds(form, State16To18::kTotalTaxpayer, {State16To18::kTaxpayerTotalWages},
                  State16To18::kKindTaxpayer);
  totalEarlyKinds(form, State16To18::kTotalSpouse, {State16To18::kSpouseTotalWages}, State16To18::kKindSpouse);
  form.assignIR(State16To18::kOtherTotalTaxpayer, columnSum(form, kPartTotalOrder, &Triple::taxpayer));
  form.assignIR(State16To18::kOtherTotalSpouse, columnSum(form, kPartTotalOrder, &Triple::spouse));
  if (stateReturn != nullptr) stateReturn->setDataEntered(kFormID_State18, 1, true, false);
  form.setCalcMark(true);
}

}  // namespace StateCalculationMgmt
