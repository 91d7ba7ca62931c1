// Fixture of the tests of single PA-40 sections and engine helpers: the
// PA-40 fixture (pa40_fixture.h) under the name those tests use.
#ifndef CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_
#define CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_

#include "calc/pa/tests/pa40_fixture.h"

using PA40SectionTest = PA40Test;

#endif  // CALC_PA_TESTS_PA40_SECTIONS_FIXTURE_H_
