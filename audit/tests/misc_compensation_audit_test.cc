// Audit rules of the miscellaneous compensation worksheet: the row walk,
// the per-kind counts and the copy limit.
#include <string>
#include <vector>

#include "audit/tests/schedule_audit_fixture.h"

namespace {

using schedule_audit_test::Kind;
using schedule_audit_test::Seen;

const char kEarnerText[] = "You must indicate who earned this item";
const char kTypeText[] = "You have either not entered an earning type";
const char kDescriptionText[] = "Enter the description of your Type H";
const char kPayerText[] = "For each item on this worksheet, you must enter the payer's name";
const char kSecondCodeText[] = "You entered a second distribution code";
const char kDistributionText[] = "You must enter the total federal distribution";
const char kBasisText[] = "The basis field in column F";
const char kCopyLimitText[] = "More than 5 copies of PA Schedule MC are not allowed";

// The host fields of the first row's columns and the stride between rows
// (20 rows of 8 fields in the form's field order).
const int kRowWidth = 8;
const int kRowCount = 20;
enum Column { kEarner, kType, kPayer, kCode, kDistribution, kBasis, kSeventh, kEighth };

class MiscCompensationAuditTest : public schedule_audit_test::ScheduleAuditTest {
 protected:
  static FieldId mc(int hostField) { return kPAMiscCompWorksheetFieldIds.byNumber(hostField); }
  // Field of `column` in row `row` (0-based), by its place in the catalog.
  static FieldId cell(int row, Column column) {
    const int first = kPAMiscCompWorksheetFieldIds.indexOf(9);
    return kPAMiscCompWorksheetFieldIds[first + row * kRowWidth + column];
  }
  void enter(int row, Column column, const std::string& value, uint16_t copy = 1) {
    text(kFormID_PAMiscCompWorksheet, cell(row, column), value, copy);
  }
  void amount(int row, Column column, double value, uint16_t copy = 1) {
    number(kFormID_PAMiscCompWorksheet, cell(row, column), value, copy);
  }
  // A row that passes every row check.
  void completeRow(int row, uint16_t copy = 1) {
    enter(row, kEarner, "T", copy);
    enter(row, kType, "A", copy);
    enter(row, kPayer, "Acme", copy);
    amount(row, kDistribution, 500, copy);
  }
  std::vector<Seen> audit(Kind kind, uint16_t copy = 1) {
    return run(&PAAuditMgmt::PATaxFormAuditor::auditMiscCompensation, kFormID_PAMiscCompWorksheet,
               copy, kind);
  }
  // The answers of the five row messages, in report order.
  std::vector<bool> rowAnswers(const std::vector<Seen>& seen) {
    std::vector<bool> answers;
    for (const char* text : {kEarnerText, kTypeText, kPayerText, kDistributionText, kBasisText}) {
      answers.push_back(one(seen, text).answer);
    }
    return answers;
  }
};

TEST_F(MiscCompensationAuditTest, GridMatchesTheCatalog) {
  // Row 2 starts at host field 16, the last row at 9577; messages point at
  // the first row's columns.
  EXPECT_EQ(cell(1, kEarner).getNumber(), 16);
  EXPECT_EQ(cell(kRowCount - 1, kEarner).getNumber(), 9577);
  EXPECT_EQ(cell(0, kType).getNumber(), 12);
  EXPECT_EQ(cell(0, kBasis).getNumber(), 36125);
}

TEST_F(MiscCompensationAuditTest, EmptyWorksheetAnswersFalse) {
  const std::vector<Seen> seen = audit(Kind::kOrdinary);
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(rowAnswers(seen), std::vector<bool>(5, false));
  EXPECT_EQ(trueCount(seen), 0);
  for (const Seen& s : seen) EXPECT_EQ(s.form, 187);
}

TEST_F(MiscCompensationAuditTest, RowChecks) {
  struct Case {
    const char* name;
    const char* earner;  // null: left empty
    const char* type;
    const char* code;
    bool payer;
    bool distribution;
    std::vector<bool> answers;  // earner, type, payer, distribution, basis
  };
  const std::vector<Case> cases = {
      {"lower case is valid", "s", "h", nullptr, true, true, {false, false, false, false, false}},
      {"type N", "T", "N", nullptr, true, true, {false, true, false, false, false}},
      {"type AB", "T", "AB", nullptr, true, true, {false, true, false, false, false}},
      {"earner X", "X", "M", nullptr, true, true, {true, false, false, false, false}},
      {"only code 1", nullptr, nullptr, "1", false, false, {true, true, true, true, true}},
      {"code 7", "S", "B", "7", true, true, {false, false, false, false, false}},
      {"code j", "S", "B", "j", true, true, {false, false, false, false, false}},
      {"code L", "S", "B", "L", true, true, {false, false, false, false, true}},
      {"no payer", "T", "C", nullptr, false, true, {false, false, true, false, false}},
      {"no distribution", "T", "C", nullptr, true, false, {false, false, false, true, false}},
  };
  for (const Case& c : cases) {
    SetUp();
    // Row 4 holds the case, the other rows are complete or empty.
    completeRow(0);
    if (c.earner != nullptr) enter(3, kEarner, c.earner);
    if (c.type != nullptr) enter(3, kType, c.type);
    if (c.code != nullptr) enter(3, kCode, c.code);
    if (c.payer) enter(3, kPayer, "Payer");
    if (c.distribution) amount(3, kDistribution, 10);
    EXPECT_EQ(rowAnswers(audit(Kind::kOrdinary)), c.answers) << c.name;
  }
}

TEST_F(MiscCompensationAuditTest, EnteredBasisClosesTheBasisCheck) {
  completeRow(0);
  enter(0, kCode, "2");
  EXPECT_TRUE(one(audit(Kind::kOrdinary), kBasisText).answer);
  amount(0, kBasis, 0);  // an entered zero is not empty
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kBasisText).answer);
}

TEST_F(MiscCompensationAuditTest, WalkReachesTheLastRowAndReportsEachKindOnce) {
  // Faulty first and last rows; a row used only in its eighth column.
  enter(0, kType, "Z");
  enter(kRowCount - 1, kType, "Q");
  amount(10, kEighth, 3);
  const std::vector<Seen> seen = audit(Kind::kOrdinary);
  EXPECT_EQ(rowAnswers(seen), std::vector<bool>({true, true, true, true, false}));

  SetUp();
  amount(kRowCount - 1, kSeventh, 1);
  EXPECT_EQ(rowAnswers(audit(Kind::kOrdinary)), std::vector<bool>({true, true, true, true, false}));
}

TEST_F(MiscCompensationAuditTest, RowsAreReadOnTheAuditedCopy) {
  enter(0, kCode, "S", 2);
  EXPECT_EQ(rowAnswers(audit(Kind::kOrdinary, 1)), std::vector<bool>(5, false));
  EXPECT_EQ(rowAnswers(audit(Kind::kOrdinary, 2)), std::vector<bool>(5, true));
}

TEST_F(MiscCompensationAuditTest, MessageCodesAndFields) {
  struct Expect {
    const char* text;
    int code;
    int field;
  };
  const Expect expected[] = {
      {kEarnerText, 6, 9},    {kTypeText, 6, 12},          {kDescriptionText, 6, 95},
      {kPayerText, 6, 11},    {kSecondCodeText, 7, 36124}, {kDistributionText, 6, 15},
      {kBasisText, 6, 36125},
  };
  const std::vector<Seen> seen = audit(Kind::kEFile, 3);
  for (const Expect& e : expected) {
    const Seen s = one(seen, e.text);
    EXPECT_EQ(s.code, e.code) << e.text;
    EXPECT_EQ(s.field, e.field) << e.text;
    EXPECT_EQ(s.copy, 3) << e.text;
  }
}

TEST_F(MiscCompensationAuditTest, TypeHDescriptionAndSecondDistributionCode) {
  number(kFormID_PAMiscCompWorksheet, mc(79780), 250);
  EXPECT_TRUE(one(audit(Kind::kOrdinary), kDescriptionText).answer);
  text(kFormID_PAMiscCompWorksheet, mc(95), "Prize money");
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kDescriptionText).answer);

  // The second code is looked for on every copy.
  EXPECT_FALSE(one(audit(Kind::kOrdinary), kSecondCodeText).answer);
  number(kFormID_PAMiscCompWorksheet, mc(79781), 1, 2);
  EXPECT_TRUE(one(audit(Kind::kOrdinary), kSecondCodeText).answer);
}

TEST_F(MiscCompensationAuditTest, FiveCopiesMayBeFiledElectronically) {
  EXPECT_FALSE(one(audit(Kind::kEFile, 5), kCopyLimitText).answer);
  const Seen sixth = one(audit(Kind::kEFile, 6), kCopyLimitText);
  EXPECT_TRUE(sixth.answer);
  EXPECT_EQ(sixth.code, 6);
  EXPECT_EQ(sixth.field, 0);
  EXPECT_EQ(sixth.copy, 1);  // e-file messages are shown for copy 1
  EXPECT_TRUE(with(audit(Kind::kOrdinary, 6), kCopyLimitText).empty());
}

}  // namespace
