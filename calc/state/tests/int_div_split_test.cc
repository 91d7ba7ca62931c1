// Splitting one federal interest or dividend copy into the summary's kinds.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "calc/state/tests/int_div_fixture.h"

namespace {

using StateCalculationMgmt::IntDivSourceAmounts;

class IntDivSplitTest : public IntDivTest {
 protected:
  IntDivSourceAmounts split166(uint16_t copy = 1) {
    IntDivSourceAmounts a;
    engine->readForm166Interest(kFormID_Fed166, copy, &a);
    return a;
  }
  IntDivSourceAmounts split164(uint16_t copy = 1) {
    IntDivSourceAmounts a;
    engine->readForm164Dividends(kFormID_Fed164, copy, &a);
    return a;
  }
  // A share over nothing is 0, not the rounding of 0 / 0: the split
  // raises no invalid-operation or division-by-zero flag.
  template <class Split>
  static IntDivSourceAmounts splitWithoutDivisionByZero(Split split) {
    std::feclearexcept(FE_ALL_EXCEPT);
    const IntDivSourceAmounts a = split();
    EXPECT_FALSE(std::fetestexcept(FE_INVALID | FE_DIVBYZERO));
    for (double v : {a.net, a.regular, a.usObligations, a.exemptTotal, a.inState, a.outOfState}) {
      EXPECT_TRUE(std::isfinite(v));
    }
    return a;
  }
};

TEST_F(IntDivSplitTest, Form166AmountsAreHundredths) {
  // Regular 10 and 17, U.S. 12 and 54, exempt 197490 + 48 with 83 + 84 from
  // this state, early-withdrawal penalty 53 moved from regular to U.S.
  source(kFormID_Fed166, 1,
         {{10, 10000}, {17, 2000}, {12, 3000}, {54, 1000}, {197490, 5000}, {48, 1000}, {83, 1500}, {84, 500},
          {53, 700}},
         {4});
  const IntDivSourceAmounts a = split166();
  EXPECT_DOUBLE_EQ(a.net, 100 + 20 + 30 + 10 + 60);
  EXPECT_DOUBLE_EQ(a.regular, 120 - 7);
  EXPECT_DOUBLE_EQ(a.usObligations, 40 + 7);
  EXPECT_DOUBLE_EQ(a.exemptTotal, 60);
  EXPECT_DOUBLE_EQ(a.inState, 20);
  EXPECT_DOUBLE_EQ(a.outOfState, 40);
  EXPECT_EQ(a.owner, 2);
  EXPECT_TRUE(a.hasAmount);
}

TEST_F(IntDivSplitTest, Form166SharesTheGivenBackAmountOverTheKinds) {
  source(kFormID_Fed166, 1, {{10, 30000}, {12, 10000}, {27, 4000}});
  const IntDivSourceAmounts a = split166();
  EXPECT_DOUBLE_EQ(a.regular, 300 - 30);
  EXPECT_DOUBLE_EQ(a.usObligations, 100 - 10);
  EXPECT_DOUBLE_EQ(a.net, 360);
}

// No exempt interest: the in-state share of the remainder has nothing to
// be shared over and is 0 (not the rounding of 0 / 0).
TEST_F(IntDivSplitTest, Form166WithoutExemptInterestSharesNothingToTheExemptKinds) {
  source(kFormID_Fed166, 1, {{10, 10000}, {27, 10000}});
  const IntDivSourceAmounts a = splitWithoutDivisionByZero([this] { return split166(); });
  EXPECT_DOUBLE_EQ(a.regular, 0);
  EXPECT_DOUBLE_EQ(a.inState, 0);
  EXPECT_DOUBLE_EQ(a.outOfState, 0);
  EXPECT_DOUBLE_EQ(a.net, 0);
  EXPECT_TRUE(a.hasAmount) << "the amount before the give-back counts";
}

TEST_F(IntDivSplitTest, Form166WithOnlyAGivenBackAmountDividesByNothing) {
  source(kFormID_Fed166, 1, {{27, 2500}});
  const IntDivSourceAmounts a = splitWithoutDivisionByZero([this] { return split166(); });
  EXPECT_DOUBLE_EQ(a.regular, 0);
  EXPECT_DOUBLE_EQ(a.usObligations, 0);
  EXPECT_FALSE(a.hasAmount);
}

TEST_F(IntDivSplitTest, Form166GivenBackFromUSObligationsWhenMarked) {
  source(kFormID_Fed166, 1, {{12, 10000}, {27, 2000}}, {25, 3});
  const IntDivSourceAmounts a = split166();
  EXPECT_DOUBLE_EQ(a.usObligations, 80);
  EXPECT_EQ(a.owner, 1);
}

TEST_F(IntDivSplitTest, Form164SplitsUSPercentageExemptAndInState) {
  source(kFormID_Fed164, 1, {{6, 20000}, {40, 2500}, {41, 3000}, {52, 5000}});
  const IntDivSourceAmounts a = split164();
  EXPECT_DOUBLE_EQ(a.usObligations, 50);
  EXPECT_DOUBLE_EQ(a.regular, 150);
  EXPECT_DOUBLE_EQ(a.exemptTotal, 30);
  EXPECT_DOUBLE_EQ(a.inState, 30) << "never above the exempt total";
  EXPECT_DOUBLE_EQ(a.outOfState, 0);
  EXPECT_DOUBLE_EQ(a.net, 230);
}

TEST_F(IntDivSplitTest, Form164WithoutExemptDividendsSharesTheGivenBackAmountSafely) {
  source(kFormID_Fed164, 1, {{6, 10000}, {32, 1000}});
  const IntDivSourceAmounts a = splitWithoutDivisionByZero([this] { return split164(); });
  EXPECT_DOUBLE_EQ(a.regular, 90);
  EXPECT_DOUBLE_EQ(a.inState, 0);
  EXPECT_DOUBLE_EQ(a.outOfState, 0);
  EXPECT_DOUBLE_EQ(a.net, 90);
}

TEST_F(IntDivSplitTest, Form164RestrictedStockHasNoKinds) {
  source(kFormID_Fed164, 1, {{6, 10000}, {41, 2000}, {7, 500}}, {19});
  const IntDivSourceAmounts a = split164();
  EXPECT_DOUBLE_EQ(a.regular, 0);
  EXPECT_DOUBLE_EQ(a.exemptTotal, 0);
  EXPECT_DOUBLE_EQ(a.net, 120);
  EXPECT_TRUE(a.hasAmount);
}

// Forms 51 and 89 hold whole dollars.
TEST_F(IntDivSplitTest, Forms51And89AreReadAsWholeDollars) {
  struct Row {
    FormId form;
    bool dividends;
    std::map<int, double> fields;
    int ownerBox;
    double net, regular, us, exempt, inState, outOfState;
  };
  const Row rows[] = {
      {kFormID_Fed51, false, {{17, 500}, {341, 100}, {209, 80}, {383, 30}}, 367, 580, 400, 100, 80, 30, 50},
      {kFormID_Fed89, false, {{15, 500}, {139, 100}, {130, 80}, {153, 90}}, 146, 580, 400, 100, 80, 90, 0},
      {kFormID_Fed51, true, {{18, 300}, {381, 20}, {209, 80}}, 367, 300, 280, 20, 0, 0, 0},
      {kFormID_Fed89, true, {{16, 300}, {151, 20}}, 146, 300, 280, 20, 0, 0, 0},
  };
  uint16_t copy = 0;
  for (const Row& row : rows) {
    ++copy;
    source(row.form, copy, row.fields, {row.ownerBox});
    IntDivSourceAmounts a;
    if (row.dividends) {
      engine->readForm51Or89Dividends(row.form, copy, &a);
    } else {
      engine->readForm51Or89Interest(row.form, copy, &a);
    }
    SCOPED_TRACE(::testing::Message() << row.form.getNumber() << (row.dividends ? " dividends" : " interest"));
    EXPECT_DOUBLE_EQ(a.net, row.net);
    EXPECT_DOUBLE_EQ(a.regular, row.regular);
    EXPECT_DOUBLE_EQ(a.usObligations, row.us);
    EXPECT_DOUBLE_EQ(a.exemptTotal, row.exempt);
    EXPECT_DOUBLE_EQ(a.inState, row.inState);
    EXPECT_DOUBLE_EQ(a.outOfState, row.outOfState);
    EXPECT_EQ(a.owner, 1);
    EXPECT_TRUE(a.hasAmount);
  }
}

TEST_F(IntDivSplitTest, AnotherFormGivesNothing) {
  source(kFormID_Fed166, 1, {{17, 500}});
  IntDivSourceAmounts a;
  a.net = 9;
  engine->readForm51Or89Interest(kFormID_Fed166, 1, &a);
  EXPECT_DOUBLE_EQ(a.net, 0);
  EXPECT_FALSE(a.hasAmount);
}

}  // namespace
