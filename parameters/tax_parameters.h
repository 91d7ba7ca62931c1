// The 2018 Pennsylvania tax parameters: every rate, threshold, cap and
// table of the PA calculation, defined once. A form routine never writes a
// tax number inline; it names one of these. Each one's "Source:" line names
// the statute, or the form line or instruction it comes from or feeds.
#ifndef PARAMETERS_TAX_PARAMETERS_H_
#define PARAMETERS_TAX_PARAMETERS_H_

namespace PATax2018 {

// Personal income tax rate, on adjusted PA taxable income (PA-40 line 12),
// and the rate the withholding checks and the credit for taxes paid to
// other states compare against.
// Source: 72 P.S. sec. 7302 (3.07 %); PA-40 line 12.
inline constexpr double kTaxRate = 0.0307;

// Estimated payments. The PA-40 asks whether estimated payments were due
// (and figures an underpayment penalty) once the tax not paid through
// withholding reaches this amount; the estimated tax worksheet requires
// payments when the required annual payment is above the worksheet's own
// figure. The two differ by one dollar as the forms word them (246 or more,
// more than 245).
// Source: PA-40 line 27's underpayment question (REV-1630).
inline constexpr long kPenaltyThreshold = 246;
// Source: the PA-40 ES worksheet's required annual payment (REV-413).
inline constexpr double kEstimatedPaymentThreshold = 245.0;
// The estimated tax worksheet's required annual payment is at most this
// share of next year's net estimated tax.
// Source: the PA-40 ES worksheet, 90 % of the net estimated tax (REV-413).
inline constexpr double kEstimatedTaxShare = 0.9;

// Tax forgiveness (Schedule SP): eligibility income below
// base + 1 gives 100 %; every further step of kForgivenessStep takes 10 %
// off; each dependent child raises every bound by kForgivenessPerChild.
// Source, all five: 72 P.S. sec. 7304; Schedule SP's eligibility income table
// (PA-40 line 21).
inline constexpr double kForgivenessBaseUnmarried = 6500.0;
inline constexpr double kForgivenessBaseMarried = 13000.0;
inline constexpr double kForgivenessStep = 250.0;
inline constexpr double kForgivenessPerChild = 9500.0;
inline constexpr int kForgivenessPercentStep = 10;

// Unreimbursed employee business expenses (Schedule UE): the standard
// mileage rate per business mile, and the distance a new workplace must
// add to the commute for moving expenses to count.
// Source: Schedule UE's mileage line, the 2018 federal standard mileage
// rate (54.5 cents a mile).
inline constexpr double kMileageRate = 0.545;
// Source: Schedule UE's moving expenses, the distance test.
inline constexpr long kMovingDistanceMiles = 35;

// Deductions schedule: the yearly cap (the federal gift-tax exclusion) on
// the contributions to a tuition (section 529) account per beneficiary, and
// on an ABLE account per beneficiary and per contributor.
// Source: PA Schedule O (PA-40 line 10); the 2018 annual exclusion of
// IRC sec. 2503(b).
inline constexpr double kContributionCap = 15000.0;

// Business income (Schedule C): the cap on start-up and organizational
// costs taken together as an expense of the year.
// Source: PA Schedule C's start-up and organizational costs line.
inline constexpr double kStartUpCostsCap = 5000.0;

// Estimated use tax (part of PA-40 line 25) for a preparer who does not know the
// purchases: by PA taxable income, per county group (Allegheny,
// Philadelphia, every other county). The first row whose bound is above the
// income gives the amount; above the last bound the amount is the income
// times the group's factor, capped.
// Source of the rates: 72 P.S. sec. 7202 (6 %) with the local 1 % of
// Allegheny and 2 % of Philadelphia; of the table, factors and caps: the
// PA-40 instructions' use tax table for line 25.
enum UseTaxCounty { kUseTaxAllegheny, kUseTaxPhiladelphia, kUseTaxOtherCounty, kUseTaxCountyGroups };
inline constexpr const char* kUseTaxCountyNames[] = {"Allegheny", "Philadelphia"};
inline constexpr double kUseTaxRatePercent[kUseTaxCountyGroups] = {7, 8, 6};
struct UseTaxRow {
  double bound;
  double amount[kUseTaxCountyGroups];
};
inline constexpr UseTaxRow kUseTaxRows[] = {
    {15001, {7, 8, 6}},     {30001, {14, 17, 12}},  {50001, {19, 22, 17}},  {75001, {26, 30, 23}},
    {100001, {37, 43, 32}}, {150001, {52, 59, 44}}, {200001, {66, 76, 57}},
};
inline constexpr double kUseTaxFactor[kUseTaxCountyGroups] = {0.00035, 0.0004, 0.0003};
inline constexpr double kUseTaxCap[kUseTaxCountyGroups] = {88, 100, 75};

// Due dates of the 2019 estimated installments (month, day; the last one
// falls in January 2020).
// Source: the 2019 PA-40 ES vouchers (REV-413): the 15th of April, June,
// September and January, a weekend date moved to the Monday.
struct InstallmentDueDate {
  const char* month;
  int day;
  bool followingYear;
};
inline constexpr InstallmentDueDate kInstallmentDueDates[] = {
    {"04", 15, false}, {"06", 17, false}, {"09", 16, false}, {"01", 15, true}};

}  // namespace PATax2018

#endif  // PARAMETERS_TAX_PARAMETERS_H_
