// Audit rules of the PA Schedule D worksheet of sales.
#include <string>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kColumnsText[] = "all information requested in columns A-F";
const char kDateText[] = "PA does not accept electronically filed returns";
const char kObligationText[] = "This program does not support e-filed returns from taxpayers";
const char kForfeitedText[] =
    "This program does not support electronically filed returns for taxpayers who have";

class ScheduleDWorksheetAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId dw(int hostField) { return kPAScheduleDWorksheetFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleDWorksheet,
               kFormID_PAScheduleDWorksheet, copy, kind);
  }
  // A complete sales row whose first field is host field `first` (9, 18,
  // ... 108): description, dates acquired and sold, proceeds, cost, gain.
  void sale(int first, const std::string& sold = "06/15/2018") {
    text(kFormID_PAScheduleDWorksheet, dw(first + 3), "100 sh XYZ");
    text(kFormID_PAScheduleDWorksheet, dw(first + 4), "01/05/2012");
    text(kFormID_PAScheduleDWorksheet, dw(first + 5), sold);
    number(kFormID_PAScheduleDWorksheet, dw(first + 6), 5000);
    number(kFormID_PAScheduleDWorksheet, dw(first + 7), 3000);
    number(kFormID_PAScheduleDWorksheet, dw(first + 8), 2000);
  }
  void clear(int field) {
    put(kFormID_PAScheduleDWorksheet, dw(field), DataMgmt::FieldValue::null());
  }
};

TEST_F(ScheduleDWorksheetAuditTest, NoTransactionGivesTheEightWholeFormMessages) {
  const std::vector<Seen> ordinary = audit(Kind::kOrdinary);
  const std::vector<Seen> eFile = audit(Kind::kEFile);
  const std::vector<Seen> listing = audit(Kind::kListing);
  EXPECT_EQ(ordinary.size(), 3u);  // rules 1, 11, 12
  EXPECT_EQ(eFile.size(), 3u);     // rules 8, 9, 10
  EXPECT_EQ(listing.size(), 2u);   // rules 7, 13
  EXPECT_EQ(trueCount(ordinary) + trueCount(eFile) + trueCount(listing), 0);
  EXPECT_TRUE(with(eFile, kColumnsText).empty());
}

TEST_F(ScheduleDWorksheetAuditTest, DateOfSaleMustLieInTheTaxYear) {
  const struct {
    const char* sold;
    bool excused;
    bool refused;
  } cases[] = {
      {"12/31/2018", false, false}, {"01/01/2018", false, false}, {"01/01/2019", false, true},
      {"01/01/2019", true, false},  {"12/31/2017", false, true},  {"VARIOUS", false, true},
  };
  for (const auto& c : cases) {
    sale(27, c.sold);
    if (c.excused) {
      mark(kFormID_PAScheduleDWorksheet, dw(150154));
    } else {
      clear(150154);
    }
    const Seen s = one(audit(Kind::kEFile), kDateText);
    EXPECT_EQ(s.answer, c.refused) << c.sold;
    EXPECT_EQ(s.field, 32);
    EXPECT_FALSE(one(audit(Kind::kEFile), kColumnsText).answer) << c.sold;
  }
}

TEST_F(ScheduleDWorksheetAuditTest, BankruptSaleAndExcusedMissingDate) {
  sale(108, "BANKRUPT");
  std::vector<Seen> seen = audit(Kind::kEFile);
  EXPECT_TRUE(with(seen, kDateText).empty());
  EXPECT_FALSE(one(seen, kColumnsText).answer);

  clear(113);
  mark(kFormID_PAScheduleDWorksheet, dw(150163));
  seen = audit(Kind::kEFile);
  EXPECT_FALSE(one(seen, kDateText).answer);
  const Seen columns = one(seen, kColumnsText);
  EXPECT_FALSE(columns.answer);
  EXPECT_EQ(columns.field, 111);

  clear(112);  // date acquired
  EXPECT_TRUE(one(audit(Kind::kEFile), kColumnsText).answer);
}

TEST_F(ScheduleDWorksheetAuditTest, RowRefusalsOnTheRowsColumns) {
  sale(9);
  sale(18);
  mark(kFormID_PAScheduleDWorksheet, dw(20));         // obligation mark of row 2
  number(kFormID_PAScheduleDWorksheet, dw(15), -10);  // negative proceeds of row 1
  const std::vector<Seen> seen = audit(Kind::kEFile);
  const std::vector<Seen> obligation = with(seen, kObligationText);
  ASSERT_EQ(obligation.size(), 2u);
  EXPECT_FALSE(obligation[0].answer);
  EXPECT_TRUE(obligation[1].answer);
  const std::vector<Seen> proceeds = with(seen, "a Sales Proceed amount is a negative number");
  ASSERT_EQ(proceeds.size(), 2u);
  EXPECT_TRUE(proceeds[0].answer);
  EXPECT_FALSE(proceeds[1].answer);
}

TEST_F(ScheduleDWorksheetAuditTest, OtherGainsRowsNeedEveryColumn) {
  number(kFormID_PAScheduleDWorksheet, dw(242), 700);  // gain of the second row only
  const std::vector<Seen> seen = with(audit(Kind::kOrdinary), kColumnsText);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].answer);
  EXPECT_EQ(seen[0].field, 237);
  EXPECT_EQ(seen[0].code, 7);
  EXPECT_TRUE(one(audit(Kind::kEFile),
                  "This program does not support electronically filed returns "
                  "for taxpayers who realized")
                  .answer);
}

TEST_F(ScheduleDWorksheetAuditTest, SpouseForfeitedIncomeCountsOnlyOnAJointReturn) {
  number(kFormID_PAScheduleDWorksheet, dw(258), 120);
  EXPECT_FALSE(one(audit(Kind::kEFile), kForfeitedText).answer);
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(57));
  EXPECT_TRUE(one(audit(Kind::kEFile), kForfeitedText).answer);
}

TEST_F(ScheduleDWorksheetAuditTest, PrincipalResidence) {
  text(kFormID_PAScheduleDWorksheet, dw(278), "1 Main St");
  const std::string incomplete = "you reported a gain on the sale of your residence";
  const std::string loss = "you may not deduct any loss";
  const std::string attach = "attach PA Schedule 19";
  EXPECT_FALSE(one(audit(Kind::kOrdinary), incomplete).answer);

  number(kFormID_PAScheduleDWorksheet, dw(283), -5000);
  std::vector<Seen> seen = audit(Kind::kOrdinary);
  EXPECT_TRUE(one(seen, incomplete).answer);
  EXPECT_TRUE(one(seen, loss).answer);
  EXPECT_EQ(one(seen, loss).field, 283);
  EXPECT_FALSE(one(audit(Kind::kListing), attach).answer);

  number(kFormID_PAScheduleDWorksheet, dw(283), 8000);
  text(kFormID_PAScheduleDWorksheet, dw(279), "03/01/2005");
  text(kFormID_PAScheduleDWorksheet, dw(280), "07/01/2018");
  number(kFormID_PAScheduleDWorksheet, dw(281), 250000);
  number(kFormID_PAScheduleDWorksheet, dw(282), 0);
  seen = audit(Kind::kOrdinary);
  EXPECT_FALSE(one(seen, incomplete).answer);
  EXPECT_FALSE(one(seen, loss).answer);
  EXPECT_TRUE(one(audit(Kind::kListing), attach).answer);
  EXPECT_FALSE(
      one(audit(Kind::kEFile), "You reported a gain on the sale of your principal").answer);
}

TEST_F(ScheduleDWorksheetAuditTest, TaxableBoxNoticeForPartYearResidents) {
  number(kFormID_PAScheduleDWorksheet, dw(17), 400);
  const std::string notice = "An X in the first checkbox";
  EXPECT_FALSE(one(audit(Kind::kOrdinary), notice).answer);
  setResidency(1);
  const Seen s = one(audit(Kind::kOrdinary), notice);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 9);
}

}  // namespace
