#include "identifiers/long_year_string.h"

#include <sstream>
#include <stdexcept>

std::string LongYearString(int year) {
  std::ostringstream out;
  out << year;
  if (out.fail() || out.bad()) throw std::domain_error("LongYearString(int)");
  return out.str();
}
