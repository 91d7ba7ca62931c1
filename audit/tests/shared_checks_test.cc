// The shared electronic-filing checks of the state layer, run with the PA
// information form's fields in an electronic-filing audit: direct deposit,
// driver's licence or state ID, and the state information of the federal
// wage and income statements (amounts in hundredths).
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
};

TEST_F(SharedChecksTest, DirectDeposit) {
  EXPECT_TRUE(deposit(true).empty());  // no form: nothing reported
  info(kDirectDepositYesBox);
  info(kDepositUseFederalBankBox);
  std::vector<Seen> seen = deposit(false);
  ASSERT_EQ(seen.size(), 5u);  // no bank-name rule: PA passes no bank name
  EXPECT_EQ(trueCount(seen), 0);
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
}

TEST_F(SharedChecksTest, DriversLicence) {
  EXPECT_TRUE(licence().empty());  // no form: nothing reported
  info(kTaxpayerDriversLicenseBox);  // an ID without entries
  std::vector<Seen> seen = licence();
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
      {"someday", "NEVER", false, false, true},           // unreadable: before today
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

// Entries are compared whole, however long: a licence number and a federal
// one alike in their first 127 characters differ; a blank late in an
// account number is found.
TEST_F(SharedChecksTest, LongEntriesCountWhole) {
  const std::string start(130, '7');
  completeLicence("01/10/2015", "01/10/2023");
  info(kTaxpayerIDNumber, (start + "1").c_str());
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerIdNumber, start + "2");
  EXPECT_TRUE(one(licence(), "The driver's license or state ID number doesn't match").answer);
  info(kDirectDepositYesBox);
  info(kDepositRoutingNumber, "031000053");
  info(kDepositCheckingBox);
  info(kDepositAccountNumber, (start + " 1").c_str());
  EXPECT_TRUE(one(deposit(true), kCharacters).answer);
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
    EXPECT_TRUE(c.fired == nullptr || seen[0].startsWith(c.fired + std::string(" suffix must")));
  }
}

// The statement rules PA asks for report only when true (their texts, and
// the W-2G, 1099-G and 1099-R cases, are pinned by the golden audits).
TEST_F(SharedChecksTest, StatementRules) {
  // Withholding against wages, on any state's line, stored as the refusal;
  // both amounts 0 are skipped.
  const struct {
    uint16_t copy;
    const char* state;
    double wages, withheld;
    bool fires;
  } lines[] = {{1, "PA", 0, 0, false}, {2, "NY", 10000, 9900, false}, {2, "NY", 5001, 5001, true},
               {1, "PA", 0, 5000, true}};
  std::vector<Seen> seen;
  for (const auto& l : lines) {
    SetUp();
    armRefusalRecord();
    text(kFormID_FedW2, FedW2::kStateCode.at(0), l.state, l.copy);
    number(kFormID_FedW2, FedW2::kStateWages.at(0), l.wages, l.copy);
    number(kFormID_FedW2, FedW2::kStateIncomeTax.at(0), l.withheld, l.copy);
    seen = statements();
    ASSERT_EQ(seen.size(), l.fires ? 1u : 0u) << l.state << " " << l.wages;
  }
  EXPECT_EQ(seen[0].helpId, AuditMgmt::kStateAudit_HowToGoBackToFedInterview);
  EXPECT_EQ(std::vector<int>({seen[0].answer, seen[0].code, seen[0].form}),
            std::vector<int>({1, 6, 0}));
  EXPECT_TRUE(seen[0].startsWith("Your state tax withholding amount (50.00) in box 17 equals or "
                                 "exceeds your state wage amount (0.00) on copy 1"));
  EXPECT_EQ(refusalText(), seen[0].text);

  // Other states' rule of federal wages under 1 compares the wages as
  // stored (hundredths): one cent passes.
  for (double wages : {0.5, 1.0, 99.0}) {
    SetUp();
    number(kFormID_FedW2, FedW2::kWages, wages);
    seen = statements(0x1000);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].answer, wages < 1.0) << wages;
    EXPECT_EQ(seen[0].text,
              "Pennsylvania does not allow electronic filing if the amount of federal wages in box "
              "1 of your Form W-2 is less than $1. See federal Form W-2, copy 1.To e-file your "
              "Pennsylvania return, you will need to go back to the federal interview to the Form "
              "W-2 and correct your state W-2 information.");
  }

  SetUp();  // a 1099-G's withholding is compared only with its box marked
  text(kFormID_Fed1099G, Fed1099G::kState, "PA");
  text(kFormID_Fed1099G, Fed1099G::kPayerName, "PA Dept of Labor");
  text(kFormID_Fed1099G, Fed1099G::kPayerId, "23-1234567");
  number(kFormID_Fed1099G, Fed1099G::kUnemploymentCompensation, 10000);
  number(kFormID_Fed1099G, Fed1099G::kStateTaxWithheld, 10000);
  EXPECT_TRUE(statements().empty());
  mark(kFormID_Fed1099G, Fed1099G::kUnemploymentBox);
  EXPECT_TRUE(one(statements(), "Your first state withholding amount (100.00) equals or exceeds "
                                "your unemployment amount (100.00)").answer);

  // A W-2G: winnings (box 1), state winnings (box 14) and state tax
  // withheld (box 15); only the tax withheld is held against the winnings.
  const struct {
    const char* state;
    double stateWinnings, withheld;
    const char* fired;  // null for none
  } w2gs[] = {{"PA", 60000, 0, nullptr},
              {"", 60000, 0, nullptr},
              {"PA", 60000, 3000, nullptr},
              {"PA", 60000, 60000, "Your first state withholding amount (600.00) equals or exceeds "
                                   "your winnings amount (600.00) on copy 1 of your form (W-2G)"},
              {"", 0, 3000, "You have entered state taxes withheld, but did not enter a state "
                            "name on copy 1 of your form (W-2G)"}};
  for (const auto& w : w2gs) {
    SetUp();
    number(kFormID_FedW2G, FedW2G::kWinnings, 60000);
    text(kFormID_FedW2G, FedW2G::kState, w.state);
    number(kFormID_FedW2G, FedW2G::kStateWinnings, w.stateWinnings);
    number(kFormID_FedW2G, FedW2G::kStateIncomeTax, w.withheld);
    seen = statements();
    ASSERT_EQ(seen.size(), w.fired == nullptr ? 0u : 1u) << w.state << " " << w.withheld;
    EXPECT_TRUE(w.fired == nullptr || seen[0].startsWith(w.fired)) << seen[0].text;
  }
}

}  // namespace
}  // namespace audit_test
