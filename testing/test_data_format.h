// The test-data text format shared by the engine's loader and tools that
// write it: "FORM:copy:FIELD:value" lines and the scaling of numbers by a
// field's edit code. Header-only, so a host program can write files the
// module reads without linking the module.
#ifndef TESTING_TEST_DATA_FORMAT_H_
#define TESTING_TEST_DATA_FORMAT_H_

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

// The separators of a line: a run of colons counts as one, so no part is
// ever empty and a value cannot hold a colon.
constexpr char kSeparators[] = "::";
// Form name, copy, field name, value.
constexpr std::size_t kLineParts = 4;

// The parts of a line, split at runs of colons.
inline std::vector<std::string> splitLine(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = line.find_first_not_of(kSeparators);
  while (start != std::string::npos) {
    const std::size_t end = line.find_first_of(kSeparators, start);
    parts.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : line.find_first_not_of(kSeparators, end);
  }
  return parts;
}

// The number a numeric value gives: the value read as a floating-point
// number (leading text that is no number gives 0), or for "RAND(n)", which
// asks for a random amount between 0 and n, n truncated toward zero.
struct NumberValue {
  double number;
  bool random;
};

inline NumberValue readNumberValue(const std::string& value) {
  const bool random = value.find("RAND") != std::string::npos;
  if (!random) return {std::strtod(value.c_str(), nullptr), false};
  const std::string inner = value.size() > 6 ? value.substr(5, value.size() - 6) : "";
  return {std::trunc(std::strtod(inner.c_str(), nullptr)), true};
}

// Whether the loader stores `number`: finite and at most kMaxAmount in
// magnitude.
inline bool acceptsAmount(double number) {
  return std::isfinite(number) && std::fabs(number) <= kMaxAmount;
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
