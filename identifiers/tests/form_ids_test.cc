#include "identifiers/form_ids.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// The stated numbers and sides; twins share a number on opposite sides.
TEST(FormIds, StatedNumbersAndTwins) {
  EXPECT_EQ(kFormID_PA40, Primitives::OVImmutableFormIdentifier(169, true));
  EXPECT_EQ(kFormID_FedFilerInfo, Primitives::OVImmutableFormIdentifier(92, false));
  const std::pair<const Primitives::OVImmutableFormIdentifier*, const Primitives::OVImmutableFormIdentifier*>
      twins[] = {{&kFormID_StateSummary, &kFormID_Fed32783},
                 {&kFormID_PAEstimatedTaxWorksheet, &kFormID_Fed183},
                 {&kFormID_State18, &kFormID_Fed18}};
  for (const auto& twin : twins) {
    EXPECT_EQ(twin.first->getNumber(), twin.second->getNumber());
    EXPECT_TRUE(twin.first->isStateForm() && !twin.second->isStateForm());
  }
}

TEST(FormIds, SeventyNineDistinctForms) {
  std::set<std::pair<int, bool>> seen;
  int stateCount = 0;
#define FORM_ID(name, number, isState)                                                                  \
  EXPECT_TRUE(seen.insert({kFormID_##name.getNumber(), kFormID_##name.isStateForm()}).second) << #name; \
  stateCount += kFormID_##name.isStateForm() ? 1 : 0;
#include "identifiers/form_ids.def"
#undef FORM_ID
  EXPECT_EQ(seen.size(), 79u);
  EXPECT_EQ(stateCount, 34);
}

}  // namespace
