#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "host/form_identifier.h"
#include "host/identifier.h"
#include "host/topic_identifier.h"

namespace {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;
using Primitives::OVImmutableTopicIdentifier;

TEST(Identifiers, ValidityAndWhatMakesTheIdentity) {
  EXPECT_FALSE(Primitives::kNullFieldID.isValid());
  EXPECT_FALSE(OVImmutableIdentifier(-3).isValid());
  OVImmutableIdentifier id(268);
  EXPECT_TRUE(id > OVImmutableIdentifier(267));
  id = 0;
  EXPECT_EQ(id, Primitives::kNullFieldID);
  std::ostringstream out;
  out << OVImmutableIdentifier(72481);
  EXPECT_EQ(out.str(), "72481");

  // A form's side is part of its identity; a number alone is federal.
  OVImmutableFormIdentifier state(32783, true), federal(32783, false);
  EXPECT_NE(state, federal);
  EXPECT_EQ(OVImmutableFormIdentifier(32783), federal);
  EXPECT_FALSE(OVImmutableFormIdentifier().isValid());
  std::map<OVImmutableFormIdentifier, int> byForm{{state, 1}, {federal, 2}};
  EXPECT_EQ(byForm.begin()->second, 2);  // federal orders first

  // A topic's locality is part of its identity.
  OVImmutableTopicIdentifier pa(18, Primitives::kLocalityPA);
  EXPECT_NE(pa, OVImmutableTopicIdentifier(18, Primitives::kLocalitySharedState));
  EXPECT_EQ(pa.getLocality(), 41);
}

}  // namespace
