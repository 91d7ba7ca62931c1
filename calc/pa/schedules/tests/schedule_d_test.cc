// PA Schedule D on fixture returns: the worksheet summary, the residence
// line and its split, the amounts entered for both spouses on copy 1, the
// total and its loss boxes.
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"
#include "entry/return_codes.h"
#include "host/rounding.h"

namespace {

namespace D = PAScheduleD;
namespace DW = PAScheduleDWorksheet;

class ScheduleDTest : public PA40Test {
 protected:
  // One worksheet copy holding entries, with the taxpayer's total.
  void worksheetCopy(uint16_t copy, double taxpayer) {
    number(kFormID_PAScheduleDWorksheet, DW::kHasDataMark, 1.0, copy);
    number(kFormID_PAScheduleDWorksheet, DW::kTaxpayerTotal, taxpayer, copy);
  }
  // The residence on worksheet copy 1, with its owner box.
  void residence(const FieldId& ownerBox, double price, double gain) {
    mark(kFormID_PAScheduleDWorksheet, ownerBox);
    text(kFormID_PAScheduleDWorksheet, DW::kResidenceAddress, "12 MAIN ST");
    number(kFormID_PAScheduleDWorksheet, DW::kResidenceSalesPrice, price);
    number(kFormID_PAScheduleDWorksheet, DW::kResidenceGain, gain);
  }
  // Copy 2 first, as the driver runs them.
  void run(std::initializer_list<uint16_t> copies = {2, 1}) {
    for (uint16_t copy : copies) engine->computeScheduleD(holder(kFormID_PAScheduleD, copy), copy, 1);
  }
  DataMgmt::TaxForm& sd(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleD, copy); }
  bool entered(uint16_t copy) { return sd(copy).isDataEntered() && sd(copy).getCalcMark(); }
};

TEST_F(ScheduleDTest, TheWorksheetShowsOnlyAsTheReferenceAndTheSummaryLine) {
  run({1});
  expectNull(sd(), {D::kWorksheetReference, D::kWorksheetSummary});
  EXPECT_FALSE(entered(1));
  worksheetCopy(1, -1900);
  worksheetCopy(2, 700);
  for (int row = 0; row < D::kSaleGain.rows(); ++row) number(kFormID_PAScheduleD, D::kSaleGain.at(row), 5);
  number(kFormID_PAScheduleD, D::kScheduleD71Gain, -10);
  number(kFormID_PAScheduleD, D::kRK1Gain, 200);
  run({1});
  EXPECT_EQ(sd().valueText(D::kWorksheetReference), "See Attached Sch D Wksht");
  EXPECT_EQ(sd().valueText(D::kWorksheetSummary), "Taxpayer Items");
  for (int row : {0, 2, 8}) EXPECT_TRUE(sd().isNull(D::kSaleGain.at(row))) << row;
  expectAmounts(sd(), {{D::kSalesTotal, -1200}, {D::kTotalGain, -1200 - 10 + 200}});
  for (const FieldId& box : {D::kSalesLossBox.id(), D::kScheduleD71LossBox.id(), D::kTotalLossBox.id()}) {
    EXPECT_TRUE(sd().xMarked(box)) << box.getNumber();
  }
  EXPECT_TRUE(sd().isNo(D::kRK1LossBox) && entered(1));
}

// A joint residence splits into halves that add up; one owned by a person
// goes wholly to that person's copy.
TEST_F(ScheduleDTest, AJointReturnsResidence) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  residence(DW::kResidenceJointBox, 40001, 25001);
  run();
  expectAmounts(sd(1), {{D::kResidenceGain, Utils::roundR(12500.5)}});
  expectAmounts(sd(2), {{D::kResidenceGain, 25001 - Utils::roundR(12500.5)}});
  EXPECT_EQ(sd(1).getIR(D::kResidenceSalesPrice) + sd(2).getIR(D::kResidenceSalesPrice), 40001);
  restart();
  setFilingStatus(PADataMgmt::kFilingJoint);
  residence(DW::kResidenceSpouseBox, 900, 500);
  run();
  EXPECT_TRUE(sd(1).isNull(D::kResidenceAddress));
  expectAmounts(sd(2), {{D::kResidenceGain, 500}});
}

// A residence loss is never carried, not even on a copy without a share;
// a return that is not joint takes the residence whatever its owner.
TEST_F(ScheduleDTest, AResidenceLossIsNeverCarried) {
  residence(DW::kResidenceSpouseBox, 100, -300);
  run({1});
  expectAmounts(sd(), {{D::kResidenceSalesPrice, 100}, {D::kResidenceGain, 0}});
  restart();
  setFilingStatus(PADataMgmt::kFilingJoint);
  residence(DW::kResidenceSpouseBox, 100, -300);
  run();
  EXPECT_TRUE(sd(1).isNull(D::kResidenceSalesPrice) && !sd(1).isNull(D::kResidenceGain));
  expectAmounts(sd(1), {{D::kResidenceGain, 0}});
  expectAmounts(sd(2), {{D::kResidenceGain, 0}});
}

TEST_F(ScheduleDTest, JointEntriesOnCopyOneGoToEachSpousesCopy) {
  setFilingStatus(PADataMgmt::kFilingJoint);
  worksheetCopy(1, 800);
  number(kFormID_PAScheduleD, D::kTaxpayerScheduleD1GainEntry, 300);
  number(kFormID_PAScheduleD, D::kSpouseScheduleD1GainEntry, 200);
  number(kFormID_PAScheduleD, D::kSpouseInsuranceAnnuityGainEntry, 50);
  run();
  expectAmounts(sd(1), {{D::kScheduleD1Gain, 300}});
  expectAmounts(sd(2), {{D::kScheduleD1Gain, 200}, {D::kInsuranceAnnuityGain, 50}, {D::kTotalGain, 250}});
  EXPECT_TRUE(sd(1).isProtected(D::kScheduleD1Gain) && sd(2).isProtected(D::kScheduleD1Gain));
  // The spouse's copy shows the worksheet even with nothing of its own.
  EXPECT_EQ(sd(2).valueText(D::kWorksheetSummary), "Spouse Items");
  EXPECT_TRUE(entered(2));
  restart();  // not joint: copy 2 is emptied, copy 1 takes the entries
  text(kFormID_PAScheduleD, D::kTitle, "OLD", 2);
  number(kFormID_PAScheduleD, D::kScheduleD1Gain, 70, 2);
  number(kFormID_PAScheduleD, D::kFirstClearedAmount, 11, 1);
  run();
  expectNull(sd(2), {D::kTitle, D::kScheduleD1Gain});
  EXPECT_TRUE(sd(1).isNull(D::kFirstClearedAmount) && sd(1).isProtected(D::kFirstClearedAmount));
  EXPECT_FALSE(sd(1).isProtected(D::kScheduleD1Gain));
}

}  // namespace
