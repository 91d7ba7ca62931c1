// PACalculationMgmt::FieldIntPair: a field identifier with a whole number
// that belongs to it (for example the code letter of an amount field).
//
// Tables of pairs end with an entry whose field is kNullFieldID. The pair
// holds its own copy of the identifier.
#ifndef CALC_PA_FIELD_INT_PAIR_H_
#define CALC_PA_FIELD_INT_PAIR_H_

#include <cstdint>

#include "host/identifier.h"

namespace PACalculationMgmt {

struct FieldIntPair {
  Primitives::OVImmutableIdentifier field;
  int32_t value = 0;
};

inline FieldIntPair makeFieldIntPair(Primitives::OVImmutableIdentifier field, int32_t value) {
  FieldIntPair pair;
  pair.field = field;
  pair.value = value;
  return pair;
}

}  // namespace PACalculationMgmt

#endif  // CALC_PA_FIELD_INT_PAIR_H_
