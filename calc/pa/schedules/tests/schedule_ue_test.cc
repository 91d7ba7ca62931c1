// PA Schedule UE: the owner off a joint return, the limits of the vehicle,
// office, moving and depreciation parts, and the net amount (the golden
// returns hold the mileage rate, a spouse's schedule, a third's share and
// ratio and a move of 35 miles).
#include <algorithm>

#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"

namespace {

namespace UE = PAScheduleUE;

class ScheduleUETest : public PA40Test {
 protected:
  DataMgmt::TaxForm& ue(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleUE, copy); }
  void enter(const FieldId& f, double value) { number(kFormID_PAScheduleUE, f, value); }
  bool closed(const FieldId& f) { return PA40Test::closed(kFormID_PAScheduleUE, f); }
};

// On a return that is not joint every copy is the taxpayer's.
TEST_F(ScheduleUETest, OffAJointReturnEveryCopyIsTheTaxpayers) {
  mark(kFormID_PAScheduleUE, UE::kSpouseBox, 2);
  compute(kFormID_PAScheduleUE, 2);
  EXPECT_TRUE(ue(2).xMarked(UE::kTaxpayerBox) && ue(2).isProtected(UE::kTaxpayerBox));
  EXPECT_TRUE(ue(2).isNo(UE::kSpouseBox) && ue(2).isProtected(UE::kSpouseBox));
  expectAmounts(ue(2), {{UE::kTaxpayerScheduleFlag, 1}, {UE::kSpouseScheduleFlag, 0}});
}

// The first copy's first box, marked by the calculation off a joint return,
// goes once the return is joint, where the user picks one of the three
// boxes; the user's pick stays.
TEST_F(ScheduleUETest, TheFirstCopyBoxMarkedOffAJointReturnGoesOnAJointOne) {
  setFilingStatus(PADataMgmt::kFilingSingle);
  compute(kFormID_PAScheduleUE);
  ASSERT_TRUE(ue().xMarked(UE::kFirstCopyFirstBox));
  put(kFormID_PAReturnInfo, PAReturnInfo::kSingleBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingJoint);
  compute(kFormID_PAScheduleUE);
  for (const FieldId& box : {UE::kFirstCopyFirstBox.id(), UE::kFirstCopySecondBox.id(), UE::kFirstCopyThirdBox.id()}) {
    EXPECT_FALSE(ue().xMarked(box)) << box;
  }
  mark(kFormID_PAScheduleUE, UE::kFirstCopyThirdBox);
  compute(kFormID_PAScheduleUE);
  EXPECT_TRUE(ue().xMarked(UE::kFirstCopyThirdBox));
}

// Actual costs: business miles above the total are cut to it, no total
// miles give no share.
TEST_F(ScheduleUETest, Vehicle) {
  struct Case {
    double business, total, heldShare, businessCost;
  } cases[] = {{1500, 1000, 1000000, 3000}, {100, 0, 0, 0}};
  for (const Case& c : cases) {
    restart();
    mark(kFormID_PAScheduleUE, UE::kActualExpensesBox);
    enter(UE::kBusinessMilesAtRate, 1000);
    enter(UE::kTotalBusinessMiles, c.business);
    enter(UE::kTotalVehicleMiles, c.total);
    enter(UE::kFirstVehicleCost, 3000);
    compute(kFormID_PAScheduleUE);
    EXPECT_EQ(ue().getIN(UE::kBusinessShare), c.heldShare) << c.business << "/" << c.total;
    expectAmounts(ue(),
                  {{UE::kTotalBusinessMiles, std::min(c.business, c.total)}, {UE::kVehicleExpenses, c.businessCost}});
    EXPECT_TRUE(closed(UE::kBusinessMilesAtRate));
  }
}

// The office needs three yes answers: an unanswered one defaults to no and
// closes it; a move of 34 miles asks the military pair and opens nothing.
TEST_F(ScheduleUETest, OfficeAndMovingClosed) {
  for (const FieldId& box : {UE::kOfficeFirstYesBox.id(), UE::kOfficeSecondYesBox.id()}) {
    mark(kFormID_PAScheduleUE, box);
  }
  enter(UE::kOfficeFirstExpense, 900);
  enter(UE::kNewWorkplaceMiles, 100);
  enter(UE::kOldWorkplaceMiles, 66);
  enter(UE::kFirstMovingExpense, 400);
  compute(kFormID_PAScheduleUE);
  EXPECT_TRUE(ue().xMarked(UE::kOfficeThirdNoBox) && closed(UE::kOfficeFirstExpense));
  EXPECT_EQ(ue().getIR(UE::kMovingLine), 0);
  EXPECT_TRUE(ue().xMarked(UE::kMilitaryMoveNoBox));
}

// The military pair is asked while the distance test fails; a move that
// passes it later has no answer of the calculation's left there, and a
// Yes the user marked stays.
TEST_F(ScheduleUETest, TheMilitaryAnswerGoesOnceTheDistancePasses) {
  for (bool militaryYes : {false, true}) {
    restart();
    enter(UE::kNewWorkplaceMiles, 5);
    if (militaryYes) mark(kFormID_PAScheduleUE, UE::kMilitaryMoveYesBox);
    compute(kFormID_PAScheduleUE);
    ASSERT_TRUE(ue().xMarked(militaryYes ? UE::kMilitaryMoveYesBox : UE::kMilitaryMoveNoBox));
    enter(UE::kNewWorkplaceMiles, 1015);
    compute(kFormID_PAScheduleUE);
    EXPECT_EQ(ue().xMarked(UE::kMilitaryMoveYesBox), militaryYes);
    EXPECT_TRUE(ue().isNull(UE::kMilitaryMoveNoBox)) << militaryYes;
  }
}

TEST_F(ScheduleUETest, DepreciationRowsAreLimitedByTheirBasis) {
  struct Case {
    double basis, first, second, keptFirst, keptSecond;
  } cases[] = {{0, 50, 20, 0, 0},       {-5, 50, 20, 0, 0},    {100, 150, 20, 100, 0},
               {100, 100, 20, 100, 0},  {100, 60, 50, 60, 40}, {100, 60, 30, 60, 30}};
  for (const Case& c : cases) {
    restart();
    enter(UE::kThirdPropertyCostBasis, c.basis);
    enter(UE::kThirdPropertyPriorDepreciation, c.first);
    enter(UE::kThirdPropertyDepreciation, c.second);
    compute(kFormID_PAScheduleUE);
    EXPECT_EQ(ue().isNull(UE::kThirdPropertyDepreciation), c.basis <= 0) << c.basis;
    expectAmounts(ue(), {{UE::kThirdPropertyPriorDepreciation, c.keptFirst},
                         {UE::kThirdPropertyDepreciation, c.keptSecond},
                         {UE::kDepreciationLine, c.keptFirst + c.keptSecond}});
  }
}

TEST_F(ScheduleUETest, NetAmountAndDataEntered) {
  for (double reduction : {25, 200, 100}) {
    restart();
    enter(UE::kUnionDues, 10);
    enter(UE::kProfessionalFees, 15);
    enter(UE::kMiscellaneousExpenses, 75);
    enter(UE::kReduction, reduction);
    compute(kFormID_PAScheduleUE);
    expectAmounts(ue(), {{UE::kSummaryTotal, 100}, {UE::kNetExpenses, 100 - reduction}});  // may be below 0
    EXPECT_EQ(entered(kFormID_PAScheduleUE), reduction != 100);  // a net amount of 0 is no data
  }
}

}  // namespace
