// The test-data text format shared by the engine's loader and tools that
// write it: "FORM:copy:FIELD:value" lines and the scaling of numbers by a
// field's edit code. Header-only, so a host program can write files the
// module reads without linking the module.
#ifndef TESTING_TEST_DATA_FORMAT_H_
#define TESTING_TEST_DATA_FORMAT_H_

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/rounding.h"

namespace TestDataFormat {

// The value that stores an explicit No in a check box or yes/no field (any
// case). "UNTRUE" empties a box and any other text marks it, "No" included;
// existing files never hold a bracketed value like this one or "[CopyNum]",
// so they load as before.
constexpr char kExplicitNo[] = "[NO]";

// The largest magnitude of a number the loader stores: ten billion, which
// in dollars is 10^12 whole cents. No real return comes near it. A field
// summed over 999 copies stays within Utils::kMaxWholeAmount, and the sum
// of every field (at most 2,000) of every copy of a form, in cents, within
// 2 * 10^18, well inside `long`. A larger number, or one too large to
// read, is refused: the line changes nothing.
constexpr double kMaxAmount = 1e10;
static_assert(kMaxAmount * 100 * 1000 <= Utils::kMaxWholeAmount,
              "999 copies of the largest amount in cents are a whole amount");

// The separators of a line: a run of colons counts as one, so that
// "pa40::1::Line1::100" and "PA40:1:Line1:100" are the same line.
constexpr char kSeparators[] = "::";
// Form name, copy, field name, value.
constexpr std::size_t kLineParts = 4;

// The parts of a line: the form name, the copy and the field name, each
// ended by a run of colons, and the value, which is everything after the
// third run, colons included ("418 Walnut St: Apt 2"), and may be empty
// (it clears the field). A line without a third run has fewer than four
// parts. A value cannot start with a colon: the run before it takes it.
inline std::vector<std::string> splitLine(const std::string& line) {
  std::vector<std::string> parts;
  parts.reserve(kLineParts);
  std::size_t start = line.find_first_not_of(kSeparators);
  while (start != std::string::npos && parts.size() + 1 < kLineParts) {
    const std::size_t end = line.find_first_of(kSeparators, start);
    if (end == std::string::npos) {
      parts.push_back(line.substr(start));
      return parts;
    }
    parts.push_back(line.substr(start, end - start));
    start = line.find_first_not_of(kSeparators, end);
  }
  if (parts.size() + 1 == kLineParts) parts.push_back(start == std::string::npos ? "" : line.substr(start));
  return parts;
}

// Whether the loader stores `number`: finite and at most kMaxAmount in
// magnitude.
inline bool acceptsAmount(double number) {
  return std::isfinite(number) && std::fabs(number) <= kMaxAmount;
}

// Why the text loader leaves a line out although its form and field exist
// (kStored: the line is stored as written). A line is stored exactly as
// written or not at all.
enum class LineProblem {
  kStored,
  kNulByte,          // the line holds a NUL byte: the text after it would be lost
  kBadCopy,          // the copy part is not decimal digits with an optional "+"
  kCopyOutOfRange,   // a copy below 1 or above the form's copy limit
  kNotANumber,       // a number field's value is not a plain decimal number
  kAmountOutOfRange  // a number beyond kMaxAmount in magnitude
};

// The copies a copy part names, from `first` to `last`.
struct CopyRange {
  unsigned first;
  unsigned last;
};

// Reads one copy number, the rule of every test-data reader: decimal
// digits only (no sign, blank, point, other base or text after them), in
// 1..maxCopies. `copy` is set only when kStored.
inline LineProblem readCopyNumber(const std::string& digits, unsigned maxCopies, unsigned* copy) {
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
    return LineProblem::kBadCopy;
  }
  // Past six digits every number is beyond any copy limit (at most 65535).
  const std::size_t significant = digits.size() - std::min(digits.find_first_not_of('0'), digits.size());
  const unsigned long number = significant > 6 ? 10000000UL : std::stoul(digits);
  if (number < 1 || number > maxCopies) return LineProblem::kCopyOutOfRange;
  *copy = unsigned(number);
  return LineProblem::kStored;
}

// Reads a copy part of a text line: a copy number (readCopyNumber), with
// a trailing "+" meaning every copy from 1 up to the number.
inline LineProblem readCopyPart(const std::string& text, unsigned maxCopies, CopyRange* range) {
  const bool upTo = !text.empty() && text.back() == '+';
  unsigned number = 0;
  const LineProblem problem = readCopyNumber(upTo ? text.substr(0, text.size() - 1) : text, maxCopies, &number);
  if (problem != LineProblem::kStored) return problem;
  *range = {upTo ? 1U : number, number};
  return LineProblem::kStored;
}

// The length of the plain decimal number at the start of `text`: an
// optional sign, digits with an optional point (at least one digit) and
// an optional exponent; 0 when there is none.
inline std::size_t decimalNumberLength(const std::string& text) {
  std::size_t at = text[0] == '+' || text[0] == '-' ? 1 : 0;
  const std::size_t start = at;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  std::size_t digits = at - start;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fraction = ++at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    digits += at - fraction;
  }
  if (digits == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t first = exponent;
    while (exponent < text.size() && std::isdigit(static_cast<unsigned char>(text[exponent]))) ++exponent;
    if (exponent > first) at = exponent;
  }
  return at;
}

// `text` without the blanks and tabs at either end.
inline std::string withoutBlanksAtEnds(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// The number a number field's value gives, and whether "RAND(n)" asked
// for a random amount between 0 and n (n truncated toward zero).
struct Amount {
  double number = 0;
  bool random = false;
};

// Reads the value of a number field. Blanks at either end are not part of
// it (" 7" and "100 " are numbers). What is left must be a plain decimal
// number ("1250.50", "-3", "1e3") or "RAND(n)" with such an n, at most
// kMaxAmount in magnitude. "NaN", "inf", "abc", "$500", "1,234.56", "0x10",
// "12abc" and a value of blanks only are not numbers (reading them would
// store 0, 1, 12 or 16 where the text says otherwise). The empty value is
// kStored with the number 0: it clears the field.
inline LineProblem readAmount(const std::string& value, Amount* amount) {
  *amount = Amount();
  if (value.empty()) return LineProblem::kStored;
  std::string text = withoutBlanksAtEnds(value);
  if (text.empty()) return LineProblem::kNotANumber;
  const std::string kRandomHead = "RAND(";
  amount->random = text.compare(0, kRandomHead.size(), kRandomHead) == 0 && text.back() == ')';
  if (amount->random) text = text.substr(kRandomHead.size(), text.size() - kRandomHead.size() - 1);
  if (text.empty() || decimalNumberLength(text) != text.size()) return LineProblem::kNotANumber;
  const double number = std::strtod(text.c_str(), nullptr);
  if (!acceptsAmount(number)) return LineProblem::kAmountOutOfRange;
  amount->number = amount->random ? std::trunc(number) : number;
  return LineProblem::kStored;
}

// Checks the value of a number field as readAmount reads it.
inline LineProblem checkAmountText(const std::string& value) {
  Amount amount;
  return readAmount(value, &amount);
}

// How a number read from test data is scaled into the stored amount, by
// the edit code of the field's validator: times `factor`, rounded to a
// whole number (Utils::roundR) first where `roundFirst`. Codes not listed
// store the number as read.
struct EditCodeScale {
  unsigned char editCode;
  double factor;
  bool roundFirst;
};

constexpr EditCodeScale kEditCodeScales[] = {
    {70, 100.0, true},  {170, 100.0, true}, {172, 100.0, true}, {71, 10.0, false},
    {72, 100.0, false}, {77, 100.0, false}, {73, 1e3, false},   {74, 1e4, false},
    {78, 1e4, false},   {79, 1e4, false},   {75, 1e5, false},   {76, 1e6, false},
};

inline EditCodeScale scaleOf(unsigned char editCode) {
  for (const EditCodeScale& scale : kEditCodeScales) {
    if (scale.editCode == editCode) return scale;
  }
  return {editCode, 1.0, false};
}

// The amount stored for `number` read into a field of `editCode`.
inline double scaleByEditCode(double number, unsigned char editCode) {
  const EditCodeScale scale = scaleOf(editCode);
  const double base = scale.roundFirst ? static_cast<double>(Utils::roundR(number)) : number;
  return base * scale.factor;
}

}  // namespace TestDataFormat

#endif  // TESTING_TEST_DATA_FORMAT_H_
