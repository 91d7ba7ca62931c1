// The interest and dividend worksheet after the filing status or the
// residency changes holds what the same entries calculated afresh give:
// what the calculation wrote for the status or residency before goes, the
// user's entries stay, an override starts from the computed amounts.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

namespace W = PAInterestDividendWorksheet;
using FieldValue = DataMgmt::FieldValue;
using Fields = std::vector<Primitives::OVImmutableIdentifier>;

class IntDivWorksheetSwitchTest : public IntDivWorksheetTest {
 protected:
  // Summaries, federal interest and dividends of both persons, form 51 and
  // 89 copies and a spouse's form 164 item.
  void sources() {
    summary(kFormID_State16, State16::kTaxpayerRegular, State16::kSpouseRegular, 100, 40);
    summary(kFormID_State16, State16::kTaxpayerExemptInState, State16::kSpouseExemptInState, 30, 0);
    summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 50, 20);
    summary(kFormID_State17, State17::kTaxpayerOutOfState, State17::kSpouseOutOfState, 25, 0);
    federalInterest(300);
    mark(kFormID_Fed166, Fed166::kTaxpayerBox);
    number(kFormID_Fed166, Fed166::kWorksheetFirstAmount, 20000);
    form51(1, Fed51::kTaxpayerBox, Fed51::kFirstKindBox, 70);
    mark(sheet(), W::kPartnershipFirstKindInterestOverrideYesBox);
    form89(1, Fed89::kTaxpayerBox, 100, 0, 0, 80);
    federalDividends(500);
    mark(kFormID_Fed164, Fed164::kSpouseBox);
    number(kFormID_Fed164, Fed164::kCapitalGainDistributions, 6000);
  }
  // Every stored value of the worksheet, protection aside.
  std::map<int, std::string> values() {
    std::map<int, std::string> out;
    for (const auto& f : ws().fields()) {
      const FieldValue& v = f.second;
      if (v.kind != FieldValue::kNull) out[f.first] = std::to_string(v.kind) + std::to_string(v.number) + v.text;
    }
    return out;
  }
  // `fields` entered (10, 11, ...) under `before` and calculated (an entry
  // stays, limited at most, while `open`), then `after` and a
  // calculation give what the same sources and the fields as then held,
  // calculated once under `after`, give.
  void expectAsFresh(const std::function<void()>& before, const std::function<void()>& after, const Fields& fields,
                     bool open = true) {
    restart();
    sources();
    before();
    for (std::size_t i = 0; i < fields.size(); ++i) enter(fields[i], 10.0 + i);
    run();
    for (const auto& f : fields) EXPECT_TRUE(!open || !ws().isNull(f)) << "an open entry stays: " << f.getNumber();
    after();
    run();
    std::vector<FieldValue> held;
    for (const auto& f : fields) held.push_back(ws().isNull(f) ? FieldValue::null() : FieldValue::of(amount(f)));
    const std::map<int, std::string> edited = values();
    restart();
    sources();
    after();
    for (std::size_t i = 0; i < fields.size(); ++i) put(sheet(), fields[i], held[i]);
    run();
    EXPECT_EQ(edited, values());
  }
};

TEST_F(IntDivWorksheetSwitchTest, AFilingStatusOrResidencySwitchLeavesWhatTheSameEntriesGiveAfresh) {
  // A single filer's totals, a joint filer's split of the same lines.
  const Fields totals = {W::kForfeitedInterestPenalty, W::kFirstOtherInterestSubtraction,
                         W::kEstateTrustInterestAdjustment, W::kFirstOtherDividendSubtraction,
                         W::kPartnershipFirstKindInterestUsed};
  const Fields splits = {W::kTaxpayerForfeitedInterestPenalty, W::kSpouseForfeitedInterestPenalty,
                         W::kTaxpayerFirstOtherInterestSubtraction, W::kSpouseFirstOtherInterestSubtraction,
                         W::kTaxpayerEstateTrustInterestAdjustment, W::kTaxpayerFirstOtherDividendSubtraction,
                         W::kSpouseFirstOtherDividendSubtraction, W::kTaxpayerPartnershipFirstKindInterestUsed,
                         W::kSpousePartnershipFirstKindInterestUsed};
  const auto notJoint = [this] { copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kJointBox); };
  const auto isJoint = [this] { joint(); };
  expectAsFresh([] {}, isJoint, totals);
  expectAsFresh(isJoint, notJoint, splits);
  expectAsFresh(isJoint, notJoint, totals);
  // The part-year lines, dividends included, go with the residency; a
  // full-year resident's group 3 amount is no entry of a part-year one.
  const Fields partYearEntries = {W::kTaxpayerPartYearDividendSubtraction,
                                  W::kTaxpayerPartYearExemptDividendsEntered,
                                  W::kTaxpayerPartYearInterestSubtraction, W::kTaxpayerPAExemptInterest};
  const auto fullYear = [this] { copyOf(kFormID_PAReturnInfo).setNull(PAReturnInfo::kPartYearResidentBox); };
  expectAsFresh([this] { partYear(); }, fullYear, partYearEntries);
  expectAsFresh([] {}, [this] { partYear(); }, partYearEntries, false);
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
    expectAmounts(ws(),
                  {{W::kPartnershipFirstKindInterestUsed, 70}, {W::kTaxpayerPartnershipFirstKindInterestUsed, 70}});
  }
}

}  // namespace
