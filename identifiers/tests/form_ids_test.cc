#include "identifiers/form_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

struct FormRow {
  const Primitives::OVImmutableFormIdentifier* id;
  int number;
  bool isState;
};

// Expected numbers and sides, written out independently of the data file.
const FormRow kExpected[] = {
    {&kFormID_PA40, 169, true},
    {&kFormID_PAReturnInfo, 168, true},
    {&kFormID_PAScheduleOC, 488, true},
    {&kFormID_PAScheduleA, 155696, true},
    {&kFormID_PAScheduleB, 155697, true},
    {&kFormID_PALocalIncomeTaxReturn, 143868, true},
    {&kFormID_State45316, 45316, true},
    {&kFormID_StateSummary, 32783, true},
    {&kFormID_State18, 18, true},
    {&kFormID_PAEstimatedTaxWorksheet, 183, true},
    {&kFormID_FedReturn, 1, false},
    {&kFormID_FedFilerInfo, 92, false},
    {&kFormID_FedW2, 52, false},
    {&kFormID_Fed1099G, 165, false},
    {&kFormID_Fed32783, 32783, false},
    {&kFormID_Fed183, 183, false},
    {&kFormID_Fed18, 18, false},
    {&kFormID_Fed133618, 133618, false},
};

TEST(FormIds, NumbersAndSides) {
  for (const FormRow& row : kExpected) {
    EXPECT_EQ(row.id->getNumber(), row.number);
    EXPECT_EQ(row.id->isStateForm(), row.isState) << row.number;
  }
}

TEST(FormIds, TwinsDifferOnlyBySide) {
  EXPECT_NE(kFormID_StateSummary, kFormID_Fed32783);
  EXPECT_NE(kFormID_PAEstimatedTaxWorksheet, kFormID_Fed183);
  EXPECT_NE(kFormID_State18, kFormID_Fed18);
}

TEST(FormIds, SeventyNineDistinctForms) {
  std::set<std::pair<int, bool>> seen;
  int stateCount = 0;
#define FORM_ID(name, number, isState)                                          \
  EXPECT_TRUE(seen.insert({kFormID_##name.getNumber(), kFormID_##name.isStateForm()}) \
                  .second)                                                      \
      << #name;                                                                 \
  stateCount += kFormID_##name.isStateForm() ? 1 : 0;
#include "identifiers/form_ids.def"
#undef FORM_ID
  EXPECT_EQ(seen.size(), 79u);
  EXPECT_EQ(stateCount, 34);
}

}  // namespace
