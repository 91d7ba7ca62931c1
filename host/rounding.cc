#include "host/rounding.h"

#include <climits>
#include <cmath>

namespace Utils {

long roundR(double value) {
  if (!std::isfinite(value)) return 0;
  const double magnitude = std::fabs(value);
  double whole = std::floor(magnitude);
  if (magnitude - whole >= 0.5 - 1e-9) whole += 1.0;
  // 2^63 is exact as a double; anything at or above it does not fit.
  const double kLimit = 9223372036854775808.0;
  if (whole >= kLimit) return value < 0 ? LONG_MIN : LONG_MAX;
  const long rounded = static_cast<long>(whole);
  return value < 0 ? -rounded : rounded;
}

}  // namespace Utils
