// The interest and dividend worksheet: its frame (nonresident exit, print
// decision, repeatability) and its interest half.
#include <map>
#include <tuple>

#include "calc/pa/schedules/tests/int_div_worksheet_fixture.h"

namespace {

namespace W = PAInterestDividendWorksheet;

// The value and protection of every stored field of the worksheet copy.
std::map<int, std::tuple<int, double, std::string, bool>> snapshot(const DataMgmt::TaxForm& form) {
  std::map<int, std::tuple<int, double, std::string, bool>> out;
  for (const auto& entry : form.fields()) {
    const DataMgmt::FieldValue& v = entry.second;
    out[entry.first] = std::make_tuple(static_cast<int>(v.kind), v.number, v.text, v.isProtected);
  }
  return out;
}

TEST_F(IntDivWorksheetTest, ANonresidentsWorksheetIsClearedAndNeitherMarkedNorPrinted) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  enter(W::kTotalInterest, 5);
  form51(1, Fed51::kTaxpayerBox, Fed51::kFirstKindBox, 100);
  federalInterest(50);
  run();
  for (const auto& entry : ws().fields()) EXPECT_EQ(DataMgmt::FieldValue::kNull, entry.second.kind) << entry.first;
  EXPECT_FALSE(ws().isDataEntered() || ws().isPrintFlag());
  EXPECT_TRUE(federal()->pullLog().empty() && engine->calls.empty());
}

TEST_F(IntDivWorksheetTest, AWorksheetThatAdjustsNothingIsNotPrinted) {
  summary(kFormID_State16, State16::kTaxpayerRegular, State16::kSpouseRegular, 100, 0);
  summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 50, 0);
  run();
  expectAmounts(ws(), {{W::kNetInterest, 100}, {W::kTotalInterest, 100}, {W::kTotalDividends, 50}});
  EXPECT_FALSE(ws().isPrintFlag() || ws().getCalcMark());
  enter(W::kFirstOtherInterestSubtraction, 10);  // entered as the total on a single return
  run();
  expectAmounts(ws(), {{W::kTaxpayerFirstOtherInterestSubtraction, 10}, {W::kTotalInterest, 90}});
  EXPECT_TRUE(ws().isDataEntered() && ws().isPrintFlag() && ws().getCalcMark());
}

// On a return that is not joint a spouse's copy is ignored; both kinds
// count as the first; the federal interest line is the pulled amount.
TEST_F(IntDivWorksheetTest, Form51Copies) {
  federalInterest(1000);
  form51(1, Fed51::kSpouseBox, Fed51::kFirstKindBox, 500, 300);
  form51(2, Fed51::kTaxpayerBox, Fed51::kFirstKindBox, 100, 40);
  mark(kFormID_Fed51, Fed51::kSecondKindBox, 2);
  form51(3, Fed51::kSpouseBox, Fed51::kSecondKindBox, 70);
  run();
  expectAmounts(ws(), {{W::kPartnershipFirstKindInterestUsed, 100}, {W::kTaxpayerFederalInterest, 1000}});
  expectNull(ws(), {W::kSpousePartnershipFirstKindInterest, W::kSpousePartnershipSecondKindInterestUsed});
  EXPECT_TRUE(ws().xMarked(W::kPartnershipFirstKindInterestBox) && ws().isNo(W::kPartnershipSecondKindInterestBox));
}

// A form 51, form 89 or Form 1099-MISC copy without an owner mark counts
// for nobody on a joint return and is the taxpayer's on any other: such a
// return has no spouse.
TEST_F(IntDivWorksheetTest, AnUnmarkedCopyIsTheTaxpayersOnAReturnThatIsNotJoint) {
  for (const bool isJoint : {false, true}) {
    restart();
    if (isJoint) joint();
    form51(1, kNone, Fed51::kFirstKindBox, 100);
    form89(1, kNone, 40, 0, 0);
    number(kFormID_Fed57, Fed57::kSubstitutePayments, 300);
    number(kFormID_Fed1099Misc, Fed1099Misc::kSubstitutePayments, 2000);
    run();
    const double taxpayers = isJoint ? 0 : 1;
    expectAmounts(ws(), {{W::kTaxpayerPartnershipFirstKindInterest, 100 * taxpayers},
                         {W::kTaxpayerEstateTrustInterest, 40 * taxpayers},
                         {W::kTaxpayerFed57DividendsRead, 20 * taxpayers}});
  }
}

// No pulled federal interest clears the federal lines; an adjustment is
// limited to what it reduces, a remainder is never below 0, and a
// remainder has the Schedule D worksheet calculated at once.
TEST_F(IntDivWorksheetTest, FederalInterestAdjustmentsAndRemainders) {
  joint();
  mark(kFormID_Fed166, Fed166::kTaxpayerBox);
  number(kFormID_Fed166, Fed166::kWorksheetFirstAmount, 5000);
  enter(W::kForfeitedInterestPenalty, 10);
  run();
  expectNull(ws(), {W::kFederalInterest, W::kForfeitedInterestPenalty, W::kSpouseFederalInterestRemainder});
  EXPECT_TRUE(engine->calls.empty());
  restart();
  federalInterest(100);
  run();
  ASSERT_EQ(1u, engine->calls.size());
  EXPECT_EQ(kFormID_PAScheduleDWorksheet.getNumber(), engine->calls[0].form);
  enter(W::kForfeitedInterestPenalty, 250);
  engine->calls.clear();
  run();
  expectAmounts(ws(), {{W::kTaxpayerForfeitedInterestPenalty, 100}, {W::kTaxpayerFederalInterestRemainder, 0}});
  EXPECT_TRUE(closed(W::kSpouseForfeitedInterestPenalty));
  EXPECT_TRUE(engine->calls.empty());  // nothing remains
}

// A part-year resident enters group 3 up to groups 3 + 4; a full-year
// resident's is group 3 alone.
TEST_F(IntDivWorksheetTest, APartYearResidentEntersGroup3UpToGroups3And4) {
  for (bool isPartYear : {true, false}) {
    restart();
    if (isPartYear) partYear();
    summary(kFormID_State16, State16::kTaxpayerExemptInState, State16::kSpouseExemptInState, 30, 0);
    summary(kFormID_State16, State16::kTaxpayerExemptOutOfState, State16::kSpouseExemptOutOfState, 20, 0);
    enter(W::kTaxpayerPAExemptInterest, 80);
    run();
    EXPECT_EQ(isPartYear ? 50 : 30, amount(W::kTaxpayerPAExemptInterest));
    EXPECT_TRUE(closed(W::kSpousePAExemptInterest));
  }
}

// Entered amounts are limited to what they reduce; recalculating with
// unchanged input, entries within their limits, gives the same worksheet.
TEST_F(IntDivWorksheetTest, EnteredAmountsAreLimitedToWhatTheyReduce) {
  joint();
  partYear();
  for (uint16_t copy : {1, 2}) number(kFormID_PAMiscCompWorksheet, PAMiscCompWorksheet::kTaxpayerCodeKAmount, 30, copy);
  enter(W::kTaxpayerAnnuityInterest, 100);
  enter(W::kSpouseAnnuityInterest, 5);
  number(kFormID_Fed57, Fed57::kSharedInterest, 100);
  enter(W::kSpouseFed57SingleInterest, 150);
  enter(W::kTaxpayerPartYearInterestSubtraction, 4);
  run();
  expectAmounts(ws(), {{W::kTaxpayerAnnuityInterest, 60}, {W::kSpouseFed57SingleInterest, 100},
                       {W::kTaxpayerFed57SingleInterest, 0}});
  EXPECT_TRUE(closed(W::kSpouseAnnuityInterest));
  const double taxpayerTotal = amount(W::kTaxpayerNetInterest) + 60;  // net and annuity interest
  expectAmounts(ws(), {{W::kTaxpayerTotalInterest, taxpayerTotal}, {W::kTaxpayerPartYearInterest, 4 + taxpayerTotal}});
  EXPECT_FALSE(ws().isNull(W::kSpousePartYearInterest));
  const auto first = snapshot(ws());
  run();
  EXPECT_EQ(first, snapshot(ws()));
  single();  // no longer joint: no stale spouse amount
  run();
  EXPECT_TRUE(ws().isNull(W::kSpousePartYearInterest));
}

// A joint return changed to one that is not joint keeps no spouse amount
// for the spouse's Schedule A or B copy to take.
TEST_F(IntDivWorksheetTest, NoSpouseColumnLeftWhenNoLongerJoint) {
  joint();
  summary(kFormID_State16, State16::kTaxpayerRegular, State16::kSpouseRegular, 100, 40);
  summary(kFormID_State17, State17::kTaxpayerRegular, State17::kSpouseRegular, 50, 20);
  enter(W::kSpouseOtherInterest, 7);
  run();
  expectAmounts(ws(), {{W::kSpouseSummaryInterest, 40}, {W::kSpouseSummaryDividends, 20},
                       {W::kSpouseGrossInterest, 47}});
  single();
  run();
  expectNull(ws(), {W::kSpouseSummaryInterest, W::kSpouseSummaryDividends, W::kSpouseOtherInterest});
  expectAmounts(ws(), {{W::kSpouseGrossInterest, 0}, {W::kGrossInterest, 100}, {W::kSummaryDividends, 50}});
}

// A person whose form 89 interest is gone keeps no remainder from an
// earlier calculation.
TEST_F(IntDivWorksheetTest, AForm89RemainderDoesNotOutliveItsInterest) {
  joint();
  form89(1, Fed89::kTaxpayerBox, 100, 0, 0);
  form89(2, Fed89::kSpouseBox, 50, 30, 10);
  run();
  expectAmounts(ws(), {{W::kSpouseEstateTrustInterest, 70}, {W::kEstateTrustInterestRemainder, 170}});
  number(kFormID_Fed89, Fed89::kInterest, 0, 1);
  run();
  EXPECT_TRUE(closed(W::kTaxpayerEstateTrustInterestAdjustment));
  expectAmounts(ws(), {{W::kTaxpayerEstateTrustInterestRemainder, 0}, {W::kEstateTrustInterestRemainder, 70}});
}

}  // namespace
