// Audit rules of Schedules A and B and the interest and dividend worksheet.
#include <string>
#include <vector>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kPartnershipStart[] =
    "This program does not support electronic filed returns for taxpayers who earned ";
const char kEstateText[] = "The Pennsylvania Department of Revenue will not accept";
const char kAnnuityText[] =
    "This program does not support electronic filing for taxpayers who have interest from "
    "annuities";
const char kForfeitedText[] =
    "This program does not support electronic filing for taxpayers who have an allowable "
    "forfeited";
const char kObligationsText[] =
    "This program does not support electronic filing for taxpayers who have interest or "
    "dividend income from obligations";
const char kForeignTP[] = "Enter amount of foreign income";
const char kForeignSP[] = "Enter your spouse's amount of foreign income";
const char kCurrentTP[] = "Enter amount of current year foreign income";
const char kCurrentSP[] = "Enter your spouse's amount of current year foreign income";

class InterestDividendsAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId ws(int hostField) {
    return kPAInterestDividendWorksheetFieldIds.byNumber(hostField);
  }
  std::vector<Seen> auditA(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleA, kFormID_PAScheduleA, copy, kind);
  }
  std::vector<Seen> auditB(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleB, kFormID_PAScheduleB, copy, kind);
  }
  std::vector<Seen> auditWorksheet(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditInterestDividendWorksheet,
               kFormID_PAInterestDividendWorksheet, copy, kind);
  }
  void pa40Income(double interest, double dividends) {
    number(kFormID_PA40, kPA40FieldIds.byNumber(140), interest);
    number(kFormID_PA40, kPA40FieldIds.byNumber(141), dividends);
  }
};

TEST_F(InterestDividendsAuditTest, ScheduleATotalBelowZeroOverAllCopies) {
  const FieldId total = kPAScheduleAFieldIds.byNumber(155736);
  number(kFormID_PAScheduleA, total, 1, 1);
  number(kFormID_PAScheduleA, total, -1, 2);
  const Seen zero = one(auditA(Kind::kOrdinary), "Your total interest can't be less than zero.");
  EXPECT_FALSE(zero.answer);
  EXPECT_EQ(zero.field, 155736);
  EXPECT_EQ(zero.code, 6);
  EXPECT_EQ(zero.form, 155696);
  // Class 3 is shown in both kinds of audit; the text's own blank stays
  // before the added period.
  number(kFormID_PAScheduleA, total, -2, 2);
  const Seen below = one(auditA(Kind::kEFile, 2), "Your total interest can't be less than zero.");
  EXPECT_TRUE(below.answer);
  EXPECT_EQ(below.copy, 2);
  EXPECT_EQ(below.text.substr(0, 46), "Your total interest can't be less than zero. .");
}

TEST_F(InterestDividendsAuditTest, PartnershipIncomeBarsElectronicFiling) {
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155774), 40, 2);
  const std::vector<Seen> eFile = auditB(Kind::kEFile);
  const Seen b = one(eFile, kPartnershipStart);
  EXPECT_TRUE(b.answer);
  EXPECT_EQ(b.field, 0);
  EXPECT_EQ(b.form, 155697);
  EXPECT_EQ(b.text.substr(0, b.text.find("  This issue")),
            "This program does not support electronic filed returns for taxpayers who earned "
            "dividend income from a PA partnership or S Corp. and who must include a copy of their "
            "PA Schedule RK-1 or NRK-1 with their return.");
  EXPECT_FALSE(one(eFile, "Your total dividends can't be less than zero.").answer);
  // Class 2 is not shown in an ordinary audit.
  EXPECT_TRUE(with(auditB(Kind::kOrdinary), kPartnershipStart).empty());

  const Seen a = one(auditA(Kind::kEFile), kPartnershipStart);
  EXPECT_FALSE(a.answer);
  EXPECT_NE(a.text.find("earned interest income from a PA partnership"), std::string::npos);
}

TEST_F(InterestDividendsAuditTest, RefusalsOnlyAboveTheIncomeThreshold) {
  number(kFormID_PAInterestDividendWorksheet, ws(23888), 10);
  const char* const refusals[] = {kEstateText, kAnnuityText, kForfeitedText, kObligationsText};

  pa40Income(2500, 2500);
  std::vector<Seen> seen = auditWorksheet(Kind::kEFile);
  for (const char* text : refusals) EXPECT_TRUE(with(seen, text).empty()) << text;

  pa40Income(0, 2501);
  seen = auditWorksheet(Kind::kEFile);
  EXPECT_FALSE(one(seen, kEstateText).answer);
  EXPECT_TRUE(one(seen, kAnnuityText).answer);
  EXPECT_FALSE(one(seen, kForfeitedText).answer);
  EXPECT_FALSE(one(seen, kObligationsText).answer);
}

TEST_F(InterestDividendsAuditTest, RefusalsReadWorksheetCopyOne) {
  pa40Income(2501, 0);
  const struct {
    int field;
    const char* text;
  } cases[] = {
      {192, kEstateText},    {251, kEstateText},      {23888, kAnnuityText},
      {207, kForfeitedText}, {358, kObligationsText}, {363, kObligationsText},
  };
  for (const auto& c : cases) {
    SetUp();
    pa40Income(2501, 0);
    number(kFormID_PAInterestDividendWorksheet, ws(c.field), 1, 1);
    const std::vector<Seen> seen = auditWorksheet(Kind::kEFile, 2);
    const Seen s = one(seen, c.text);
    EXPECT_TRUE(s.answer) << c.field;
    EXPECT_EQ(s.code, 6);
    EXPECT_EQ(trueCount(seen), 1) << c.field;
  }
}

TEST_F(InterestDividendsAuditTest, ForeignIncomePairs) {
  struct Case {
    double foreignTP, foreignSP, currentTP, currentSP;
    bool answers[4];  // foreign TP, foreign SP, current TP, current SP
  };
  const Case cases[] = {
      {0, 0, 0, 0, {false, false, false, false}},  {100, 0, 0, 0, {false, false, true, false}},
      {0, 0, 100, 0, {true, false, false, false}}, {0, 5, 0, 0, {false, false, false, true}},
      {0, 0, 0, 5, {false, true, false, false}},   {100, 0, 50, 0, {false, false, false, false}},
  };
  for (const Case& c : cases) {
    SetUp();
    // Copy 1 holds amounts that must not be read when copy 2 is audited.
    number(kFormID_PAInterestDividendWorksheet, ws(210237), 7, 1);
    number(kFormID_PAInterestDividendWorksheet, ws(210231), c.foreignTP, 2);
    number(kFormID_PAInterestDividendWorksheet, ws(210232), c.foreignSP, 2);
    number(kFormID_PAInterestDividendWorksheet, ws(210237), c.currentTP, 2);
    number(kFormID_PAInterestDividendWorksheet, ws(210238), c.currentSP, 2);
    const std::vector<Seen> seen = auditWorksheet(Kind::kOrdinary, 2);
    EXPECT_EQ(one(seen, kForeignTP).answer, c.answers[0]);
    EXPECT_EQ(one(seen, kForeignSP).answer, c.answers[1]);
    EXPECT_EQ(one(seen, kCurrentTP).answer, c.answers[2]);
    EXPECT_EQ(one(seen, kCurrentSP).answer, c.answers[3]);
  }
}

TEST_F(InterestDividendsAuditTest, ForeignIncomeMessagesNameTheirLines) {
  const std::vector<Seen> seen = auditWorksheet(Kind::kOrdinary);
  EXPECT_EQ(seen.size(), 4u);  // the refusals are not reported below the threshold
  const Seen tp = one(seen, kForeignTP);
  EXPECT_EQ(tp.text, "Enter amount of foreign income on line F210230.");
  EXPECT_EQ(tp.field, 210231);
  EXPECT_EQ(tp.code, 4);
  const Seen sp = one(seen, kCurrentSP);
  EXPECT_EQ(sp.text, "Enter your spouse's amount of current year foreign income on line F210237.");
  EXPECT_EQ(sp.field, 210238);
  EXPECT_EQ(one(seen, kForeignSP).field, 210232);
  EXPECT_EQ(one(seen, kCurrentTP).field, 210237);
}

}  // namespace
