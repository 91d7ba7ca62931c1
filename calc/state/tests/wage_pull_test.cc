// The federal wage pull onto the state allocation form: wages, federal
// amounts and the taxpayer / spouse parts of every income kind, for
// full-year residents, part-year residents and nonresidents.
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

TEST_F(WagePullTest, FullYearSingleTakesTheFederalAmountsWhole) {
  enter(s(2), 50);  // a spouse part entered before: not kept
  pull(kChoiceFullYearResident, false);
  // The taxpayer's W-2 only, all state wages, code 14 without 15.
  EXPECT_EQ(
      alloc({State16To18::kFederalWages, State16To18::kTaxpayerStateWages, State16To18::kOtherCompensation,
             State16To18::kTaxpayerOtherCompensation, State16To18::kResidencyChoiceOfLastPull}),
      (V{50000, 48000, 1014, 1014, kChoiceFullYearResident}));
  EXPECT_TRUE(nullAndProtected(State16To18::kSpouseStateWages) &&
              nullAndProtected(State16To18::kSpouseOtherCompensation));
  for (int row = 1; row <= kKinds; ++row) {
    EXPECT_EQ(alloc({kind(row).amountField, t(row)}), (V{100.0 * row, 100.0 * row})) << row;
    EXPECT_TRUE(nullAndProtected(s(row)) && isProtected(kFormID_State18, t(row))) << row;
  }
}

// Rows 2 and 19 (capped), 4 (uncapped), 3 (per-person codes win over the
// entry) and 18 (federal form 18: copy 1 the taxpayer's, copy 2 the
// spouse's); the fixed triples give all to one person.
TEST_F(WagePullTest, FullYearJointSplitsByRuleAndPerPersonItems) {
  const std::pair<int, double> entries[] = {{2, 50}, {19, 5000}, {4, 150}, {3, 99999}};
  for (const auto& entry : entries) enter(s(entry.first), entry.second);
  pull(kChoiceFullYearResident, true);
  EXPECT_EQ(alloc({State16To18::kFederalWages, State16To18::kSpouseStateWages,
                   State16To18::kOtherCompensation, State16To18::kSpouseOtherCompensation}),
            (V{80000, 29000, 2029, 1015}));
  EXPECT_EQ(alloc({t(2), s(2), t(19), s(19), t(4), s(4), t(3), s(3), t(18), s(18)}),
            (V{150, 50, 0, 1900, 250, 150, 1027, 1028, 11, 15}));
  EXPECT_FALSE(isProtected(kFormID_State18, s(2)));
  EXPECT_TRUE(isProtected(kFormID_State18, s(3)) && isProtected(kFormID_State18, s(18)));
  EXPECT_EQ(alloc({State16To18::kTaxpayerOnlyTaxpayer, State16To18::kSpouseOnlySpouse,
                   State16To18::kSecondSpouseOnlySpouse}),
            (V{21, 22, 1072}));
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

// Form 55 pulls its own kinds only (row 1 has none: left alone) and nulls
// income kind 12; joint full-year residents take its per-person items.
TEST_F(WagePullTest, Form55InUsePullsItsOwnKindsOnly) {
  useFederalForm(55);
  number(kFormID_Fed55, Fed55::kTaxableIraDistributions, 600);
  enter(kind(1).amountField, 777);
  enter(kind(12).amountField, 1);
  pull(kChoiceFullYearResident, true);
  EXPECT_EQ(alloc({kind(1).amountField, kind(6).amountField, t(6), s(6)}), (V{777, 600, 1035, 1036}));
  EXPECT_EQ(nulls(kFormID_State18, {kind(12).amountField, t(12), s(12)}),
            (std::vector<bool>{true, true, true}));
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

}  // namespace
