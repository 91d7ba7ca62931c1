// The host may hand the engine a federal return of another class, which
// the engine then holds as null: every core calculation takes that as
// nothing to do rather than reading through it.
#include <gtest/gtest.h>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

using Engine = PACalculationMgmt::PATaxReturnCalcEngine;
using Compute = void (Engine::*)(DataMgmt::TaxFormPtr, uint16_t, int);

struct Calculation {
  const char* name;
  Compute compute;
  const Primitives::OVImmutableFormIdentifier* form;
};

const Calculation kCalculations[] = {
    {"PA-40", &Engine::computePA40, &kFormID_PA40},
    {"Schedule C", &Engine::computeScheduleC, &kFormID_PAScheduleC},
    {"Schedule D worksheet", &Engine::computeScheduleDWorksheet, &kFormID_PAScheduleDWorksheet},
    {"PA W-2", &Engine::computePAW2, &kFormID_PAW2},
    {"Schedule E", &Engine::computeScheduleE, &kFormID_PAScheduleE},
    {"Misc-comp worksheet", &Engine::computeMiscCompWorksheet, &kFormID_PAMiscCompWorksheet},
};

class MissingFederalReturnTest : public StateEngineTest {};

TEST_F(MissingFederalReturnTest, CoreCalculationsDoNothing) {
  ProbeEngine engineWithoutFederal(nullptr, pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr());
  for (const Calculation& c : kCalculations) {
    DataMgmt::TaxFormPtr copy = holder(*c.form);
    (engineWithoutFederal.*c.compute)(copy, 1, 1);
    EXPECT_TRUE(copy->fields().empty()) << c.name;
  }
}

}  // namespace
