// PA Schedule W2-S on fixture returns.
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"
#include "entry/return_codes.h"

namespace {

namespace S = PAScheduleW2S;
namespace MC = PAMiscCompWorksheet;

class ScheduleW2STest : public PA40Test {
 protected:
  DataMgmt::TaxForm& w2s() { return copyOf(kFormID_PAScheduleW2S); }
  void run() { engine->computeScheduleW2S(holder(kFormID_PAScheduleW2S), 1, 1); }
  // The PA compensation and tax withheld of a PA W-2 copy, the taxpayer's
  // or the spouse's.
  void paW2(uint16_t copy, bool spouse, double compensation, double withheld) {
    number(kFormID_PAW2, spouse ? PAW2::kSpousePACompensation : PAW2::kTaxpayerPACompensation, compensation, copy);
    number(kFormID_PAW2, spouse ? PAW2::kSpousePATaxWithheld : PAW2::kTaxpayerPATaxWithheld, withheld, copy);
  }
  // The taxpayer's three amounts on a worksheet copy.
  void worksheet(uint16_t copy, double amount, double compensation, double withheld) {
    number(kFormID_PAMiscCompWorksheet, MC::kTaxpayerAmount, amount, copy);
    number(kFormID_PAMiscCompWorksheet, MC::kTaxpayerPACompensation, compensation, copy);
    number(kFormID_PAMiscCompWorksheet, MC::kTaxpayerPAWithholding, withheld, copy);
  }
};

TEST_F(ScheduleW2STest, RowsTotalsAndNotes) {
  paW2(1, false, 900, 30);
  paW2(2, false, 400, 20);
  paW2(2, true, 0, -5);  // a negative sum still writes the row
  worksheet(1, 111, 100, 10);
  worksheet(2, 0, 5, 1);
  number(kFormID_PAScheduleW2S, S::kSpouseMiscCompAmount, 5);  // an earlier run
  run();
  EXPECT_EQ(w2s().valueText(S::kTaxpayerWagesDescription), "TP - Wages");
  EXPECT_EQ(w2s().valueText(S::kSpouseWagesOwner), "S");
  EXPECT_EQ(w2s().valueText(S::kWagesWorksheetNote), "See Wks.");
  EXPECT_EQ(w2s().valueText(S::kTaxpayerMiscCompDescription), "TP - Misc. Comp.");
  expectNull(w2s(), {S::kSpouseMiscCompAmount, S::kSpouseMiscCompOwner});  // a row of zeros is emptied
  expectAmounts(w2s(), {{S::kSpousePATaxWithheld, -5},
                        {S::kWagesTotalPACompensation, 1300},
                        {S::kWagesTotalPATaxWithheld, 45},
                        {S::kMiscCompTotalPACompensation, 105},
                        {S::kTotalPACompensation, 1405},
                        {S::kTotalPATaxWithheld, 56}});
  EXPECT_TRUE(w2s().isDataEntered() && w2s().getCalcMark());
}

TEST_F(ScheduleW2STest, TheCopyIsMarkedByAWageTotalOfEitherSignButAPositiveCompensationTotal) {
  const struct {
    double wages, compensation, withheld;
    bool marked;
  } kCases[] = {{0, 0, 0, false}, {-10, 0, 0, true}, {0, 10, 0, true}, {0, 0, 10, true}, {0, -10, -10, false}};
  for (const auto& c : kCases) {
    restart();
    paW2(1, false, c.wages, 0);
    worksheet(1, 0, c.compensation, c.withheld);
    run();
    EXPECT_EQ(w2s().isDataEntered() && w2s().getCalcMark(), c.marked) << c.wages << " " << c.compensation;
  }
}

// Not joint: the spouse box is no and protected whatever the user marked,
// and the situation box follows the other boxes, those this run marks too.
TEST_F(ScheduleW2STest, BoxesFollowTheFilingStatusAndThePAW2AndWorksheetSums) {
  mark(kFormID_PAScheduleW2S, S::kSpouseWagesDifferenceBox);
  run();
  EXPECT_TRUE(w2s().isNo(S::kSpouseWagesDifferenceBox) && w2s().isProtected(S::kSpouseWagesDifferenceBox));
  EXPECT_TRUE(w2s().isNo(S::kAnySituationBox));
  number(kFormID_PAW2, PAW2::kSpouseWithholdingAboveRateCount, 2, 2);
  number(kFormID_PAW2, PAW2::kOtherStateWagesCount, 1, 2);
  number(kFormID_PAMiscCompWorksheet, MC::kProblemCount, 3);
  number(kFormID_PAMiscCompWorksheet, MC::kCodeHCount, 2);
  run();
  for (const FieldId& box : {S::kWithholdingRateBox.id(), S::kOtherStateWagesBox.id(), S::kAnySituationBox.id(),
                             S::kCompensationWorksheetAttentionBox.id()}) {
    EXPECT_TRUE(w2s().xMarked(box)) << box.getNumber();
  }
  EXPECT_EQ(w2s().valueText(S::kMiscCompWorksheetNote), "See Wks.");
}

// A federal W-2 of both persons counts twice; one without a name not at
// all.
TEST_F(ScheduleW2STest, W2CountCountsAW2OfBothTwice) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  for (uint16_t copy = 1; copy <= 3; ++copy) {
    if (copy != 3) mark(kFormID_FedW2, FedW2::kTaxpayerBox, copy);
    if (copy != 1) mark(kFormID_FedW2, FedW2::kSpouseBox, copy);
    if (copy != 3) text(kFormID_FedW2, FedW2::kEmployerName, "Acme", copy);
  }
  run();
  expectAmounts(w2s(), {{S::kW2Count, 3}});
}

}  // namespace
