// The test-data text format shared by the engine's loader and tools that
// write it: "FORM:copy:FIELD:value" lines and the scaling of numbers by a
// field's edit code. Header-only, so a host program can write files the
// module reads without linking the module.
#ifndef TESTING_TEST_DATA_FORMAT_H_
#define TESTING_TEST_DATA_FORMAT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/rounding.h"

namespace TestDataFormat {

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
