#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "identifiers/tax_year_constants.h"

// The copy held by another source file (tax_year_second_source.cc).
const char* secondSourceYearText2019();
const char* secondSourceYearShort2020();

namespace {

TEST(LongYearString, DecimalText) {
  EXPECT_EQ(LongYearString(2018), "2018");
  EXPECT_EQ(LongYearString(0), "0");
  EXPECT_EQ(LongYearString(-5), "-5");
  EXPECT_EQ(LongYearString(20180), "20180");
}

TEST(TaxYearConstants, TextsAndTailsPointIntoTheStrings) {
  EXPECT_STREQ(kYearText2018, "2018");
  EXPECT_EQ(kYearText2018, kYearString2018.c_str());
  EXPECT_EQ(kYearShort2018, kYearText2018 + 2);
  EXPECT_STREQ(kYearShort2018, "18");
  EXPECT_STREQ(kYearShort2019, "19");
  EXPECT_STREQ(kYearShort2020, "20");
  EXPECT_STREQ(kYearShort2016, "16");
  EXPECT_STREQ(kYearShort2015, "15");
  EXPECT_STREQ(kYearText2014, "2014");
  EXPECT_STREQ(kYearText2017, "2017");
}

TEST(TaxYearConstants, EachSourceHoldsItsOwnCopy) {
  EXPECT_STREQ(secondSourceYearText2019(), "2019");
  EXPECT_STREQ(secondSourceYearShort2020(), "20");
  EXPECT_NE(secondSourceYearText2019(), kYearText2019);
}

}  // namespace
