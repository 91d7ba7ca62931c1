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
#include "catalogs/catalogs.h"
#include "host/tax_form.h"

namespace PACalculationMgmt {
namespace ScheduleSP {

// PAScheduleSPFieldIds members, host field numbers in the comments.
enum Member : int {
  kTDeathDate = 2,         // 148990
  kSDeathDate = 3,         // 148991
  kSpouseMissing = 4,      // 84
  kTPEligibility = 5,      // 77, taxpayer column total
  kSPEligibility = 6,      // 78, spouse column total
  kTDependent = 7,         // 36872
  kSDependent = 8,         // 36873
  kPairABox1 = 9,          // 139388
  kPairABox2 = 10,         // 139389
  kNewDependentsYes = 11,  // 208815
  kNewDependentsNo = 12,   // 208816
  kDiedThisYear = 13,      // 148992
  kClaimantName = 14,      // 151458
  kClaimantNumber = 15,    // 151459
  kTItem1 = 16,            // 27499; items 1-5 are members 16-20
  kSItem1 = 21,            // 17943; items 1-5 are members 21-25
  kTClaimedYes = 26,       // 36533
  kTClaimedNo = 27,        // 36534
  kTClaimantYes = 28,      // 36535
  kTClaimantNo = 29,       // 36536
  kSClaimedYes = 30,       // 36874
  kSClaimedNo = 31,        // 36875
  kSClaimantYes = 32,      // 36876
  kSClaimantNo = 33,       // 36877
  kQ1 = 34,                // 150688
  kQ2 = 35,                // 150689
  kQ3 = 36,                // 150690
  kQ4 = 37,                // 150691
  kUnmarried = 38,         // 11
  kUnmarriedSub1 = 39,     // 12
  kUnmarriedSub2 = 40,     // 13
  kUnmarriedName = 41,     // 14
  kUnmarriedNumber = 42,   // 15
  kSeparate = 43,          // 18
  kMarried = 44,           // 21
  kMarriedJ = 45,          // 22
  kMarriedX = 46,          // 23
  kMarriedXCompanion = 47,  // 54
  kMarriedD = 48,          // 24
  kMarriedDName = 49,      // 25
  kMarriedDNumber = 50,    // 26
  kMarriedY = 51,          // 32
  kDeceased = 52,          // 19
  kAnnualization = 53,     // 20
  kPartBFirst = 54,        // 33, row 1's name
  kPartBSecondRow = 58,    // 38, row 2's name
  kPartBLastRow = 66,      // 48, row 4's name
  kPartBLastField = 69,    // 51
  kChildCount = 70,        // 53
  kEligibilitySingle = 107,  // 76
  kEligibilityBoth = 108,    // 12967
  kLastMember = 118,         // 9608
};

// An eligibility-income line: its single, taxpayer and spouse members.
struct IncomeLine {
  int single;
  int taxpayer;
  int spouse;
};
const IncomeLine kC1 = {71, 72, 73};      // 56, 57, 9589
const IncomeLine kC2a = {74, 75, 76};     // 196099, 196100, 196101
const IncomeLine kC2b = {77, 78, 79};     // 196102, 196103, 196104
const IncomeLine kC2 = {80, 81, 82};      // 58, 59, 9590
const IncomeLine kC3 = {83, 84, 85};      // 60, 61, 9591
const IncomeLine kC4 = {86, 87, 88};      // 62, 63, 9592
const IncomeLine kC5 = {89, 90, 91};      // 64, 65, 9593
const IncomeLine kC6 = {92, 93, 94};      // 66, 67, 9594
const IncomeLine kC7 = {95, 96, 97};      // 68, 69, 9595
const IncomeLine kC8 = {98, 99, 100};     // 70, 71, 9596
const IncomeLine kC9 = {101, 102, 103};   // 72, 73, 9597
const IncomeLine kC10 = {104, 105, 106};  // 74, 75, 9598

// The forgiveness lines D1 to D5 of one layout.
struct ForgivenessLines {
  int tax;          // D1
  int deduction;    // D2
  int subject;      // D3, tax subject to forgiveness
  int percentage;   // D4, whole percent
  int forgiven;     // D5
};
const ForgivenessLines kOneColumn = {109, 111, 113, 115, 117};  // 9599, 9601, 9603, 9605, 9607
const ForgivenessLines kTwoColumns = {110, 112, 114, 116, 118};  // 9600, 9602, 9604, 9606, 9608

inline const Primitives::OVImmutableIdentifier& sp(int member) { return kPAScheduleSPFieldIds[member]; }

// What every piece of one computeScheduleSP call shares. The copy and the
// returns are borrowed for the call; the federal return may be null.
struct Run {
  PATaxReturnCalcEngine& engine;
  PADataMgmt::PATaxReturn& pa;
  DataMgmt::TaxReturn* federal;
  DataMgmt::TaxFormPtr holder;  // the schedule copy in hand, never empty
  uint16_t copy;
  int passOn;
  uint8_t filingStatus;  // PA filing status: 2 joint, 3 separate, else 1
  int residency;         // 0 full-year resident, 1 part-year, 2 nonresident

  DataMgmt::TaxForm& form() const { return *holder; }
  bool marked(int member) const { return holder->xMarked(sp(member)); }
  // Nulls members first..last of this copy, in the schedule's field order.
  void clearRange(int first, int last) const;
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
