// LongYearString: the decimal text of a year number, used to build the
// tax-year constants at load time.
#ifndef IDENTIFIERS_LONG_YEAR_STRING_H_
#define IDENTIFIERS_LONG_YEAR_STRING_H_

#include <string>

// Returns `year` as decimal digits (with a leading '-' when negative).
// Throws std::domain_error("LongYearString(int)") if the conversion fails.
std::string LongYearString(int year);

#endif  // IDENTIFIERS_LONG_YEAR_STRING_H_
