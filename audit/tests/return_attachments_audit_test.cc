// Audit rules of the PA-40: the attachment list, the electronic-filing
// restrictions of the whole return and the entries the user must complete.
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

// A beginning that tells each rule's text from every other (1-based rule
// numbers in report order).
struct RuleStart {
  int rule;
  const char* start;
};
const RuleStart kStarts[] = {
    {1, "Attach a copy of the PA Schedule RK-1"},
    {2, "Submit copies of your Forms W-2 and a written explanation"},
    {3, "Submit a copy of your Form(s) W-2 along with an explanation"},
    {4, "Submit a copy of your Form(s) W-2 and a written statement from your employer verifying"},
    {5, "Submit a copy of your Form(s) W-2 and a written statement from your employer regarding"},
    {6, "Attach a copy of your Form W-2 as well as"},
    {7, "Submit copies of your Form(s) 1099"},
    {8, "Include a statement explaining why PA taxable wages"},
    {9, "Submit copies of all your W-2 forms and your military orders"},
    {10, "Submit copies of your military orders"},
    {11, "More than 20 copies of federal Form W-2G"},
    {12, "You claimed employee business expenses"},
    {13, "This program does not support e-filing for taxpayers whose unreimbursed"},
    {14, "This program does not support e-filing for taxpayers with business income/loss"},
    {15, "This program does not support electronic for taxpayers who earned"},
    {16, "You reported farm income or loss"},
    {17, "Attach your PA Schedule F"},
    {18, "Attach a schedule describing your business income/loss"},
    {19, "Attach a schedule describing your 'Other Income'"},
    {20, "Attach a schedule describing your 'Other Pennsylvania Adjustments'"},
    {21, "Attach a copy of each federal Schedule C"},
    {22, "You reported rental real estate income from a joint venture"},
    {23,
     "This program does not support electronic filing for taxpayers filing a tax return  with "
     "rental real estate"},
    {24,
     "This program does not support electronic filing for taxpayers filing a tax return  with "
     "income or withholding"},
    {25,
     "This program does not support electronic filing for taxpayers filing a tax return  with "
     "income from an Estate"},
    {26, "Efile is not available"},
    {27,
     "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
     "from taxpayers who claim a PA Employment Incentive"},
    {28,
     "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
     "from taxpayers who claim a PA Job Creation"},
    {29,
     "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
     "from taxpayers who claim a PA Research"},
    {30, "Attach a copy of the tax return for each other state"},
    {31, "you must include your daytime phone number"},
    {32, "daytime telephone number"},
    {33, "This program does not support electronic filing for taxpayers who have a Schedule F"},
    {34, "Attach the same schedule, explanation or information to your PA-40"},
    {35, "attach a copy of page 1 of your federal Form 1040"},
    {36, "attach a copy of page 1 of your federal Form 1040 along with"},
    {37, "You MUST file Married Filing Separately"},
    {38, "Attach a copy of the PA Form REV-1630"},
    {39, "You told us you'd like to figure"},
    {40, "Attach a copy of PA Form REV-459B"},
    {41, "Because your income from all copies of your Schedule G-L"},
    {42, " NOTE: Make sure you include both page 1 and page 2"},
};

std::string lowerFirst(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

// The rule a message belongs to: the longest matching beginning (listing
// mode lower-cases the first letter); 0 for none.
int ruleOf(const Seen& seen) {
  int rule = 0;
  std::size_t best = 0;
  const std::string text = lowerFirst(seen.text);
  for (const RuleStart& s : kStarts) {
    const std::string start = lowerFirst(s.start);
    if (text.compare(0, start.size(), start) == 0 && start.size() > best) {
      best = start.size();
      rule = s.rule;
    }
  }
  return rule;
}

// The rules each kind of audit shows when no guard holds them back.
const std::set<int> kOrdinaryRules = {12, 16, 22, 32, 37, 41};
const std::set<int> kEFileRules = {11, 13, 14, 15, 23, 24, 25, 26, 27, 28, 29, 33, 39};
const std::set<int> kListingRules = {1,  2,  3,  4,  5,  6,  7,  8,  9,  17, 18,
                                     19, 20, 21, 30, 34, 35, 36, 38, 40, 42};

class ReturnAttachmentsAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId pa40(int hostField) { return kPA40FieldIds.byNumber(hostField); }
  static FieldId w2s(int hostField) { return kPAScheduleW2SFieldIds.byNumber(hostField); }

  std::vector<Seen> audit(Kind kind) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditReturnAttachments, kFormID_PA40, 1, kind);
  }
  // Rule numbers reported; a failed expectation for a message of no rule or
  // a rule reported twice.
  static std::set<int> reported(const std::vector<Seen>& seen) {
    std::set<int> rules;
    for (const Seen& s : seen) {
      const int rule = ruleOf(s);
      EXPECT_NE(rule, 0) << "unknown message: " << s.text;
      EXPECT_TRUE(rules.insert(rule).second) << "rule " << rule << " reported twice";
    }
    return rules;
  }
  static std::set<int> answeredTrue(const std::vector<Seen>& seen) {
    std::set<int> rules;
    for (const Seen& s : seen) {
      if (s.answer) rules.insert(ruleOf(s));
    }
    return rules;
  }
  static Seen ofRule(const std::vector<Seen>& seen, int rule) {
    for (const Seen& s : seen) {
      if (ruleOf(s) == rule) return s;
    }
    ADD_FAILURE() << "rule " << rule << " not reported";
    return Seen();
  }
};

TEST_F(ReturnAttachmentsAuditTest, EachKindOfAuditShowsItsRulesOnce) {
  EXPECT_EQ(reported(audit(Kind::kOrdinary)), kOrdinaryRules);
  std::set<int> eFile = kEFileRules;
  EXPECT_EQ(reported(audit(Kind::kEFile)), eFile);
  std::set<int> listing = kListingRules;
  EXPECT_EQ(reported(audit(Kind::kListing)), listing);
  // The military orders of rule 10 are listed in an electronic-filing audit only.
  listing.insert(10);
  EXPECT_EQ(reported(audit(Kind::kListingInEFile)), listing);
}

TEST_F(ReturnAttachmentsAuditTest, PhoneRuleNeedsDirectDepositOrDebit) {
  const FieldId phone = pa40(116);
  for (int box : {29, 31}) {
    SetUp();
    mark(kFormID_PADirectDepositDebit, kPADirectDepositDebitFieldIds.byNumber(box));
    const std::vector<Seen> seen = audit(Kind::kEFile);
    const Seen s = ofRule(seen, 31);
    EXPECT_TRUE(s.answer);
    EXPECT_EQ(s.code, 4);
    EXPECT_EQ(s.field, 116);
    text(kFormID_PA40, phone, "215-555-0100");
    EXPECT_FALSE(ofRule(audit(Kind::kEFile), 31).answer);
    EXPECT_FALSE(ofRule(audit(Kind::kOrdinary), 32).answer);
  }
}

TEST_F(ReturnAttachmentsAuditTest, ScheduleSPPageOneSkippedWhenInformationFormSaysSo) {
  number(kFormID_PA40, pa40(244), 1);
  EXPECT_TRUE(ofRule(audit(Kind::kListing), 36).answer);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(46));
  EXPECT_EQ(reported(audit(Kind::kListing)).count(36), 0u);
}

// One condition at a time: the rules that answer true in the given kind of
// audit, beyond those an empty PA-40 already answers true (rule 32 in an
// ordinary audit, rules 35 and 42 in paper listing mode).
const double kMark = -1e9;  // the write marks the box instead
struct Write {
  const Primitives::OVImmutableFormIdentifier* form;
  int field;  // host field number; 0 makes copies 1 to `value` of the form
  double value;
  uint16_t copy;
  const char* text;
};
// w: a number (or kMark) into a field; t: a text.
Write w(const Primitives::OVImmutableFormIdentifier& form, int field, double value,
        uint16_t copy = 1) {
  return {&form, field, value, copy, nullptr};
}
Write t(const Primitives::OVImmutableFormIdentifier& form, int field, const char* text) {
  return {&form, field, 0, 1, text};
}
struct ConditionCase {
  const char* name;
  Kind kind;
  std::vector<Write> writes;
  std::set<int> trueRules;
};

class ReturnAttachmentConditionsTest : public ReturnAttachmentsAuditTest {
 protected:
  static FieldId fieldOf(const FormId& form, int number) {
    if (form == kFormID_PA40) return pa40(number);
    if (form == kFormID_PAScheduleW2S) return w2s(number);
    if (form == kFormID_PAW2) return kPAW2FieldIds.byNumber(number);
    if (form == kFormID_PAReturnInfo) return kPAReturnInfoFieldIds.byNumber(number);
    if (form == kFormID_PAScheduleC) return kPAScheduleCFieldIds.byNumber(number);
    if (form == kFormID_PAScheduleOC) return kPAScheduleOCFieldIds.byNumber(number);
    if (form == kFormID_PADirectDepositDebit) return kPADirectDepositDebitFieldIds.byNumber(number);
    if (form == kFormID_PAScheduleGL) return kPAScheduleGLFieldIds.byNumber(number);
    if (form == kFormID_FedReturn) return kFedReturnFieldIds.byNumber(number);
    ADD_FAILURE() << "no catalog for form " << form.getNumber();
    return FieldId();
  }
  void apply(const Write& write) {
    if (write.field == 0) {
      for (int c = 1; c <= write.value; ++c) holder(*write.form, static_cast<uint16_t>(c));
      return;
    }
    const FieldId field = fieldOf(*write.form, write.field);
    ASSERT_TRUE(field.isValid()) << write.field;
    if (write.text != nullptr) {
      text(*write.form, field, write.text, write.copy);
    } else if (write.value == kMark) {
      mark(*write.form, field, write.copy);
    } else {
      number(*write.form, field, write.value, write.copy);
    }
  }
  void runCases(const std::vector<ConditionCase>& cases) {
    for (const ConditionCase& c : cases) {
      SetUp();
      for (const Write& write : c.writes) apply(write);
      std::set<int> expected = c.trueRules;
      if (c.kind == Kind::kOrdinary) expected.insert(32);
      if (c.kind == Kind::kListing) {
        expected.insert(42);
        if (!pa->hasSigValue(kFormID_PA40, 1, pa40(36092))) expected.insert(35);
      }
      EXPECT_EQ(answeredTrue(audit(c.kind)), expected) << c.name;
    }
  }
};

const Kind kOrdinary = Kind::kOrdinary;
const Kind kEFile = Kind::kEFile;
const Kind kListing = Kind::kListing;
const Kind kEListing = Kind::kListingInEFile;
const auto& kPA40 = kFormID_PA40;
const auto& kW2S = kFormID_PAScheduleW2S;

TEST_F(ReturnAttachmentConditionsTest, AttachmentsOfWageStatements) {
  runCases({
      {"RK-1 box", kListing, {w(kPA40, 360, kMark)}, {1}},
      {"NRK-1 box", kListing, {w(kPA40, 401, kMark)}, {1}},
      {"NRK-1 box, e-file", kEListing, {w(kPA40, 401, kMark)}, {}},
      {"W2-S 11", kListing, {w(kW2S, 11, kMark)}, {2}},
      {"W2-S 11, e-file", kEListing, {w(kW2S, 11, kMark)}, {}},
      {"W2-S 13, e-file", kEListing, {w(kW2S, 13, kMark)}, {2}},
      {"W2-S 12234, e-file", kEListing, {w(kW2S, 12234, kMark)}, {2}},
      {"W2-S 50652, e-file", kEListing, {w(kW2S, 50652, kMark)}, {2}},
      {"W2-S 42775", kListing, {w(kW2S, 42775, kMark)}, {3}},
      {"W2-S 42775, e-file", kEListing, {w(kW2S, 42775, kMark)}, {}},
      {"W2-S 42776, e-file", kEListing, {w(kW2S, 42776, kMark)}, {3}},
      {"W2-S 72", kListing, {w(kW2S, 72, kMark)}, {4}},
      {"W2-S 12", kListing, {w(kW2S, 12, kMark)}, {5}},
      {"W2-S 36531", kListing, {w(kW2S, 36531, kMark)}, {6}},
      {"W2-S 12233, e-file", kEListing, {w(kW2S, 12233, kMark)}, {6}},
      {"PA-40 36517", kListing, {w(kPA40, 36517, 5)}, {7}},
      {"PA-40 36517, e-file", kEListing, {w(kPA40, 36517, 5)}, {}},
      {"W2-S 9484, e-file", kEListing, {w(kW2S, 9484, 5)}, {7}},
      {"W2-S 9484 of copy 2", kEListing, {w(kW2S, 9484, 5, 2)}, {}},
      {"PA W-2 wages differ",
       kListing,
       {w(kFormID_PAW2, 79818, 100), w(kFormID_PAW2, 79819, 50, 2), w(kW2S, 50, 100)},
       {8}},
      {"PA W-2 wages agree",
       kListing,
       {w(kFormID_PAW2, 79818, 100), w(kFormID_PAW2, 79819, 50, 2), w(kW2S, 50, 150)},
       {}},
      {"military pay", kListing, {w(kPA40, 36519, -1)}, {9}},
      {"military pay, e-file", kEListing, {w(kPA40, 36518, 1)}, {10}},
      {"military box, e-file", kEListing, {w(kFormID_PAReturnInfo, 50936, kMark)}, {10}},
  });
}

TEST_F(ReturnAttachmentConditionsTest, ElectronicFilingRestrictions) {
  runCases({
      {"20 W-2G", kEFile, {w(kFormID_FedW2G, 0, 20)}, {}},
      {"21 W-2G", kEFile, {w(kFormID_FedW2G, 0, 21)}, {11}},
      {"UE over wages", kOrdinary, {w(kPA40, 42785, kMark)}, {12}},
      {"UE mismatch", kEFile, {w(kPA40, 36523, 10)}, {13}},
      {"UE match", kEFile, {w(kPA40, 36522, 10), w(kPA40, 36526, 10)}, {}},
      {"RK-1 business -1", kEFile, {w(kPA40, 288, -1)}, {14}},
      {"RK-1 business, listing", kListing, {w(kPA40, 289, 4)}, {18}},
      {"line 21 business", kEFile, {w(kPA40, 291, 3)}, {15}},
      {"line 21 business, listing", kListing, {w(kPA40, 290, 3)}, {18}},
      {"joint venture", kEFile, {w(kPA40, 52351, 10)}, {23}},
      {"joint venture, ordinary", kOrdinary, {w(kPA40, 52351, 10)}, {22}},
      {"joint venture, listing", kListing, {w(kPA40, 52351, 10)}, {21}},
      {"joint venture net entered", kOrdinary, {w(kPA40, 52351, 10), w(kPA40, 52353, -7)}, {}},
      {"joint venture -1", kEFile, {w(kPA40, 52351, -1)}, {}},
      {"joint venture -1, ordinary", kOrdinary, {w(kPA40, 52351, -1)}, {}},
      {"joint venture -1, listing", kListing, {w(kPA40, 52351, -1)}, {}},
      {"NRK-1 income", kEFile, {w(kPA40, 237, 1)}, {24}},
      {"estate income", kEFile, {w(kPA40, 148, 1)}, {25}},
      {"Schedule OC credits", kEFile, {w(kPA40, 266, 1)}, {26}},
      {"EIP credit", kEFile, {w(kFormID_PAScheduleOC, 8, 1)}, {27}},
      {"Job Creation credit", kEFile, {w(kFormID_PAScheduleOC, 9, 1)}, {28}},
      {"R&D credit", kEFile, {w(kFormID_PAScheduleOC, 10, 1)}, {29}},
      {"federal Schedule F", kEFile, {w(kFormID_FedReturn, 91, 2)}, {33}},
      {"REV-1630", kEFile, {w(kPA40, 15211, kMark)}, {39}},
  });
}

TEST_F(ReturnAttachmentConditionsTest, FarmScheduleCAndOtherAttachments) {
  runCases({
      {"federal farm only", kOrdinary, {w(kPA40, 56129, -5)}, {16}},
      {"federal and PA farm", kOrdinary, {w(kPA40, 56128, 5), w(kPA40, 56131, 5)}, {}},
      {"PA farm", kListing, {w(kPA40, 56130, 1)}, {17}},
      {"PA farm, e-file", kEListing, {w(kPA40, 56130, 1)}, {}},
      {"PA farm spouse, e-file", kEListing, {w(kPA40, 56131, 1)}, {17}},
      {"Schedule C other income", kListing, {w(kFormID_PAScheduleC, 56219, 5, 2)}, {19}},
      {"Schedule C adjustments", kListing, {w(kFormID_PAScheduleC, 56299, -3)}, {20}},
      {"other state credit", kListing, {w(kPA40, 245, 1)}, {30}},
      {"federal schedule", kListing, {w(kPA40, 169, 1)}, {34}},
      {"page 1 answered N", kListing, {t(kPA40, 36092, "N")}, {}},
      {"page 1 answered n", kListing, {t(kPA40, 36092, "n")}, {35}},
      {"Schedule SP", kListing, {w(kPA40, 244, 1)}, {36}},
      {"credits differ, joint",
       kOrdinary,
       {w(kFormID_PAReturnInfo, 57, kMark), w(kFormID_PAScheduleOC, 11, 5),
        w(kFormID_PAScheduleOC, 11, 3, 2)},
       {37}},
      {"credits differ, not joint", kOrdinary, {w(kFormID_PAScheduleOC, 11, 5)}, {}},
      {"REV-1630, listing", kListing, {w(kPA40, 15211, kMark)}, {38}},
      {"REV-459B", kListing, {w(kPA40, 132859, kMark)}, {40}},
      {"G-L excess", kOrdinary, {w(kFormID_PAScheduleGL, 159109, kMark)}, {41}},
  });
}

TEST_F(ReturnAttachmentsAuditTest, MessagesPointAtTheirFormAndField) {
  mark(kFormID_PA40, pa40(42784));
  mark(kFormID_PAScheduleGL, kPAScheduleGLFieldIds.byNumber(159108));
  number(kFormID_PA40, pa40(56128), 1);
  const std::vector<Seen> ordinary = audit(Kind::kOrdinary);
  const Seen ue = ofRule(ordinary, 12);
  EXPECT_EQ(ue.form, 0);
  EXPECT_EQ(ue.field, 0);
  EXPECT_EQ(ue.code, 7);
  EXPECT_EQ(ue.text,
            "You claimed employee business expenses on your PA Schedule UE in excess of your W-2 "
            "wages. Review your Schedule(s) UE to make sure that you checked the proper box "
            "indicating the correct ownership for each schedule and to make sure that entered the "
            "correct amounts.");
  const Seen gl = ofRule(ordinary, 41);
  EXPECT_EQ(gl.form, 176);
  EXPECT_EQ(gl.field, 158235);
  EXPECT_EQ(ofRule(ordinary, 16).field, 56130);
  EXPECT_EQ(ofRule(ordinary, 22).field, 52352);
  EXPECT_EQ(ofRule(ordinary, 37).form, 0);

  const std::vector<Seen> eFile = audit(Kind::kEFile);
  EXPECT_EQ(ofRule(eFile, 13).field, 138);
  EXPECT_EQ(ofRule(eFile, 39).field, 357);
  const Seen w2g = ofRule(eFile, 11);
  EXPECT_EQ(w2g.form, 169);
  EXPECT_EQ(w2g.code, 6);
  EXPECT_EQ(w2g.field, 0);
}

TEST_F(ReturnAttachmentsAuditTest, JoinedTextsKeepTheirBlanks) {
  number(kFormID_PA40, pa40(52351), 1);
  mark(kFormID_PA40, pa40(15211));
  number(kFormID_PAScheduleOC, kPAScheduleOCFieldIds.byNumber(8), 1);
  const std::vector<Seen> eFile = audit(Kind::kEFile);
  const std::string stateOnly =
      "  This issue only affects your state return. You can still e-file your federal return and "
      "file your state return on paper. We'll guide you step-by-step through the process when "
      "you finish checking your return.";
  EXPECT_EQ(ofRule(eFile, 23).text,
            "This program does not support electronic filing for taxpayers filing a tax return  "
            "with rental real estate income or loss from a qualified joint venture and reported on "
            "federal Schedule C." +
                stateOnly);
  EXPECT_EQ(ofRule(eFile, 27).text,
            "The Pennsylvania Department of Revenue does not accept electronically filed tax "
            "returns from taxpayers who claim a PA Employment Incentive Payment (EIP) Credit." +
                stateOnly);
  EXPECT_EQ(ofRule(eFile, 39).text,
            "You told us you'd like to figure your Pennsylvania underpayment penalty and file PA "
            "Form REV-1630 - Underpayment of Estimated Tax by Individuals and Fiduciaries. Since "
            "this form isn't included in our program, you can't e-file with it. To e-file, check "
            "the box to let the Pennsylvania Department of Revenue  bill you for any underpayment "
            "penalty you might owe.");
}

TEST_F(ReturnAttachmentsAuditTest, AdjustmentsMessageNamesTheScheduleCLine) {
  number(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56299), 12);
  const std::vector<Seen> listing = audit(Kind::kListing);
  EXPECT_EQ(ofRule(listing, 20).text,
            "attach a schedule describing your 'Other Pennsylvania Adjustments' reported on your "
            "PA Schedule C, line F56298.");
  EXPECT_EQ(ofRule(listing, 42).text,
            " NOTE: Make sure you include both page 1 and page 2 of your PA-40.");
}

}  // namespace
