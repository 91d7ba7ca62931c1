#include <gtest/gtest.h>

#include "identifiers/tax_year_constants.h"

// The copy held by another source file (tax_year_second_source.cc).
const char* secondSourceYearText2019();
const char* secondSourceYearShort2020();

namespace {

TEST(TaxYearConstants, DecimalTextsWhoseTailsPointIntoTheStrings) {
  EXPECT_EQ(
      LongYearString(2018) + "/" + LongYearString(0) + "/" + LongYearString(-5) + "/" + LongYearString(20180),
      "2018/0/-5/20180");
  EXPECT_EQ(kYearText2018, kYearString2018.c_str());
  EXPECT_EQ(kYearShort2018, kYearText2018 + 2);
  EXPECT_STREQ(kYearShort2020, "20");
  EXPECT_STREQ(kYearText2014, "2014");
  // Each source file holds its own copy.
  EXPECT_STREQ(secondSourceYearText2019(), "2019");
  EXPECT_STREQ(secondSourceYearShort2020(), "20");
  EXPECT_NE(secondSourceYearText2019(), kYearText2019);
}

}  // namespace
