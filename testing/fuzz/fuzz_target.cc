// A libFuzzer target of one test-data reader; PA_FUZZ_READER names it
// (an enumerator of PAFuzz::Reader).
#include <cstddef>
#include <cstdint>

#include "testing/fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PAFuzz::runInput(PAFuzz::Reader::PA_FUZZ_READER, data, size);
  return 0;
}
