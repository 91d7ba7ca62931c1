#include "host/rounding.h"

#include <cmath>

namespace Utils {

long roundR(double value) {
  if (!std::isfinite(value)) return 0;
  const double magnitude = std::fabs(value);
  double whole = std::floor(magnitude);
  if (magnitude - whole >= 0.5 - 1e-9) whole += 1.0;
  // Compared as a double, so huge values never reach the conversion.
  if (whole >= static_cast<double>(kMaxWholeAmount)) {
    return value < 0 ? -kMaxWholeAmount : kMaxWholeAmount;
  }
  const long rounded = static_cast<long>(whole);
  return value < 0 ? -rounded : rounded;
}

}  // namespace Utils
