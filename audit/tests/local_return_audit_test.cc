// Rules of the Local Income Tax Return and of Schedule O.
#include "audit/tests/info_rules_fixture.h"

namespace info_rules_test {
namespace {

const char kCreditText[] = "If your credit is for taxes paid";
const char kNonresidentText[] = "As a Pennsylvania nonresident";
const char kIdentityText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the name";
const char kAmountText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the amount";

class LocalReturnAuditTest : public InfoRulesTest {
 protected:
  static const FieldId& local(int number) {
    return kPALocalIncomeTaxReturnFieldIds.byNumber(number);
  }
  static const FieldId& deduction(int number) { return kPADeductionsFieldIds.byNumber(number); }

  std::vector<Shown> auditLocal(uint16_t copy = 1) {
    return ordinary([&] {
      auditor->auditLocalEarnedIncomeTax(holder(kFormID_PALocalIncomeTaxReturn, copy), copy);
    });
  }
  std::vector<Shown> auditO(AuditMgmt::AuditType type) {
    return shown(type, [&] { auditor->auditScheduleO(holder(kFormID_PADeductions), 1); });
  }
  std::vector<std::string> listO(AuditMgmt::AuditType type) {
    return listed(type, 8, [&] { auditor->auditScheduleO(holder(kFormID_PADeductions), 1); });
  }
};

TEST_F(LocalReturnAuditTest, NothingWithoutTheStartingEntry) {
  number(kFormID_PALocalIncomeTaxReturn, local(143981), 500);
  mark(kFormID_PAReturnInfo, info(47));
  EXPECT_TRUE(auditLocal().empty());
}

TEST_F(LocalReturnAuditTest, CreditLimitedToLiabilityInEitherColumn) {
  struct Case {
    double liability1, liability2, credit1, credit2;
    bool answer;
  };
  const Case cases[] = {
      {100, 100, 100, 100, false},
      {100, 100, 100, 101, true},
      {100, 100, 101, 0, true},
      {0, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SetUp();
    text(kFormID_PALocalIncomeTaxReturn, local(144172), "X");
    number(kFormID_PALocalIncomeTaxReturn, local(143975), c.liability1);
    number(kFormID_PALocalIncomeTaxReturn, local(143976), c.liability2);
    number(kFormID_PALocalIncomeTaxReturn, local(143981), c.credit1);
    number(kFormID_PALocalIncomeTaxReturn, local(143982), c.credit2);
    const std::vector<Shown> seen = auditLocal();
    ASSERT_EQ(seen.size(), 2u);
    const Shown credit = one(seen, kCreditText);
    EXPECT_EQ(credit.answer, c.answer) << c.credit1 << " " << c.credit2;
    EXPECT_EQ(credit.code, 7);
    EXPECT_EQ(credit.field, 143981);
    EXPECT_EQ(credit.form, 143868);
  }
}

TEST_F(LocalReturnAuditTest, NonresidentAnswerReadAtTheLocalReturnsCopy) {
  mark(kFormID_PAReturnInfo, info(47), 2);
  text(kFormID_PALocalIncomeTaxReturn, local(144172), "X", 1);
  text(kFormID_PALocalIncomeTaxReturn, local(144172), "X", 2);

  const Shown first = one(auditLocal(1), kNonresidentText);
  EXPECT_FALSE(first.answer);
  const Shown second = one(auditLocal(2), kNonresidentText);
  EXPECT_TRUE(second.answer);
  EXPECT_EQ(second.copy, 2);
  EXPECT_EQ(second.field, 144172);
}

TEST_F(LocalReturnAuditTest, BeneficiaryWithAmountButNoNumberReportedOnce) {
  number(kFormID_PADeductions, deduction(36547), 500);
  text(kFormID_PADeductions, deduction(36545), "Kid One");
  number(kFormID_PADeductions, deduction(36556), 300);  // row 3: no identity at all
  const std::vector<Shown> seen = auditO(AuditMgmt::kAuditEFile);
  const Shown identity = one(seen, kIdentityText);
  EXPECT_TRUE(identity.answer);
  EXPECT_EQ(identity.code, 4);
  EXPECT_EQ(identity.field, 0);
  EXPECT_TRUE(with(seen, kAmountText).empty());
}

TEST_F(LocalReturnAuditTest, BeneficiaryWithoutAmount) {
  text(kFormID_PADeductions, deduction(36550), "123-45-6789");
  const Shown amount = one(auditO(AuditMgmt::kAuditStandard), kAmountText);
  EXPECT_TRUE(amount.answer);
  EXPECT_EQ(amount.form, 36090);
}

TEST_F(LocalReturnAuditTest, NegativeAmountFiresNeitherTableRule) {
  text(kFormID_PADeductions, deduction(36549), "Kid Two");
  number(kFormID_PADeductions, deduction(36551), -50);
  EXPECT_TRUE(auditO(AuditMgmt::kAuditStandard).empty());
}

TEST_F(LocalReturnAuditTest, EmptyScheduleReportsOnlyTheAttachmentRuleAsFalse) {
  EXPECT_TRUE(auditO(AuditMgmt::kAuditStandard).empty());
  const std::vector<std::string> lines = listO(AuditMgmt::kAuditStandard);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            "N    - attach a copy of your federal Form 1040 Schedule 1 and page 1 and 2 of your "
            "federal Form 1040.");
}

TEST_F(LocalReturnAuditTest, AttachmentRuleOnlyInAnOrdinaryAudit) {
  number(kFormID_PADeductions, deduction(36563), 10);
  number(kFormID_PADeductions, deduction(36564), -5);
  std::vector<std::string> lines = listO(AuditMgmt::kAuditStandard);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 7), "Y    - ");

  SetUp();
  number(kFormID_PADeductions, deduction(36563), 10);
  lines = listO(AuditMgmt::kAuditEFile);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 7), "N    - ");
}

}  // namespace
}  // namespace info_rules_test
