// The shared electronic-filing checks of the state layer, run with the PA
// information form's fields in an electronic-filing audit: direct deposit,
// driver's licence or state ID, and the state information of the federal
// wage and income statements (amounts in hundredths).
#include <cstdio>

#include "audit/tests/audit_fixture.h"
#include "host/dates.h"

namespace audit_test {
namespace {

using namespace PAReturnInfo;  // NOLINT(build/namespaces): the checked form's fields

const char kRouting[] = "routing transit number must be filled in";
const char kAccount[] = "account number must be filled in";
const char kCharacters[] = "Account numbers may only contain";
const char kNoType[] = "the checking or savings account check box must be checked";
const char kMismatch[] = "The expiration date doesn't match";

class SharedChecksTest : public AuditTest {
 protected:
  void SetUp() override {
    AuditTest::SetUp();
    Utils::setCurrentDate(6, 15, 2019);  // "today" of the licence dates
  }
  void info(const FieldId& field, const char* value = nullptr) {
    if (value == nullptr) return mark(kFormID_PAReturnInfo, field);
    text(kFormID_PAReturnInfo, field, value);
  }
  std::vector<Seen> deposit(bool refundDue) {
    return seenIn(Kind::kEFile, [&] {
      auditor->auditDirectDeposit("", 0, false, kFormID_PAReturnInfo, 2, refundDue,
                                  kDirectDepositYesBox, kDepositUseFederalBankBox, FieldId(),
                                  kDepositRoutingNumber, kDepositAccountNumber, kDepositCheckingBox,
                                  kDepositSavingsBox, FieldId(), FieldId(), FieldId());
    });
  }
  std::vector<Seen> licence() {
    return seenIn(Kind::kEFile, [&] {
      auditor->auditDriversLicense(
          kFormID_PAReturnInfo, 2, kTaxpayerNoIDBox, kTaxpayerOtherIDOptionBox, kTaxpayerIDNumber,
          kTaxpayerIDState, kTaxpayerIDIssueDate, kTaxpayerIDExpirationDate,
          kTaxpayerIDNoExpirationBox, kTaxpayerDriversLicenseBox, kTaxpayerStateIDBox,
          kSpouseNoIDBox, kSpouseOtherIDOptionBox, kSpouseIDNumber, kSpouseIDState,
          kSpouseIDIssueDate, kSpouseIDExpirationDate, kSpouseIDNoExpirationBox,
          kSpouseDriversLicenseBox, kSpouseStateIDBox);
    });
  }
  void completeLicence(const char* issued, const char* expires) {
    info(kTaxpayerDriversLicenseBox);
    info(kTaxpayerIDNumber, "D1234567");
    info(kTaxpayerIDState, "PA");
    info(kTaxpayerIDIssueDate, issued);
    info(kTaxpayerIDExpirationDate, expires);
  }
  // PA's options: suffix, duplicate state, missing state, withholding.
  std::vector<Seen> statements(int options = 177) {
    return seenIn(Kind::kEFile, [&] {
      auditor->auditStateInfoReturns("", 0, false, kFormID_PAReturnInfo, options, false);
    });
  }
  static std::string tail(const char* shortName) {
    char buf[512];
    std::snprintf(buf, sizeof(buf),
                  ". If this is correct, you must file your return on paper. To e-file your "
                  "Pennsylvania return, you will need to go back to the federal interview to form "
                  "%s and correct your state information.",
                  shortName);
    return buf;
  }
};

TEST_F(SharedChecksTest, DirectDeposit) {
  EXPECT_TRUE(deposit(true).empty());  // no form: nothing reported
  info(kDirectDepositYesBox);
  info(kDepositUseFederalBankBox);
  std::vector<Seen> seen = deposit(false);
  ASSERT_EQ(seen.size(), 5u);  // no bank-name rule: PA passes no bank name
  EXPECT_EQ(trueCount(seen), 0);
  EXPECT_EQ(one(seen, kRouting).field, kDepositRoutingNumber.number());
  EXPECT_EQ(one(seen, kNoType).field, kDepositCheckingBox.number());
  EXPECT_EQ(one(seen, "Type of account must either be checking or savings").code, 3);
  // The carried-over suffix, whatever the answer; never on the character rule.
  const std::string carried =
      ". Since you have elected to carry the information from your federal return, you must "
      "close the state program and make the change in the federal program.";
  EXPECT_EQ(one(seen, kRouting).text, kRouting + carried);
  EXPECT_EQ(one(seen, kAccount).text, kAccount + carried);
  EXPECT_EQ(one(seen, kCharacters).text.find("Since you have"), std::string::npos);
  EXPECT_TRUE(one(deposit(true), kNoType).answer);
  EXPECT_TRUE(one(deposit(true), kRouting).answer);

  const struct {
    const char* account;
    bool characters, missing;
  } cases[] = {{"12345678", false, false},
               {"1234 5678", true, false},
               {"AB-1234", false, false},
               {"12.34", true, false},
               {"", false, true}};
  for (const auto& c : cases) {
    SetUp();
    info(kDirectDepositYesBox);
    info(kDepositRoutingNumber, "031000053");
    if (c.account[0] != '\0') info(kDepositAccountNumber, c.account);
    info(kDepositCheckingBox);
    seen = deposit(true);
    EXPECT_EQ(one(seen, kCharacters).answer, c.characters) << "\"" << c.account << "\"";
    EXPECT_EQ(one(seen, kAccount).answer, c.missing) << "\"" << c.account << "\"";
    EXPECT_EQ(trueCount(seen), c.characters || c.missing ? 1 : 0);
  }
  info(kDepositSavingsBox);  // checking and savings
  EXPECT_TRUE(one(deposit(true), "Type of account must either be checking or savings").answer);
}

TEST_F(SharedChecksTest, DriversLicence) {
  EXPECT_TRUE(licence().empty());  // no form: nothing reported
  holder(kFormID_PAReturnInfo);
  std::vector<Seen> seen = licence();
  ASSERT_EQ(seen.size(), 11u);  // filing status 1: the taxpayer's rules only
  EXPECT_EQ(trueCount(seen), 1);
  EXPECT_EQ(one(seen, "Select one of the options for your driver's").field,
            kTaxpayerDriversLicenseBox.number());
  info(kJointBox);  // filing status 2: the spouse's rules too
  info(kTaxpayerNoIDBox);
  seen = licence();
  ASSERT_EQ(seen.size(), 22u);
  EXPECT_EQ(trueCount(seen), 1);
  EXPECT_TRUE(one(seen, "Select one of the options for your spouse's").answer);

  SetUp();  // an ID without entries
  info(kTaxpayerDriversLicenseBox);
  seen = licence();
  EXPECT_EQ(trueCount(seen), 4);
  EXPECT_TRUE(one(seen, "Enter the expiration date").answer);
  info(kTaxpayerIDNoExpirationBox);
  EXPECT_FALSE(one(licence(), "Enter the expiration date").answer);

  SetUp();  // against the federal entries: both needed, case and format ignored
  completeLicence("01/10/2015", "01/10/2023");
  EXPECT_EQ(trueCount(licence()), 0);
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdNumber, "d1234567");
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdState, "pa");
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdIssueDate, "2015-01-10");
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdExpirationDate, "01/11/2023");
  seen = licence();
  EXPECT_EQ(trueCount(seen), 1);
  EXPECT_EQ(one(seen, kMismatch).field, kTaxpayerIDExpirationDate.number());
  EXPECT_EQ(one(seen, kMismatch).code, 7);
  mark(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdNoExpirationBox);
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdExpirationDate, "1/10/2023");
  EXPECT_TRUE(one(licence(), kMismatch).answer);  // no expiration against a clear box

  const struct {
    const char *issued, *expires;
    bool noExpiration, issueAfter, expiredBefore;
  } dates[] = {
      {"06/16/2019", "06/16/2025", false, true, false},   // issued tomorrow
      {"06/15/2019", "06/15/2019", false, false, false},  // both today
      {"01/01/2010", "06/14/2019", false, false, true},   // expired yesterday
      {"01/01/2010", "06/14/2019", true, false, false},   // no expiration date
      {"01/01/2010", "not a date", false, false, false},  // unreadable: not judged
  };
  for (const auto& c : dates) {
    SetUp();
    completeLicence(c.issued, c.expires);
    if (c.noExpiration) info(kTaxpayerIDNoExpirationBox);
    seen = licence();
    const Seen issue = one(seen, "The issue date of your ID must be on or before");
    EXPECT_EQ(issue.answer, c.issueAfter) << c.issued;
    EXPECT_EQ(issue.code, 6);
    EXPECT_EQ(one(seen, "The expiration date of your ID must be on or after").answer,
              c.expiredBefore)
        << c.expires;
  }
}

TEST_F(SharedChecksTest, NameSuffixes) {
  const struct {
    int status;
    const char *taxpayer, *spouse, *fired;  // fired: null for none
  } cases[] = {{1, "jr", "", nullptr},
               {1, "III", "ESQ", nullptr},  // status 1: the spouse's is not read
               {2, "", "ESQ", "Spouse"},
               {3, "Esq", "Sr", "Taxpayer"}};
  for (const auto& c : cases) {
    SetUp();
    federal()->setCommonItem(1, c.status);
    text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerSuffix, c.taxpayer);
    text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseSuffix, c.spouse);
    const std::vector<Seen> seen = statements(0x80);
    ASSERT_EQ(seen.size(), c.fired == nullptr ? 0u : 1u) << c.taxpayer << "/" << c.spouse;
    if (c.fired == nullptr) continue;
    EXPECT_EQ(seen[0].code, 6);
    EXPECT_EQ(seen[0].text,
              std::string(c.fired) +
                  " suffix must only be one of the following: JR, SR, II, III, IV, V, VI. To "
                  "e-file your Pennsylvania return, you will need to go back to the federal "
                  "interview and remove your suffix.  For instructions on how to make this "
                  "change, click the FAQ \"How can I go back to an Interview topic?\"");
  }
}

TEST_F(SharedChecksTest, StatementTexts) {
  number(kFormID_FedW2, FedW2::kStateIncomeTax.at(0), 5000, 2);
  number(kFormID_FedW2, FedW2::kStateWages.at(0), 5000, 2);  // any state's line, equal amounts
  std::vector<Seen> seen = statements();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].helpId, AuditMgmt::kStateAudit_HowToGoBackToFedInterview);
  EXPECT_EQ(seen[0].text,
            "Your state tax withholding amount (50.00) in box 17 equals or exceeds your state wage "
            "amount (50.00) on copy 2 in box 16 of your form (W-2)" +
                tail("W-2"));
  number(kFormID_FedW2, FedW2::kStateWages.at(0), 5001, 2);
  EXPECT_TRUE(statements().empty());

  SetUp();  // W-2G withholding without a state; a W-2 like it never fires
  number(kFormID_FedW2G, FedW2G::kStateWinnings, 700);
  number(kFormID_FedW2G, FedW2G::kWinnings, 100000);
  number(kFormID_FedW2, FedW2::kStateIncomeTax.at(0), 700);
  number(kFormID_FedW2, FedW2::kStateWages.at(0), 100000);
  seen = statements();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "You have entered state taxes withheld, but did not enter a state name on copy 1 of "
            "your form (W-2G)" +
                tail("W-2G"));

  SetUp();  // a 1099-G without payer entries and state, then complete
  text(kFormID_Fed1099G, Fed1099G::kPayerName, "PA Dept of Labor");
  number(kFormID_Fed1099G, Fed1099G::kUnemploymentCompensation, 10000);
  EXPECT_EQ(one(statements(), "You are missing").text,
            "You are missing Payer Name and/or Payer ID and state name on copy 1 of your form "
            "(1099-G)" +
                tail("1099-G"));
  text(kFormID_Fed1099G, Fed1099G::kState, "PA");
  EXPECT_TRUE(one(statements(), "You are missing Payer Name and/or Payer ID on copy 1").answer);
  text(kFormID_Fed1099G, Fed1099G::kPayerId, "23-1234567");
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, 10000);
  EXPECT_TRUE(statements().empty());  // withholding compared only with the box marked
  mark(kFormID_Fed1099G, Fed1099G::kUnemploymentBox);
  EXPECT_EQ(one(statements(), "Your first state withholding").text,
            "Your first state withholding amount (100.00) equals or exceeds your unemployment "
            "amount (100.00) on copy 1 of your form (1099-G)" +
                tail("1099-G"));

  SetUp();  // a 1099-R second line without a state; PA never compares its withholding
  text(kFormID_Fed1099R, Fed1099R::kState, "PA", 3);
  number(kFormID_Fed1099R, Fed1099R::kStateDistribution, 5000, 3);
  number(kFormID_Fed1099R, Fed1099R::kSecondStateDistribution, 5000, 3);
  number(kFormID_Fed1099R, Fed1099R::kGrossDistribution, 10000, 3);
  number(kFormID_Fed1099R, Fed1099R::kSecondStateTaxWithheld, 20000, 3);
  seen = statements();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "You have entered state distribution, but did not enter the state name on the second "
            "line on copy 3 of your form (1099-R)" +
                tail("1099-R"));
}

}  // namespace
}  // namespace audit_test
