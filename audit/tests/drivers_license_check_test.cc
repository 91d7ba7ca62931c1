// The shared driver's-licence check, run with the PA information form's
// fields (class 2: read in an electronic-filing audit). "Today" is fixed
// at 15 June 2019.
#include "audit/tests/info_rules_fixture.h"
#include "host/dates.h"

namespace info_rules_test {
namespace {

const char kNumberMismatch[] = "The driver's license or state ID number doesn't match";
const char kExpirationMismatch[] = "The expiration date doesn't match";
const char kNoOption[] = "Select one of the options for your driver's";
const char kIssueAfterToday[] = "The issue date of your ID must be on or before";
const char kExpiredBeforeToday[] = "The expiration date of your ID must be on or after";

// The taxpayer's fields by role: other options, number, state, issue date,
// expiration date, no-expiration box, has-ID boxes.
const int kTaxpayer[9] = {192411, 199150, 192412, 192413, 192414, 192415, 192416, 192417, 192418};
const int kSpouse[9] = {192419, 199151, 192420, 192421, 192422, 192423, 192424, 192425, 192426};

class DriversLicenseCheckTest : public InfoRulesTest {
 protected:
  void SetUp() override {
    InfoRulesTest::SetUp();
    Utils::setCurrentDate(6, 15, 2019);
  }

  std::vector<Shown> check() {
    return eFile([&] {
      auto f = [](const int* fields, int k) { return info(fields[k]); };
      auditor->auditDriversLicense(
          kFormID_PAReturnInfo, 2, f(kTaxpayer, 0), f(kTaxpayer, 1), f(kTaxpayer, 2),
          f(kTaxpayer, 3), f(kTaxpayer, 4), f(kTaxpayer, 5), f(kTaxpayer, 6), f(kTaxpayer, 7),
          f(kTaxpayer, 8), f(kSpouse, 0), f(kSpouse, 1), f(kSpouse, 2), f(kSpouse, 3),
          f(kSpouse, 4), f(kSpouse, 5), f(kSpouse, 6), f(kSpouse, 7), f(kSpouse, 8));
    });
  }
  // The taxpayer has a complete licence that agrees with the federal one.
  void completeLicence(const std::string& issued, const std::string& expires) {
    mark(kFormID_PAReturnInfo, info(192417));
    text(kFormID_PAReturnInfo, info(192412), "D1234567");
    text(kFormID_PAReturnInfo, info(192413), "PA");
    text(kFormID_PAReturnInfo, info(192414), issued);
    text(kFormID_PAReturnInfo, info(192415), expires);
  }
};

TEST_F(DriversLicenseCheckTest, NoOptionChosenAnswersOnlyTheOptionRule) {
  holder(kFormID_PAReturnInfo);
  const std::vector<Shown> seen = check();
  ASSERT_EQ(seen.size(), 11u);  // filing status 1: the taxpayer's rules only
  EXPECT_EQ(trueCount(seen), 1);
  const Shown option = one(seen, kNoOption);
  EXPECT_TRUE(option.answer);
  EXPECT_EQ(option.field, 192417);
  EXPECT_EQ(option.code, 4);
}

TEST_F(DriversLicenseCheckTest, JointReturnChecksTheSpouseToo) {
  mark(kFormID_PAReturnInfo, info(57));  // filing status 2
  mark(kFormID_PAReturnInfo, info(192411));
  const std::vector<Shown> seen = check();
  ASSERT_EQ(seen.size(), 22u);
  EXPECT_EQ(trueCount(seen), 1);
  EXPECT_TRUE(one(seen, "Select one of the options for your spouse's").answer);
}

TEST_F(DriversLicenseCheckTest, CompleteLicenceAgreeingWithTheFederalOnePasses) {
  completeLicence("01/10/2015", "01/10/2023");
  text(kFormID_FedFilerInfo, filer(184582), "d1234567");  // case ignored
  text(kFormID_FedFilerInfo, filer(184584), "pa");
  text(kFormID_FedFilerInfo, filer(184586), "2015-01-10");  // same day, other format
  text(kFormID_FedFilerInfo, filer(184588), "1/10/2023");
  EXPECT_EQ(trueCount(check()), 0);
}

TEST_F(DriversLicenseCheckTest, MismatchesNeedBothEntries) {
  completeLicence("01/10/2015", "01/10/2023");
  std::vector<Shown> seen = check();  // federal entries empty
  EXPECT_EQ(trueCount(seen), 0);

  text(kFormID_FedFilerInfo, filer(184582), "X999");
  text(kFormID_FedFilerInfo, filer(184588), "01/11/2023");
  seen = check();
  EXPECT_TRUE(one(seen, kNumberMismatch).answer);
  EXPECT_EQ(one(seen, kNumberMismatch).code, 7);
  EXPECT_TRUE(one(seen, kExpirationMismatch).answer);
  EXPECT_EQ(trueCount(seen), 2);
}

TEST_F(DriversLicenseCheckTest, FederalNoExpirationAgainstAClearBox) {
  mark(kFormID_PAReturnInfo, info(192418));
  mark(kFormID_FedFilerInfo, filer(195613));
  const Shown mismatch = one(check(), kExpirationMismatch);
  EXPECT_TRUE(mismatch.answer);
  EXPECT_EQ(mismatch.field, 192415);
}

TEST_F(DriversLicenseCheckTest, MissingEntriesOfAPersonWithAnId) {
  mark(kFormID_PAReturnInfo, info(192417));
  const std::vector<Shown> seen = check();
  EXPECT_TRUE(one(seen, "Your driver's license or state ID number").answer);
  EXPECT_TRUE(one(seen, "State your ID was issued in").answer);
  EXPECT_TRUE(one(seen, "Issue date of your ID").answer);
  EXPECT_TRUE(one(seen, "Enter the expiration date").answer);
  EXPECT_EQ(trueCount(seen), 4);

  mark(kFormID_PAReturnInfo, info(192416));  // no expiration date
  EXPECT_FALSE(one(check(), "Enter the expiration date").answer);
}

TEST_F(DriversLicenseCheckTest, DatesAgainstToday) {
  struct Case {
    const char* issued;
    const char* expires;
    bool noExpiration;
    bool issueAfter;
    bool expiredBefore;
  };
  const Case cases[] = {
      {"06/16/2019", "06/16/2025", false, true, false},   // issued tomorrow
      {"06/15/2019", "06/15/2019", false, false, false},  // both today
      {"01/01/2010", "06/14/2019", false, false, true},   // expired yesterday
      {"01/01/2010", "06/14/2019", true, false, false},   // no expiration date
      {"01/01/2010", "not a date", false, false, false},  // unreadable: not judged
  };
  for (const Case& c : cases) {
    SetUp();
    completeLicence(c.issued, c.expires);
    if (c.noExpiration) mark(kFormID_PAReturnInfo, info(192416));
    const std::vector<Shown> seen = check();
    const Shown issue = one(seen, kIssueAfterToday);
    EXPECT_EQ(issue.answer, c.issueAfter) << c.issued;
    EXPECT_EQ(issue.code, 6);
    EXPECT_EQ(one(seen, kExpiredBeforeToday).answer, c.expiredBefore) << c.expires;
  }
}

TEST_F(DriversLicenseCheckTest, MissingFormReportsNothing) { EXPECT_TRUE(check().empty()); }

}  // namespace
}  // namespace info_rules_test
