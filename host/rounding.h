// Utils::roundR: the host's rounding of a stored amount to a whole number.
//
// Half away from zero, with an allowance of 1e-9 for binary noise, so that
// 0.29 * 100 (stored as 28.999999999999996) reads back as 29 and 2.5 as 3.
// A non-finite value gives 0; a value beyond the range of `long` is
// clamped to it. Every whole-number read of a field goes through it.
#ifndef HOST_ROUNDING_H_
#define HOST_ROUNDING_H_

#include "host/host_api.h"

namespace Utils {

HOST_API long roundR(double value);

}  // namespace Utils

#endif  // HOST_ROUNDING_H_
