// PA Schedules A and B on fixture returns.
#include "calc/pa/schedules/tests/form_fields.h"
#include "calc/pa/tests/pa40_fixture.h"
#include "catalogs/fields/fields.h"
#include "return/return_codes.h"

namespace {

namespace A = PAScheduleA;
namespace B = PAScheduleB;
namespace W = PAInterestDividendWorksheet;

class SchedulesABTest : public PA40Test {
 protected:
  // An amount of the interest and dividend worksheet (always its copy 1).
  void worksheet(const FieldId& f, double value) { number(kFormID_PAInterestDividendWorksheet, f, value); }
  // Both schedules of copy `copy`, calculated.
  void run(uint16_t copy = 1) {
    engine->computeScheduleA(holder(kFormID_PAScheduleA, copy), copy, 1);
    engine->computeScheduleB(holder(kFormID_PAScheduleB, copy), copy, 1);
  }
  DataMgmt::TaxForm& a(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleA, copy); }
  DataMgmt::TaxForm& b(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleB, copy); }
};

// Copy 2 of a return that is not joint has no title but still the
// spouse's column; a copy above 2 keeps its lines and title (the golden
// returns hold both copies of a joint return).
TEST_F(SchedulesABTest, CopiesOfAReturnThatIsNotJoint) {
  text(kFormID_PAScheduleA, A::kTitle, "OLD", 2);
  text(kFormID_PAScheduleA, A::kTitle, "KEEP", 3);
  worksheet(W::kSpouseSummaryInterest, 40);
  run(2);
  run(3);
  EXPECT_TRUE(a(2).isNull(A::kTitle) && a(2).xMarked(A::kSpouseBox));
  expectAmounts(a(2), {{A::kFederalTaxableInterest, 40}});
  EXPECT_EQ(a(3).valueText(A::kTitle), "KEEP");
  EXPECT_TRUE(a(3).isNull(A::kFederalTaxableInterest));
}

TEST_F(SchedulesABTest, NonresidentKeepsHeaderButClearsLinesAndIsNotEntered) {
  setResidency(PADataMgmt::kNonresident);
  worksheet(W::kTaxpayerSummaryInterest, 500);
  worksheet(W::kTaxpayerSummaryDividends, 500);
  number(kFormID_PAScheduleA, A::kTotalInterest, 77);
  run();
  EXPECT_EQ(a().valueText(A::kTitle), "PA40A Copy 1 - Taxpayer");
  expectNull(a(), {A::kFederalTaxableInterest, A::kTotalInterest});
  expectNull(b(), {B::kFederalTaxableDividends, B::kTotalDividends});
  EXPECT_FALSE(entered(kFormID_PAScheduleA) || entered(kFormID_PAScheduleB));
}

// A copy whose compared lines agree holds no data: the first line alone,
// or the B-extra lines alone.
TEST_F(SchedulesABTest, OnlyALineBesidesTheFirstMakesTheCopyData) {
  worksheet(W::kTaxpayerSummaryInterest, 500);
  worksheet(W::kTaxpayerForeignDividendIncome, 70);
  run();
  expectAmounts(a(), {{A::kTotalInterest, 500}});
  expectAmounts(b(), {{B::kForeignDividendIncome, 70}, {B::kTotalDividends, 0}});
  EXPECT_FALSE(entered(kFormID_PAScheduleA) || entered(kFormID_PAScheduleB));
  worksheet(W::kTaxpayerAnnuityInterest, 10);
  run();
  EXPECT_TRUE(entered(kFormID_PAScheduleA));
}

// Schedule A's total may stay below 0 and shows a note beside any amount
// but 0; Schedule B's total is floored at 0 and its notes need an amount
// above 0.
TEST_F(SchedulesABTest, NegativeAmounts) {
  worksheet(W::kTaxpayerOtherInterest, -20);
  worksheet(W::kTaxpayerDividendSubtractionsCopy, -20);
  worksheet(W::kTaxpayerOtherAndFed57DividendsCopy, -5);
  worksheet(W::kTaxpayerSummaryInterest, 100);
  worksheet(W::kTaxpayerPartnershipInterestCopy, 300);
  worksheet(W::kTaxpayerAnnuityInterest, 50);
  worksheet(W::kTaxpayerPartnershipInterestUsedCopy, -80);
  worksheet(W::kTaxpayerSummaryDividends, 100);
  worksheet(W::kTaxpayerPartnershipDividendsCopy, 300);
  run();
  expectAmounts(a(), {{A::kNetInterest, 0}, {A::kTotalInterest, -30}});
  expectAmounts(b(), {{B::kNetDividends, -180}, {B::kTotalDividends, 0}});
  EXPECT_FALSE(b().isNull(B::kTotalDividends));
  EXPECT_EQ(a().valueText(A::kOtherAdditionsText), "Other Additions");
  expectNull(a(), {A::kOtherReductionsText});
  expectNull(b(), {B::kOtherReductionsText, B::kOtherDividendsText});
}

}  // namespace
