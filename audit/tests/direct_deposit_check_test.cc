// The shared direct-deposit check, run with the fields the PA information
// form passes (class 2: read in an electronic-filing audit).
#include "audit/tests/info_rules_fixture.h"

namespace info_rules_test {
namespace {

const char kRouting[] = "routing transit number must be filled in";
const char kAccount[] = "account number must be filled in";
const char kCharacters[] = "Account numbers may only contain";
const char kNoType[] = "the checking or savings account check box must be checked";
const char kTwoTypes[] = "Type of account must either be checking or savings";
const char kCarried[] =
    ". Since you have elected to carry the information from your federal return, you must close "
    "the state program and make the change in the federal program.";

class DirectDepositCheckTest : public InfoRulesTest {
 protected:
  typedef Primitives::OVImmutableTopicIdentifier TopicId;

  // The PA form's fields; `bankName` and the further kinds are the
  // caller's choice in a few tests.
  std::vector<Shown> check(bool refundDue, const FieldId& bankName = FieldId(),
                           const FieldId& third = FieldId(), const FieldId& fourth = FieldId()) {
    return eFile([&] {
      auditor->auditDirectDeposit(AuditMgmt::kNoAuditHelpID, TopicId(0), false,
                                  kFormID_PAReturnInfo, 2, refundDue, info(95), info(96), bankName,
                                  info(99), info(100), info(97), info(98), third, fourth,
                                  FieldId());
    });
  }
  // Direct deposit requested, with a routing number and a checking account.
  void requestDeposit(const std::string& account) {
    mark(kFormID_PAReturnInfo, info(95));
    text(kFormID_PAReturnInfo, info(99), "031000053");
    if (!account.empty()) text(kFormID_PAReturnInfo, info(100), account);
    mark(kFormID_PAReturnInfo, info(97));
  }
};

TEST_F(DirectDepositCheckTest, WithoutRefundEveryRuleAnswersFalse) {
  mark(kFormID_PAReturnInfo, info(95));  // requested, but no refund
  const std::vector<Shown> seen = check(false);
  ASSERT_EQ(seen.size(), 5u);  // no bank-name rule: PA passes no bank name
  EXPECT_EQ(trueCount(seen), 0);
  EXPECT_EQ(one(seen, kRouting).field, 99);
  EXPECT_EQ(one(seen, kAccount).field, 100);
  EXPECT_EQ(one(seen, kCharacters).code, 6);
  EXPECT_EQ(one(seen, kNoType).field, 97);
  EXPECT_EQ(one(seen, kTwoTypes).code, 3);
  for (const Shown& s : seen) {
    EXPECT_EQ(s.form, 168);
    EXPECT_EQ(s.copy, 1);
  }
}

TEST_F(DirectDepositCheckTest, RequestBoxClearMeansNoDeposit) {
  holder(kFormID_PAReturnInfo);
  const std::vector<Shown> seen = check(true);
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(trueCount(seen), 0);
}

TEST_F(DirectDepositCheckTest, AccountNumberCharacters) {
  struct Case {
    const char* account;
    bool characters;
    bool missing;
  };
  const Case cases[] = {
      {"12345678", false, false}, {"1234 5678", true, false}, {"1234/5678", true, false},
      {"AB-1234", false, false},  {"12.34", true, false},     {"", false, true},
  };
  for (const Case& c : cases) {
    SetUp();
    requestDeposit(c.account);
    const std::vector<Shown> seen = check(true);
    EXPECT_EQ(one(seen, kCharacters).answer, c.characters) << "\"" << c.account << "\"";
    EXPECT_EQ(one(seen, kAccount).answer, c.missing) << "\"" << c.account << "\"";
    EXPECT_FALSE(one(seen, kRouting).answer);
  }
}

TEST_F(DirectDepositCheckTest, AccountTypes) {
  requestDeposit("123");
  mark(kFormID_PAReturnInfo, info(98));  // checking and savings
  std::vector<Shown> seen = check(true);
  EXPECT_TRUE(one(seen, kTwoTypes).answer);
  EXPECT_FALSE(one(seen, kNoType).answer);

  SetUp();
  mark(kFormID_PAReturnInfo, info(95));
  seen = check(true);
  EXPECT_TRUE(one(seen, kNoType).answer);
  EXPECT_FALSE(one(seen, kTwoTypes).answer);
  EXPECT_TRUE(one(seen, kRouting).answer);
}

TEST_F(DirectDepositCheckTest, CarriedBoxAppendsTheFederalSuffixWhateverTheAnswer) {
  mark(kFormID_PAReturnInfo, info(96));
  const std::vector<Shown> seen = check(false);
  EXPECT_EQ(one(seen, kRouting).text, std::string(kRouting) + kCarried);
  EXPECT_EQ(one(seen, kAccount).text, std::string(kAccount) + kCarried);
  // The character rule never takes the suffix.
  EXPECT_EQ(one(seen, kCharacters).text.find("Since you have elected"), std::string::npos);
}

TEST_F(DirectDepositCheckTest, BankNameCheckedOnlyWhenTheStateHasOne) {
  requestDeposit("123");
  const std::vector<Shown> seen = check(true, info(41));
  ASSERT_EQ(seen.size(), 6u);
  const Shown bank = one(seen, "bank name must be filled in");
  EXPECT_TRUE(bank.answer);
  EXPECT_EQ(bank.field, 41);
}

TEST_F(DirectDepositCheckTest, FurtherAccountKindsCountWithTheGeneralTexts) {
  requestDeposit("123");
  // Two further kinds given (any boxes of the form serve here): the
  // general texts, and a second marked kind counts as two types.
  mark(kFormID_PAReturnInfo, info(104));
  const std::vector<Shown> seen = check(true, FieldId(), info(104), info(14563));
  EXPECT_TRUE(one(seen, "only one of the account type check boxes can be checked").answer);
  EXPECT_FALSE(one(seen, "an account type check box must be checked").answer);

  // A third kind on a return type without a name for it: the general texts.
  SetUp();
  mark(kFormID_PAReturnInfo, info(95));
  const std::vector<Shown> three = check(true, FieldId(), info(104));
  EXPECT_TRUE(one(three, "an account type check box must be checked").answer);
}

TEST_F(DirectDepositCheckTest, HoosierWorksAccountsHaveTwelveDigits) {
  struct Case {
    bool thirdMarked;
    const char* account;
    bool twelveDigitRule;  // reported instead of the routing rule
    bool answer;
  };
  const Case cases[] = {
      {true, "12345678901", true, true},
      {true, "123456789012", true, false},
      {true, "12345678901A", true, true},
      {false, "1", false, true},  // the routing rule, no routing number
  };
  for (const Case& c : cases) {
    SetUp();
    useOtherState(17, "IN");
    mark(kFormID_PAReturnInfo, info(95));
    text(kFormID_PAReturnInfo, info(100), c.account);
    if (c.thirdMarked) mark(kFormID_PAReturnInfo, info(104));
    const std::vector<Shown> seen = check(true, FieldId(), info(104));
    const std::vector<Shown> twelve = with(seen, "Hoosier Works MC numbers are 12 digits.");
    const std::vector<Shown> routing = with(seen, kRouting);
    ASSERT_EQ(twelve.size(), c.twelveDigitRule ? 1u : 0u) << c.account;
    ASSERT_EQ(routing.size(), c.twelveDigitRule ? 0u : 1u) << c.account;
    EXPECT_EQ((c.twelveDigitRule ? twelve[0] : routing[0]).answer, c.answer) << c.account;
    EXPECT_FALSE(
        one(seen, "the checking, savings or Hoosier Works MC account check box must be checked")
            .answer == c.thirdMarked);
  }
}

TEST_F(DirectDepositCheckTest, MissingFormReportsNothing) { EXPECT_TRUE(check(true).empty()); }

}  // namespace
}  // namespace info_rules_test
