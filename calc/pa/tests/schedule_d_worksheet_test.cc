// The Schedule D sales worksheet on fixture returns. Fields are named by
// host field number, so the row geometry is checked independently of the
// code's catalog arithmetic.
#include <string>

#include "calc/state/tests/state_engine_fixture.h"
#include "host/rounding.h"

namespace {

class ScheduleDWorksheetTest : public StateEngineTest {
 protected:
  static const FieldId& ws(int hostField) { return kPAScheduleDWorksheetFieldIds.byNumber(hostField); }
  static const FieldId& sale(int hostField) { return kFed135FieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }
  // Federal row r (1-12), offset 0-9.
  static const FieldId& row(int r, int offset) {
    return offset == 9 ? ws(150151 + r) : ws(9 + 9 * (r - 1) + offset);
  }

  void SetUp() override {
    StateEngineTest::SetUp();
    useInformationFormLines();
  }
  // 1 single, 2 joint.
  void setFilingStatus(int status) { mark(kFormID_PAReturnInfo, info(status == 2 ? 57 : 55)); }
  void fullYearResident() { mark(kFormID_PAReturnInfo, info(46)); }

  // A federal sale record; amounts in dollars, stored as hundredths.
  void record(uint16_t copy, const std::string& description, const std::string& acquired,
              const std::string& sold, double sales, double basis, bool grouped = false) {
    text(kFormID_Fed135, sale(36), description, copy);
    text(kFormID_Fed135, sale(37), acquired, copy);
    text(kFormID_Fed135, sale(38), sold, copy);
    number(kFormID_Fed135, sale(39), sales * 100, copy);
    number(kFormID_Fed135, sale(40), basis * 100, copy);
    if (grouped) mark(kFormID_Fed135, sale(147131), copy);
  }
  // Links worksheet row r of `copy` to federal record `fedCopy`, as the driver does.
  void link(uint16_t copy, int r, int fedCopy) {
    number(kFormID_PAScheduleDWorksheet, ws(196104 + r), fedCopy, copy);
  }
  void run(uint16_t copy = 1) {
    engine->computeScheduleDWorksheet(holder(kFormID_PAScheduleDWorksheet, copy), copy, 0);
  }

  DataMgmt::TaxForm& sheet(uint16_t copy = 1) { return copyOf(kFormID_PAScheduleDWorksheet, copy); }
  double amount(int hostField, uint16_t copy = 1) { return sheet(copy).getIR(ws(hostField)); }
  bool isNull(int hostField, uint16_t copy = 1) { return sheet(copy).isNull(ws(hostField)); }
  std::string wsText(const FieldId& field, uint16_t copy = 1) {
    return textOf(kFormID_PAScheduleDWorksheet, field, copy);
  }
};

TEST_F(ScheduleDWorksheetTest, CopyWithoutFederalRecordsClearsItsRowsButTotalsHandRows) {
  fullYearResident();
  record(1, "STOCK", "1/5/2017", "3/1/2018", 10, 5);
  text(kFormID_PAScheduleDWorksheet, row(1, 3), "STALE", 2);
  number(kFormID_PAScheduleDWorksheet, row(1, 8), 900, 2);
  number(kFormID_PAScheduleDWorksheet, ws(231), 1000, 2);  // hand row 1 sales price
  number(kFormID_PAScheduleDWorksheet, ws(232), 400, 2);   // and basis
  run(2);
  EXPECT_TRUE(sheet(2).isNull(row(1, 3)));
  EXPECT_TRUE(sheet(2).isNull(row(1, 8)));
  EXPECT_TRUE(sheet(2).isNo(ws(150694)));
  EXPECT_TRUE(sheet(2).isNo(ws(150695)));
  EXPECT_EQ(amount(233, 2), 600);
  EXPECT_EQ(wsText(ws(226), 2), "T");
  EXPECT_EQ(amount(266, 2), 600);
  EXPECT_EQ(amount(268, 2), 600);
  EXPECT_TRUE(isNull(263, 2));  // the carry-in belongs to copy 1
}

// Records 1 to 12 of a return whose first record was deleted: worksheet
// copy 1 keeps the rows of records 2 and 3.
TEST_F(ScheduleDWorksheetTest, RowsSurviveWhenTheFirstRecordIsGone) {
  fullYearResident();
  record(2, "BOND", "1/5/2017", "3/1/2018", 300, 100);
  record(3, "FUND", "1/5/2017", "3/1/2018", 50, 80);
  link(1, 2, 2);
  link(1, 3, 3);
  run();
  EXPECT_EQ(wsText(row(2, 3)), "BOND");
  EXPECT_EQ(sheet().getIR(row(3, 8)), -30);
  EXPECT_EQ(amount(266), 170);
}

// Dates are rewritten as mm/dd/yy; a text that is no date stays as entered.
TEST_F(ScheduleDWorksheetTest, DateTexts) {
  const struct {
    const char* acquired;
    const char* expectedAcquired;
    const char* sold;
    const char* expectedSold;  // "" for none
  } kCases[] = {
      {"inherit", "VARIOUS", "3/1/2018", "03/01/18"},     {"Inh-2010", "VARIOUS", "2018-03-01", "03/01/18"},
      {"", "VARIOUS", "3/1/2018", "03/01/18"},            {"var-s", "VARIOUS", "3/1/2018", "03/01/18"},
      {"VAR-L", "VARIOUS", "3/1/2018", "03/01/18"},       {"1/5/2017", "01/05/17", "3/1/2018", "03/01/18"},
      {"2017-01-05", "01/05/17", "3/1/2018", "03/01/18"}, {"Spring 2016", "Spring 2016", "mid-2018", "mid-2018"},
      {"1/5/2017", "01/05/17", "", ""},
  };
  uint16_t copy = 1;
  for (const auto& c : kCases) {
    record(copy, "LOT", c.acquired, c.sold, 10, 5);
    link(1, copy, copy);
    text(kFormID_PAScheduleDWorksheet, row(copy, 5), "OLD");
    ++copy;
  }
  run();
  for (int r = 1; r < copy; ++r) {
    EXPECT_EQ(wsText(row(r, 4)), kCases[r - 1].expectedAcquired) << kCases[r - 1].acquired;
    EXPECT_EQ(wsText(row(r, 5)), kCases[r - 1].expectedSold) << kCases[r - 1].sold;
  }
  EXPECT_TRUE(sheet().isNull(row(9, 5)));
}

// A record without a description leaves nothing of an earlier row behind.
TEST_F(ScheduleDWorksheetTest, RecordWithoutDescriptionClearsItsRow) {
  fullYearResident();
  record(1, "", "1/5/2017", "3/1/2018", 100, 40);
  link(1, 1, 1);
  for (int offset : {1, 3, 4, 5}) text(kFormID_PAScheduleDWorksheet, row(1, offset), "OLD");
  for (int offset : {6, 7, 8}) number(kFormID_PAScheduleDWorksheet, row(1, offset), 70);
  for (int offset : {2, 9}) mark(kFormID_PAScheduleDWorksheet, row(1, offset));
  run();
  for (int offset = 0; offset <= 9; ++offset) EXPECT_TRUE(sheet().isNull(row(1, offset))) << offset;
  EXPECT_EQ(amount(266), 0);
  EXPECT_EQ(amount(72334), 0);
  EXPECT_FALSE(sheet().isDataEntered());
}

TEST_F(ScheduleDWorksheetTest, GroupedSaleHasNoDateSoldAndIsCounted) {
  record(1, "A", "1/5/2017", "3/1/2018", 10, 5, true);
  record(2, "B", "1/5/2017", "3/1/2018", 10, 5, false);
  record(3, "C", "1/5/2017", "3/1/2018", 10, 5, true);
  for (int r = 1; r <= 3; ++r) link(1, r, r);
  text(kFormID_PAScheduleDWorksheet, row(1, 5), "OLD");
  run();
  EXPECT_TRUE(sheet().isNull(row(1, 5)));
  EXPECT_TRUE(sheet().xMarked(row(1, 9)));
  EXPECT_TRUE(sheet().isNo(row(2, 9)));
  EXPECT_EQ(amount(161039), 2);
}

TEST_F(ScheduleDWorksheetTest, BasisLessTheThreeFederalAdjustments) {
  fullYearResident();
  record(1, "A", "1/5/2017", "3/1/2018", 1000.50, 800);
  number(kFormID_Fed135, sale(163966), 10000);
  number(kFormID_Fed135, sale(188718), 2000);
  number(kFormID_Fed135, sale(79686), 50);
  link(1, 1, 1);
  run();
  EXPECT_DOUBLE_EQ(sheet().getIR(row(1, 6)), 1000.50);
  EXPECT_DOUBLE_EQ(sheet().getIR(row(1, 7)), 679.50);
  EXPECT_DOUBLE_EQ(sheet().getIR(row(1, 8)), 321);
}

TEST_F(ScheduleDWorksheetTest, JointGainIsSplitBetweenTheSpouses) {
  setFilingStatus(2);
  fullYearResident();
  record(1, "JOINT LOT", "1/5/2017", "3/1/2018", 401, 100);
  record(2, "HIS", "1/5/2017", "3/1/2018", 50, 0);
  record(3, "HERS", "1/5/2017", "3/1/2018", 20, 0);
  for (int r = 1; r <= 3; ++r) link(1, r, r);
  text(kFormID_PAScheduleDWorksheet, row(1, 1), "j");
  text(kFormID_PAScheduleDWorksheet, row(2, 1), "t");
  text(kFormID_PAScheduleDWorksheet, row(3, 1), "S");
  run();
  EXPECT_EQ(wsText(row(1, 1)), "J");
  EXPECT_EQ(amount(265), 301);
  EXPECT_EQ(amount(267), Utils::roundR(150.5));
  EXPECT_EQ(amount(270), 301 - Utils::roundR(150.5));
  EXPECT_EQ(amount(266), 50);
  EXPECT_EQ(amount(268), 50 + Utils::roundR(150.5));
  EXPECT_EQ(amount(269), 20);
  EXPECT_EQ(amount(271), 20 + 301 - Utils::roundR(150.5));
}

TEST_F(ScheduleDWorksheetTest, SingleFilerOwnsEverything) {
  fullYearResident();
  record(1, "A", "1/5/2017", "3/1/2018", 100, 40);
  link(1, 1, 1);
  text(kFormID_PAScheduleDWorksheet, row(1, 1), "J");
  number(kFormID_PAScheduleDWorksheet, ws(265), 7);
  run();
  EXPECT_EQ(wsText(row(1, 1)), "T");
  for (int field : {265, 267, 269, 270, 271}) EXPECT_TRUE(isNull(field)) << field;
  EXPECT_EQ(amount(266), 60);
  EXPECT_EQ(amount(268), 60);
  EXPECT_TRUE(sheet().xMarked(ws(275)));
  EXPECT_TRUE(sheet().isProtected(ws(275)));
}

TEST_F(ScheduleDWorksheetTest, OwnerCodes) {
  const struct {
    int status;
    const char* typed;
    const char* expected;
  } kCases[] = {
      {2, "j", "J"}, {2, "s", "S"}, {2, "T", "T"}, {2, "", "J"}, {2, "x", "J"}, {1, "S", "T"}, {1, "", "T"},
  };
  for (const auto& c : kCases) {
    text(kFormID_PAScheduleDWorksheet, ws(226), c.typed);
    engine->normalizeOwnerText(holder(kFormID_PAScheduleDWorksheet), ws(226), c.status);
    EXPECT_EQ(wsText(ws(226)), c.expected) << c.status << " '" << c.typed << "'";
  }
}

// A part-year resident counts only the rows marked taxable in PA; the
// zero-gain mark zeroes a row's gain.
TEST_F(ScheduleDWorksheetTest, PartYearResidentCountsMarkedRows) {
  record(1, "A", "1/5/2017", "3/1/2018", 100, 40);
  record(2, "B", "1/5/2017", "3/1/2018", 500, 0);
  record(3, "C", "1/5/2017", "3/1/2018", 700, 0);
  for (int r = 1; r <= 3; ++r) link(1, r, r);
  mark(kFormID_PAScheduleDWorksheet, row(1, 0));
  mark(kFormID_PAScheduleDWorksheet, row(3, 0));
  mark(kFormID_PAScheduleDWorksheet, row(3, 2));
  mark(kFormID_PAScheduleDWorksheet, ws(234));   // hand row 2 taxable
  number(kFormID_PAScheduleDWorksheet, ws(240), 90);
  run();
  EXPECT_EQ(sheet().getIR(row(3, 8)), 0);
  EXPECT_EQ(amount(242), 90);
  EXPECT_EQ(amount(266), 60 + 90);
  EXPECT_FALSE(sheet().isProtected(row(1, 0)));
  EXPECT_TRUE(sheet().xMarked(ws(150697)));  // default of the part-year pair
}

TEST_F(ScheduleDWorksheetTest, InterestAndDividendCarryIn) {
  setFilingStatus(2);
  fullYearResident();
  copyOf(kFormID_State171);
  number(kFormID_PAInterestDividendWorksheet, kPAInterestDividendWorksheetFieldIds.byNumber(175), 40);
  number(kFormID_PAInterestDividendWorksheet, kPAInterestDividendWorksheetFieldIds.byNumber(176), 25);
  number(kFormID_PAScheduleDWorksheet, ws(283), 1);
  run();
  EXPECT_EQ(amount(257), -40);
  EXPECT_EQ(amount(263), -40);
  EXPECT_EQ(amount(264), -25);
  EXPECT_EQ(amount(266), -40);
  EXPECT_EQ(amount(269), -25);
  EXPECT_EQ(amount(72334), 1);
  EXPECT_TRUE(sheet().isDataEntered());
  EXPECT_TRUE(sheet().getCalcMark());
}

TEST_F(ScheduleDWorksheetTest, WithoutForm171TheCarryInKeepsItsValue) {
  number(kFormID_PAScheduleDWorksheet, ws(257), -12);
  run();
  EXPECT_EQ(amount(257), -12);
  EXPECT_EQ(amount(263), -12);
  EXPECT_TRUE(isNull(264));
}

TEST_F(ScheduleDWorksheetTest, EmptyCopyHoldsNoData) {
  run();
  EXPECT_EQ(amount(72334), 0);
  EXPECT_FALSE(isNull(72334));
  EXPECT_FALSE(sheet().isDataEntered());
}

TEST_F(ScheduleDWorksheetTest, FederalForm20AnswersTheJointChoice) {
  setFilingStatus(2);
  number(kFormID_Fed20, kFed20FieldIds.byNumber(132), 5);
  mark(kFormID_Fed20, kFed20FieldIds.byNumber(142));
  mark(kFormID_Fed20, kFed20FieldIds.byNumber(140));
  number(kFormID_Fed20, kFed20FieldIds.byNumber(132), 0, 2);
  number(kFormID_Fed42, kFed42FieldIds.byNumber(48), 3, 2);
  run();
  EXPECT_EQ(amount(150702), 1);
  EXPECT_TRUE(sheet().xMarked(ws(275)));  // 140 set after 142: the last one wins
  EXPECT_TRUE(sheet().isNo(ws(276)));
  EXPECT_TRUE(sheet().isNo(ws(277)));
  EXPECT_TRUE(sheet().xMarked(ws(150699)));
}

TEST_F(ScheduleDWorksheetTest, LinkToAMissingRecordLeavesTheRow) {
  fullYearResident();
  record(1, "A", "1/5/2017", "3/1/2018", 100, 40);
  link(1, 1, 1);
  link(1, 2, 9);
  text(kFormID_PAScheduleDWorksheet, row(2, 3), "KEPT");
  run();
  EXPECT_EQ(wsText(row(2, 3)), "KEPT");
  EXPECT_EQ(amount(266), 60);
}

}  // namespace
