// The interest and dividend worksheet after the filing status or the
// residency changes: it holds what the same entries calculated afresh give.
// What the calculation wrote for the status or residency before (a single
// return's shown total, a joint return's sums of the entered split, a
// single return's copies of the entered total, a part-year resident's
// lines) goes; the user's entries stay.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

namespace W = PAInterestDividendWorksheet;
using FieldValue = DataMgmt::FieldValue;

class IntDivWorksheetSwitchTest : public IntDivWorksheetTest {
 protected:
  // The sources both calculations read: summaries, federal interest and
  // dividends of both persons, form 51 and 89 copies and a spouse's form
  // 164 item.
  void sources() {
    summary(kFormID_State16, State16::kTaxpayerRegular, State16::kSpouseRegular, 100, 40);
    summary(kFormID_State16, State16::kTaxpayerExemptInState, State16::kSpouseExemptInState, 30, 0);
    summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 50, 20);
    summary(kFormID_State17, State17::kTaxpayerOutOfState, State17::kSpouseOutOfState, 25, 0);
    federalInterest(300);
    mark(kFormID_Fed166, Fed166::kTaxpayerBox);
    number(kFormID_Fed166, Fed166::kWorksheetFirstAmount, 20000);
    form51(1, Fed51::kTaxpayerBox, Fed51::kFirstKindBox, 70);
    form89(1, Fed89::kTaxpayerBox, 100, 0, 0, 80);
    form89(2, Fed89::kSpouseBox, 50, 0, 0, 30);
    federalDividends(500);
    mark(kFormID_Fed164, Fed164::kSpouseBox);
    number(kFormID_Fed164, Fed164::kCapitalGainDistributions, 6000);
  }

  // The values of every stored field of the worksheet, protection aside.
  std::map<int, std::string> values() {
    std::map<int, std::string> out;
    for (const auto& entry : ws().fields()) {
      const FieldValue& v = entry.second;
      if (v.kind == FieldValue::kNull) continue;
      out[entry.first] = std::to_string(static_cast<int>(v.kind)) + ":" + std::to_string(v.number) + v.text;
    }
    return out;
  }

  // The user enters `entries` under `before`, the worksheet is calculated,
  // `after` changes the return and it is calculated again. The same
  // sources with the entered fields as the worksheet then holds them,
  // calculated once under `after` alone, give the same worksheet.
  void expectAsFresh(const char* name, const std::function<void()>& before, const std::function<void()>& after,
                     const std::vector<std::pair<FieldId, FieldValue>>& entries) {
    SCOPED_TRACE(name);
    restart();
    sources();
    before();
    for (const auto& entry : entries) put(sheet(), entry.first, entry.second);
    run();
    after();
    run();
    std::vector<std::pair<FieldId, FieldValue>> held;
    for (const auto& entry : entries) {
      FieldValue value = ws().isNull(entry.first) ? FieldValue::null() : ws().fields()[entry.first.getNumber()];
      value.isProtected = false;
      held.push_back({entry.first, value});
    }
    const std::map<int, std::string> edited = values();
    restart();
    sources();
    after();
    for (const auto& entry : held) put(sheet(), entry.first, entry.second);
    run();
    EXPECT_EQ(edited, values());
  }

  void notJoint() { copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kJointBox); }
  void fullYear() { copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kPartYearResidentBox); }
};

// The totals a single filer enters, the lines a joint filer splits (built
// on first use: the field catalogs are constants of other files).
using Entries = std::vector<std::pair<Primitives::OVImmutableIdentifier, FieldValue>>;
const Entries& enteredTotals() {
  static const Entries entries = {
      {W::kForfeitedInterestPenalty, FieldValue::of(10)},
      {W::kFirstOtherInterestSubtraction, FieldValue::of(5)},
      {W::kPAObligationInterest, FieldValue::of(6)},
      {W::kEstateTrustInterestAdjustment, FieldValue::of(7)},
      {W::kFirstOtherDividendSubtraction, FieldValue::of(8)},
      {W::kPAObligationDividends, FieldValue::of(9)},
      {W::kEstateTrustDividendsAdjustment, FieldValue::of(11)},
      {W::kPartnershipFirstKindInterestOverrideYesBox, FieldValue::mark()},
      {W::kPartnershipFirstKindInterestUsed, FieldValue::of(12)},
  };
  return entries;
}
const Entries& enteredSplits() {
  static const Entries entries = {
      {W::kTaxpayerForfeitedInterestPenalty, FieldValue::of(10)},
      {W::kSpouseForfeitedInterestPenalty, FieldValue::of(4)},
      {W::kTaxpayerFirstOtherInterestSubtraction, FieldValue::of(5)},
      {W::kSpouseFirstOtherInterestSubtraction, FieldValue::of(2)},
      {W::kTaxpayerPAObligationInterest, FieldValue::of(6)},
      {W::kSpousePAObligationInterest, FieldValue::of(1)},
      {W::kTaxpayerEstateTrustInterestAdjustment, FieldValue::of(7)},
      {W::kSpouseEstateTrustInterestAdjustment, FieldValue::of(3)},
      {W::kTaxpayerFirstOtherDividendSubtraction, FieldValue::of(8)},
      {W::kSpouseFirstOtherDividendSubtraction, FieldValue::of(2)},
      {W::kTaxpayerPAObligationDividends, FieldValue::of(9)},
      {W::kSpousePAObligationDividends, FieldValue::of(1)},
      {W::kTaxpayerEstateTrustDividendsAdjustment, FieldValue::of(11)},
      {W::kSpouseEstateTrustDividendsAdjustment, FieldValue::of(5)},
      {W::kPartnershipFirstKindInterestOverrideYesBox, FieldValue::mark()},
      {W::kTaxpayerPartnershipFirstKindInterestUsed, FieldValue::of(12)},
      {W::kSpousePartnershipFirstKindInterestUsed, FieldValue::of(3)},
  };
  return entries;
}

TEST_F(IntDivWorksheetSwitchTest, AFilingStatusSwitchLeavesWhatTheSameEntriesGiveAfresh) {
  // Single to joint: the shown totals and the copies of the totals go.
  expectAsFresh("single to joint", [] {}, [this] { joint(); }, enteredTotals());
  // Joint to single: the sums of the split and the spouse-share box go.
  for (const Entries* entries : {&enteredSplits(), &enteredTotals()}) {
    expectAsFresh("joint to single", [this] { joint(); }, [this] { notJoint(); }, *entries);
  }
}

TEST_F(IntDivWorksheetSwitchTest, AResidencySwitchLeavesWhatTheSameEntriesGiveAfresh) {
  const Entries entries = {
      {W::kTaxpayerPartYearDividendSubtraction, FieldValue::of(40)},
      {W::kTaxpayerPartYearExemptDividendsEntered, FieldValue::of(10)},
      {W::kTaxpayerPartYearInterestSubtraction, FieldValue::of(4)},
      {W::kTaxpayerPAExemptInterest, FieldValue::of(20)},
  };
  for (bool isJoint : {false, true}) {
    const std::function<void()> status = [this, isJoint] {
      if (isJoint) joint();
    };
    // The part-year lines, dividends included, go with the residency.
    expectAsFresh("part-year to full-year", [&] { status(); partYear(); }, [&] { status(); fullYear(); },
                  entries);
    // A full-year resident's group 3 amount is no entry of a part-year one.
    expectAsFresh("full-year to part-year", status, [&] { status(); partYear(); }, entries);
  }
}

// A marked override box keeps the computed amounts it finds as the user's
// start.
TEST_F(IntDivWorksheetSwitchTest, AnOverrideStartsFromTheComputedAmounts) {
  for (bool isJoint : {false, true}) {
    restart();
    if (isJoint) joint();
    form51(1, Fed51::kTaxpayerBox, Fed51::kFirstKindBox, 70);
    run();
    mark(sheet(), W::kPartnershipFirstKindInterestOverrideYesBox);
    run();
    EXPECT_EQ(70, amount(W::kPartnershipFirstKindInterestUsed)) << isJoint;
    EXPECT_EQ(70, amount(W::kTaxpayerPartnershipFirstKindInterestUsed)) << isJoint;
  }
}

}  // namespace
