// The W-2G income schedule: gambling and lottery winnings and losses.
#include <initializer_list>
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PADataMgmt::kFilingJoint;
using PADataMgmt::kFilingSingle;
using PADataMgmt::kFullYearResident;
using PADataMgmt::kPartYearResident;

class W2GIncomeTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAW2GIncome); }
  double value(const FieldId& field) { return sched().getIR(field); }
  void enterW(const FieldId& field, double v) { number(kFormID_PAW2GIncome, field, v); }
  void runW() { engine->computeW2GIncome(holder(kFormID_PAW2GIncome), 1, 1); }

  // Federal form 57: the gambling income that opens the schedule and the
  // other winnings.
  void form57(double gate, double amount) {
    number(kFormID_Fed57, Fed57::kGamblingIncome, gate);
    number(kFormID_Fed57, Fed57::kOtherGamblingWinnings, amount);
  }
  // A W-2G copy with its owner marks, winnings and state winnings in
  // hundredths, and its state.
  void w2g(uint16_t copy, bool taxpayer, bool spouse, double hundredths, double stateHundredths = 0,
           const std::string& state = "") {
    if (taxpayer) mark(kFormID_FedW2G, FedW2G::kTaxpayerBox, copy);
    if (spouse) mark(kFormID_FedW2G, FedW2G::kSpouseBox, copy);
    number(kFormID_FedW2G, FedW2G::kWinnings, hundredths, copy);
    number(kFormID_FedW2G, FedW2G::kStateWinnings, stateHundredths, copy);
    if (!state.empty()) text(kFormID_FedW2G, FedW2G::kState, state, copy);
  }
  // The filing status or residency of the information form switched: its
  // other boxes emptied.
  void switchTo(const FieldId& box, std::initializer_list<const FieldId*> others) {
    for (const FieldId* other : others) put(kFormID_PAReturnInfo, *other, FieldValue());
    mark(kFormID_PAReturnInfo, box);
  }
  // A form 51 copy, marked for the taxpayer or without an owner mark.
  void form51(uint16_t copy, bool taxpayer, double winnings, double losses) {
    if (taxpayer) mark(kFormID_Fed51, Fed51::kTaxpayerBox, copy);
    number(kFormID_Fed51, Fed51::kGamblingWinnings, winnings, copy);
    number(kFormID_Fed51, Fed51::kGamblingLosses, losses, copy);
  }
};

TEST_F(W2GIncomeTest, JointFullYearReturnNetsEverySource) {
  setFilingStatus(kFilingJoint);
  form57(1, 300);
  w2g(1, true, false, 100000, 100000, "PA");
  w2g(2, false, true, 50000, 50000, "NJ");
  form51(1, true, 200, 50);
  form51(2, false, 100, 30);
  enterW(PAW2GIncome::kSpouseFed57Winnings, 100);
  enterW(PAW2GIncome::kTaxpayerFed2Amount, 200);  // no form 2 amount: the user enters the split
  enterW(PAW2GIncome::kSpouseFed2Amount, 100);
  runW();
  EXPECT_EQ(value(PAW2GIncome::kW2GCount), 2);
  EXPECT_EQ(value(PAW2GIncome::kTaxpayerFed57Winnings), 200);
  EXPECT_EQ(value(PAW2GIncome::kPartnershipLosses), -80);
  EXPECT_TRUE(sched().xMarked(PAW2GIncome::kSpouseSplitBox));  // the default split choice
  EXPECT_EQ(value(PAW2GIncome::kNetWinnings), 1880);
  EXPECT_EQ(value(PAW2GIncome::kWinnings), 1400 + 700 + 150 + 70);
  EXPECT_EQ(value(PAW2GIncome::kPAW2GWinningsWonInPA), 1000);
  EXPECT_TRUE(sched().isDataEntered() && sched().getCalcMark());
}

TEST_F(W2GIncomeTest, ClosedFederalGateEmptiesTheScheduleAndItsNetAmounts) {
  form57(0, 500);
  w2g(1, true, false, 10000);
  // An earlier calculation with winnings.
  const FieldId* const kEarlier[] = {&PAW2GIncome::kW2GWinnings.id(), &PAW2GIncome::kSpouseLossesCarried.id(),
                                     &PAW2GIncome::kTaxpayerWinningsBeforeLosses.id(),
                                     &PAW2GIncome::kNetWinnings.id()};
  for (const FieldId* field : kEarlier) enterW(*field, 99);
  enterW(PAW2GIncome::kW2GCount, 3);
  runW();
  for (const FieldId* field : kEarlier) EXPECT_TRUE(sched().isNull(*field)) << *field;
  EXPECT_TRUE(sched().isNull(PAW2GIncome::kW2GCount));  // no copy read, no count kept
  EXPECT_TRUE(sched().isNo(PAW2GIncome::kWinningsBox));
  EXPECT_FALSE(sched().isDataEntered());
}

// Owner of a W-2G copy: only the filers of the return count, and a copy
// with neither mark is the taxpayer's. A partnership K-1 (form 51) without
// a mark is the spouse's on a joint return, the taxpayer's on any other.
TEST_F(W2GIncomeTest, W2GOwnerIsAFilerOfTheReturn) {
  const struct {
    int status;
    bool spouseMark;
    double taxpayer, spouse;
    bool k1;  // the winnings on a form 51 copy rather than a W-2G
  } kCases[] = {{kFilingSingle, false, 100, 0, false}, {kFilingSingle, true, 0, 0, false},
                {kFilingJoint, true, 0, 100, false},   {kFilingSingle, false, 100, 0, true},
                {kFilingJoint, false, 0, 100, true}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    form57(1, 0);
    if (c.k1) {
      form51(1, false, 100, 0);
    } else {
      w2g(1, false, c.spouseMark, 10000);
    }
    runW();
    EXPECT_EQ(value(PAW2GIncome::kTaxpayerNetWinnings), c.taxpayer) << c.status << "/" << c.spouseMark << c.k1;
    EXPECT_EQ(value(PAW2GIncome::kSpouseNetWinnings), c.spouse) << c.status << "/" << c.spouseMark << c.k1;
  }
}

TEST_F(W2GIncomeTest, FederalForm57AmountGoneLeavesNoWinnings) {
  setFilingStatus(kFilingJoint);
  form57(1, 300);
  enterW(PAW2GIncome::kSpouseFed57Winnings, 100);
  enterW(PAW2GIncome::kW2GCount, 2);  // left from W-2G copies now gone
  runW();
  EXPECT_EQ(value(PAW2GIncome::kNetWinnings), 300);
  EXPECT_TRUE(sched().isNull(PAW2GIncome::kW2GCount));
  form57(1, 0);
  runW();
  EXPECT_TRUE(sched().isNull(PAW2GIncome::kFed57Winnings));
  EXPECT_TRUE(closed(kFormID_PAW2GIncome, PAW2GIncome::kSpouseFed57Winnings));
  EXPECT_EQ(value(PAW2GIncome::kNetWinnings), 0);
  EXPECT_TRUE(sched().isNo(PAW2GIncome::kWinningsBox));
}

// W-2G winnings won in PA: a copy without a state counts for a resident
// (not for a nonresident: a golden return holds it); a spouse's copy not
// on a return that is not joint.
TEST_F(W2GIncomeTest, WinningsWonInPA) {
  const struct {
    int status, residency;
    bool spouseMark;
    const char* state;
    double expected;
  } kCases[] = {
      {kFilingSingle, kFullYearResident, false, "", 25}, {kFilingSingle, kFullYearResident, false, "NJ", 0},
      {kFilingSingle, kFullYearResident, false, "pa", 0}, {kFilingSingle, kFullYearResident, true, "PA", 0}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    setResidency(c.residency);
    form57(0, 0);
    w2g(1, false, c.spouseMark, 0, 2500, c.state);
    w2g(2, true, false, 0, 0, "PA");  // no state winnings: skipped
    runW();
    EXPECT_EQ(value(PAW2GIncome::kPAW2GWinningsWonInPA), c.expected)
        << c.status << "/" << c.residency << "/" << c.spouseMark << "/" << c.state;
  }
}

// What the calculation fills from the federal form 2 amount, or copies for
// a full-year resident, it closes; once the amount goes, the status or the
// residency switches and the entry opens, that value goes with it (a fresh
// load holds none), while an entry the user made on an open field stays.
TEST_F(W2GIncomeTest, ClosedCopiesGoWhenTheEntriesOpen) {
  enum Change { kForm2Gone, kToJoint, kToSingle, kToPartYear };
  const struct {
    const char* what;
    int status;
    double form2;
    Change change;
    const FieldId& gone;
  } kCases[] = {
      {"joint, form 2 gone: the taxpayer's share", kFilingJoint, 2400, kForm2Gone, PAW2GIncome::kTaxpayerFed2Amount},
      {"single, form 2 gone: its amount", kFilingSingle, 2400, kForm2Gone, PAW2GIncome::kFed2Amount},
      {"single to joint: the taxpayer's copy", kFilingSingle, 0, kToJoint, PAW2GIncome::kTaxpayerFed2Amount},
      {"joint to single: the sum", kFilingJoint, 0, kToSingle, PAW2GIncome::kFed2Amount},
      {"to part-year: the PA losses", kFilingJoint, 2400, kToPartYear, PAW2GIncome::kTaxpayerPALosses},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    setResidency(kFullYearResident);
    form57(5600, 0);
    w2g(1, true, false, 500000);
    w2g(2, false, true, 60000);
    number(kFormID_Fed2, Fed2::kGamblingLosses, c.form2);
    enterW(PAW2GIncome::kSpouseFed2Amount, 100);                     // the spouse's share, typed
    if (c.form2 == 0) enterW(PAW2GIncome::kFed2Amount, 900);        // no form 2: the user's amount
    if (c.form2 == 0 && c.status == kFilingJoint) enterW(PAW2GIncome::kTaxpayerFed2Amount, 800);
    runW();
    ASSERT_GT(value(c.gone), 0) << c.what;
    switch (c.change) {
      case kForm2Gone:
        number(kFormID_Fed2, Fed2::kGamblingLosses, 0);
        break;
      case kToJoint:
        switchTo(PAReturnInfo::kJointBox, {&PAReturnInfo::kSingleBox.id()});
        break;
      case kToSingle:
        switchTo(PAReturnInfo::kSingleBox, {&PAReturnInfo::kJointBox.id()});
        break;
      case kToPartYear:
        switchTo(PAReturnInfo::kPartYearResidentBox, {&PAReturnInfo::kFullYearResidentBox.id()});
        break;
    }
    runW();
    EXPECT_EQ(value(c.gone), 0) << c.what;
    EXPECT_FALSE(sched().isProtected(c.gone)) << c.what;
    if (c.change == kForm2Gone) {
      EXPECT_TRUE(sched().isNull(PAW2GIncome::kFed2AmountRead)) << c.what;
    }
    if (c.change == kForm2Gone && c.status == kFilingJoint) {
      EXPECT_EQ(value(PAW2GIncome::kSpouseFed2Amount), 100) << c.what;  // the user's entry stays
      EXPECT_EQ(value(PAW2GIncome::kNetWinnings), 5000 + 600 - 100) << c.what;
    }
  }
}

}  // namespace
