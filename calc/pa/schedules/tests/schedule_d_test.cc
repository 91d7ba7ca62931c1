// PA Schedule D: what an empty schedule shows, stale sale rows, the loss
// boxes, a spouse's residence, a residence loss and the spouses' entries
// on copy 1 (the golden returns hold worksheet totals and a joint
// residence).
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"

namespace {

namespace D = PAScheduleD;
namespace DW = PAScheduleDWorksheet;

class ScheduleDTest : public PA40Test {
 protected:
  // The residence on worksheet copy 1, with its owner box.
  void residence(const FieldId& ownerBox, double price, double gain) {
    mark(kFormID_PAScheduleDWorksheet, ownerBox);
    text(kFormID_PAScheduleDWorksheet, DW::kResidenceAddress, "12 MAIN ST");
    number(kFormID_PAScheduleDWorksheet, DW::kResidenceSalesPrice, price);
    number(kFormID_PAScheduleDWorksheet, DW::kResidenceGain, gain);
  }
  // Copy 2 first, as the driver runs them.
  void run(std::initializer_list<uint16_t> copies = {2, 1}) {
    for (uint16_t copy : copies) compute(kFormID_PAScheduleD, copy);
  }
  DataMgmt::TaxForm& sd(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleD, copy); }
};

// Without worksheet entries nothing refers to the worksheet and the copy is
// not marked; with them, sale rows 3 to 9 never keep an amount, and every
// line below 0 marks its loss box.
TEST_F(ScheduleDTest, TheWorksheetSummaryAndTheLossBoxes) {
  run({1});
  expectNull(sd(), {D::kWorksheetReference, D::kWorksheetSummary});
  EXPECT_FALSE(entered(kFormID_PAScheduleD));
  number(kFormID_PAScheduleDWorksheet, DW::kHasDataMark, 1.0);
  number(kFormID_PAScheduleDWorksheet, DW::kTaxpayerTotal, 100);
  for (int row = 0; row < D::kSaleGain.rows(); ++row) number(kFormID_PAScheduleD, D::kSaleGain.at(row), 5);
  number(kFormID_PAScheduleD, D::kScheduleD71Gain, -10);
  number(kFormID_PAScheduleD, D::kRK1Gain, 200);
  run({1});
  for (int row : {2, 8}) EXPECT_TRUE(sd().isNull(D::kSaleGain.at(row))) << row;
  expectAmounts(sd(), {{D::kSalesTotal, 100}, {D::kTotalGain, 100 - 10 + 200}});
  EXPECT_TRUE(sd().xMarked(D::kScheduleD71LossBox) && sd().isNo(D::kRK1LossBox) && sd().isNo(D::kTotalLossBox));
}

// A joint return's residence owned by one spouse goes wholly to that
// spouse's copy; a residence loss is never carried, not even on a copy
// without a share; a return that is not joint takes it whatever its owner.
TEST_F(ScheduleDTest, TheResidenceLine) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  residence(DW::kResidenceSpouseBox, 900, 500);
  run();
  EXPECT_TRUE(sd(1).isNull(D::kResidenceAddress));
  expectAmounts(sd(2), {{D::kResidenceGain, 500}});
  residence(DW::kResidenceSpouseBox, 100, -300);
  run();
  EXPECT_TRUE(sd(1).isNull(D::kResidenceSalesPrice) && !sd(1).isNull(D::kResidenceGain));
  expectAmounts(sd(1), {{D::kResidenceGain, 0}});
  expectAmounts(sd(2), {{D::kResidenceGain, 0}});
  restart();
  residence(DW::kResidenceSpouseBox, 100, -300);
  run({1});
  expectAmounts(sd(), {{D::kResidenceSalesPrice, 100}, {D::kResidenceGain, 0}});
}

// On a joint return the spouses' entries on copy 1 are protected on their
// copies; on any other return copy 2 is emptied and copy 1 keeps them open.
TEST_F(ScheduleDTest, TheSpousesEntriesOnCopyOne) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  number(kFormID_PAScheduleD, D::kTaxpayerScheduleD1GainEntry, 300);
  number(kFormID_PAScheduleD, D::kSpouseScheduleD1GainEntry, 200);
  run();
  EXPECT_TRUE(sd(1).isProtected(D::kScheduleD1Gain) && sd(2).isProtected(D::kScheduleD1Gain));
  EXPECT_TRUE(entered(kFormID_PAScheduleD, 2));
  restart();
  text(kFormID_PAScheduleD, D::kTitle, "OLD", 2);
  number(kFormID_PAScheduleD, D::kScheduleD1Gain, 70, 2);
  number(kFormID_PAScheduleD, D::kFirstClearedAmount, 11, 1);
  run();
  expectNull(sd(2), {D::kTitle, D::kScheduleD1Gain});
  EXPECT_TRUE(closed(kFormID_PAScheduleD, D::kFirstClearedAmount));
  EXPECT_FALSE(sd(1).isProtected(D::kScheduleD1Gain));
}

// Once a joint return is single, what its calculation took from the
// spouses' entries into copy 1's amounts goes (the entries themselves are
// cleared); an amount the single filer enters there stays.
TEST_F(ScheduleDTest, CopyOneAmountsOfAJointReturnGoOnceItIsSingle) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  number(kFormID_PAScheduleD, D::kTaxpayerScheduleD1GainEntry, 300);
  number(kFormID_PAScheduleD, D::kSpouseScheduleD1GainEntry, 200);
  run();
  expectAmounts(sd(1), {{D::kScheduleD1Gain, 300}});
  put(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, DataMgmt::FieldValue::null());
  setFilingStatus(PADataMgmt::kFilingSingle);
  run({1});
  expectNull(sd(1), {D::kScheduleD1Gain, D::kTaxpayerScheduleD1GainEntry});
  EXPECT_FALSE(sd(1).isProtected(D::kScheduleD1Gain));
  number(kFormID_PAScheduleD, D::kScheduleD1Gain, 70);
  run({1});
  expectAmounts(sd(1), {{D::kScheduleD1Gain, 70}, {D::kTotalGain, 70}});
}

}  // namespace
