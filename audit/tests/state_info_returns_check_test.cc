// The shared check of the state information on the federal statements,
// run for the PA return (abbreviation "PA") in an electronic-filing audit.
// Federal statement amounts are in hundredths.
#include "audit/tests/info_rules_fixture.h"

namespace info_rules_test {
namespace {

const int kPAOptions = 177;  // suffix, duplicate state, missing state, withholding
const char kTail[] =
    ". If this is correct, you must file your return on paper. To e-file your Pennsylvania "
    "return, you will need to go back to the federal interview to form %s and correct your state "
    "information.";

class StateInfoReturnsCheckTest : public InfoRulesTest {
 protected:
  std::vector<Shown> check(int options = kPAOptions, bool reportOnForms = false) {
    return eFile([&] {
      auditor->auditStateInfoReturns(AuditMgmt::kNoAuditHelpID,
                                     Primitives::OVImmutableTopicIdentifier(0), false,
                                     kFormID_PAReturnInfo, options, reportOnForms);
    });
  }
  static const FieldId& w2(int number) { return kFedW2FieldIds.byNumber(number); }
  static const FieldId& w2g(int number) { return kFedW2GFieldIds.byNumber(number); }
  static const FieldId& g1099(int number) { return kFed1099GFieldIds.byNumber(number); }
  static const FieldId& r1099(int number) { return kFed1099RFieldIds.byNumber(number); }

  static std::string tail(const std::string& shortName) {
    char buf[512];
    std::snprintf(buf, sizeof(buf), kTail, shortName.c_str());
    return buf;
  }
};

TEST_F(StateInfoReturnsCheckTest, NameSuffixes) {
  struct Case {
    int status;
    const char* taxpayer;
    const char* spouse;
    std::vector<std::string> fired;
  };
  const Case cases[] = {
      {1, "jr", "", {}},          {1, "III", "ESQ", {}},  // status 1: the spouse's suffix is not
                                                          // read
      {2, "", "ESQ", {"Spouse"}}, {3, "Esq", "Sr", {"Taxpayer"}}, {1, "MD", "", {"Taxpayer"}},
  };
  for (const Case& c : cases) {
    SetUp();
    federal()->setCommonItem(1, c.status);
    text(kFormID_FedFilerInfo, filer(5), c.taxpayer);
    text(kFormID_FedFilerInfo, filer(6), c.spouse);
    const std::vector<Shown> seen = check(0x80);
    ASSERT_EQ(seen.size(), c.fired.size()) << c.taxpayer << "/" << c.spouse;
    for (std::size_t k = 0; k < seen.size(); ++k) {
      EXPECT_TRUE(seen[k].answer);
      EXPECT_EQ(seen[k].code, 6);
      EXPECT_EQ(seen[k].form, 0);
      EXPECT_EQ(seen[k].text,
                c.fired[k] +
                    " suffix must only be one of the following: JR, SR, II, III, IV, V, VI. To "
                    "e-file your Pennsylvania return, you will need to go back to the federal "
                    "interview and remove your suffix.  For instructions on how to make this "
                    "change, click the FAQ \"How can I go back to an Interview topic?\"");
    }
  }
}

TEST_F(StateInfoReturnsCheckTest, SuffixBoundToTheFilerForm) {
  text(kFormID_FedFilerInfo, filer(5), "ESQ");
  const Shown s = one(check(0x80, true), "Taxpayer suffix");
  EXPECT_EQ(s.form, 92);
  EXPECT_EQ(s.field, 5);
  EXPECT_EQ(s.code, 7);
}

TEST_F(StateInfoReturnsCheckTest, W2WithholdingAgainstStateWages) {
  struct Case {
    double wages, tax;
    bool fires;
  };
  const Case cases[] = {{0, 5000, true}, {10000, 9900, false}, {10000, 10000, true}, {0, 0, false}};
  for (const Case& c : cases) {
    SetUp();
    text(kFormID_FedW2, w2(34), "NY", 2);  // any state's line counts
    number(kFormID_FedW2, w2(33), c.wages, 2);
    number(kFormID_FedW2, w2(32), c.tax, 2);
    const std::vector<Shown> seen = check();
    ASSERT_EQ(seen.size(), c.fires ? 1u : 0u) << c.wages << " " << c.tax;
    if (c.fires) {
      EXPECT_TRUE(seen[0].answer);
      EXPECT_EQ(seen[0].helpId, AuditMgmt::kStateAudit_HowToGoBackToFedInterview);
    }
  }
  SetUp();
  number(kFormID_FedW2, w2(33), 0);
  number(kFormID_FedW2, w2(32), 5000);
  EXPECT_EQ(one(check(), "Your state tax withholding").text,
            "Your state tax withholding amount (50.00) in box 17 equals or exceeds your state wage "
            "amount (0.00) on copy 1 in box 16 of your form (W-2)" +
                tail("W-2"));
}

TEST_F(StateInfoReturnsCheckTest, W2GWithholdingWithoutState) {
  number(kFormID_FedW2G, w2g(25), 700);
  number(kFormID_FedW2G, w2g(12), 100000);
  // A W-2 with the same never fires the missing-state rule.
  number(kFormID_FedW2, w2(32), 700);
  number(kFormID_FedW2, w2(33), 100000);
  const std::vector<Shown> seen = check();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "You have entered state taxes withheld, but did not enter a state name on copy 1 of "
            "your form (W-2G)" +
                tail("W-2G"));
}

TEST_F(StateInfoReturnsCheckTest, Form1099GMissingPayerIdAndState) {
  text(kFormID_Fed1099G, g1099(10), "PA Dept of Labor");
  number(kFormID_Fed1099G, g1099(11), 250000);
  const std::vector<Shown> seen = check();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "You are missing Payer Name and/or Payer ID and state name on copy 1 of your form "
            "(1099-G)" +
                tail("1099-G"));

  SetUp();  // only the payer entries missing
  text(kFormID_Fed1099G, g1099(17), "PA");
  number(kFormID_Fed1099G, g1099(11), 250000);
  EXPECT_TRUE(one(check(), "You are missing Payer Name and/or Payer ID on copy 1").answer);

  SetUp();  // complete
  text(kFormID_Fed1099G, g1099(10), "Payer");
  text(kFormID_Fed1099G, g1099(26), "23-1234567");
  text(kFormID_Fed1099G, g1099(17), "PA");
  number(kFormID_Fed1099G, g1099(11), 250000);
  EXPECT_TRUE(check().empty());
}

TEST_F(StateInfoReturnsCheckTest, Form1099GWithholdingNeedsItsBox) {
  text(kFormID_Fed1099G, g1099(10), "Payer");
  text(kFormID_Fed1099G, g1099(26), "23-1234567");
  text(kFormID_Fed1099G, g1099(17), "PA");
  number(kFormID_Fed1099G, g1099(11), 10000);
  number(kFormID_Fed1099G, g1099(16), 10000);
  EXPECT_TRUE(check().empty());
  mark(kFormID_Fed1099G, g1099(20717));
  EXPECT_EQ(one(check(), "Your first state withholding").text,
            "Your first state withholding amount (100.00) equals or exceeds your unemployment "
            "amount (100.00) on copy 1 of your form (1099-G)" +
                tail("1099-G"));
}

TEST_F(StateInfoReturnsCheckTest, Form1099RSecondLineWithoutState) {
  text(kFormID_Fed1099R, r1099(33), "PA", 3);
  number(kFormID_Fed1099R, r1099(134), 5000, 3);
  number(kFormID_Fed1099R, r1099(171), 5000, 3);
  number(kFormID_Fed1099R, r1099(4), 10000, 3);
  number(kFormID_Fed1099R, r1099(168), 20000, 3);  // PA never compares 1099-R withholding
  const std::vector<Shown> seen = check();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text,
            "You have entered state distribution, but did not enter the state name on the second "
            "line on copy 3 of your form (1099-R)" +
                tail("1099-R"));

  const Shown bound = one(check(kPAOptions, true), "You have entered state distribution");
  EXPECT_EQ(bound.form, 84);
  EXPECT_EQ(bound.copy, 3);
  EXPECT_EQ(bound.field, 171);
  EXPECT_EQ(bound.code, 7);
}

TEST_F(StateInfoReturnsCheckTest, OptionsOffForPennsylvania) {
  number(kFormID_Fed1099G, g1099(16), 100);
  text(kFormID_FedW2, w2(34), "PA");
  number(kFormID_FedW2, w2(32), 100);
  number(kFormID_FedW2, w2(33), 100000);
  number(kFormID_FedW2, w2(21), 0);
  std::vector<Shown> seen = check(0x0100);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].answer);
  EXPECT_EQ(seen[0].text.substr(0, 50), "You're not eligible to e-file your Pennsylvania re");

  seen = check(0x0400);  // four lines of the one W-2
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(trueCount(seen), 1);
  EXPECT_TRUE(seen[0].answer);

  seen = check(0x1000);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].answer);
  number(kFormID_FedW2, w2(21), 99);  // 99 cents: still under one dollar
  EXPECT_TRUE(check(0x1000)[0].answer);
  number(kFormID_FedW2, w2(21), 100);
  EXPECT_FALSE(check(0x1000)[0].answer);
}

TEST_F(StateInfoReturnsCheckTest, NewYorkLocalities) {
  struct Case {
    const char* state;
    const char* locality;
    double localTax;
    bool answer;
    const char* start;
  };
  const Case cases[] = {
      {"NY", "yonkers", 0, false, ""},
      {"NY", "ALBANY", 0, true, "The locality name in Box 20"},
      {"PA", "NYC", 0, true, "The state name on your W-2 copy 1"},
      {"NY", "", 500, true, "You have entered local tax withholding in Box 19"},
  };
  for (const Case& c : cases) {
    SetUp();
    text(kFormID_FedW2, w2(34), c.state);
    text(kFormID_FedW2, w2(37), c.locality);
    number(kFormID_FedW2, w2(35), c.localTax);
    const std::vector<Shown> seen = check(0x40);
    ASSERT_EQ(seen.size(), 4u);  // every line with a locality field
    EXPECT_EQ(seen[0].answer, c.answer) << c.locality;
    EXPECT_TRUE(seen[0].startsWith(c.start)) << seen[0].text;
    EXPECT_EQ(trueCount(seen), c.answer ? 1 : 0);
  }
}

TEST_F(StateInfoReturnsCheckTest, DuplicateStateLinesOfAW2InIllinois) {
  struct Case {
    const char* states[4];
    bool fires;
  };
  const Case cases[] = {
      {{"IL", "il", "", ""}, true},       // lines 1 and 2
      {{"", "", "IL", "IL"}, false},      // both first lines empty: lines 3 and 4 not read
      {{"NY", "IL", "IL", ""}, true},     // line 3 repeats line 2
      {{"NY", "NJ", "IL", "IL"}, true},   // line 3 replaces line 1, line 4 repeats it
      {{"NY", "NJ", "NJ", "NY"}, false},  // only this state's lines count
      {{"IL", "NY", "", ""}, false},
  };
  const int stateFields[4] = {34, 99, 27781, 27788};
  for (const Case& c : cases) {
    SetUp();
    useOtherState(13, "IL");
    for (int k = 0; k < 4; ++k) text(kFormID_FedW2, w2(stateFields[k]), c.states[k], 2);
    const std::vector<Shown> seen = check(0x20);
    ASSERT_EQ(seen.size(), c.fires ? 1u : 0u) << c.states[0] << c.states[1] << c.states[2];
    if (c.fires) {
      EXPECT_EQ(seen[0].text,
                "There are two or more state tax withholdings in Box 16 for the same state postal "
                "abbreviation on a single Form (W-2 Copy 2)" +
                    tail("W-2"));
    }
  }
}

TEST_F(StateInfoReturnsCheckTest, OtherStatesWithholdingRules) {
  useOtherState(46, "VA");
  number(kFormID_FedW2, w2(33), 100000);
  number(kFormID_FedW2, w2(32), 25000);
  EXPECT_TRUE(one(check(0x01),
                  "Your state tax withholding amount (250.00) in Box 17 equals or "
                  "exceeds twenty-five percent of your state wage amount (1000.00)")
                  .answer);
  number(kFormID_FedW2, w2(32), 24999);
  EXPECT_TRUE(check(0x01).empty());

  SetUp();
  useOtherState(13, "IL");
  number(kFormID_Fed1099R, r1099(4), 10000);
  number(kFormID_Fed1099R, r1099(30), 10000);
  EXPECT_EQ(one(check(0x01), "Your first state withholding").text,
            "Your first state withholding amount (100.00) equals or exceeds your gross "
            "distribution amount (100.00) on copy 1 of your form (1099-R)" +
                tail("1099-R"));
}

TEST_F(StateInfoReturnsCheckTest, SuffixesBarredInMaryland) {
  useOtherState(20, "MD");
  text(kFormID_FedFilerInfo, filer(5), "JR");
  EXPECT_TRUE(one(check(0x80),
                  "Pennsylvania does not allow returns with a suffix or title in "
                  "Taxpayer name to be filed electronically.")
                  .answer);
}

}  // namespace
}  // namespace info_rules_test
