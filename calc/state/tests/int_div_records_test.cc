// Listing the federal interest and dividend sources as record groups.
#include <gtest/gtest.h>

#include "calc/state/tests/int_div_fixture.h"

namespace {

class IntDivRecordsTest : public IntDivTest {
 protected:
  void SetUp() override {
    IntDivTest::SetUp();
    intDiv().route = false;  // records only; the probe shows which copies were calculated
  }
  // A 166 copy with regular, U.S. and exempt interest: a group of five.
  void fiveRecordSource(uint16_t copy) { source(kFormID_Fed166, copy, {{10, 10000}, {12, 5000}, {197490, 3000}}); }
  // A 166 copy whose regular interest is all given back (field 27): no
  // kind has an amount, but the copy does: a header and a regular record.
  void zeroKindSource(uint16_t copy) { source(kFormID_Fed166, copy, {{10, 10000}, {27, 10000}}); }
  int summaryCalcs(const FormId& form, uint16_t copy) {
    int count = 0;
    for (const ProbeCall& call : engine->calls) {
      if (call.form == form.getNumber() && call.copy == copy && call.passOn == 1) ++count;
    }
    return count;
  }
};

TEST_F(IntDivRecordsTest, CalculatesTheInformationFormFirstAndTheAllocationFormLast) {
  listSummaries();
  ASSERT_EQ(engine->calls.size(), 2u);
  EXPECT_EQ(engine->calls[0].form, kFormID_PAReturnInfo.getNumber());
  EXPECT_EQ(engine->calls[0].passOn, 0);
  EXPECT_EQ(engine->calls[1].form, kFormID_State18.getNumber());
  EXPECT_TRUE(pa->getForm(kFormID_PAReturnInfo, 1)->getCalcMark());
  EXPECT_TRUE(pa->getForm(kFormID_State18, 1)->isDataEntered());
  EXPECT_EQ(pa->getFormCount(kFormID_State16), 0) << "no source, no summary copy";
}

TEST_F(IntDivRecordsTest, AFiveKindSourceGetsHeaderRegularUSInStateAndOutOfState) {
  fiveRecordSource(1);
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 1), "||166||1||1");
  EXPECT_EQ(record(kFormID_State16, 2), "||166||1||2");
  EXPECT_EQ(record(kFormID_State16, 3), "||166||1||3");
  EXPECT_EQ(record(kFormID_State16, 4), "||166||1||4");
  EXPECT_EQ(record(kFormID_State16, 5), "||166||1||5");
  EXPECT_EQ(record(kFormID_State16, 6), "");
}

TEST_F(IntDivRecordsTest, ASourceWithAnAmountButNoKindGetsHeaderAndRegularRecord) {
  zeroKindSource(1);
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 1), "||166||1||1");
  EXPECT_EQ(record(kFormID_State16, 2), "||166||1||2");
  EXPECT_EQ(record(kFormID_State16, 3), "");
}

TEST_F(IntDivRecordsTest, SourcesAreListedByFormThenCopyAndDividendsOnTheirOwnSummary) {
  source(kFormID_Fed89, 1, {{15, 40}});
  source(kFormID_Fed166, 2, {{10, 2000}});
  source(kFormID_Fed51, 1, {{17, 30}, {18, 12}});
  source(kFormID_Fed164, 1, {{6, 5000}});
  source(kFormID_Fed166, 3, {});  // nothing at all: not listed
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 1), "||166||2||1");
  EXPECT_EQ(record(kFormID_State16, 3), "||51||1||1");
  EXPECT_EQ(record(kFormID_State16, 5), "||89||1||1");
  EXPECT_EQ(record(kFormID_State16, 7), "");
  EXPECT_EQ(record(kFormID_State17, 1), "||164||1||1");
  EXPECT_EQ(record(kFormID_State17, 2), "||164||1||6");
  EXPECT_EQ(record(kFormID_State17, 3), "||51||1||1");
  EXPECT_EQ(record(kFormID_State17, 4), "||51||1||6");
}

TEST_F(IntDivRecordsTest, ARestrictedStockDividendGetsExactlyHeaderAndLineType9) {
  source(kFormID_Fed164, 1, {{6, 5000}, {41, 1000}}, {19});
  listSummaries();
  EXPECT_EQ(record(kFormID_State17, 1), "||164||1||1");
  EXPECT_EQ(record(kFormID_State17, 2), "||164||1||9");
  EXPECT_EQ(record(kFormID_State17, 3), "");
}

TEST_F(IntDivRecordsTest, AGroupThatDoesNotFitStartsTheNextCopy) {
  for (uint16_t c = 1; c <= 5; ++c) fiveRecordSource(c);  // 25 records
  text(kFormID_State16, summaryField(23), "stale");       // record 22, left from an earlier run
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 16), "||166||4||1");
  EXPECT_EQ(record(kFormID_State16, 20), "||166||4||5");
  for (int k = 21; k <= 24; ++k) EXPECT_EQ(record(kFormID_State16, k), "") << "record " << k;
  EXPECT_EQ(record(kFormID_State16, 1, 2), "||166||5||1");
  EXPECT_EQ(record(kFormID_State16, 5, 2), "||166||5||5");
  EXPECT_EQ(summaryCalcs(kFormID_State16, 1), 1) << "the full copy is calculated when left";
  EXPECT_EQ(summaryCalcs(kFormID_State16, 2), 1) << "the last copy is calculated at the end";
}

// A group of 5 and nine groups of 2 leave one record on copy 1; a group of
// 2 whose kinds add up to 0 must not take it and the name field after it.
TEST_F(IntDivRecordsTest, AGroupIsReservedAtItsExactSizeAndNeverReachesTheNameFields) {
  fiveRecordSource(1);
  for (uint16_t c = 2; c <= 10; ++c) zeroKindSource(c);  // 5 + 9 x 2 = 23 records
  zeroKindSource(11);
  text(kFormID_State16, summaryField(26), "NAME");
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 23), "||166||10||2");
  EXPECT_EQ(record(kFormID_State16, 24), "");
  EXPECT_EQ(textOf(kFormID_State16, summaryField(26)), "NAME");
  EXPECT_EQ(record(kFormID_State16, 1, 2), "||166||11||1");
  EXPECT_EQ(record(kFormID_State16, 2, 2), "||166||11||2");
}

TEST_F(IntDivRecordsTest, ARestrictedStockGroupIsReservedAsTwoRecords) {
  source(kFormID_Fed164, 1, {{6, 10000}, {40, 5000}, {41, 2000}});            // 5 records
  for (uint16_t c = 2; c <= 10; ++c) source(kFormID_Fed164, c, {{6, 100}});  // 9 x 2
  source(kFormID_Fed164, 11, {{6, 100}}, {19});                               // restricted: 2
  text(kFormID_State17, summaryField(26), "NAME");
  listSummaries();
  EXPECT_EQ(record(kFormID_State17, 2), "||164||1||6");
  EXPECT_EQ(record(kFormID_State17, 3), "||164||1||3");
  EXPECT_EQ(record(kFormID_State17, 5), "||164||1||8");
  EXPECT_EQ(record(kFormID_State17, 23), "||164||10||6");
  EXPECT_EQ(record(kFormID_State17, 24), "");
  EXPECT_EQ(record(kFormID_State17, 1, 2), "||164||11||1");
  EXPECT_EQ(record(kFormID_State17, 2, 2), "||164||11||9");
  EXPECT_EQ(textOf(kFormID_State17, summaryField(26)), "NAME");
}

TEST_F(IntDivRecordsTest, AShrinkingListEmptiesTheRecordsOfEveryLaterCopyIncludingTheLast) {
  for (uint16_t c = 1; c <= 6; ++c) fiveRecordSource(c);  // copies 1 and 2
  listSummaries();
  ASSERT_EQ(record(kFormID_State16, 1, 2), "||166||5||1");
  for (uint16_t c = 2; c <= 6; ++c) {
    for (int field : {10, 12, 197490}) copyOf(kFormID_Fed166, c).store(field, DataMgmt::FieldValue::null());
  }
  engine->calls.clear();
  listSummaries();
  EXPECT_EQ(record(kFormID_State16, 5), "||166||1||5");
  EXPECT_EQ(record(kFormID_State16, 6), "");
  for (int k = 1; k <= 24; ++k) EXPECT_EQ(record(kFormID_State16, k, 2), "") << "record " << k;
  // The emptied copy is calculated again, so its summary rows drop the
  // removed sources before the allocation form adds them up.
  EXPECT_EQ(summaryCalcs(kFormID_State16, 2), 1);
}

TEST_F(IntDivRecordsTest, AListThatShrinksToNothingEmptiesEveryRecord) {
  fiveRecordSource(1);
  source(kFormID_Fed164, 1, {{6, 5000}});
  listSummaries();
  ASSERT_EQ(record(kFormID_State17, 1), "||164||1||1");
  for (int field : {10, 12, 197490}) copyOf(kFormID_Fed166, 1).store(field, DataMgmt::FieldValue::null());
  copyOf(kFormID_Fed164, 1).store(6, DataMgmt::FieldValue::null());
  engine->calls.clear();
  listSummaries();
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(record(kFormID_State16, k), "") << "record " << k;
  EXPECT_EQ(record(kFormID_State17, 1), "");
  EXPECT_EQ(record(kFormID_State17, 2), "");
  EXPECT_EQ(summaryCalcs(kFormID_State16, 1), 1);
}

}  // namespace
