// Counting heap allocations, for tests that check that a step makes none
// or few. A test program that links allocations.cc counts every call of
// the ordinary operator new, whoever makes it (the host library included).
#ifndef HOST_TESTS_ALLOCATIONS_H_
#define HOST_TESTS_ALLOCATIONS_H_

#include <functional>

namespace TestAllocations {

// The operator new calls `step` makes.
long during(const std::function<void()>& step);

}  // namespace TestAllocations

#endif  // HOST_TESTS_ALLOCATIONS_H_
