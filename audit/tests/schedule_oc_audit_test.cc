// Audit rules of PA Schedule OC, other credits.
#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kRowText[] = "Enter credit description code, awardee tax ID number";
const char kTypeText[] = "Enter the credit type for other restricted credits";
const char kEmploymentText[] = "attach a completed Schedule W";
const char kCertificationText[] = "attach a copy of your PA Department of Revenue";
const char kRestrictedText[] = "you must send documents supporting your restricted credits";

class ScheduleOCAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId oc(int hostField) { return kPAScheduleOCFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleOC, kFormID_PAScheduleOC, 1, kind);
  }
  void amount(int hostField, double value) { number(kFormID_PAScheduleOC, oc(hostField), value); }
};

TEST_F(ScheduleOCAuditTest, EmptyScheduleReportsEverythingFalse) {
  const std::vector<Seen> ordinary = audit(Kind::kOrdinary);
  const std::vector<Seen> listing = audit(Kind::kListing);
  EXPECT_EQ(with(ordinary, kRowText).size(), 20u);
  EXPECT_EQ(with(ordinary, kTypeText).size(), 1u);
  EXPECT_EQ(ordinary.size(), 21u);
  EXPECT_EQ(listing.size(), 3u);
  EXPECT_EQ(trueCount(ordinary) + trueCount(listing), 0);
  for (const Seen& s : with(ordinary, kRowText)) EXPECT_EQ(s.field, 0);
}

TEST_F(ScheduleOCAuditTest, PartlyFilledRowPointsAtItsFirstEmptyField) {
  amount(9, 300);                               // row 2: amount only
  text(kFormID_PAScheduleOC, oc(46468), "AB");  // row 5: code and amount, no tax ID
  amount(46470, 150);
  text(kFormID_PAScheduleOC, oc(207073), "RC");  // row 20: complete
  text(kFormID_PAScheduleOC, oc(132864), "25-0000000");
  amount(132865, 80);
  const std::vector<Seen> rows = with(audit(Kind::kOrdinary), kRowText);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_TRUE(rows[1].answer);
  EXPECT_EQ(rows[1].field, 46465);
  EXPECT_TRUE(rows[4].answer);
  EXPECT_EQ(rows[4].field, 75899);
  EXPECT_EQ(rows[4].code, 4);
  EXPECT_FALSE(rows[19].answer);
  EXPECT_EQ(rows[19].field, 0);
  EXPECT_EQ(trueCount(rows), 2);
}

TEST_F(ScheduleOCAuditTest, AttachmentsByKindOfAudit) {
  amount(8, 100);
  amount(9, 100);
  amount(132865, 100);
  std::vector<Seen> seen = audit(Kind::kListing);
  EXPECT_TRUE(one(seen, kEmploymentText).answer);
  EXPECT_TRUE(one(seen, kCertificationText).answer);
  EXPECT_TRUE(one(seen, kRestrictedText).answer);

  seen = audit(Kind::kListingInEFile);
  EXPECT_FALSE(one(seen, kEmploymentText).answer);
  EXPECT_FALSE(one(seen, kCertificationText).answer);  // only row 2 holds an amount
  EXPECT_FALSE(one(seen, kRestrictedText).answer);

  amount(207072, 40);  // row 19
  EXPECT_TRUE(one(audit(Kind::kListingInEFile), kCertificationText).answer);
  amount(207072, -40);  // a negative amount claims nothing
  amount(9, -100);
  EXPECT_FALSE(one(audit(Kind::kListing), kCertificationText).answer);
}

TEST_F(ScheduleOCAuditTest, RestrictedCreditNeedsItsType) {
  amount(132865, 500);
  Seen s = one(audit(Kind::kOrdinary), kTypeText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 132866);
  amount(132865, 0);
  text(kFormID_PAScheduleOC, oc(132866), "X1");
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kTypeText).answer);
}

}  // namespace
