// Joining two texts with a blank into a fixed buffer.
#ifndef CALC_STATE_JOINED_TEXT_H_
#define CALC_STATE_JOINED_TEXT_H_

#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace StateCalculationMgmt {

// Writes `first`, one blank and `second` into `out` of `size` bytes, cut to
// size - 1 characters and ended by a NUL: what snprintf writes for
// "%s %s", without reading a format (a calculation joins names and
// employers by the dozen). With size 0 nothing is written. `out` must not
// overlap either text. Returns `out`.
inline char* joinWithBlank(char* out, std::size_t size, const char* first, const char* second) {
  if (size == 0) return out;
  std::size_t used = 0;
  for (const char* part : {first, " ", second}) {
    const std::size_t length = std::strlen(part);
    const std::size_t room = size - 1 - used;
    const std::size_t copied = length < room ? length : room;
    std::memcpy(out + used, part, copied);
    used += copied;
  }
  out[used] = '\0';
  return out;
}

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_JOINED_TEXT_H_
