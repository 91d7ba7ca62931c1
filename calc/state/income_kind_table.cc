// The income-kind table of the federal wage pull.
//
// The rows are kept as data: for each income kind, its named fields. They
// are resolved into identifiers when the first engine is constructed, once
// the catalogs exist.
#include <cstdint>

#include "calc/state/income_kind_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"

namespace StateCalculationMgmt {
namespace {

// A kind's two fields of the income-kind catalog and its amount F and
// taxpayer part T on the allocation form. Kinds 1-12, 13-16 with 18, and
// 19-21 are rows of three column groups, the same row in both catalogs;
// kinds 17 and 22 stand alone.
struct KindFields {
  AnyNamedField kind1, kind2, amount, taxpayer;
};
constexpr KindFields early(int row) {
  return {{IncomeKindTable::kKindFirst, row}, {IncomeKindTable::kKindSecond, row},
          {State16To18::kKindAmount, row}, {State16To18::kKindTaxpayer, row}};
}
constexpr KindFields later(int row) {
  return {{IncomeKindTable::kLaterKindFirst, row}, {IncomeKindTable::kLaterKindSecond, row},
          {State16To18::kLaterKindAmount, row}, {State16To18::kLaterKindTaxpayer, row}};
}
constexpr KindFields late(int row) {
  return {{IncomeKindTable::kLateKindFirst, row}, {IncomeKindTable::kLateKindSecond, row},
          {State16To18::kLateKindAmount, row}, {State16To18::kLateKindTaxpayer, row}};
}
constexpr KindFields kExtraKind = {IncomeKindTable::kExtraKindFirst, IncomeKindTable::kExtraKindSecond,
                                   State16To18::kExtraKindAmount, State16To18::kExtraKindTaxpayer};
constexpr KindFields kFinalKind = {IncomeKindTable::kFinalKindFirst, IncomeKindTable::kFinalKindSecond,
                                   State16To18::kFinalKindAmount, State16To18::kFinalKindTaxpayer};

// One kind: its line on federal form 1, and on forms 55 and 87 where they
// have one (none otherwise).
struct IncomeKindSource {
  NamedField<FedReturnFieldIds> federal;
  AnyNamedField federal55, federal87;
  KindFields fields;
  uint8_t rule;
};

constexpr AnyNamedField kNoLine;

constexpr IncomeKindSource kIncomeKinds[] = {
    {FedReturn::kWages, kNoLine, kNoLine, early(0), kSplitCapped},
    {FedReturn::kTaxableInterest, kNoLine, kNoLine, early(1), kSplitCapped},
    {FedReturn::kTaxExemptInterest, kNoLine, kNoLine, early(2), kSplitUncapped},
    {FedReturn::kDividends, Fed55::kDividends, kNoLine, early(3), kSplitUncapped},
    {FedReturn::kTaxableRefunds, kNoLine, kNoLine, early(4), kSplitUncapped},
    {FedReturn::kTaxableIraDistributions, Fed55::kTaxableIraDistributions, kNoLine, early(5), kSplitCapped},
    {FedReturn::kTaxablePensions, Fed55::kTaxablePensions, kNoLine, early(6), kSplitCapped},
    {FedReturn::kRentalPartnershipIncome, kNoLine, kNoLine, early(7), kSplitUncapped},
    {FedReturn::kFarmIncome, kNoLine, kNoLine, early(8), kSplitUncapped},
    {FedReturn::kUnemploymentCompensation, Fed55::kUnemploymentCompensation, Fed87::kUnemploymentCompensation,
     early(9), kSplitCapped},
    {FedReturn::kTaxableSocialSecurity, Fed55::kTaxableSocialSecurity, kNoLine, early(10), kSplitCapped},
    {FedReturn::kOtherIncome, kNoLine, kNoLine, early(11), kSplitUncapped},
    {FedReturn::kEducatorExpenses, Fed55::kEducatorExpenses, kNoLine, later(0), kSplitCapped},
    {FedReturn::kReservistBusinessExpenses, kNoLine, kNoLine, later(1), kSplitCapped},
    {FedReturn::kHealthSavingsAccountDeduction, kNoLine, kNoLine, later(2), kSplitCapped},
    {FedReturn::kMovingExpenses, kNoLine, kNoLine, later(3), kSplitCapped},
    {FedReturn::kStudentLoanInterestDeduction, Fed55::kStudentLoanInterestDeduction, kNoLine, kExtraKind,
     kSplitCapped},
    {FedReturn::kSelfEmploymentTaxDeduction, kNoLine, kNoLine, later(4), kSplitCapped},
    {FedReturn::kSepSimpleQualifiedPlans, kNoLine, kNoLine, late(0), kSplitCapped},
    {FedReturn::kSelfEmployedHealthInsurance, kNoLine, kNoLine, late(1), kSplitCapped},
    {FedReturn::kAlimonyPaid, kNoLine, kNoLine, late(2), kSplitCapped},
    {FedReturn::kWriteInAdjustment, kNoLine, kNoLine, kFinalKind, kSplitCapped},
};
static_assert(sizeof kIncomeKinds / sizeof kIncomeKinds[0] < kIncomeKindTableSize,
              "the table must end with a default row");

// The shared rows; default rows until the first engine fills them.
IncomeKindRow gIncomeKindRows[kIncomeKindTableSize];

}  // namespace

const IncomeKindRow* StateTaxReturnCalcEngine::incomeKindTable = nullptr;

void StateTaxReturnCalcEngine::buildIncomeKindTable() {
  if (incomeKindTable != nullptr) return;
  int row = 0;
  for (const IncomeKindSource& kind : kIncomeKinds) {
    gIncomeKindRows[row++] =
        IncomeKindRow(kind.federal, kind.federal55, kind.federal87, kind.fields.kind1, kind.fields.kind2,
                      kind.fields.amount, kind.fields.taxpayer, kind.rule);
  }
  incomeKindTable = gIncomeKindRows;
}

}  // namespace StateCalculationMgmt
