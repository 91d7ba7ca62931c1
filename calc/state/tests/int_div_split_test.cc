// Splitting one federal interest or dividend copy into the summary's kinds.
#include <gtest/gtest.h>

#include <cfenv>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

using StateCalculationMgmt::IntDivSourceAmounts;

class IntDivSplitTest : public StateEngineTest {
 protected:
  // net, regular, U.S., exempt, in state, out of state, owner, has amount.
  // A share over nothing is 0, not the rounding of 0 / 0: no split raises
  // an invalid-operation or division-by-zero flag.
  std::vector<double> split(const FormId& form, uint16_t copy, bool dividends = false) {
    IntDivSourceAmounts a;
    std::feclearexcept(FE_ALL_EXCEPT);
    if (form == kFormID_Fed166) {
      engine->readForm166Interest(form, copy, &a);
    } else if (form == kFormID_Fed164) {
      engine->readForm164Dividends(form, copy, &a);
    } else if (dividends) {
      engine->readForm51Or89Dividends(form, copy, &a);
    } else {
      engine->readForm51Or89Interest(form, copy, &a);
    }
    EXPECT_FALSE(std::fetestexcept(FE_INVALID | FE_DIVBYZERO));
    return {a.net,     a.regular,    a.usObligations, a.exemptTotal,
            a.inState, a.outOfState, double(a.owner), double(a.hasAmount)};
  }
};

// Form 166 holds hundredths: regular, U.S. and exempt interest with its
// in-state part, the U.S. subtraction moved from regular to U.S.; the
// shared amount spread over the kinds (none to exempt kinds that are 0),
// or taken from the U.S. obligations when marked.
TEST_F(IntDivSplitTest, Form166) {
  source(kFormID_Fed166, 1,
         {{Fed166::kInterestIncome, 10000},
          {Fed166::kSecondRegularInterest, 2000},
          {Fed166::kUsObligationInterest, 3000},
          {Fed166::kSecondUsObligationInterest, 1000},
          {Fed166::kSecondExemptInterest, 5000},
          {Fed166::kThirdExemptInterest, 1000},
          {Fed166::kInStateExemptInterest, 1500},
          {Fed166::kSecondInStateExemptInterest, 500},
          {Fed166::kUsObligationSubtraction, 700}},
         {Fed166::kJointBox});
  source(kFormID_Fed166, 2,
         {{Fed166::kInterestIncome, 30000},
          {Fed166::kUsObligationInterest, 10000},
          {Fed166::kSharedAmount, 4000}});
  source(kFormID_Fed166, 3, {{Fed166::kInterestIncome, 10000}, {Fed166::kSharedAmount, 10000}});
  source(kFormID_Fed166, 4, {{Fed166::kSharedAmount, 2500}});
  source(kFormID_Fed166, 5, {{Fed166::kUsObligationInterest, 10000}, {Fed166::kSharedAmount, 2000}},
         {Fed166::kSharedAmountUsObligationsBox, Fed166::kSpouseBox});
  using V = std::vector<double>;
  EXPECT_EQ(split(kFormID_Fed166, 1), (V{220, 113, 47, 60, 20, 40, 2, 1}));
  EXPECT_EQ(split(kFormID_Fed166, 2), (V{360, 270, 90, 0, 0, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed166, 3), (V{0, 0, 0, 0, 0, 0, 0, 1})) << "the amount before the share counts";
  EXPECT_EQ(split(kFormID_Fed166, 4).back(), 0) << "a shared amount alone is no amount";
  EXPECT_EQ(split(kFormID_Fed166, 5), (V{80, 0, 80, 0, 0, 0, 1, 1}));
}

// Form 164: a U.S. percentage, in state never above the exempt total, no
// kinds for a restricted stock; forms 51 and 89 hold whole dollars; a
// 51/89 split of any other form gives nothing.
TEST_F(IntDivSplitTest, Forms164And51And89) {
  source(kFormID_Fed164, 1,
         {{Fed164::kOrdinaryDividends, 20000},
          {Fed164::kUsObligationPercentage, 2500},
          {Fed164::kExemptInterestDividends, 3000},
          {Fed164::kInStateExemptInterestDividends, 5000}});
  source(kFormID_Fed164, 2, {{Fed164::kOrdinaryDividends, 10000}, {Fed164::kSharedAmount, 1000}});
  source(kFormID_Fed164, 3,
         {{Fed164::kOrdinaryDividends, 10000},
          {Fed164::kExemptInterestDividends, 2000},
          {Fed164::kCapitalGainDistributions, 500}},
         {Fed164::kRestrictedStockBox});
  source(kFormID_Fed51, 1,
         {{Fed51::kInterest, 500},
          {Fed51::kUsObligationInterest, 100},
          {Fed51::kExemptInterest, 80},
          {Fed51::kInStateExemptInterest, 30},
          {Fed51::kDividends, 300},
          {Fed51::kUsObligationDividends, 20}},
         {Fed51::kSpouseBox});
  source(kFormID_Fed89, 1,
         {{Fed89::kInterest, 500},
          {Fed89::kUsObligationInterest, 100},
          {Fed89::kExemptInterest, 80},
          {Fed89::kInStateExemptInterest, 90},
          {Fed89::kDividends, 300},
          {Fed89::kUsObligationDividends, 20}});
  using V = std::vector<double>;
  EXPECT_EQ(split(kFormID_Fed164, 1), (V{230, 150, 50, 30, 30, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed164, 2), (V{90, 90, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed164, 3), (V{120, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed51, 1), (V{580, 400, 100, 80, 30, 50, 1, 1}));
  EXPECT_EQ(split(kFormID_Fed89, 1), (V{580, 400, 100, 80, 90, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed51, 1, true), (V{300, 280, 20, 0, 0, 0, 1, 1}));
  EXPECT_EQ(split(kFormID_Fed89, 1, true), (V{300, 280, 20, 0, 0, 0, 0, 1}));
  EXPECT_EQ(split(kFormID_Fed166, 1), (V{0, 0, 0, 0, 0, 0, 0, 0}));  // no such copy
  IntDivSourceAmounts a;
  a.net = 9;
  engine->readForm51Or89Interest(kFormID_Fed164, 1, &a);
  EXPECT_FALSE(a.hasAmount || a.net != 0);
}

}  // namespace
