// Audit rules of PA Schedules E and J.
#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kTaxableText[] = "Check to make sure that this checkbox";
const char kDescriptionText[] = "Enter description of the property";
const char kLicenceText[] = "Enter the PA sales tax license number";

class ScheduleEAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId se(int hostField) { return kPAScheduleEFieldIds.byNumber(hostField); }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleE, kFormID_PAScheduleE, copy, kind);
  }
};

TEST_F(ScheduleEAuditTest, TaxableBoxCheckOnlyForPartYearAndNonresidents) {
  number(kFormID_PAScheduleE, se(192), 800);
  EXPECT_TRUE(with(audit(Kind::kOrdinary), kTaxableText).empty());

  setResidency(1);
  Seen s = one(audit(Kind::kOrdinary), kTaxableText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.code, 7);
  EXPECT_EQ(s.field, 21669);
  EXPECT_EQ(s.text,
            "Check to make sure that this checkbox correctly reflects whether this property is "
            "taxable for PA purposes. If the designation is incorrect, click on the correct box.");

  setResidency(2);
  number(kFormID_PAScheduleE, se(192), 0);
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kTaxableText).answer);
}

TEST_F(ScheduleEAuditTest, ElectronicFilingRefusals) {
  struct Case {
    int field;
    double value;  // 0 with `box`: the box is marked instead
    bool box;
    const char* text;
    bool refused;
  };
  const Case cases[] = {
      {213, 10, false, "More than 10 copies", false},
      {213, 11, false, "More than 10 copies", true},
      {196, -5, false, "This program does not support e-filing for Schedule RK-1", true},
      {212, 0, true, "This program does not support electronic filing for taxpayers who earned",
       true},
  };
  // One copy per case: every field is read on the audited copy.
  uint16_t copy = 0;
  for (const Case& c : cases) {
    ++copy;
    if (c.box) {
      mark(kFormID_PAScheduleE, se(c.field), copy);
    } else {
      number(kFormID_PAScheduleE, se(c.field), c.value, copy);
    }
    const std::vector<Seen> seen = audit(Kind::kEFile, copy);
    const Seen s = one(seen, c.text);
    EXPECT_EQ(s.answer, c.refused) << c.text << " " << c.value;
    EXPECT_EQ(s.code, 6);
    EXPECT_EQ(s.field, 0);
    EXPECT_NE(s.text.find("This issue only affects your state return."), std::string::npos);
    EXPECT_EQ(trueCount(seen), c.refused ? 1 : 0);
  }
}

TEST_F(ScheduleEAuditTest, PropertyDescriptionAndSalesTaxLicence) {
  number(kFormID_PAScheduleE, se(200), 1200, 2);
  mark(kFormID_PAScheduleE, se(207087), 2);
  mark(kFormID_PAScheduleE, se(207081), 2);
  for (Kind kind : {Kind::kOrdinary, Kind::kEFile}) {
    const std::vector<Seen> seen = audit(kind, 2);
    const Seen description = one(seen, kDescriptionText);
    EXPECT_TRUE(description.answer);
    EXPECT_EQ(description.field, 207077);
    EXPECT_EQ(description.copy, 2);
    EXPECT_EQ(description.code, 4);
    EXPECT_TRUE(one(seen, kLicenceText).answer);
  }

  text(kFormID_PAScheduleE, se(207077), "Duplex, 12 Elm St", 2);
  text(kFormID_PAScheduleE, se(207074), "12345678", 2);
  const std::vector<Seen> seen = audit(Kind::kOrdinary, 2);
  EXPECT_FALSE(one(seen, kDescriptionText).answer);
  EXPECT_FALSE(one(seen, kLicenceText).answer);
}

class ScheduleJAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId sj(int hostField) { return kPAScheduleJFieldIds.byNumber(hostField); }
  std::vector<Seen> audit() {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditScheduleJ, kFormID_PAScheduleJ, 1,
               Kind::kOrdinary);
  }
  // Row k (1-5): identifying entries and income.
  void row(int k, double income, bool complete = true) {
    const int first = 12 + 4 * (k - 1);
    number(kFormID_PAScheduleJ, sj(first + 3), income);
    text(kFormID_PAScheduleJ, sj(first), "Trust " + std::to_string(k));
    text(kFormID_PAScheduleJ, sj(first + 1), "T");
    if (complete) text(kFormID_PAScheduleJ, sj(first + 2), "J");
  }
};

const char kLossText[] = "Schedule J, Losses from estates and trusts are not deductible";
const char kRowText[] = "you must enter the name, address";

TEST_F(ScheduleJAuditTest, NoTotalNoMessages) {
  row(1, -400, false);
  EXPECT_TRUE(audit().empty());
}

TEST_F(ScheduleJAuditTest, IncompleteRowWithIncomeIsReportedOnTheFirstIncome) {
  number(kFormID_PAScheduleJ, sj(42), 1700);
  row(1, 600);
  row(2, 600);
  row(3, 500, false);
  const Seen s = one(audit(), kRowText);
  EXPECT_TRUE(s.answer);
  EXPECT_EQ(s.field, 15);
  EXPECT_EQ(s.code, 7);
  EXPECT_FALSE(one(audit(), kLossText).answer);
}

TEST_F(ScheduleJAuditTest, RowsWithoutIncomeAreNotChecked) {
  number(kFormID_PAScheduleJ, sj(42), 100);
  for (int k = 1; k <= 5; ++k) row(k, 0, false);
  EXPECT_FALSE(one(audit(), kRowText).answer);
}

TEST_F(ScheduleJAuditTest, ALossOnAnyRowOrTheFurtherAmountIsReported) {
  number(kFormID_PAScheduleJ, sj(42), 100);
  for (int lossField : {15, 27, 31, 9681}) {
    for (int k = 1; k <= 5; ++k) row(k, 100);
    number(kFormID_PAScheduleJ, sj(9681), 0);
    number(kFormID_PAScheduleJ, sj(lossField), -1);
    const Seen s = one(audit(), kLossText);
    EXPECT_TRUE(s.answer) << lossField;
    EXPECT_EQ(s.code, 3);
    EXPECT_EQ(s.field, 0);
  }
  number(kFormID_PAScheduleJ, sj(9681), 0);
  EXPECT_FALSE(one(audit(), kLossText).answer);
}

}  // namespace
