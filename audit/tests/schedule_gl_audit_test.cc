// Audit rules of PA Schedule G-L, the credit for taxes paid to other states.
#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kStateNameText[] = "Schedule G, name of other state";
const char kSupplyNameText[] = "You must supply a Source Entity Name";
const char kNoIncomeText[] = "You have no income listed for this Source Entity Name";

class ScheduleGLAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId gl(int hostField) { return kPAScheduleGLFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleGL, kFormID_PAScheduleGL, copy, kind);
  }
  // The j-th income amount (0-7) of source entity k (1-4).
  static FieldId income(int k, int j) { return gl(158235 + (k - 1) + 5 * j); }
  static FieldId entityName(int k) { return gl(158230 + k); }
};

TEST_F(ScheduleGLAuditTest, StateNameIsRequiredWithAnAmount) {
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile}) {
    EXPECT_FALSE(one(audit(kind), kStateNameText).answer);
  }
  number(kFormID_PAScheduleGL, gl(14), 250);
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile}) {
    const Seen s = one(audit(kind), kStateNameText);
    EXPECT_TRUE(s.answer);
    EXPECT_EQ(s.code, 4);
    EXPECT_EQ(s.field, 9);
  }
}

TEST_F(ScheduleGLAuditTest, ReciprocalStatesMatchTheExactCode) {
  struct Case {
    const char* entered;
    const char* trueState;  // nullptr: no state matches
  };
  const Case cases[] = {
      {"NJ", "New Jersey"},   {"nj", nullptr}, {"WV", "West Virginia"},
      {"NJ  ", "New Jersey"}, {" OH", "Ohio"}, {"PA", nullptr},
  };
  for (const Case& c : cases) {
    text(kFormID_PAScheduleGL, gl(9), c.entered);
    const std::vector<Seen> seen = with(audit(Kind::kOrdinary), "Because ");
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(trueCount(seen), c.trueState != nullptr ? 1 : 0) << "\"" << c.entered << "\"";
    for (const Seen& s : seen) {
      EXPECT_EQ(s.field, 9);
      if (!s.answer) continue;
      const std::string name = c.trueState;
      EXPECT_TRUE(s.startsWith("Because " + name +
                               " does not tax compensation earned by "
                               "Pennsylvania residents in " +
                               name + ", you may not"))
          << s.text;
    }
  }
}

TEST_F(ScheduleGLAuditTest, SourceEntityNamesAndIncomes) {
  number(kFormID_PAScheduleGL, income(1, 0), 100);
  number(kFormID_PAScheduleGL, income(1, 7), 50);
  number(kFormID_PAScheduleGL, income(1, 3), -20);
  text(kFormID_PAScheduleGL, entityName(2), "Keystone Partners");
  number(kFormID_PAScheduleGL, income(3, 2), 75);
  text(kFormID_PAScheduleGL, entityName(3), "Allegheny LLC");

  const std::vector<Seen> seen = audit(Kind::kEFile);
  // One report per positive income: two for entity 1 (no name), one for
  // entity 3 (named).
  const std::vector<Seen> supply = with(seen, kSupplyNameText);
  ASSERT_EQ(supply.size(), 3u);
  EXPECT_TRUE(supply[0].answer);
  EXPECT_TRUE(supply[1].answer);
  EXPECT_EQ(supply[0].field, 158231);
  EXPECT_FALSE(supply[2].answer);
  EXPECT_EQ(supply[2].field, 158233);

  const std::vector<Seen> noIncome = with(seen, kNoIncomeText);
  ASSERT_EQ(noIncome.size(), 4u);
  const bool expected[] = {false, true, false, false};  // only entity 2: named, no income
  const int fields[] = {158231, 158232, 158233, 158234};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(noIncome[k].answer, expected[k]) << "entity " << k + 1;
    EXPECT_EQ(noIncome[k].field, fields[k]);
    EXPECT_EQ(noIncome[k].code, 6);
  }
}

TEST_F(ScheduleGLAuditTest, CommercialDomicileAttachmentSumsEveryCopy) {
  number(kFormID_PAScheduleGL, gl(161754), 40, 2);
  holder(kFormID_PAScheduleGL, 1);
  const std::string text = "attach a copy of the state's commercial domicile rules";
  EXPECT_TRUE(one(audit(Kind::kListing, 1), text).answer);
  EXPECT_FALSE(one(audit(Kind::kListingInEFile, 1), text).answer);
  number(kFormID_PAScheduleGL, gl(161754), -40, 1);
  EXPECT_FALSE(one(audit(Kind::kListing, 1), text).answer);
}

}  // namespace
