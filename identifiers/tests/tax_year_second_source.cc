// A second source including the tax-year header, to show per-file copies.
#include "identifiers/tax_year_constants.h"

const char* secondSourceYearText2019() { return kYearText2019; }
const char* secondSourceYearShort2020() { return kYearShort2020; }
