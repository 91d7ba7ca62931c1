// PA Schedule W2-S: emptied rows, the mark, the boxes and the W-2 count.
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "return/return_codes.h"

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

// A row with any amount other than 0 is written, a negative sum too; a
// row of zeros is emptied (the golden returns hold the rows and totals).
TEST_F(ScheduleW2STest, RowsOfZerosAreEmptied) {
  paW2(1, true, 0, -5);
  number(kFormID_PAScheduleW2S, S::kSpouseMiscCompAmount, 5);  // an earlier run
  run();
  EXPECT_EQ(w2s().valueText(S::kSpouseWagesOwner), "S");
  expectAmounts(w2s(), {{S::kSpousePATaxWithheld, -5}});
  expectNull(w2s(), {S::kSpouseMiscCompAmount, S::kSpouseMiscCompOwner});
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
// The other-state wages box follows the federal W-2s the PA W-2 lists (a
// W-2 with wages of another state, here federal copy 19, whose PA W-2
// copy 2 is not calculated yet).
TEST_F(ScheduleW2STest, BoxesFollowTheFilingStatusAndTheW2sAndWorksheetSums) {
  mark(kFormID_PAScheduleW2S, S::kSpouseWagesDifferenceBox);
  run();
  EXPECT_TRUE(w2s().isNo(S::kSpouseWagesDifferenceBox) && w2s().isProtected(S::kSpouseWagesDifferenceBox));
  EXPECT_TRUE(w2s().isNo(S::kAnySituationBox));
  number(kFormID_FedW2, FedW2::kWages, 200000, 19);
  text(kFormID_FedW2, FedW2::kStateCode.at(1), "NY", 19);
  number(kFormID_FedW2, FedW2::kStateWages.at(1), 200000, 19);
  number(kFormID_PAMiscCompWorksheet, MC::kProblemCount, 3);
  run();
  for (const FieldId& box : {S::kOtherStateWagesBox.id(), S::kAnySituationBox.id(),
                             S::kCompensationWorksheetAttentionBox.id()}) {
    EXPECT_TRUE(w2s().xMarked(box)) << box.getNumber();
  }
}

// The other-state box counts only the W-2s the PA W-2 lists. A spouse's
// W-2 is listed on a joint return alone: its New York wages mark the box
// there and leave it No on a separate return.
TEST_F(ScheduleW2STest, ASpousesW2OfAnotherStateMarksTheBoxOnAJointReturnOnly) {
  for (const int status : {PADataMgmt::kFilingJoint, PADataMgmt::kFilingSeparate}) {
    restart();
    setFilingStatus(status);
    mark(kFormID_FedW2, FedW2::kSpouseBox);
    number(kFormID_FedW2, FedW2::kWages, 200000);
    text(kFormID_FedW2, FedW2::kStateCode.at(1), "NY");
    number(kFormID_FedW2, FedW2::kStateWages.at(1), 200000);
    run();
    const bool joint = status == PADataMgmt::kFilingJoint;
    EXPECT_EQ(w2s().xMarked(S::kOtherStateWagesBox), joint) << status;
    EXPECT_EQ(w2s().isNo(S::kOtherStateWagesBox), !joint) << status;
  }
}

// A W-2 without wages is not listed: the other state's wages and tax on it
// leave the box No.
TEST_F(ScheduleW2STest, AW2WithoutWagesLeavesTheOtherStateBoxNo) {
  text(kFormID_FedW2, FedW2::kStateCode.at(1), "NY");
  number(kFormID_FedW2, FedW2::kStateWages.at(1), 200000);
  number(kFormID_FedW2, FedW2::kStateIncomeTax.at(1), 5000);
  run();
  EXPECT_TRUE(w2s().isNo(S::kOtherStateWagesBox));
}

// A federal W-2 without a name does not count, one of both persons twice.
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
