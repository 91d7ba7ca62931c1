// PA Schedule OC, other credits.
#include <vector>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class ScheduleOCTest : public PA40Test {
 protected:
  DataMgmt::TaxForm& sched() { return copyOf(kFormID_PAScheduleOC); }
  double value(const FieldId& field) { return sched().getIR(field); }
  void runOC() { engine->computeScheduleOC(holder(kFormID_PAScheduleOC), 1, 1); }

  // Line n (1-20): the amount and an entry in each companion field.
  void line(int n, double amount) {
    number(kFormID_PAScheduleOC, PAScheduleOC::kCreditAmount.at(n - 1), amount);
    for (const FieldId* companion : companions(n)) number(kFormID_PAScheduleOC, *companion, 1);
  }
  static std::vector<const FieldId*> companions(int n) {
    std::vector<const FieldId*> fields = {&PAScheduleOC::kCreditDescriptionCode.at(n - 1),
                                          &PAScheduleOC::kCreditAwardeeTaxID.at(n - 1)};
    if (n == 20) fields.push_back(&PAScheduleOC::kRestrictedCreditType.id());
    return fields;
  }
  // Whether line n's companions are open (entries kept) or closed (null).
  void expectOpen(int n, bool open) {
    for (const FieldId* companion : companions(n)) {
      EXPECT_EQ(sched().isProtected(*companion), !open) << "line " << n << " field " << *companion;
      EXPECT_EQ(sched().isNull(*companion), !open) << "line " << n << " field " << *companion;
    }
  }
};

TEST_F(ScheduleOCTest, EveryLineCountsAndAmountsNotAboveZeroCloseTheirCompanions) {
  for (int n = 1; n <= 20; ++n) line(n, 0);
  line(1, 100);
  line(2, -20);
  line(4, -5);
  line(13, 0.5);
  line(20, 50);
  runOC();
  EXPECT_DOUBLE_EQ(value(PAScheduleOC::kTotalCredits), 100 - 20 - 5 + 0.5 + 50);
  expectOpen(1, true);
  expectOpen(2, false);
  expectOpen(3, false);
  expectOpen(13, true);
  expectOpen(20, true);
  EXPECT_EQ(value(PAScheduleOC::kCreditDescriptionCode.at(3)), 1);  // line 4 leaves them as they are
  EXPECT_TRUE(sched().isDataEntered() && sched().getCalcMark());

  restart();
  line(5, 30);
  line(6, -30);
  runOC();
  EXPECT_EQ(value(PAScheduleOC::kTotalCredits), 0);
  EXPECT_FALSE(sched().isDataEntered() || sched().getCalcMark());
}

TEST_F(ScheduleOCTest, JointReturnCountsLinesEightAndNineOnlyAndKeepsTheOthers) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  for (int n : {1, 8, 9, 20}) line(n, 10 * n);
  mark(kFormID_PAScheduleOC, PAScheduleOC::kBusinessIncomeYesBox);
  runOC();
  EXPECT_EQ(value(PAScheduleOC::kTotalCredits), 80 + 90);
  for (int n : {1, 8, 9, 20}) expectOpen(n, true);
  EXPECT_TRUE(sched().xMarked(PAScheduleOC::kBusinessIncomeYesBox));  // not touched
  EXPECT_TRUE(sched().isNull(PAScheduleOC::kBusinessIncomeNoBox));

  // No longer joint: every line counts again.
  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingSingle);
  runOC();
  EXPECT_EQ(value(PAScheduleOC::kTotalCredits), 10 + 80 + 90 + 200);
}

// The business income answer the calculation gives off a joint return
// goes once the return is joint, which is not asked.
TEST_F(ScheduleOCTest, TheBusinessAnswerOfAReturnNotJointGoesOnAJointOne) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  line(1, 10);
  runOC();
  ASSERT_TRUE(sched().xMarked(PAScheduleOC::kBusinessIncomeNoBox));
  put(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingJoint);
  runOC();
  EXPECT_TRUE(sched().isNull(PAScheduleOC::kBusinessIncomeYesBox));
  EXPECT_TRUE(sched().isNull(PAScheduleOC::kBusinessIncomeNoBox));
}

}  // namespace
