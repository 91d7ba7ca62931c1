// The calculations that settle a return, against an engine whose
// calculation changes one PA-40 value until a given calculation and never
// after: the data file is written of the value that stays, the counts are
// bounded, a write that fails proves nothing, and the automated-test hooks
// run once, after the return settled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/configuration.h"
#include "host/descriptors.h"
#include "host/tax_return.h"
#include "host/us_tax_return.h"
#include "pahost/settling.h"

namespace {

const DataMgmt::FormId kPA40(169, true);
const DataMgmt::FieldId kLine(244);
// A calculation that never stops changing the value.
const int kNever = 1000;

// Calculation n writes min(n, settlesOn) into the line, noting whether the
// host ran its automated-test hooks at the end of it.
class SettlingEngine : public CalculationMgmt::TaxReturnCalcEngine {
 public:
  SettlingEngine(TaxFormPrintMgmt::TaxFormPrinterPtr printer, DataMgmt::TaxReturn& pa, int settlesOn)
      : CalculationMgmt::TaxReturnCalcEngine(printer), pa_(pa), settlesOn_(settlesOn) {}
  void calcReturn(int) override {
    ++calculations;
    hooks.push_back(DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest());
    pa_.getFormOrCreate(kPA40, 1)->assignIR(kLine, calculations < settlesOn_ ? calculations : settlesOn_);
  }
  int calculations = 0;
  std::vector<bool> hooks;

 private:
  DataMgmt::TaxReturn& pa_;
  const int settlesOn_;
};

class SettlingTest : public ::testing::Test {
 protected:
  SettlingTest() : pa(DataMgmt::TaxReturnDesc::pennsylvania(), Utils::StringPool::shared()) {}
  void TearDown() override { DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(false); }

  double line() const { return pa.getIR(kPA40, 1, kLine); }
  // A writer that calculates, then writes the line; it fails before it
  // calculates on the calculation `failsOn` (0: never), or after it where
  // `afterCalculating` (its file cannot be put in place).
  std::function<bool()> writer(SettlingEngine& engine, int failsOn, bool afterCalculating = false) {
    return [this, &engine, failsOn, afterCalculating] {
      const bool fails = engine.calculations + 1 == failsOn;
      if (fails && !afterCalculating) return false;
      engine.calcReturn(0);
      written = line();
      return !fails;
    };
  }

  DataMgmt::USTaxReturn federal;
  DataMgmt::TaxReturn pa;
  TaxFormPrintMgmt::TaxFormPrinterPtr printer;
  double written = 0;
};

TEST_F(SettlingTest, TheFileWrittenIsOfTheValueThatStays) {
  const struct {
    int settlesOn;
    bool settled;
    int calculations;
  } kCases[] = {
      {1, true, 2},       // the writer's, and one that changes nothing
      {2, true, 3},       // writer, a change, the writer again
      {3, true, 4},       // writer, change, writer (change), no change: its file stands
      {7, true, 8},       // the last calculation allowed changes nothing
      {8, false, 8},      // the eighth still changes the value
      {kNever, false, 8},
  };
  for (const auto& c : kCases) {
    SettlingEngine engine(printer, pa, c.settlesOn);
    ReturnSettler settler(engine, federal, pa);
    written = 0;
    EXPECT_EQ(c.settled, settler.settleWriting(writer(engine, 0))) << c.settlesOn;
    EXPECT_EQ(c.settled, settler.settling().settled) << c.settlesOn;
    EXPECT_EQ(c.calculations, engine.calculations) << c.settlesOn;
    EXPECT_EQ(c.calculations, settler.settling().passes) << c.settlesOn;
    if (c.settled) {
      EXPECT_EQ(c.settlesOn, written) << c.settlesOn;
    } else {
      ASSERT_EQ(1u, settler.settling().lastChanges.size()) << c.settlesOn;
      EXPECT_EQ(kLine, settler.settling().lastChanges[0].field);
    }
  }
}

// A writer that fails before it calculates shows nothing settled: the
// calculations after it settle the return.
TEST_F(SettlingTest, AWriteThatFailsProvesNothing) {
  SettlingEngine engine(printer, pa, 3);
  ReturnSettler settler(engine, federal, pa);
  EXPECT_FALSE(settler.settleWriting(writer(engine, 3)));
  settler.settle();
  EXPECT_TRUE(settler.settling().settled);
  EXPECT_EQ(3, line());
  EXPECT_EQ(4, engine.calculations);
}

// The hooks run once, at the end of the writer's calculation after the
// return settled, and not at all on a return that does not.
TEST_F(SettlingTest, TheHooksRunOnceOnTheSettledReturn) {
  DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true);
  SettlingEngine settles(printer, pa, 2);
  ReturnSettler settler(settles, federal, pa);
  EXPECT_TRUE(settler.settleWriting(writer(settles, 0)));
  EXPECT_EQ((std::vector<bool>{false, false, false, true}), settles.hooks);
  EXPECT_EQ(2, written);
  EXPECT_TRUE(DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest());

  SettlingEngine never(printer, pa, kNever);
  ReturnSettler unsettled(never, federal, pa);
  unsettled.settle();
  EXPECT_EQ(std::vector<bool>(Settling::kMostPasses, false), never.hooks);
}

// A writer that calculates and then cannot put its file in place ran the
// hooks at the end of its calculation: settling the return for the report
// runs them no more.
TEST_F(SettlingTest, TheHooksRunOnceWhenTheirWriteFails) {
  DataMgmt::OrvaneConfiguration::getInstance().setAllowAutoTest(true);
  SettlingEngine engine(printer, pa, 1);
  ReturnSettler settler(engine, federal, pa);
  EXPECT_FALSE(settler.settleWriting(writer(engine, 3, true)));
  settler.settle();
  EXPECT_EQ((std::vector<bool>{false, false, true}), engine.hooks);
}

}  // namespace
