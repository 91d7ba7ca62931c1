// Rounding of stored amounts and the value text of each edit code.
#include <cmath>
#include <limits>

#include "gtest/gtest.h"
#include "host/rounding.h"
#include "host/value_text.h"

namespace {

using DataMgmt::FieldValue;
using DataMgmt::numberText;
using DataMgmt::valueText;

TEST(RoundRTest, RoundsHalfAwayFromZeroWithNoiseAllowance) {
  struct Case {
    double in;
    long out;
  } cases[] = {
      {50.5, 51},        {-2.5, -3},          {2.4, 2},           {-0.4, 0},
      {0.29 * 100, 29},  {1.005 * 100, 101},  {2.4999999995, 3},  {2.499999, 2},
      {0.0, 0},          {-0.0, 0},           {1e14 + 0.5, 100000000000001L},
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, Utils::roundR(c.in)) << c.in;
}

TEST(RoundRTest, NonFiniteIsZeroAndHugeValuesSaturateAtTheWholeAmountBound) {
  const long kMax = Utils::kMaxWholeAmount;
  EXPECT_EQ(0, Utils::roundR(std::nan("")));
  EXPECT_EQ(0, Utils::roundR(std::numeric_limits<double>::infinity()));
  EXPECT_EQ(0, Utils::roundR(-std::numeric_limits<double>::infinity()));
  EXPECT_EQ(kMax, Utils::roundR(1e300));
  EXPECT_EQ(-kMax, Utils::roundR(-1e300));
  EXPECT_EQ(kMax, Utils::roundR(9223372036854775808.0));
  EXPECT_EQ(kMax, Utils::roundR(kMax - 0.5));
  EXPECT_EQ(kMax - 1, Utils::roundR(kMax - 0.75));
  EXPECT_EQ(-kMax, Utils::roundR(-kMax - 0.25));
}

TEST(ValueTextTest, NumbersFollowTheEditCode) {
  struct Case {
    unsigned char code;
    double value;
    const char* text;
  } cases[] = {
      {0, 1250, "1250"},      {0, 1249.5, "1250"},   {0, -2.5, "-3"},
      {'H', 1250, "12.50"},   {'M', 1250, "12.50"},  {'H', -1250, "-12.50"},
      {'H', -0.001, "0.00"},  {'J', 1250, "0.1250"}, {'N', 1250, "0.1250"},
      {'O', 1250, "0.1250"},  {'G', 1250, "125.0"},  {'I', 1250, "1.250"},
      {'K', 1250, "0.01250"}, {'L', 1250, "0.001250"}, {'F', 1250, "13"},
      {170, 1249, "12"},      {172, -1250, "-13"},   {1, 7, "7"},
      {'H', 123456789, "1234567.89"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, numberText(c.value, c.code)) << int(c.code) << " " << c.value;
    EXPECT_EQ(c.text, valueText(FieldValue::of(c.value), c.code));
  }
}

TEST(ValueTextTest, BoxesTextsAndNull) {
  const unsigned char kCheckBox = 0, kYesNo = 1;
  EXPECT_EQ("Y", valueText(FieldValue::mark(), kYesNo));
  EXPECT_EQ("N", valueText(FieldValue::no(), kYesNo));
  EXPECT_EQ("", valueText(FieldValue::null(), kYesNo));
  EXPECT_EQ("X", valueText(FieldValue::mark(), kCheckBox));
  EXPECT_EQ("", valueText(FieldValue::no(), kCheckBox));
  EXPECT_EQ("", valueText(FieldValue::null(), kCheckBox));
  EXPECT_EQ("X", valueText(FieldValue::mark(), 'H'));
  EXPECT_EQ(" 12 Main St ", valueText(FieldValue::ofText(" 12 Main St "), 'H'));
  EXPECT_EQ("", numberText(std::nan(""), 0));
}

}  // namespace
