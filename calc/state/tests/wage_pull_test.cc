// The state allocation form: the federal wage pull (wages, federal amounts
// and the taxpayer / spouse parts of every income kind by residency), the
// interest and dividend lines, the totals and the PA calculation of a
// copy. The golden returns hold the pulls of single, joint, part-year,
// nonresident and short-form returns.
#include <vector>

#include "calc/state/income_kind_table.h"
#include "calc/state/tests/state_engine_fixture.h"
#include "host/descriptors.h"

namespace {

using StateCalculationMgmt::IncomeKindRow;
using StateCalculationMgmt::StateTaxReturnCalcEngine;
using V = std::vector<double>;

class WagePullTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    mark(kFormID_FedW2, FedW2::kTaxpayerBox, 1);
    number(kFormID_FedW2, FedW2::kWages, 5000000, 1);  // hundredths
    mark(kFormID_FedW2, FedW2::kSpouseBox, 2);
    number(kFormID_FedW2, FedW2::kWages, 3000000, 2);
    federal()->setAllStateWages(48000, 29000);
    federal()->setStateWages(1000, 2000);
    for (int code : {14, 15, 18, 20, 71, 72, 27, 28, 35, 36}) federal()->setCommonItem(code, 1000 + code);
    number(kFormID_FedReturn, FedReturn::kTaxpayerIraDeduction, 21);
    number(kFormID_FedReturn, FedReturn::kSpouseIraDeduction, 22);
    // Each income kind's federal amount is 100 times its row (from 1).
    for (int row = 1; row <= kKinds; ++row) number(kFormID_FedReturn, kind(row).federalField, 100.0 * row);
    // Federal form 18: copy 1 gives 5 + 6, copy 2 gives 7 + 8.
    for (uint16_t copy : {1, 2}) {
      number(kFormID_Fed18, Fed18::kDeductionFirstPart, 2 * copy + 3, copy);
      number(kFormID_Fed18, Fed18::kDeductionSecondPart, 2 * copy + 4, copy);
    }
  }

  static const int kKinds = 22;
  static const IncomeKindRow& kind(int row) { return StateTaxReturnCalcEngine::incomeKindTable[row - 1]; }
  const FieldId& t(int row) { return kind(row).taxpayerField; }
  // The spouse part S: the field after T in the form's field order.
  FieldId s(int row) {
    DataMgmt::OVFieldIDIter it = pa->getTaxFormDescriptor(kFormID_State18)->getFieldIDs();
    it = t(row);
    return (it + 1).getID();
  }
  bool nullAndProtected(const FieldId& field) {
    return isNull(kFormID_State18, field) && isProtected(kFormID_State18, field);
  }
  void enter(const FieldId& field, double amount) { number(kFormID_State18, field, amount); }
  V alloc(std::initializer_list<FieldId> fields) { return values(kFormID_State18, fields); }
  // Sets the information form and pulls onto copy 1 as the allocation
  // form's calculation does.
  void pull(ResidencyChoice choice, bool joint) {
    setResidency(choice);
    setJoint(joint);
    engine->pullFederalWages(holder(kFormID_State18), kFormID_PAReturnInfo, joint ? 2 : 1, choice, 0);
  }
};

// The table is built once, ends after row 22, and each kind's spouse part
// follows its taxpayer part on the form.
TEST_F(WagePullTest, IncomeKindTableIsSharedAndItsSpousePartsFollowTheTaxpayerParts) {
  const IncomeKindRow* first = StateTaxReturnCalcEngine::incomeKindTable;
  ProbeEngine second(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr());
  EXPECT_EQ(StateTaxReturnCalcEngine::incomeKindTable, first);
  EXPECT_EQ(first[kKinds].federalField.getNumber(), 0);
  for (int row = 1; row <= kKinds; ++row) EXPECT_EQ(s(row).getNumber(), t(row).getNumber() + 1) << row;
}

// A full-year resident's parts are calculated and protected: a single
// filer's T is F and S is null; a joint filer's capped S stays open to
// entry, the per-person items close it. (The golden returns hold the
// amounts of single, joint and short-form returns.)
TEST_F(WagePullTest, AFullYearResidentsPartsAreProtected) {
  enter(s(2), 50);  // a spouse part entered before: not kept
  pull(kChoiceFullYearResident, false);
  for (int row = 1; row <= kKinds; ++row) {
    EXPECT_EQ(alloc({kind(row).amountField, t(row)}), (V{100.0 * row, 100.0 * row})) << row;
    EXPECT_TRUE(nullAndProtected(s(row)) && isProtected(kFormID_State18, t(row))) << row;
  }
  EXPECT_TRUE(nullAndProtected(State16To18::kSpouseStateWages));
  pull(kChoiceFullYearResident, true);
  EXPECT_FALSE(isProtected(kFormID_State18, s(2)));
  EXPECT_TRUE(isProtected(kFormID_State18, s(3)) && isProtected(kFormID_State18, s(18)));
  EXPECT_TRUE(nullAndProtected(State16To18::kTaxpayerOnlySpouse) &&
              nullAndProtected(State16To18::kSpouseOnlyTaxpayer));
}

TEST_F(WagePullTest, PartYearAfterFullYearStartsFromZeroThenKeepsCappedEntries) {
  pull(kChoiceFullYearResident, true);
  pull(kChoicePartYearResident, true);  // changed: every part starts at 0
  EXPECT_EQ(alloc({State16To18::kTaxpayerStateWages, State16To18::kResidencyChoiceOfLastPull}),
            (V{0, kChoicePartYearResident}));
  EXPECT_FALSE(isProtected(kFormID_State18, State16To18::kSpouseStateWages));
  for (int row = 1; row <= kKinds; ++row) {
    EXPECT_EQ(nulls(kFormID_State18, {t(row), s(row)}), (std::vector<bool>{false, false})) << row;
    EXPECT_EQ(alloc({t(row), s(row)}), (V{0, 0})) << row;
    EXPECT_FALSE(isProtected(kFormID_State18, s(row))) << row;
  }
  // The user's entries stay on the next pull and are only capped.
  const std::pair<FieldId, double> entries[] = {{State16To18::kTaxpayerStateWages, 60000},
                                                {State16To18::kSpouseStateWages, 1500},
                                                {t(2), 150},
                                                {s(2), 100},
                                                {t(19), 5000},
                                                {t(4), 9999},
                                                {t(18), 100},
                                                {s(18), 100},
                                                {State16To18::kSpouseOnlySpouse, 500}};
  for (const auto& entry : entries) enter(entry.first, entry.second);
  pull(kChoicePartYearResident, true);
  const double capped[] = {48000, 1500, 150, 50, 1900, 9999, 11, 15, 22};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(valueOf(kFormID_State18, entries[i].first), capped[i]) << i;
  pull(kChoicePartYearResident, false);
  EXPECT_TRUE(nullAndProtected(s(2)) && nullAndProtected(State16To18::kSpouseStateWages));
}

TEST_F(WagePullTest, NonresidentTakesStateWagesAndCapsEnteredParts) {
  pull(kChoiceNonresident, true);
  EXPECT_EQ(alloc({State16To18::kTaxpayerStateWages, State16To18::kSpouseStateWages}), (V{1000, 2000}));
  EXPECT_TRUE(isProtected(kFormID_State18, State16To18::kSpouseStateWages));
  enter(t(2), 150);  // capped rule, F = 200: S is capped at F - T
  enter(s(2), 100);
  enter(State16To18::kTaxpayerOtherCompensation, 400);  // the user's
  pull(kChoiceNonresident, true);
  EXPECT_EQ(alloc({s(2), State16To18::kTaxpayerOtherCompensation}), (V{50, 400}));
}

// The other-compensation parts a full-year resident's pull protected in
// go with the residency: a part-year resident starts from none, as when
// loaded afresh, and keeps what the filer types.
TEST_F(WagePullTest, OtherCompensationPartsOfAFullYearResidentGoWithTheResidency) {
  const FieldId parts[] = {State16To18::kTaxpayerOtherCompensation, State16To18::kSpouseOtherCompensation};
  pull(kChoiceFullYearResident, true);
  ASSERT_EQ(alloc({parts[0], parts[1]}), (V{1014, 1015}));
  pull(kChoicePartYearResident, true);
  EXPECT_EQ(nulls(kFormID_State18, {parts[0], parts[1]}), (std::vector<bool>{true, true}));
  EXPECT_FALSE(isProtected(kFormID_State18, parts[0]) || isProtected(kFormID_State18, parts[1]));
  enter(parts[0], 300);
  enter(parts[1], 200);
  pull(kChoicePartYearResident, true);
  EXPECT_EQ(alloc({parts[0], parts[1]}), (V{300, 200}));
  pull(kChoicePartYearResident, false);
  EXPECT_EQ(valueOf(kFormID_State18, parts[0]), 300);
  EXPECT_TRUE(nullAndProtected(parts[1]));
}

// The generic codes 0 and 8 count as joint, like the state's own.
TEST_F(WagePullTest, CollectFederalAmountsFollowsFilingStatus) {
  double a[7];
  engine->collectFederalAmounts(1, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
  EXPECT_EQ(V(a, a + 7), (V{1018, 1020, 1071, 0, 1014, 21, 0}));
  for (uint16_t joint : {0, 2, 8}) {
    engine->collectFederalAmounts(joint, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    EXPECT_EQ(V(a, a + 7), (V{1018, 1020, 1071, 1072, 2029, 21, 22})) << joint;
  }
}

class StateAllocationTest : public StateEngineTest {
 protected:
  const FieldId lines[8] = {State16To18::kResidentTaxpayerInterest,  State16To18::kResidentSpouseInterest,
                            State16To18::kPartYearTaxpayerInterest,  State16To18::kPartYearSpouseInterest,
                            State16To18::kResidentTaxpayerDividends, State16To18::kResidentSpouseDividends,
                            State16To18::kPartYearTaxpayerDividends, State16To18::kPartYearSpouseDividends};
  // The lines after a pull, a null line as -1.
  std::vector<double> pull(int choice, uint16_t filingStatus) {
    for (const FieldId& line : lines) number(kFormID_State18, line, 5);
    engine->pullInterestDividendAmounts(holder(kFormID_State18), choice, filingStatus);
    std::vector<double> result;
    for (const FieldId& line : lines)
      result.push_back(isNull(kFormID_State18, line) ? -1 : valueOf(kFormID_State18, line));
    return result;
  }
};

// A part-year resident's lines are the allocated parts, less (interest
// only) the allocated U.S. obligations reported on federal form 3, the
// spouse's on the generic joint code too; choice 4 fills nothing. (The
// golden returns hold the other choices, over two summary copies.)
TEST_F(StateAllocationTest, InterestAndDividendLinesOfChoice4AndTheGenericJointCode) {
  number(kFormID_State16, State16::kTaxpayerRegularAllocated, 50);
  number(kFormID_State16, State16::kTaxpayerUSObligationsAllocated, 5);
  number(kFormID_State16, State16::kTaxpayerReportedUSObligationsAllocated, 3);
  number(kFormID_State17, State17::kSpouseRegularAllocated, 40);
  number(kFormID_State17, State17::kSpouseUSObligationsAllocated, 4);
  using V = std::vector<double>;
  EXPECT_EQ(pull(kChoicePartYearResident, 8), (V{-1, -1, 52, 0, -1, -1, 0, 44}));
  EXPECT_EQ(pull(kChoicePartYearAllocated, 2), V(8, -1));
}

// With every field of copy 2 at 1, each total counts its sources; copy 1
// is marked as data-entered whichever copy was totalled, the calculated
// mark goes to the copy totalled.
TEST_F(StateAllocationTest, TotalsAddTheirColumnsAndMarkCopy1) {
  copyOf(kFormID_State18, 1);
  federal()->setCommonItem(80, 55);
  DataMgmt::TaxForm& copy = copyOf(kFormID_State18, 2);
  for (DataMgmt::OVFieldIDIter it = copy.getTaxFormDescriptor()->getFieldIDs(); !it.atEOL(); it.next()) {
    copy.store(it.getID(), FieldValue::of(1));
  }
  engine->totalStateAllocationForm(holder(kFormID_State18, 2));
  EXPECT_EQ(values(kFormID_State18,
                   {State16To18::kTotalWages, State16To18::kSpouseTotalWages, State16To18::kTotalAmounts,
                    State16To18::kTotalTaxpayer, State16To18::kTotalSpouse, State16To18::kOtherTotalAmounts,
                    State16To18::kOtherTotalTaxpayer, State16To18::kOtherTotalSpouse,
                    State16To18::kFederalTotalIncome},
                   2),
            (std::vector<double>{2, 2, 16, 14, 14, 14, 14, 14, 55}));
  EXPECT_TRUE(copyOf(kFormID_State18, 1).isDataEntered());
  EXPECT_FALSE(copy.isDataEntered());
  EXPECT_TRUE(copy.getCalcMark());
  EXPECT_FALSE(copyOf(kFormID_State18, 1).getCalcMark());
}

// The PA calculation of a copy records the residency choice on the
// information form (nothing without one, calculated as a full-year
// resident).
TEST_F(StateAllocationTest, ResidencyChoiceIsRecordedOnTheInformationForm) {
  engine->computeStateAllocationForm(holder(kFormID_State18), 1, 1);
  EXPECT_TRUE(isNull(kFormID_PAReturnInfo, PAReturnInfo::kResidencyChoice));
  EXPECT_EQ(valueOf(kFormID_State18, State16To18::kResidencyChoiceOfLastPull), kChoiceFullYearResident);
  EXPECT_TRUE(copyOf(kFormID_State18).getCalcMark());
  for (ResidencyChoice choice :
       {kChoiceFullYearResident, kChoicePartYearResident, kChoiceNonresident, kChoicePartYearAllocated}) {
    setResidency(choice);
    engine->computeStateAllocationForm(holder(kFormID_State18), 1, 1);
    EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, PAReturnInfo::kResidencyChoice), choice);
    EXPECT_EQ(valueOf(kFormID_State18, State16To18::kResidencyChoiceOfLastPull), choice);
  }
}

}  // namespace
