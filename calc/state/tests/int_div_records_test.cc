// Listing the federal interest and dividend sources as record groups.
#include <gtest/gtest.h>

#include "calc/state/tests/state_engine_fixture.h"

namespace {

class IntDivRecordsTest : public StateEngineTest {
 protected:
  void SetUp() override {
    StateEngineTest::SetUp();
    engine->routeSummaries = false;  // records only; the probe shows which copies were calculated
  }
  // A 166 copy with regular, U.S. and exempt interest: a group of five.
  void fiveRecordSource(uint16_t copy) {
    source(kFormID_Fed166, copy,
           {{Fed166::kInterestIncome, 10000},
            {Fed166::kUsObligationInterest, 5000},
            {Fed166::kSecondExemptInterest, 3000}});
  }
  // A 166 copy whose regular interest is all shared away: no kind has an
  // amount, but the copy does: a header and a regular record.
  void zeroKindSource(uint16_t copy) {
    source(kFormID_Fed166, copy, {{Fed166::kInterestIncome, 10000}, {Fed166::kSharedAmount, 10000}});
  }
  // Records `from` to `to` of a copy, each followed by a blank.
  std::string records(const FormId& summary, int from, int to, uint16_t copy = 1) {
    std::string all;
    for (int k = from; k <= to; ++k) all += record(summary, k, copy) + " ";
    return all;
  }
  int summaryCalcs(const FormId& form, uint16_t copy) {
    int count = 0;
    for (const ProbeCall& call : engine->calls) count += call.form == form.getNumber() && call.copy == copy;
    return count;
  }
};

TEST_F(IntDivRecordsTest, WithoutSourcesTheInformationFormComesFirstAndTheAllocationFormLast) {
  listSummaries();
  ASSERT_EQ(engine->calls.size(), 2u);
  EXPECT_EQ(engine->calls[0].form, kFormID_PAReturnInfo.getNumber());
  EXPECT_EQ(engine->calls[1].form, kFormID_State18.getNumber());
  EXPECT_TRUE(pa->getForm(kFormID_PAReturnInfo, 1)->getCalcMark());
  EXPECT_TRUE(pa->getForm(kFormID_State18, 1)->isDataEntered());
  EXPECT_EQ(pa->getFormCount(kFormID_State16), 0) << "no source, no summary copy";
}

// Sources are listed by form then copy, dividends on their own summary; a
// group holds the header and a record per kind with an amount.
TEST_F(IntDivRecordsTest, GroupsPerSourceCopy) {
  source(kFormID_Fed89, 1, {{Fed89::kInterest, 40}});
  fiveRecordSource(2);
  zeroKindSource(4);
  source(kFormID_Fed51, 1, {{Fed51::kInterest, 30}, {Fed51::kDividends, 12}});
  source(kFormID_Fed164, 1, {{Fed164::kOrdinaryDividends, 5000}});
  source(kFormID_Fed164, 2, {{Fed164::kOrdinaryDividends, 5000}, {Fed164::kExemptInterestDividends, 1000}},
         {Fed164::kRestrictedStockBox});
  source(kFormID_Fed166, 3, {});  // nothing at all: not listed
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 1, 12),
            "||166||2||1 ||166||2||2 ||166||2||3 ||166||2||4 ||166||2||5 ||166||4||1 ||166||4||2 ||51||1||1 "
            "||51||1||2 ||89||1||1 ||89||1||2  ");
  EXPECT_EQ(records(kFormID_State17, 1, 7),
            "||164||1||1 ||164||1||6 ||164||2||1 ||164||2||9 ||51||1||1 ||51||1||6  ");
}

TEST_F(IntDivRecordsTest, AGroupThatDoesNotFitStartsTheNextCopy) {
  for (uint16_t c = 1; c <= 5; ++c) fiveRecordSource(c);        // 25 records
  text(kFormID_State16, State16::kLineRecord.at(21), "stale");  // left from an earlier run
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 20, 24), "||166||4||5     ");
  EXPECT_EQ(records(kFormID_State16, 1, 1, 2), "||166||5||1 ");
  EXPECT_EQ(summaryCalcs(kFormID_State16, 1), 1) << "the full copy is calculated when left";
  EXPECT_EQ(summaryCalcs(kFormID_State16, 2), 1) << "the last copy is calculated at the end";
}

// A group of 5 and nine groups of 2 leave one record on copy 1; a group
// of 2 (a zero-kind source, or a restricted stock) must not take it and
// the name field after it.
TEST_F(IntDivRecordsTest, AGroupIsReservedAtItsExactSizeAndNeverReachesTheNameFields) {
  fiveRecordSource(1);
  for (uint16_t c = 2; c <= 11; ++c) zeroKindSource(c);
  source(kFormID_Fed164, 1,
         {{Fed164::kOrdinaryDividends, 10000},
          {Fed164::kUsObligationPercentage, 5000},
          {Fed164::kExemptInterestDividends, 2000}});
  for (uint16_t c = 2; c <= 10; ++c) source(kFormID_Fed164, c, {{Fed164::kOrdinaryDividends, 100}});
  source(kFormID_Fed164, 11, {{Fed164::kOrdinaryDividends, 100}}, {Fed164::kRestrictedStockBox});
  text(kFormID_State16, State16::kTaxpayerName, "NAME");
  text(kFormID_State17, State17::kTaxpayerName, "NAME");
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 23, 24) + records(kFormID_State16, 1, 2, 2),
            "||166||10||2  ||166||11||1 ||166||11||2 ");
  EXPECT_EQ(records(kFormID_State17, 23, 24) + records(kFormID_State17, 1, 2, 2),
            "||164||10||6  ||164||11||1 ||164||11||9 ");
  EXPECT_EQ(textOf(kFormID_State16, State16::kTaxpayerName), "NAME");
  EXPECT_EQ(textOf(kFormID_State17, State17::kTaxpayerName), "NAME");
}

// Records left over from a longer list are stale: every later copy is
// emptied and calculated again, so its summary rows drop the removed
// sources before the allocation form adds them up.
TEST_F(IntDivRecordsTest, AShrinkingListEmptiesTheRecordsOfEveryLaterCopy) {
  for (uint16_t c = 1; c <= 6; ++c) fiveRecordSource(c);  // copies 1 and 2
  source(kFormID_Fed164, 1, {{Fed164::kOrdinaryDividends, 5000}});
  listSummaries();
  ASSERT_EQ(record(kFormID_State16, 1, 2), "||166||5||1");
  for (uint16_t c = 2; c <= 6; ++c) {
    for (const FieldId& field :
         {Fed166::kInterestIncome, Fed166::kUsObligationInterest, Fed166::kSecondExemptInterest}) {
      put(kFormID_Fed166, field, FieldValue::null(), c);
    }
  }
  put(kFormID_Fed164, Fed164::kOrdinaryDividends, FieldValue::null());
  engine->calls.clear();
  listSummaries();
  EXPECT_EQ(records(kFormID_State16, 5, 6), "||166||1||5  ");
  EXPECT_EQ(records(kFormID_State16, 1, 24, 2), std::string(24, ' '));
  EXPECT_EQ(summaryCalcs(kFormID_State16, 2), 1);
  EXPECT_EQ(records(kFormID_State17, 1, 2), "  ") << "a list that shrinks to nothing";
}

}  // namespace
