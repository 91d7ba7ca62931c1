// computeScheduleUE: owner and header, vehicle, office, moving,
// depreciation and the net amount.
#include <algorithm>

#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"
#include "entry/return_codes.h"

namespace {

namespace UE = PAScheduleUE;
namespace Info = PAReturnInfo;

class ScheduleUETest : public PA40Test {
 protected:
  void run(uint16_t copy = 1) { engine->computeScheduleUE(holder(kFormID_PAScheduleUE, copy), copy, 1); }
  DataMgmt::TaxForm& ue(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleUE, copy); }
  void enter(const FieldId& f, double value) { number(kFormID_PAScheduleUE, f, value); }
  bool closed(const FieldId& f) { return ue().isNull(f) && ue().isProtected(f); }
};

// On a return that is not joint every copy is the taxpayer's; a spouse's
// schedule shows the spouse's name beside the return's first number.
TEST_F(ScheduleUETest, OwnerBoxesNamesAndFlags) {
  useInformationFormLines();
  enterTexts(copyOf(kFormID_PAReturnInfo), {{Info::kTaxpayerFirstName, "ann"}, {Info::kTaxpayerLastName, "lee"},
                                            {Info::kTaxpayerSSN, "111-22-3333"}, {Info::kSpouseFirstName, "bob"},
                                            {Info::kSpouseLastName, "lee"}, {Info::kSpouseSSN, "444-55-6666"}});
  mark(kFormID_PAScheduleUE, UE::kSpouseBox, 2);
  run(2);
  EXPECT_TRUE(ue(2).xMarked(UE::kTaxpayerBox) && ue(2).isProtected(UE::kTaxpayerBox));
  EXPECT_TRUE(ue(2).isNo(UE::kSpouseBox) && ue(2).isProtected(UE::kSpouseBox));
  expectAmounts(ue(2), {{UE::kTaxpayerScheduleFlag, 1}, {UE::kSpouseScheduleFlag, 0}});
  setFilingStatus(PADataMgmt::kFilingJoint);
  ue(2).setNull(UE::kTaxpayerBox);
  mark(kFormID_PAScheduleUE, UE::kSpouseBox, 2);
  run(2);
  EXPECT_EQ(ue(2).valueText(UE::kFilerName), "bob lee");
  EXPECT_EQ(ue(2).valueText(UE::kFilerSSN), "111-22-3333");
  expectAmounts(ue(2), {{UE::kTaxpayerScheduleFlag, 0}, {UE::kSpouseScheduleFlag, 1}});
}

// The mileage rate, or the business share of actual costs held at six
// places: business miles above the total are cut to it, no total miles
// give no share.
TEST_F(ScheduleUETest, Vehicle) {
  enter(UE::kBusinessMilesAtRate, 1000);
  run();
  expectAmounts(ue(), {{UE::kMileageAmount, 545}, {UE::kVehicleLine, 545}});
  struct Case {
    double business, total, heldShare, businessCost;
  } cases[] = {{1500, 1000, 1000000, 3000}, {100, 0, 0, 0}, {1, 3, 333333, 999.999}};
  for (const Case& c : cases) {
    restart();
    mark(kFormID_PAScheduleUE, UE::kActualExpensesBox);
    enter(UE::kBusinessMilesAtRate, 1000);
    enter(UE::kTotalBusinessMiles, c.business);
    enter(UE::kTotalVehicleMiles, c.total);
    enter(UE::kFirstVehicleCost, 3000);
    run();
    EXPECT_EQ(ue().getIN(UE::kBusinessShare), c.heldShare) << c.business << "/" << c.total;
    expectAmounts(ue(),
                  {{UE::kTotalBusinessMiles, std::min(c.business, c.total)}, {UE::kVehicleExpenses, c.businessCost}});
    EXPECT_TRUE(closed(UE::kBusinessMilesAtRate));
  }
}

// The office opens with three yes answers; its ratio is held at four
// places.
TEST_F(ScheduleUETest, Office) {
  for (const FieldId& box : {UE::kOfficeFirstYesBox.id(), UE::kOfficeSecondYesBox.id(), UE::kOfficeThirdYesBox.id()}) {
    mark(kFormID_PAScheduleUE, box);
  }
  enter(UE::kOfficeFirstExpense, 900);
  enter(UE::kOfficeRatioBase, 3);
  enter(UE::kOfficeRatioPart, 1);
  enter(UE::kOfficeFurtherAmount, 5);
  run();
  EXPECT_EQ(ue().getIN(UE::kOfficeRatio), 3333);
  expectAmounts(ue(), {{UE::kOfficeExpenses, 900 * 0.3333 + 5}, {UE::kOfficeLine, 305}});
  ue().setNull(UE::kOfficeThirdYesBox);
  run();  // the unanswered question defaults to no
  EXPECT_TRUE(ue().xMarked(UE::kOfficeThirdNoBox) && closed(UE::kOfficeFirstExpense));
}

// A distance of 35 opens the moving section without asking the military
// pair; 34 asks it.
TEST_F(ScheduleUETest, MovingDistanceTest) {
  for (double difference : {35, 34}) {
    restart();
    enter(UE::kNewWorkplaceMiles, 100);
    enter(UE::kOldWorkplaceMiles, 100 - difference);
    enter(UE::kFirstMovingExpense, 400);
    run();
    EXPECT_EQ(ue().getIR(UE::kMovingLine), difference == 35 ? 400 : 0) << difference;
    EXPECT_EQ(ue().xMarked(UE::kMilitaryMoveNoBox), difference == 34) << difference;
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
    run();
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
    run();
    expectAmounts(ue(), {{UE::kSummaryTotal, 100}, {UE::kNetExpenses, 100 - reduction}});  // may be below 0
    EXPECT_EQ(ue().isDataEntered() && ue().getCalcMark(), reduction != 100);  // a net amount of 0 is no data
  }
}

}  // namespace
