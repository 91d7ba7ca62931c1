// Core calculations without a federal source: the host may hand the engine
// a federal return of another class, which the engine then holds as null;
// a PA Schedule C may be linked to no federal copy. Either is nothing to
// do rather than a read through nothing.
#include <gtest/gtest.h>

#include <string>

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


// Without the link box no field is written; the copy is marked entered
// only for PA business with a net profit or loss.
TEST_F(MissingFederalReturnTest, UnlinkedCopyIsOnlyMarkedEntered) {
  auto snapshot = [this](uint16_t copy) {
    DataMgmt::TaxForm& sched = copyOf(kFormID_PAScheduleC, copy);
    std::string all;
    for (const auto& field : sched.fields()) {
      all += std::to_string(field.first) + "=" + sched.valueText(field.first) +
             (field.second.isProtected ? " P;" : ";");
    }
    return all;
  };
  for (uint16_t copy : {1, 2}) {
    mark(kFormID_PAScheduleC, PAScheduleC::kAllPABusinessYesBox, copy);
    number(kFormID_PAScheduleC, PAScheduleC::kNetProfit, copy == 1 ? 250 : 0, copy);
    const std::string before = snapshot(copy);
    engine->computeScheduleC(holder(kFormID_PAScheduleC, copy), copy, 0);
    EXPECT_EQ(snapshot(copy), before) << "a field was written";
    EXPECT_EQ(copyOf(kFormID_PAScheduleC, copy).isDataEntered(), copy == 1);
  }
}

}  // namespace
