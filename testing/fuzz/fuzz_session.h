// The fuzz entry of the engine's file readers: the test-data text loader,
// the field-relations reader and the field-group (scrubber) reader.
//
// One session per process holds a federal return, a PA return and a PA
// engine over them, built on first use. Each input is written to a scratch
// file of the session and handed to one reader; afterwards every form of
// both returns is dropped and the PA return gets its few baseline entries
// back, so no input sees what an earlier one left. The relation runs'
// recalculations are left out (the engine's calculation has tests of its
// own): a fuzz run then manages thousands of inputs a second.
//
// The fuzz targets (fuzz_target.cc) and the regression test of the inputs
// the fuzzers found (testing/tests) both call runInput.
#ifndef TESTING_FUZZ_FUZZ_SESSION_H_
#define TESTING_FUZZ_FUZZ_SESSION_H_

#include <cstddef>
#include <cstdint>

namespace PAFuzz {

enum class Reader {
  kTextLoader,   // loadInputTextFile, into the federal and then the PA return
  kRelations,    // loadInputXmlFile, the input being the relations file
  kFieldGroups,  // scrubInputFields, the input being the field-group file
};

// Runs one input through `reader`.
void runInput(Reader reader, const uint8_t* data, std::size_t size);

}  // namespace PAFuzz

#endif  // TESTING_FUZZ_FUZZ_SESSION_H_
