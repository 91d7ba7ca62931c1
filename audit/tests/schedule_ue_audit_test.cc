// Audit rules of PA Schedule UE, unreimbursed employee business expenses.
#include <string>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kCopyLimitText[] = "More than 4 copies of PA Schedule UE are not allowed";
const char kEINText[] = "The employer ID number (EIN) you entered on Schedule UE doesn't match";
const char kDateText[] = "You must enter the date you acquired this asset";
const char kMovingText[] = "You may only deduct moving expenses";

class ScheduleUEAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId ue(int hostField) { return kPAScheduleUEFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleUE, kFormID_PAScheduleUE, copy, kind);
  }
  // A copy that is audited: its amount 130 is not 0.
  void claim(uint16_t copy = 1) { number(kFormID_PAScheduleUE, ue(130), 900, copy); }
  void w2EIN(uint16_t copy, const std::string& ein) {
    text(kFormID_FedW2, kFedW2FieldIds.byNumber(7), ein, copy);
  }
};

TEST_F(ScheduleUEAuditTest, NoAmountNoMessagesEvenBeyondTheCopyLimit) {
  holder(kFormID_PAScheduleUE, 5);
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile, Kind::kListing}) {
    EXPECT_TRUE(audit(kind, 5).empty());
  }
}

TEST_F(ScheduleUEAuditTest, OnlyFourCopiesMayBeFiledElectronically) {
  claim(4);
  claim(5);
  EXPECT_FALSE(one(audit(Kind::kEFile, 4), kCopyLimitText).answer);
  EXPECT_TRUE(one(audit(Kind::kEFile, 5), kCopyLimitText).answer);
}

TEST_F(ScheduleUEAuditTest, DescriptionLengthLimits) {
  struct Case {
    int field;
    std::size_t limit;
    const char* text;
  };
  const Case cases[] = {
      {22, 35, "The job description you entered is too long"},
      {38, 32, "The union name you entered is too long"},
      {87, 20, "The course of study description you entered is too long"},
      {117, 40, "The expense description you entered is too long"},
      {119, 40, "The expense description you entered is too long"},
  };
  claim();
  for (const Case& c : cases) {
    text(kFormID_PAScheduleUE, ue(c.field), std::string(c.limit, 'A'));
    std::vector<Seen> seen = with(audit(Kind::kEFile), c.text);
    EXPECT_EQ(trueCount(seen), 0) << c.field;
    text(kFormID_PAScheduleUE, ue(c.field), std::string(c.limit + 1, 'A'));
    seen = with(audit(Kind::kEFile), c.text);
    ASSERT_EQ(trueCount(seen), 1) << c.field;
    for (const Seen& s : seen) {
      if (s.answer) {
        EXPECT_EQ(s.field, c.field);
      }
    }
    put(kFormID_PAScheduleUE, ue(c.field), DataMgmt::FieldValue::null());
  }
}

TEST_F(ScheduleUEAuditTest, DateAcquiredWordsAreRefusedInAnyCase) {
  claim();
  const struct {
    const char* entered;
    bool refused;
  } cases[] = {{"var-l", true},       {"Inherit", true},  {"VAR-S", true},
               {"01/02/2015", false}, {"VARIOUS", false}, {"", false}};
  for (const auto& c : cases) {
    text(kFormID_PAScheduleUE, ue(140), c.entered);
    const std::vector<Seen> dates = with(audit(Kind::kEFile), kDateText);
    ASSERT_EQ(dates.size(), 4u);
    EXPECT_EQ(dates[2].answer, c.refused) << "\"" << c.entered << "\"";
    EXPECT_EQ(dates[2].field, 140);
    EXPECT_EQ(trueCount(dates), c.refused ? 1 : 0);
  }
}

TEST_F(ScheduleUEAuditTest, EmployerNumberAgainstTheW2s) {
  claim();
  w2EIN(1, "11-1111111");
  w2EIN(2, "23-4567890");
  text(kFormID_PAScheduleUE, ue(14453), "23-4567890");
  EXPECT_TRUE(with(audit(Kind::kEFile), kEINText).empty());

  text(kFormID_PAScheduleUE, ue(14453), "23-456789");
  Seen s = one(audit(Kind::kEFile), kEINText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 14453);
  EXPECT_EQ(s.code, 4);

  // An empty number never matches, not even an empty W-2 number.
  put(kFormID_PAScheduleUE, ue(14453), DataMgmt::FieldValue::null());
  holder(kFormID_FedW2, 3);
  EXPECT_FALSE(one(audit(Kind::kEFile), kEINText).answer);
}

TEST_F(ScheduleUEAuditTest, MovingDistanceOfAtLeast35Miles) {
  claim();
  number(kFormID_PAScheduleUE, ue(79), 2000);
  number(kFormID_PAScheduleUE, ue(76), 34);
  Seen s = one(audit(Kind::kEFile), kMovingText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 76);
  number(kFormID_PAScheduleUE, ue(76), 35);
  EXPECT_FALSE(one(audit(Kind::kEFile), kMovingText).answer);
}

TEST_F(ScheduleUEAuditTest, ExpenseLinesNeedBothDescriptionAndAmount) {
  claim();
  text(kFormID_PAScheduleUE, ue(40), "Uniforms");
  number(kFormID_PAScheduleUE, ue(43), 60);
  for (Kind kind : {Kind::kEFile, Kind::kOrdinary}) {
    const std::vector<Seen> seen = audit(kind);
    const Seen clothes = one(seen, "amount paid for work clothes");
    EXPECT_TRUE(clothes.answer);
    EXPECT_EQ(clothes.field, 41);
    EXPECT_EQ(clothes.code, kind == Kind::kEFile ? 4 : 7);
    const Seen tools = one(seen, "description of small tools and supplies");
    EXPECT_TRUE(tools.answer);
    EXPECT_EQ(tools.field, 42);
    EXPECT_FALSE(one(seen, "description of work clothes").answer);
  }
}

TEST_F(ScheduleUEAuditTest, AttachmentsAreFalseInAnElectronicFilingAudit) {
  claim();
  setResidency(2);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(48));
  number(kFormID_PAScheduleUE, ue(31), 500);
  number(kFormID_PAScheduleUE, ue(71), 300);
  number(kFormID_PAScheduleUE, ue(60), 40);
  EXPECT_EQ(trueCount(audit(Kind::kListing)), 4);
  EXPECT_EQ(trueCount(audit(Kind::kListingInEFile)), 0);
}

}  // namespace
