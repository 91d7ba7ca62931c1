// Tax-year constants: the years 2014 to 2020 as strings, as C strings for
// printf-style formats, and as two-digit tails for dates.
//
// Every constant has internal linkage, so each source that includes this
// header holds its own copy, built at load in the order below and read only
// by that source. The text pointers and tails point into the strings of the
// same copy and stay valid until unload. There is no tail for 2014 or 2017.
#ifndef IDENTIFIERS_TAX_YEAR_CONSTANTS_H_
#define IDENTIFIERS_TAX_YEAR_CONSTANTS_H_

#include <string>

#include "identifiers/long_year_string.h"

namespace {

const std::string kYearString2017 = LongYearString(2017);
const std::string kYearString2018 = LongYearString(2018);
const std::string kYearString2019 = LongYearString(2019);
const std::string kYearString2020 = LongYearString(2020);
const std::string kYearString2016 = LongYearString(2016);
const std::string kYearString2015 = LongYearString(2015);
const std::string kYearString2014 = LongYearString(2014);

const char* const kYearText2017 = kYearString2017.c_str();
const char* const kYearText2018 = kYearString2018.c_str();
const char* const kYearText2019 = kYearString2019.c_str();
const char* const kYearText2020 = kYearString2020.c_str();
const char* const kYearText2016 = kYearString2016.c_str();
const char* const kYearText2015 = kYearString2015.c_str();
const char* const kYearText2014 = kYearString2014.c_str();

const char* const kYearShort2018 = kYearText2018 + 2;
const char* const kYearShort2019 = kYearText2019 + 2;
const char* const kYearShort2020 = kYearText2020 + 2;
const char* const kYearShort2016 = kYearText2016 + 2;
const char* const kYearShort2015 = kYearText2015 + 2;

}  // namespace

#endif  // IDENTIFIERS_TAX_YEAR_CONSTANTS_H_
