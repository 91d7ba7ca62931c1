// Utils::roundR: the host's rounding of a stored amount to a whole number.
//
// Half away from zero, with an allowance of 1e-9 for binary noise, so that
// 0.29 * 100 (stored as 28.999999999999996) reads back as 29 and 2.5 as 3.
// A non-finite value gives 0. Every whole-number read of a field goes
// through it.
//
// Whole amounts saturate at kMaxWholeAmount (10^15, ten trillion dollars in
// cents): a value beyond it in either direction gives the bound. No real
// return comes near it, every whole number up to it is exact in a double,
// and it lies far enough below the range of `long` (about 9.2 * 10^18) that
// a module can add over 9,000 whole amounts, or multiply one by a few
// thousand, without overflowing.
#ifndef HOST_ROUNDING_H_
#define HOST_ROUNDING_H_

#include "host/host_api.h"

namespace Utils {

constexpr long kMaxWholeAmount = 1000000000000000L;

HOST_API long roundR(double value);

// `value` limited to [-kMaxWholeAmount, kMaxWholeAmount] (ours).
inline long saturateWhole(long value) {
  return value > kMaxWholeAmount ? kMaxWholeAmount
                                 : (value < -kMaxWholeAmount ? -kMaxWholeAmount : value);
}

}  // namespace Utils

#endif  // HOST_ROUNDING_H_
