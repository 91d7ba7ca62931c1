// Every schedule and worksheet calculation takes an empty form holder, or
// a return without a PA return object, as nothing to do; an empty federal
// copy the host hands back in a walk is skipped.
#include <gtest/gtest.h>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

using Engine = PACalculationMgmt::PATaxReturnCalcEngine;
using Compute = void (Engine::*)(DataMgmt::TaxFormPtr, uint16_t, int);

struct Calculation {
  const char* name;
  Compute compute;
  const Primitives::OVImmutableFormIdentifier* form;
};

const Calculation kCalculations[] = {
    {"W2S", &Engine::computeScheduleW2S, &kFormID_PAScheduleW2S},
    {"IntDiv", &Engine::computeInterestDividendWorksheet, &kFormID_PAInterestDividendWorksheet},
    {"A", &Engine::computeScheduleA, &kFormID_PAScheduleA},
    {"B", &Engine::computeScheduleB, &kFormID_PAScheduleB},
    {"D", &Engine::computeScheduleD, &kFormID_PAScheduleD},
    {"GL", &Engine::computeScheduleGL, &kFormID_PAScheduleGL},
    {"J", &Engine::computeScheduleJ, &kFormID_PAScheduleJ},
    {"W2G", &Engine::computeW2GIncome, &kFormID_PAW2GIncome},
    {"OC", &Engine::computeScheduleOC, &kFormID_PAScheduleOC},
    {"Deductions", &Engine::computeDeductions, &kFormID_PADeductions},
    {"Vouchers", &Engine::computeEstimatedVouchers, &kFormID_PAEstimatedVouchers},
    {"EstTax", &Engine::computeEstimatedTaxWorksheet, &kFormID_PAEstimatedTaxWorksheet},
    {"DirectDeposit", &Engine::computeDirectDepositDebit, &kFormID_PADirectDepositDebit},
    {"UE", &Engine::computeScheduleUE, &kFormID_PAScheduleUE},
    {"Local", &Engine::computeLocalIncomeTaxReturn, &kFormID_PALocalIncomeTaxReturn},
    {"SP", &Engine::computeScheduleSP, &kFormID_PAScheduleSP},
};

class SchedulesGuardTest : public StateEngineTest {};

TEST_F(SchedulesGuardTest, AnEmptyFormHolderIsNothingToDo) {
  for (const Calculation& c : kCalculations) {
    (engine.get()->*c.compute)(DataMgmt::TaxFormPtr(), 1, 1);
    EXPECT_FALSE(pa->formExists(*c.form, 1)) << c.name;
  }
}

TEST_F(SchedulesGuardTest, AnEngineWithoutAPAReturnChangesNothing) {
  ProbeEngine orphan(federal(), nullptr, TaxFormPrintMgmt::TaxFormPrinterPtr());
  for (const Calculation& c : kCalculations) {
    DataMgmt::TaxFormPtr copy = holder(*c.form);
    (orphan.*c.compute)(copy, 1, 1);
    EXPECT_TRUE(copy->fields().empty()) << c.name;
  }
}

TEST_F(SchedulesGuardTest, AnEmptyFederalCopyInAWalkIsSkipped) {
  // Copy 1 of each walked form is an empty holder; copy 2 counts.
  federal()->getFormUVPtr(kFormID_FedDependents, 1, true) = DataMgmt::TaxFormPtr();
  federal()->getFormUVPtr(kFormID_Fed51, 1, true) = DataMgmt::TaxFormPtr();
  mark(kFormID_FedDependents, FedDependents::kIncludedBox, 2);
  text(kFormID_FedDependents, FedDependents::kRelationship, "SON", 2);
  mark(kFormID_Fed51, Fed51::kTaxpayerBox, 2);
  mark(kFormID_Fed51, Fed51::kFirstKindBox, 2);
  number(kFormID_Fed51, Fed51::kInterest, 100, 2);
  federal()->setCommonItem(1, 1);  // unmarried: Schedule SP keeps its Part B
  engine->computeScheduleSP(holder(kFormID_PAScheduleSP), 1, 1);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleSP, 1, PAScheduleSP::kDependentCount), 1);
  EXPECT_EQ(textOf(kFormID_PAScheduleSP, PAScheduleSP::kDependentRelationship.at(0)), "SON");
  engine->computeInterestDividendWorksheet(holder(kFormID_PAInterestDividendWorksheet), 1, 1);
  EXPECT_EQ(pa->getIN(kFormID_PAInterestDividendWorksheet, 1,
                      PAInterestDividendWorksheet::kTaxpayerPartnershipFirstKindInterest),
            100);
}

}  // namespace
