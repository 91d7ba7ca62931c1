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

// Half away from zero with a 1e-9 allowance; NaN and infinity give 0; huge
// values saturate at the whole-amount bound.
TEST(RoundRTest, RoundsSaturatesAndDropsNonFinite) {
  const long kMax = Utils::kMaxWholeAmount;
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double in;
    long out;
  } cases[] = {
      {50.5, 51},         {-2.5, -3},         {2.4, 2},        {-0.4, 0},
      {0.29 * 100, 29},   {1.005 * 100, 101}, {2.4999999995, 3}, {2.499999, 2},
      {-0.0, 0},          {1e14 + 0.5, 100000000000001L},      {std::nan(""), 0},
      {inf, 0},           {-inf, 0},          {1e300, kMax},   {-1e300, -kMax},
      {9223372036854775808.0, kMax},          {kMax - 0.5, kMax},
      {kMax - 0.75, kMax - 1},                {-kMax - 0.25, -kMax},
  };
  for (const auto& c : cases) EXPECT_EQ(c.out, Utils::roundR(c.in)) << c.in;
}

TEST(ValueTextTest, NumbersFollowTheEditCode) {
  const struct {
    unsigned char code;
    double value;
    const char* text;
  } cases[] = {
      {0, 1249.5, "1250"},   {0, -2.5, "-3"},          {'H', 1250, "12.50"},
      {'H', -1250, "-12.50"}, {'H', -0.001, "0.00"},  {'H', 123456789, "1234567.89"},
      {'J', 1250, "0.1250"}, {'F', 1250, "13"},        {1, 7, "7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text, numberText(c.value, c.code)) << int(c.code) << " " << c.value;
    EXPECT_EQ(c.text, valueText(FieldValue::of(c.value), c.code));
  }
  EXPECT_EQ("", numberText(std::nan(""), 0));
}

TEST(ValueTextTest, BoxesTextsAndNull) {
  const unsigned char kCheckBox = 0, kYesNo = 1;
  const struct {
    FieldValue value;
    unsigned char code;
    const char* text;
  } cases[] = {
      {FieldValue::mark(), kYesNo, "Y"},    {FieldValue::no(), kYesNo, "N"},
      {FieldValue::null(), kYesNo, ""},     {FieldValue::mark(), kCheckBox, "X"},
      {FieldValue::no(), kCheckBox, ""},    {FieldValue::null(), kCheckBox, ""},
      {FieldValue::mark(), 'H', "X"},       {FieldValue::ofText(" 12 Main "), 'H', " 12 Main "},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, valueText(c.value, c.code)) << c.text;
}

}  // namespace
