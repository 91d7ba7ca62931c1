// Rules of the PA return information form.
#include "audit/tests/info_rules_fixture.h"
#include "host/efile.h"

namespace info_rules_test {
namespace {

const char kInitials[] = "For electronic filing, Pennsylvania only allows alpha characters";
const char kSchoolEFile[] = "you have either not entered the school code for the school district";
const char kSchoolOrdinary[] =
    "you have either not entered the school code for the Pennsylvania public school district";
const char kResidency[] = "Because you and your spouse had different residency statuses";
const char kSpouseSsn[] = "For electronic filing, Pennsylvania requires you include your spouse's";
const char kPOBox[] = "The Pennsylvania Department of Revenue will not accept";
const char kPayerName[] = "Please review your Unemployment Compensation. The Payer name";
const char kPayerAddress[] = "Please review your Unemployment Compensation and complete";
const char kRouting[] = "routing transit number must be filled in";

class ReturnInfoAuditTest : public InfoRulesTest {
 protected:
  void SetUp() override {
    InfoRulesTest::SetUp();
    holder(kFormID_PAReturnInfo);
  }
  void runRules() { auditor->auditReturnInfo(holder(kFormID_PAReturnInfo), 1); }
  std::vector<Shown> eFileRun() {
    return eFile([&] { runRules(); });
  }
  std::vector<Shown> ordinaryRun() {
    return ordinary([&] { runRules(); });
  }

  static const FieldId& g1099(int number) { return kFed1099GFieldIds.byNumber(number); }
  // A federal 1099-G with PA unemployment compensation and a payer name.
  void paUnemployment(uint16_t copy, const char* state, double amount) {
    text(kFormID_Fed1099G, g1099(144118), state, copy);
    number(kFormID_Fed1099G, g1099(144120), amount, copy);
    text(kFormID_Fed1099G, g1099(10), "Department of Labor", copy);
  }
};

TEST_F(ReturnInfoAuditTest, InstructionsOnlyInListingMode) {
  mark(kFormID_PAReturnInfo, info(50936));
  for (const Shown& s : ordinaryRun()) {
    EXPECT_FALSE(s.startsWith("the last four digits")) << s.text;
    EXPECT_FALSE(s.startsWith("Don't staple")) << s.text;
    EXPECT_FALSE(s.startsWith("Print COMBAT ZONE")) << s.text;
  }

  const std::vector<std::string> lines =
      listed(AuditMgmt::kAuditStandard, 0x10 | 0x08, [&] { runRules(); });
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "Y    - the last four digits of your Social Security number, \"2018 PA-V\", and your "
            "daytime phone number.");
  EXPECT_EQ(lines[1],
            "Y    - don't staple or otherwise attach the payment to the voucher. Instead, just "
            "place it loose in the envelope with the voucher.");
  EXPECT_EQ(lines[2],
            "Y    - print COMBAT ZONE at the top of your return and submit your military orders "
            "with your return.");
}

TEST_F(ReturnInfoAuditTest, CombatZoneAnswersFalseInAnElectronicFilingAudit) {
  mark(kFormID_PAReturnInfo, info(50938));
  const std::vector<std::string> lines = listed(AuditMgmt::kAuditEFile, 0x08, [&] { runRules(); });
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 24), "N    - print COMBAT ZONE");
}

TEST_F(ReturnInfoAuditTest, MiddleInitials) {
  struct Case {
    const char* taxpayer;
    const char* spouse;
    bool answer;
  };
  const Case cases[] = {
      {"A", "", false}, {"", "", false}, {"J.", "B", true}, {"A", "3", true}, {"Q", "b", false},
  };
  for (const Case& c : cases) {
    SetUp();
    text(kFormID_PAReturnInfo, info(32), c.taxpayer);
    text(kFormID_PAReturnInfo, info(37), c.spouse);
    const Shown s = one(eFileRun(), kInitials);
    EXPECT_EQ(s.answer, c.answer) << c.taxpayer << "/" << c.spouse;
    EXPECT_EQ(s.form, 0);
    EXPECT_EQ(s.code, 6);
  }
}

TEST_F(ReturnInfoAuditTest, SchoolCodeRules) {
  struct Case {
    bool resident, partYear, askBox;
    const char* code;
    const char* district;
    bool eFileAnswer, ordinaryAnswer;
  };
  const Case cases[] = {
      {true, false, false, "101", "", true, true},
      {true, false, false, "101", "Abington", false, false},
      {false, true, false, "", "", false, false},
      {false, true, true, "", "", false, true},
      {false, false, false, "", "", false, false},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.resident) mark(kFormID_PAReturnInfo, info(46));
    if (c.partYear) mark(kFormID_PAReturnInfo, info(48));
    if (c.askBox) mark(kFormID_PAReturnInfo, info(14));
    text(kFormID_PAReturnInfo, info(91), c.code);
    text(kFormID_PAReturnInfo, info(92), c.district);
    const Shown eFileRule = one(eFileRun(), kSchoolEFile);
    EXPECT_EQ(eFileRule.answer, c.eFileAnswer) << c.code << "/" << c.district;
    EXPECT_EQ(eFileRule.field, 91);
    EXPECT_EQ(one(ordinaryRun(), kSchoolOrdinary).answer, c.ordinaryAnswer)
        << c.code << "/" << c.district;
  }
}

TEST_F(ReturnInfoAuditTest, DifferentResidencyRecordsTheRefusal) {
  mark(kFormID_PAReturnInfo, info(141));
  mark(kFormID_PAReturnInfo, info(57));
  const Shown ordinaryRule = one(ordinaryRun(), kResidency);
  EXPECT_TRUE(ordinaryRule.answer);
  EXPECT_EQ(ordinaryRule.field, 57);
  EXPECT_EQ(ordinaryRule.text,
            "Because you and your spouse had different residency statuses or different tax years "
            "during 2018 you must file separate PA tax returns. You may, however, file a joint "
            "return if you have different residency statuses if you both elect to file as "
            "Residents.");

  number(kFormID_Fed183, kFed183FieldIds.byNumber(28906), 1);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(pa->getReturnType());
  const Shown refusal = one(eFileRun(), kResidency);
  EXPECT_TRUE(refusal.answer);
  EXPECT_EQ(refusal.field, 0);
  EXPECT_EQ(federal()->getFieldAsString(kFormID_Fed183, 1, kFed183FieldIds.byNumber(28907)),
            ordinaryRule.text);
}

TEST_F(ReturnInfoAuditTest, SpouseNumberOnAMarriedSeparateReturn) {
  text(kFormID_PA40, kPA40FieldIds.byNumber(272), "M");
  EXPECT_TRUE(one(eFileRun(), kSpouseSsn).answer);
  text(kFormID_FedFilerInfo, filer(8), "123-45-6789");
  EXPECT_FALSE(one(eFileRun(), kSpouseSsn).answer);

  SetUp();
  text(kFormID_PA40, kPA40FieldIds.byNumber(272), "J");
  const Shown s = one(eFileRun(), kSpouseSsn);
  EXPECT_FALSE(s.answer);
  EXPECT_EQ(s.field, 185897);
}

TEST_F(ReturnInfoAuditTest, POBoxMustMatchTheFederalStreet) {
  text(kFormID_PAReturnInfo, info(41), "PO Box 12");
  text(kFormID_FedFilerInfo, filer(20), "po box 12");
  EXPECT_TRUE(with(eFileRun(), kPOBox).empty());  // box not marked: no rule

  mark(kFormID_PAReturnInfo, info(14563));
  EXPECT_FALSE(one(eFileRun(), kPOBox).answer);
  text(kFormID_FedFilerInfo, filer(20), "12 Main St");
  const Shown s = one(eFileRun(), kPOBox);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.form, 0);
}

TEST_F(ReturnInfoAuditTest, UnemploymentPayer) {
  paUnemployment(1, "pa", 500);  // lower case: not PA
  paUnemployment(2, "PA", 0);    // nothing paid
  paUnemployment(3, "PA", 500);  // street without city
  text(kFormID_Fed1099G, g1099(30), "1 Main St", 3);
  paUnemployment(4, "PA", 500);  // no address at all, no payer name
  put(kFormID_Fed1099G, g1099(10), DataMgmt::FieldValue(), 4);

  const std::vector<Shown> seen = eFileRun();
  const std::vector<Shown> names = with(seen, kPayerName);
  const std::vector<Shown> addresses = with(seen, kPayerAddress);
  ASSERT_EQ(names.size(), 2u);
  ASSERT_EQ(addresses.size(), 2u);
  EXPECT_EQ(names[0].copy, 3);
  EXPECT_FALSE(names[0].answer);
  EXPECT_TRUE(names[1].answer);
  EXPECT_EQ(addresses[0].copy, 3);
  EXPECT_TRUE(addresses[0].answer);
  EXPECT_EQ(addresses[1].copy, 4);
  EXPECT_FALSE(addresses[1].answer);
}

TEST_F(ReturnInfoAuditTest, RefundDecidesWhetherDirectDepositApplies) {
  mark(kFormID_PAReturnInfo, info(95));
  EXPECT_FALSE(one(eFileRun(), kRouting).answer);
  number(kFormID_PA40, kPA40FieldIds.byNumber(252), 100);  // line 16, the refund
  EXPECT_TRUE(one(eFileRun(), kRouting).answer);
}

TEST_F(ReturnInfoAuditTest, WholeRunInBothKindsOfAudit) {
  const std::vector<Shown> eFileSeen = eFileRun();
  // Initials, amended, school code, deceased, spouse number, five
  // direct-deposit rules, Care Of, state entries and eleven licence rules.
  EXPECT_GE(eFileSeen.size(), 20u);
  EXPECT_FALSE(with(eFileSeen, kInitials).empty());
  EXPECT_FALSE(with(eFileSeen, "Select one of the options for your driver's").empty());
  const std::vector<Shown> ordinarySeen = ordinaryRun();
  EXPECT_FALSE(with(ordinarySeen, kSchoolOrdinary).empty());
  EXPECT_TRUE(with(ordinarySeen, kInitials).empty());
}

}  // namespace
}  // namespace info_rules_test
