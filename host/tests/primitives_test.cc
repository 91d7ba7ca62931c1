#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/orvane_exception.h"
#include "host/topic_identifier.h"

namespace {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;
using Primitives::OVImmutableTopicIdentifier;

TEST(FieldIdentifier, ValidityAndComparison) {
  EXPECT_FALSE(Primitives::kNullFieldID.isValid());
  EXPECT_FALSE(OVImmutableIdentifier(-3).isValid());
  EXPECT_TRUE(OVImmutableIdentifier(1).isValid());
  OVImmutableIdentifier id(268);
  EXPECT_EQ(id, OVImmutableIdentifier(268));
  EXPECT_NE(id, Primitives::kNullFieldID);
  EXPECT_TRUE(id > OVImmutableIdentifier(267));
  id = 0;
  EXPECT_EQ(id, Primitives::kNullFieldID);
  std::ostringstream out;
  out << OVImmutableIdentifier(72481);
  EXPECT_EQ(out.str(), "72481");
}

TEST(FormIdentifier, SideIsPartOfIdentity) {
  OVImmutableFormIdentifier stateSummary(32783, true);
  OVImmutableFormIdentifier fed32783(32783, false);
  EXPECT_NE(stateSummary, fed32783);
  EXPECT_EQ(OVImmutableFormIdentifier(32783), fed32783);  // a number alone is federal
  EXPECT_FALSE(OVImmutableFormIdentifier().isValid());
  std::map<OVImmutableFormIdentifier, int> byForm{{stateSummary, 1}, {fed32783, 2}};
  EXPECT_EQ(byForm.size(), 2u);
  EXPECT_EQ(byForm.begin()->second, 2);  // federal orders first
}

TEST(TopicIdentifier, LocalityIsPartOfIdentity) {
  OVImmutableTopicIdentifier pa(18, Primitives::kLocalityPA);
  OVImmutableTopicIdentifier shared(18, Primitives::kLocalitySharedState);
  EXPECT_NE(pa, shared);
  EXPECT_EQ(pa, OVImmutableTopicIdentifier(pa));
  EXPECT_EQ(pa.getLocality(), 41);
  EXPECT_EQ(shared.getLocality(), 2);
}

TEST(OrvaneException, CarriesItsThreeTexts) {
  try {
    throw Exceptions::OrvaneException("Summary is not 4 cols wide", "StateTaxReturnCalcEngine",
                                      "intDivSummaryAllocation1");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Summary is not 4 cols wide");
    const auto& oe = dynamic_cast<const Exceptions::OrvaneException&>(e);
    EXPECT_EQ(oe.getClassName(), "StateTaxReturnCalcEngine");
    EXPECT_EQ(oe.getOperationName(), "intDivSummaryAllocation1");
  }
}

}  // namespace
