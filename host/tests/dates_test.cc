#include "host/dates.h"

#include <gtest/gtest.h>

#include <ctime>

#include "host/stand_in.h"

namespace {

TEST(DayNumber, CountsFromFirstOfJanuary1900) {
  const struct {
    int m, d, y;
    long number;
  } cases[] = {
      {1, 1, 1900, 1},      {3, 1, 1900, 60},  // 1900 has no 29 February
      {12, 31, 1900, 365},  {1, 1, 2000, 36525},     {2, 29, 2000, 36584},
      {4, 17, 2018, 43206}, {12, 31, 9999, 2958464},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.m << "/" << c.d << "/" << c.y);
    EXPECT_EQ(Utils::dateToNumber(c.m, c.d, c.y), c.number);
    EXPECT_EQ(Utils::month(c.number), c.m);
    EXPECT_EQ(Utils::day(c.number), c.d);
    EXPECT_EQ(Utils::year(c.number), c.y);
  }
}

TEST(DayNumber, InvalidDatesAndTheirPartsGiveZero) {
  const int invalid[][3] = {{2, 29, 1900}, {2, 29, 2018}, {4, 31, 2018},  {13, 1, 2018},
                            {0, 1, 2018},  {1, 0, 2018},  {12, 31, 1899}, {1, 1, 10000}};
  for (const auto& v : invalid) {
    EXPECT_EQ(Utils::dateToNumber(v[0], v[1], v[2]), 0) << v[0] << "/" << v[1] << "/" << v[2];
  }
  for (long n : {0L, -1L, 2958465L}) {
    EXPECT_EQ(Utils::month(n) + Utils::day(n) + Utils::year(n), 0) << n;
  }
}

TEST(StrDateToNumber, AcceptedFormatsAndTheTwoDigitYearPivot) {
  const long apr17 = Utils::dateToNumber(4, 17, 2018);
  for (const char* text : {"4/17/2018", "04/17/2018", "4-17-2018", "04172018", "2018-04-17",
                           "4/17/18", "  4/17/2018\t"}) {
    EXPECT_EQ(Utils::strDateToNumber(text), apr17) << text;
  }
  EXPECT_EQ(Utils::strDateToNumber("12/31/49"), Utils::dateToNumber(12, 31, 2049));
  EXPECT_EQ(Utils::strDateToNumber("1/1/50"), Utils::dateToNumber(1, 1, 1950));
  EXPECT_EQ(Utils::strDateToNumber("6/5/00"), Utils::dateToNumber(6, 5, 2000));
}

TEST(StrDateToNumber, AnythingElseGivesZero) {
  const char* rejected[] = {nullptr,      "",           "   ",        "VARIOUS",    "INHERIT",
                            "2/30/2018",  "4-17-18",    "4/17/018",   "4/17/20180", "417/2018",
                            "4/17",       "2018-4-17",  "2018/04/17", "0417201",    "4/17/2018x",
                            "4 /17/2018", "123/1/2018", "13172018"};
  for (const char* text : rejected) {
    EXPECT_EQ(Utils::strDateToNumber(text), 0) << (text ? text : "(null)");
  }
}

TEST(CurrentDate, SettableAndResetToSystemDate) {
  Utils::setCurrentDate(4, 15, 2019);
  int m = 0, d = 0, y = 0;
  Utils::getCurrentDate(m, d, y, false);
  EXPECT_EQ(Utils::dateToNumber(m, d, y), Utils::dateToNumber(4, 15, 2019));

  StandIn::resetAll();
  Utils::getCurrentDate(m, d, y, false);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const long expected = Utils::dateToNumber(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
  // The day may turn between the two readings.
  const long got = Utils::dateToNumber(m, d, y);
  EXPECT_TRUE(got == expected || got + 1 == expected) << m << "/" << d << "/" << y;
}

}  // namespace
