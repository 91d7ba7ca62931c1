// The value cleaners of the data-file writer. Each works in place on a
// value of at most 511 characters and never makes it longer than 511.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/dates.h"
#include "host/stand_in.h"
#include "host/string_utils.h"
#include "host/tif_writer.h"

namespace TifWriteMgmt {
namespace {

using Utils::isDigit;
using Utils::isLetter;
using Utils::keepOnly;

// Collapses runs of blanks to one and trims both ends, in place.
void collapseBlanks(char* value) {
  char* out = value;
  bool pendingBlank = false;
  for (const char* in = value; *in != '\0'; ++in) {
    if (*in == ' ') {
      pendingBlank = out != value;
      continue;
    }
    if (pendingBlank) *out++ = ' ';
    pendingBlank = false;
    *out++ = *in;
  }
  *out = '\0';
}

struct OfficeCodes {
  std::string district = "00";
  std::string office = "000";
  std::string serviceCenter = "00";
};

OfficeCodes& officeCodes() {
  static OfficeCodes codes;
  return codes;
}

const StandIn::ResetHook kResetOfficeCodes([] { officeCodes() = OfficeCodes(); });

char* copyCode(char* buf, const std::string& code) {
  Utils::safestrncpy(buf, code, kTifCodeSize);
  return buf;
}

}  // namespace

char* TifFileWriter::tifStringClean(char* value) {
  for (char* p = value; *p != '\0'; ++p) {
    if (!isLetter(*p) && !isDigit(*p) && std::strchr(" &'-,./#", *p) == nullptr) *p = ' ';
  }
  collapseBlanks(value);
  return value;
}

char* TifFileWriter::tifCleanAddressString(char* value) {
  return Utils::tifCleanAddressString(value);
}

void TifFileWriter::tifCleanAllAlphaSpaceStringDispatch(char* value) {
  keepOnly(value, [](char c) { return isLetter(c) || c == ' '; });
  collapseBlanks(value);
}

char* TifFileWriter::tifReformatDate(char* value) {
  const long number = Utils::strDateToNumber(value);
  if (number > 0) {
    std::snprintf(value, kTifValueSize, "%04d-%02d-%02d", Utils::year(number), Utils::month(number),
                  Utils::day(number));
  }
  return value;
}

char* TifFileWriter::tifReformatPhone(char* value) {
  keepOnly(value, isDigit);
  return value;
}

char* TifFileWriter::tifConvertPercentToDecimal(char* value, int digits, int x) {
  char* end = nullptr;
  const double number = std::strtod(value, &end);
  if (end == value || !std::isfinite(number)) {
    value[0] = '\0';
    return value;
  }
  if (digits < 0) digits = 0;
  if (digits > 15) digits = 15;
  std::snprintf(value, kTifValueSize, "%.*f", digits, x == 0 ? number / 100 : number);
  return value;
}

char* TifFileWriter::tifGetDistrictNum(char* buf) { return copyCode(buf, officeCodes().district); }
char* TifFileWriter::tifGetOfficeNum(char* buf) { return copyCode(buf, officeCodes().office); }
char* TifFileWriter::tifGetServiceCenter(char* buf) {
  return copyCode(buf, officeCodes().serviceCenter);
}

void TifFileWriter::setOfficeCodes(const std::string& district, const std::string& office,
                                   const std::string& serviceCenter) {
  officeCodes() = OfficeCodes{district, office, serviceCenter};
}

}  // namespace TifWriteMgmt
