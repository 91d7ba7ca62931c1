// Audit rules of PA Schedules C and D.
#include <string>
#include <vector>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kCopyLimitText[] = "More than 4 copies of PA Schedule C are not allowed";
const char kOtherIncomeText[] =
    "This program does not support electronic filing for taxpayers who have Other Income";
const char kLineAText[] = "You must supply both the \"Main Business Activity\"";
const char kDepreciationText[] = "You reported federal depreciation expense";
const char kColumnText[] = "For this line, if columns (c), (d) or (g) have an amount";
const char kEmployerIdText[] = "You reported wage expense but not the federal employer";

class ScheduleCAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId sc(int hostField) { return kPAScheduleCFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleC, kFormID_PAScheduleC, copy, kind);
  }
  void amount(int hostField, double value, uint16_t copy = 1) {
    number(kFormID_PAScheduleC, sc(hostField), value, copy);
  }
};

TEST_F(ScheduleCAuditTest, FourCopiesMayBeFiledElectronically) {
  for (uint16_t copy = 1; copy <= 5; ++copy) {
    const Seen s = one(audit(Kind::kEFile, copy), kCopyLimitText);
    EXPECT_EQ(s.answer, copy == 5) << copy;
    EXPECT_EQ(s.code, 6);
  }
  EXPECT_TRUE(with(audit(Kind::kOrdinary, 5), kCopyLimitText).empty());
}

TEST_F(ScheduleCAuditTest, OtherIncomeAboveZeroBarsElectronicFiling) {
  amount(56219, -4);
  EXPECT_FALSE(one(audit(Kind::kEFile), kOtherIncomeText).answer);
  amount(56219, 4);
  EXPECT_TRUE(one(audit(Kind::kEFile), kOtherIncomeText).answer);
}

TEST_F(ScheduleCAuditTest, LineARuleOnlyOnCalculatedCopies) {
  EXPECT_TRUE(with(audit(Kind::kEFile), kLineAText).empty());
  EXPECT_TRUE(with(audit(Kind::kOrdinary), kLineAText).empty());

  holder(kFormID_PAScheduleC, 1)->setCalcMark(true);
  text(kFormID_PAScheduleC, sc(56187), "Farming");
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile}) {
    const Seen s = one(audit(kind), kLineAText);
    EXPECT_TRUE(s.answer);
    EXPECT_EQ(s.code, 6);
    EXPECT_EQ(s.field, 0);
  }
  text(kFormID_PAScheduleC, sc(56611), "Apples");
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kLineAText).answer);
}

TEST_F(ScheduleCAuditTest, DepreciationNeedsThePAFigure) {
  amount(56228, 900);
  Seen s = one(audit(Kind::kOrdinary), kDepreciationText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 56231);
  EXPECT_EQ(s.code, 7);
  amount(56232, 900);
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kDepreciationText).answer);
}

TEST_F(ScheduleCAuditTest, ColumnRulePerLine) {
  // Columns (c), (d), (g) of the five lines.
  const int lines[5][3] = {{56323, 56324, 56327},
                           {56329, 56330, 56333},
                           {56335, 56336, 56339},
                           {56341, 56342, 56345},
                           {56348, 56349, 56352}};
  struct Case {
    bool filled[3];
    bool answer;
  };
  const Case cases[] = {
      {{true, true, false}, true},
      {{false, false, true}, true},
      {{true, true, true}, false},
      {{false, false, false}, false},
  };
  for (int line = 0; line < 5; ++line) {
    for (const Case& c : cases) {
      SetUp();
      for (int k = 0; k < 3; ++k) {
        if (c.filled[k]) amount(lines[line][k], 10);
      }
      const std::vector<Seen> seen = with(audit(Kind::kEFile), kColumnText);
      ASSERT_EQ(seen.size(), 5u);
      for (int other = 0; other < 5; ++other) {
        EXPECT_EQ(seen[other].field, lines[other][0]);
        EXPECT_EQ(seen[other].answer, other == line && c.answer) << line << " " << other;
      }
    }
  }
  EXPECT_TRUE(with(audit(Kind::kOrdinary), kColumnText).empty());
}

TEST_F(ScheduleCAuditTest, WageExpenseNeedsTheEmployerId) {
  amount(56265, 3000);
  Seen s = one(audit(Kind::kOrdinary), kEmployerIdText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 56190);
  EXPECT_EQ(s.code, 4);
  text(kFormID_PAScheduleC, sc(56190), "23-1234567");
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kEmployerIdText).answer);
}

const char kD1Attach[] = "attach Schedule D-1";
const char kD1Refusal[] = "This program does not support e-filing for returns with PA Schedule D-1";
const char kD71Attach[] = "attach Schedule D-71";
const char kD71Refusal[] =
    "This program does not support e-filing for returns with PA Schedule D-71";
const char kPartnershipText[] = "This program does not support electronic filed returns";
const char kResidenceText[] = "This program does not support e-filing for returns with a taxable";
const char kInsuranceText[] =
    "This program does not support electronic filing for taxpayers who realized";

class ScheduleDAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId sd(int hostField) { return kPAScheduleDFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleD, kFormID_PAScheduleD, copy, kind);
  }
  void amount(int hostField, double value, uint16_t copy = 1) {
    number(kFormID_PAScheduleD, sd(hostField), value, copy);
  }
  // Listing lines start with a lower-case letter already.
  bool listed(Kind kind, const char* text) { return one(audit(kind), text).answer; }
  bool refused(const char* text) { return one(audit(Kind::kEFile), text).answer; }
};

TEST_F(ScheduleDAuditTest, NothingWithoutANetAmount) {
  amount(89, 100);
  amount(94, -100);
  amount(105, 0.4);  // reads as 0
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile, Kind::kListing, Kind::kListingInEFile}) {
    EXPECT_TRUE(audit(kind).empty());
  }
}

TEST_F(ScheduleDAuditTest, D1AndD71) {
  amount(105, -50);
  amount(94, -100);
  EXPECT_TRUE(listed(Kind::kListing, kD71Attach));
  EXPECT_FALSE(listed(Kind::kListingInEFile, kD71Attach));
  EXPECT_TRUE(refused(kD71Refusal));

  amount(89, -100);
  EXPECT_FALSE(listed(Kind::kListing, kD1Attach));
  EXPECT_FALSE(refused(kD1Refusal));
  amount(89, 100);
  EXPECT_TRUE(listed(Kind::kListing, kD1Attach));
  EXPECT_TRUE(refused(kD1Refusal));
}

TEST_F(ScheduleDAuditTest, OtherRefusals) {
  struct Case {
    int field;
    double value;
    const char* text;
    bool refused;
  };
  const Case cases[] = {
      {96, -1, kPartnershipText, true},   {178, 1, kPartnershipText, true},
      {179, -1, kPartnershipText, false}, {179, 2, kPartnershipText, true},
      {103, 5, kResidenceText, true},     {103, -5, kResidenceText, false},
      {9355, -3, kInsuranceText, true},
  };
  for (const Case& c : cases) {
    SetUp();
    amount(105, 10, 2);
    amount(c.field, c.value, 2);
    const std::vector<Seen> seen = audit(Kind::kEFile, 2);
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(one(seen, c.text).answer, c.refused) << c.field << " " << c.value;
    EXPECT_EQ(trueCount(seen), c.refused ? 1 : 0) << c.field;
  }
}

TEST_F(ScheduleDAuditTest, ResidenceTextKeepsItsBlanks) {
  amount(105, 10);
  amount(103, 10);
  const Seen s = one(audit(Kind::kEFile), kResidenceText);
  EXPECT_EQ(s.text.substr(0, s.text.find(".  This issue")),
            "This program does not support e-filing for returns with a taxable gain or loss from "
            "the sale of a personal residence.  This error only affects your state return. You can "
            "still e-file your federal return and file your state return on paper.  We'll guide "
            "you step-by-step through the process when you finish checking your return ");
  EXPECT_EQ(s.field, 0);
  EXPECT_EQ(s.form, 173);
}

}  // namespace
