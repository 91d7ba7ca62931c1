// Audit rules of PA Schedule SP, special tax forgiveness.
#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kDependentsText[] = "You must enter the name, age, relationship, and social security";
const char kNegativeText[] = "You cannot e-filed tax returns whose eligibility income";
const char kOutsideText[] = "You must enter in Part C - Eligibility Income, line 6";

class ScheduleSPAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId sp(int hostField) { return kPAScheduleSPFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleSP, kFormID_PAScheduleSP, copy, kind);
  }
  void markSP(int hostField, uint16_t copy = 1) { mark(kFormID_PAScheduleSP, sp(hostField), copy); }
  // Dependent k (1-4) of Part B: name, age, relationship, number.
  void dependent(int k, bool withNumber = true) {
    const int first = 33 + 5 * (k - 1);
    text(kFormID_PAScheduleSP, sp(first), "Child " + std::to_string(k));
    number(kFormID_PAScheduleSP, sp(first + 1), 7);
    text(kFormID_PAScheduleSP, sp(first + 2), "Son");
    if (withNumber) text(kFormID_PAScheduleSP, sp(first + 3), "123-45-678" + std::to_string(k));
  }
};

TEST_F(ScheduleSPAuditTest, EmptyScheduleOfAFullYearResidentReportsTwentyThreeFalseAnswers) {
  const std::vector<Seen> ordinary = audit(Kind::kOrdinary);
  const std::vector<Seen> eFile = audit(Kind::kEFile);
  const std::vector<Seen> listing = audit(Kind::kListing);
  // Classes 1 (nine rules), 2 and 0x22 (nine), 8 (five); none of class 3
  // is reported without a nonresident or part-year answer.
  EXPECT_EQ(ordinary.size(), 9u);
  EXPECT_EQ(eFile.size(), 9u);
  EXPECT_EQ(listing.size(), 5u);
  EXPECT_EQ(trueCount(ordinary) + trueCount(eFile) + trueCount(listing), 0);
  EXPECT_TRUE(with(eFile, "You must include your spouse's").empty());
  EXPECT_TRUE(with(eFile, kOutsideText).empty());
}

TEST_F(ScheduleSPAuditTest, BoxesUnderTheFilingStatus) {
  markSP(21);
  markSP(11);
  markSP(12);
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile}) {
    const std::vector<Seen> seen = audit(kind);
    const Seen married = one(seen, "You must further indicate your filing status by checking one");
    EXPECT_TRUE(married.answer);
    EXPECT_EQ(married.field, 22);
    EXPECT_EQ(married.code, kind == Kind::kEFile ? 4 : 7);
    EXPECT_FALSE(
        one(seen, "You must further indicate your filing status by checking either").answer);
  }
  markSP(32);
  EXPECT_FALSE(
      one(audit(Kind::kOrdinary), "You must further indicate your filing status by checking one")
          .answer);
}

TEST_F(ScheduleSPAuditTest, ListedDependentsMustBeComplete) {
  number(kFormID_PAScheduleSP, sp(53), 2);
  dependent(1, false);
  dependent(2);
  Seen s = one(audit(Kind::kEFile), kDependentsText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.form, 0);
  EXPECT_EQ(s.code, 6);
  EXPECT_NE(s.text.find("How can I go back to an Interview topic?"), std::string::npos);

  dependent(1);
  text(kFormID_PAScheduleSP, sp(45), "Daughter");  // a third dependent, incomplete, not listed
  EXPECT_FALSE(one(audit(Kind::kEFile), kDependentsText).answer);

  // Five listed: all four rows are examined, and the worksheet is asked for.
  number(kFormID_PAScheduleSP, sp(53), 5);
  EXPECT_TRUE(one(audit(Kind::kEFile), kDependentsText).answer);
  EXPECT_TRUE(
      one(audit(Kind::kListing), "you must attach a copy of your Federal Dependent").answer);
  EXPECT_FALSE(
      one(audit(Kind::kListingInEFile), "you must attach a copy of your Federal Dependent").answer);
}

TEST_F(ScheduleSPAuditTest, ANegativeEligibilityIncomeBarsElectronicFiling) {
  for (int field : {56, 75, 78, 9598}) {
    number(kFormID_PAScheduleSP, sp(field), 0);
    EXPECT_FALSE(one(audit(Kind::kEFile), kNegativeText).answer) << field;
    number(kFormID_PAScheduleSP, sp(field), -1);
    const Seen s = one(audit(Kind::kEFile), kNegativeText);
    EXPECT_TRUE(s.answer) << field;
    EXPECT_EQ(s.code, 6);
    number(kFormID_PAScheduleSP, sp(field), 0);
  }
}

TEST_F(ScheduleSPAuditTest, IncomeOutsidePennsylvaniaOnlyForNonAndPartYearResidents) {
  number(kFormID_PAScheduleSP, sp(9607), 300);
  EXPECT_TRUE(with(audit(Kind::kOrdinary), kOutsideText).empty());
  setResidency(1);
  const Seen s = one(audit(Kind::kOrdinary), kOutsideText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 66);
  number(kFormID_PAScheduleSP, sp(9594), 150);
  EXPECT_FALSE(one(audit(Kind::kEFile), kOutsideText).answer);
}

TEST_F(ScheduleSPAuditTest, SecondCopyReadsPresenceOnCopyOneAndBoxesOnItsOwnCopy) {
  text(kFormID_PAScheduleSP, sp(17943), "Pat Doe", 1);
  text(kFormID_PAScheduleSP, sp(17945), "987-65-4321", 1);
  markSP(21, 2);
  text(kFormID_PAScheduleSP, sp(10), "987-65-4321", 2);
  const std::string spouse = "You must include your spouse's name";
  EXPECT_FALSE(one(audit(Kind::kOrdinary, 2), spouse).answer);
  put(kFormID_PAScheduleSP, sp(10), DataMgmt::FieldValue::null(), 2);
  const Seen s = one(audit(Kind::kOrdinary, 2), spouse);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.copy, 2);
  EXPECT_EQ(s.field, 17943);
}

TEST_F(ScheduleSPAuditTest, AttachmentRulesAreFalseInAnElectronicFilingAudit) {
  for (int field : {36533, 36535, 36874, 36876, 208815, 139388}) markSP(field);
  number(kFormID_PAScheduleSP, sp(53), 6);
  number(kFormID_PAScheduleSP, sp(9608), 10);
  EXPECT_EQ(trueCount(audit(Kind::kListing)), 5);
  EXPECT_EQ(trueCount(audit(Kind::kListingInEFile)), 0);
  // The refusals of the same data are not attachments: both spouses claimed
  // as dependents, and dependents claimed for the first time.
  const std::vector<Seen> eFile = audit(Kind::kEFile);
  EXPECT_TRUE(one(eFile, "This program does not support electronic filing for married").answer);
  EXPECT_TRUE(one(eFile, "You can't e-file, since it's the first time").answer);
}

}  // namespace
