// Listing the federal interest and dividend sources: the split of one
// copy into kinds (shares over nothing, limits) and the record groups
// (a group reserved at its size, a list that shrinks). The golden returns
// hold the splits and groups of every kind of source, a group starting the
// next summary copy and a return without sources.
#include <gtest/gtest.h>

#include <cfenv>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

using StateCalculationMgmt::IntDivSourceAmounts;
using IntDivSplitTest = StateEngineTest;

// net, regular, U.S., exempt, in state, out of state, has amount. A share
// over nothing is 0, not the rounding of 0 / 0: no split raises an
// invalid-operation or division-by-zero flag.
std::vector<double> split(ProbeEngine& engine, const Primitives::OVImmutableFormIdentifier& form, uint16_t copy) {
  IntDivSourceAmounts a;
  std::feclearexcept(FE_ALL_EXCEPT);
  if (form == kFormID_Fed166) {
    engine.readForm166Interest(form, copy, &a);
  } else if (form == kFormID_Fed164) {
    engine.readForm164Dividends(form, copy, &a);
  } else {
    engine.readForm51Or89Interest(form, copy, &a);
  }
  EXPECT_FALSE(std::fetestexcept(FE_INVALID | FE_DIVBYZERO));
  return {a.net, a.regular, a.usObligations, a.exemptTotal, a.inState, a.outOfState, double(a.hasAmount)};
}

// An amount shared away in full leaves no kind, a shared amount alone is no
// amount; form 164's in-state part is never above its exempt total; a
// 51/89 split of another form gives nothing.
TEST_F(IntDivSplitTest, SharesOverNothingAndLimits) {
  source(kFormID_Fed166, 1, {{Fed166::kInterestIncome, 10000}, {Fed166::kSharedAmount, 10000}});
  source(kFormID_Fed166, 2, {{Fed166::kSharedAmount, 2500}});
  source(kFormID_Fed164, 1,
         {{Fed164::kOrdinaryDividends, 20000},
          {Fed164::kUsObligationPercentage, 2500},
          {Fed164::kExemptInterestDividends, 3000},
          {Fed164::kInStateExemptInterestDividends, 5000}});
  using V = std::vector<double>;
  EXPECT_EQ(split(*engine, kFormID_Fed166, 1), (V{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(split(*engine, kFormID_Fed166, 2).back(), 0);
  EXPECT_EQ(split(*engine, kFormID_Fed164, 1), (V{230, 150, 50, 30, 30, 0, 1}));
  EXPECT_EQ(split(*engine, kFormID_Fed166, 3), (V{0, 0, 0, 0, 0, 0, 0}));  // no such copy
  EXPECT_EQ(split(*engine, kFormID_Fed164, 2), (V{0, 0, 0, 0, 0, 0, 0}));
  IntDivSourceAmounts a;
  a.net = 9;
  engine->readForm51Or89Interest(kFormID_Fed164, 1, &a);
  EXPECT_FALSE(a.hasAmount || a.net != 0);
}

class IntDivRecordsTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    engine->routeSummaries = false;  // records only; the probe shows which copies were calculated
  }
  // A 166 copy with regular, U.S. and exempt interest: a group of five.
  void fiveRecordSource(uint16_t copy) {
    source(kFormID_Fed166, copy,
           {{Fed166::kInterestIncome, 10000},
            {Fed166::kUsObligationInterest, 5000},
            {Fed166::kSecondExemptInterest, 3000}});
  }
  // A 166 copy whose regular interest is all shared away: no kind has an
  // amount, but the copy does: a header and a regular record.
  void zeroKindSource(uint16_t copy) {
    source(kFormID_Fed166, copy, {{Fed166::kInterestIncome, 10000}, {Fed166::kSharedAmount, 10000}});
  }
  // Records `from` to `to` of a copy, each followed by a blank.
  std::string records(const FormId& summary, int from, int to, uint16_t copy = 1) {
    std::string all;
    for (int k = from; k <= to; ++k) all += record(summary, k, copy) + " ";
    return all;
  }
  int summaryCalcs(const FormId& form, uint16_t copy) {
    int count = 0;
    for (const ProbeCall& call : engine->calls) count += call.form == form.getNumber() && call.copy == copy;
    return count;
  }
};

// A group of 5 and nine groups of 2 leave one record on copy 1; a group
// of 2 (a zero-kind source, or a restricted stock) must not take it and
// the name field after it.
TEST_F(IntDivRecordsTest, AGroupIsReservedAtItsExactSizeAndNeverReachesTheNameFields) {
  fiveRecordSource(1);
  for (uint16_t c = 2; c <= 11; ++c) zeroKindSource(c);
  source(kFormID_Fed164, 1,
         {{Fed164::kOrdinaryDividends, 10000},
          {Fed164::kUsObligationPercentage, 5000},
          {Fed164::kExemptInterestDividends, 2000}});
  for (uint16_t c = 2; c <= 10; ++c) source(kFormID_Fed164, c, {{Fed164::kOrdinaryDividends, 100}});
  source(kFormID_Fed164, 11, {{Fed164::kOrdinaryDividends, 100}}, {Fed164::kRestrictedStockBox});
  text(kFormID_State16, State16::kTaxpayerName, "NAME");
  text(kFormID_State17, State17::kTaxpayerName, "NAME");
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 23, 24) + records(kFormID_State16, 1, 2, 2),
            "||166||10||2  ||166||11||1 ||166||11||2 ");
  EXPECT_EQ(records(kFormID_State17, 23, 24) + records(kFormID_State17, 1, 2, 2),
            "||164||10||6  ||164||11||1 ||164||11||9 ");
  EXPECT_EQ(textOf(kFormID_State16, State16::kTaxpayerName), "NAME");
  EXPECT_EQ(textOf(kFormID_State17, State17::kTaxpayerName), "NAME");
}

// Records left over from a longer list are stale: every later copy is
// emptied and calculated again, so its summary rows drop the removed
// sources before the allocation form adds them up.
TEST_F(IntDivRecordsTest, AShrinkingListEmptiesTheRecordsOfEveryLaterCopy) {
  for (uint16_t c = 1; c <= 6; ++c) fiveRecordSource(c);  // copies 1 and 2
  source(kFormID_Fed164, 1, {{Fed164::kOrdinaryDividends, 5000}});
  listSummaries();
  ASSERT_EQ(record(kFormID_State16, 1, 2), "||166||5||1");
  for (uint16_t c = 2; c <= 6; ++c) {
    for (const FieldId& field :
         {Fed166::kInterestIncome, Fed166::kUsObligationInterest, Fed166::kSecondExemptInterest}) {
      put(kFormID_Fed166, field, FieldValue::null(), c);
    }
  }
  put(kFormID_Fed164, Fed164::kOrdinaryDividends, FieldValue::null());
  engine->calls.clear();
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 5, 6), "||166||1||5  ");
  EXPECT_EQ(records(kFormID_State16, 1, 24, 2), std::string(24, ' '));
  EXPECT_EQ(summaryCalcs(kFormID_State16, 2), 1);
  EXPECT_EQ(records(kFormID_State17, 1, 2), "  ") << "a list that shrinks to nothing";
}

}  // namespace
