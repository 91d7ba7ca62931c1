// The pieces of the Schedule SP calculation (special tax forgiveness, state
// form 172) that live in separate sources: the schedule's fields by role,
// and the run state that computeScheduleSP hands to each piece.
//
// schedule_sp.cc runs the whole calculation and fills the identity, status
// and dependency parts; schedule_sp_income.cc the eligibility income and the
// forgiveness lines; schedule_sp_table.cc the percentage; and
// schedule_sp_dependents.cc Part B.
#ifndef CALC_PA_SCHEDULES_SCHEDULE_SP_PARTS_H_
#define CALC_PA_SCHEDULES_SCHEDULE_SP_PARTS_H_

#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

using SPField = NamedField<PAScheduleSPFieldIds>;

// An eligibility-income line of Part C: its one-column, taxpayer and
// spouse fields.
struct IncomeLine {
  SPField single;
  SPField taxpayer;
  SPField spouse;
};
constexpr IncomeLine kC1 = {PAScheduleSP::kPA40Income, PAScheduleSP::kTaxpayerPA40Income,
                            PAScheduleSP::kSpousePA40Income};
constexpr IncomeLine kC2a = {PAScheduleSP::kScheduleInterestDividends,
                             PAScheduleSP::kTaxpayerScheduleInterestDividends,
                             PAScheduleSP::kSpouseScheduleInterestDividends};
constexpr IncomeLine kC2b = {PAScheduleSP::kAddedInterestDividends,
                             PAScheduleSP::kTaxpayerAddedInterestDividends,
                             PAScheduleSP::kSpouseAddedInterestDividends};
constexpr IncomeLine kC2 = {PAScheduleSP::kNontaxableInterestDividends,
                            PAScheduleSP::kTaxpayerNontaxableInterestDividends,
                            PAScheduleSP::kSpouseNontaxableInterestDividends};
constexpr IncomeLine kC3 = {PAScheduleSP::kFederalEligibilityIncome,
                            PAScheduleSP::kTaxpayerFederalEligibilityIncome,
                            PAScheduleSP::kSpouseFederalEligibilityIncome};
constexpr IncomeLine kC4 = {PAScheduleSP::kFourthEligibilityIncome,
                            PAScheduleSP::kTaxpayerFourthEligibilityIncome,
                            PAScheduleSP::kSpouseFourthEligibilityIncome};
constexpr IncomeLine kC5 = {PAScheduleSP::kFifthEligibilityIncome,
                            PAScheduleSP::kTaxpayerFifthEligibilityIncome,
                            PAScheduleSP::kSpouseFifthEligibilityIncome};
constexpr IncomeLine kC6 = {PAScheduleSP::kIncomeOutsidePA, PAScheduleSP::kTaxpayerIncomeOutsidePA,
                            PAScheduleSP::kSpouseIncomeOutsidePA};
constexpr IncomeLine kC7 = {PAScheduleSP::kSeventhEligibilityIncome,
                            PAScheduleSP::kTaxpayerSeventhEligibilityIncome,
                            PAScheduleSP::kSpouseSeventhEligibilityIncome};
constexpr IncomeLine kC8 = {PAScheduleSP::kEighthEligibilityIncome,
                            PAScheduleSP::kTaxpayerEighthEligibilityIncome,
                            PAScheduleSP::kSpouseEighthEligibilityIncome};
constexpr IncomeLine kC9 = {PAScheduleSP::kNinthEligibilityIncome,
                            PAScheduleSP::kTaxpayerNinthEligibilityIncome,
                            PAScheduleSP::kSpouseNinthEligibilityIncome};
constexpr IncomeLine kC10 = {PAScheduleSP::kTenthEligibilityIncome,
                             PAScheduleSP::kTaxpayerTenthEligibilityIncome,
                             PAScheduleSP::kSpouseTenthEligibilityIncome};

// The forgiveness lines D1 to D5 of one layout.
struct ForgivenessLines {
  SPField tax;         // D1
  SPField deduction;   // D2
  SPField subject;     // D3, tax subject to forgiveness
  SPField percentage;  // D4, whole percent
  SPField forgiven;    // D5
};
constexpr ForgivenessLines kOneColumn = {PAScheduleSP::kPATax, PAScheduleSP::kResidentCredit,
                                         PAScheduleSP::kTaxSubjectToForgiveness,
                                         PAScheduleSP::kForgivenessPercentage, PAScheduleSP::kTaxForgiveness};
constexpr ForgivenessLines kTwoColumns = {
    PAScheduleSP::kTwoColumnPATax, PAScheduleSP::kTwoColumnResidentCredit,
    PAScheduleSP::kTwoColumnTaxSubjectToForgiveness, PAScheduleSP::kTwoColumnForgivenessPercentage,
    PAScheduleSP::kTwoColumnTaxForgiveness};

// What every piece of one computeScheduleSP call shares. The copy and the
// returns are borrowed for the call; the federal return may be null.
struct Run {
  PATaxReturnCalcEngine& engine;
  PADataMgmt::PATaxReturn& pa;
  DataMgmt::TaxReturn* federal;
  DataMgmt::TaxFormPtr holder;  // the schedule copy in hand, never empty
  uint16_t copy;
  int passOn;
  uint8_t filingStatus;  // PADataMgmt::FilingStatus
  int residency;         // PADataMgmt::Residency
  // A run ahead of the PA-40 figures it reads (the engine's provisional
  // PA-40 runs): it limits no entry of the user's against them.
  bool provisional;

  DataMgmt::TaxForm& form() const { return *holder; }
  bool marked(const Primitives::OVImmutableIdentifier& box) const { return holder->xMarked(box); }
  // Nulls the fields first..last of this copy, in the schedule's field order.
  void clearRange(const Primitives::OVImmutableIdentifier& first,
                  const Primitives::OVImmutableIdentifier& last) const;
  // A federal common amount of copy 1 of the federal return form in use.
  long federalAmount(int code) const;
};

// Steps of the calculation kept in their own sources.
// Counts the dependent children, writes the count and fills or clears
// Part B (schedule_sp_dependents.cc).
void countDependentChildren(const Run& run);
// The eligibility-income lines of the one- or two-column layout
// (schedule_sp_income.cc).
void fillEligibilityIncome(const Run& run);
// D1 to D3 of the layout in use; the other layout's lines are nulled
// (schedule_sp_income.cc).
void fillForgivenessLines(const Run& run);
// D4 and D5 from the forgiveness table (schedule_sp_table.cc).
void applyForgiveness(const Run& run);

}  // namespace ScheduleSP
}  // namespace PACalculationMgmt

#endif  // CALC_PA_SCHEDULES_SCHEDULE_SP_PARTS_H_
