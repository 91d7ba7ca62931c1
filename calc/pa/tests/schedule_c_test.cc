// PA Schedule C on fixture returns.
#include <map>
#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "catalogs/fields/fields.h"

namespace {

class ScheduleCTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
  }
  // PA copy 1 linked to federal copy `fedCopy`, as the driver links it.
  void linked(int fedCopy = 1) {
    mark(kFormID_PAScheduleC, PAScheduleC::kFromFederalYesBox);
    number(kFormID_PAScheduleC, PAScheduleC::kFederalCopyNumber, fedCopy);
  }
  void fed(const FieldId& field, double value, uint16_t copy = 1) {
    number(kFormID_FedScheduleC, field, value, copy);
  }
  void enter(const FieldId& field, double value) { number(kFormID_PAScheduleC, field, value); }
  void run(uint16_t copy = 1) { engine->computeScheduleC(holder(kFormID_PAScheduleC, copy), copy, 0); }
  DataMgmt::TaxForm& sched(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleC, copy); }
  double amount(const FieldId& field) { return sched().getIR(field); }
  std::string pcText(const FieldId& field) { return textOf(kFormID_PAScheduleC, field); }
};

// Without the link box no field is written; the copy is marked entered
// only for PA business with a net profit or loss. (Whole returns with
// Schedule C are among the example returns.)
TEST_F(ScheduleCTest, UnlinkedCopyIsOnlyMarkedEntered) {
  auto snapshot = [this](uint16_t copy) {
    std::string all;
    for (const auto& field : sched(copy).fields()) {
      all += std::to_string(field.first) + "=" + sched(copy).valueText(field.first) +
             (field.second.isProtected ? " P;" : ";");
    }
    return all;
  };
  for (uint16_t copy : {1, 2}) {
    mark(kFormID_PAScheduleC, PAScheduleC::kAllPABusinessYesBox, copy);
    number(kFormID_PAScheduleC, PAScheduleC::kNetProfit, copy == 1 ? 250 : 0, copy);
    const std::string before = snapshot(copy);
    run(copy);
    EXPECT_EQ(snapshot(copy), before) << "a field was written";
    EXPECT_EQ(sched(copy).isDataEntered(), copy == 1);
  }
}

// An other-expense row or adjustment described as start-up costs counts
// nothing; start-up and organizational costs are capped at 5000 together;
// the marked third of a shared amount.
TEST_F(ScheduleCTest, OtherExpensesStartUpCostsAndShares) {
  linked();
  const auto& description = FedScheduleC::kOtherExpenseDescription;
  const auto& amountColumn = FedScheduleC::kOtherExpenseAmount;
  const char* const kRows[] = {"start up costs",    "Supplies",      "x", "x", "x", "x", "x",
                               "Start Up Expenses", "Start up costs"};
  for (int r = 0; r < 9; ++r) {
    text(kFormID_FedScheduleC, description.at(r), kRows[r]);
    fed(amountColumn.at(r), r < 2 ? 300 - 250 * r : 0);
  }
  fed(amountColumn.at(8), 70);
  fed(FedScheduleC::kLimitedExpense, 100);
  mark(kFormID_PAScheduleC, PAScheduleC::kStartUpCostsYesBox);
  enter(PAScheduleC::kStartUpCosts, 4000);
  enter(PAScheduleC::kOrganizationalCosts, 2200);
  mark(kFormID_PAScheduleC, PAScheduleC::kThirdShareBox);
  enter(PAScheduleC::kSharedAmount, 900);
  run();
  EXPECT_EQ(pcText(PAScheduleC::kOtherExpenseDescription.at(1)), " ");
  EXPECT_TRUE(sched().isNull(PAScheduleC::kOtherExpenseAmount.at(1)));
  EXPECT_EQ(pcText(PAScheduleC::kOtherExpenseDescription.at(2)), "SUPPLIES");
  EXPECT_EQ(pcText(PAScheduleC::kOtherExpenseDescription.at(8)), " ");
  EXPECT_EQ(amount(PAScheduleC::kStartUpPAAdjustment), 0);
  EXPECT_EQ(amount(PAScheduleC::kTotalOtherExpenses), 50);
  EXPECT_EQ(amount(PAScheduleC::kStartUpExpense), 5000);
  EXPECT_DOUBLE_EQ(amount(PAScheduleC::kThirdShareExpense), 900 * 0.33333);
}

}  // namespace
