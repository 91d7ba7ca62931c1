#include "host/rounding.h"

#include <cmath>

namespace Utils {

long roundR(double value) {
  if (!std::isfinite(value)) return 0;
  const double magnitude = std::fabs(value);
  // Compared as a double, so huge values never reach the conversion.
  if (magnitude >= static_cast<double>(kMaxWholeAmount)) {
    return value < 0 ? -kMaxWholeAmount : kMaxWholeAmount;
  }
  // Below 10^15 the conversion cuts exactly what floor would.
  long rounded = static_cast<long>(magnitude);
  if (magnitude - static_cast<double>(rounded) >= 0.5 - 1e-9) ++rounded;
  return value < 0 ? -rounded : rounded;
}

}  // namespace Utils
