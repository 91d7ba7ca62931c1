// The estimated tax worksheet on fixture returns. Fields are named by host
// field number, so the member mapping is checked independently of the code.
#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class EstimatedTaxWorksheetTest : public PA40Test {
 protected:
  static const FieldId& ws(int hostField) { return kPAEstimatedTaxWorksheetFieldIds.byNumber(hostField); }

  void SetUp() override {
    PA40Test::SetUp();
    useInformationFormLines();
    copyOf(kFormID_PA40);
    copyOf(kFormID_PAEstimatedTaxWorksheet);
  }

  DataMgmt::TaxForm& sheet() { return copyOf(kFormID_PAEstimatedTaxWorksheet); }
  void run() { engine->computeEstimatedTaxWorksheet(holder(kFormID_PAEstimatedTaxWorksheet), 1, 1); }
  void enter(int hostField, double value) { number(kFormID_PAEstimatedTaxWorksheet, ws(hostField), value); }
  void check(int hostField) { mark(kFormID_PAEstimatedTaxWorksheet, ws(hostField)); }
  double value(int hostField) { return sheet().getIR(ws(hostField)); }
  bool isNull(int hostField) { return sheet().isNull(ws(hostField)); }
  bool isProtected(int hostField) { return sheet().isProtected(ws(hostField)); }
  bool marked(int hostField) { return sheet().xMarked(ws(hostField)); }
  std::string text(int hostField) {
    return StateEngineTest::textOf(kFormID_PAEstimatedTaxWorksheet, ws(hostField));
  }
  using StateEngineTest::text;

  // A required annual payment (field 32) of exactly `amount` from the
  // user's own entries: estimated and current tax 30700 each, the line-21
  // amount taking the rest.
  void requiredPayment(double amount) {
    check(13);
    enter(14, 1000000);
    number(kFormID_PA40, pa40(172), 1000000);
    enter(31, 30700 - amount);
  }
  void carriedOverpayment(double amount) { number(kFormID_PA40, pa40(253), amount); }
};

TEST_F(EstimatedTaxWorksheetTest, OnlyAPaymentAbove245PassesTheThreshold) {
  const struct {
    double required;
    double aboveThreshold;
  } cases[] = {{245, 0}, {246, 246}, {0, 0}};
  for (const auto& c : cases) {
    restart();
    requiredPayment(c.required);
    run();
    EXPECT_EQ(value(32), c.required);
    EXPECT_EQ(value(185308), c.aboveThreshold) << c.required;
  }
}

TEST_F(EstimatedTaxWorksheetTest, TheRequiredPaymentIsTheSmallerOfNinetyPercentAndTheCurrentTax) {
  check(13);
  enter(14, 100000);                        // estimated tax 3070, 90 % 2763
  enter(16, 70);                            // credits 70: net 3000, 90 % 2700
  number(kFormID_PA40, pa40(172), 200000);  // current tax 6140
  enter(31, 30);                            // 6140 - 100 = 6040
  run();
  EXPECT_EQ(value(15), 3070);
  EXPECT_EQ(value(21), 70);
  EXPECT_EQ(value(22), 3000);
  EXPECT_EQ(value(24), 2700);
  EXPECT_EQ(value(25), 200000);
  EXPECT_TRUE(isProtected(25));
  EXPECT_EQ(value(185305), 100);
  EXPECT_EQ(value(185306), 6040);
  EXPECT_EQ(value(27), 2700);
  EXPECT_EQ(value(32), 2700);
}

TEST_F(EstimatedTaxWorksheetTest, TheBasisBoxTakesTheAmountsFromThePA40) {
  number(kFormID_PA40, pa40(172), 50000);
  number(kFormID_PA40, pa40(244), 100);
  number(kFormID_PA40, pa40(233), 200);
  enter(14, 7);
  run();
  EXPECT_TRUE(marked(12));  // the default basis
  EXPECT_EQ(value(14), 50000);
  EXPECT_EQ(value(15), 1535);
  EXPECT_EQ(value(20), 100);
  EXPECT_EQ(value(31), 200);
  for (int f : {14, 20, 31}) EXPECT_TRUE(isProtected(f)) << f;
  EXPECT_FALSE(isProtected(16));

  restart();
  number(kFormID_PA40, pa40(172), 50000);
  check(13);
  enter(14, 7);
  enter(20, 3);
  run();
  EXPECT_EQ(value(14), 7);
  EXPECT_EQ(value(20), 3);
  EXPECT_EQ(value(25), 50000);  // the current income is always the PA-40's
  for (int f : {14, 20, 31}) EXPECT_FALSE(isProtected(f)) << f;
}

TEST_F(EstimatedTaxWorksheetTest, OnlyNonresidentsAndPartYearResidentsReduceByLine30) {
  requiredPayment(1000);
  number(kFormID_PA40, pa40(237), 300);
  enter(185307, 50);
  run();
  EXPECT_TRUE(isNull(185307));
  EXPECT_TRUE(isProtected(185307));
  EXPECT_EQ(value(32), value(27));

  restart();
  requiredPayment(1000);
  setResidency(1);
  enter(185307, 50);
  run();
  EXPECT_EQ(value(185307), 50);  // the user's entry, as the basis is his own
  EXPECT_EQ(value(32), 950);

  restart();
  setResidency(2);
  number(kFormID_PA40, pa40(237), 300);
  number(kFormID_PA40, pa40(172), 1000000);
  number(kFormID_PA40, pa40(233), 29700);
  run();
  EXPECT_EQ(value(185307), 300);
  EXPECT_TRUE(isProtected(185307));
  EXPECT_EQ(value(32), 700);
}

// One row of the installment table: installment, credit applied, net
// payment; a null row is written as `kNull`.
const double kNull = -1;
struct Row {
  double amount, credit, net;
};
struct InstallmentCase {
  const char* name;
  int countBox;
  double total, carried;
  Row rows[4];
};

TEST_F(EstimatedTaxWorksheetTest, TheRequiredPaymentIsSplitIntoTheChosenInstallments) {
  const Row null = {kNull, kNull, kNull};
  const InstallmentCase cases[] = {
      {"four, remainder last", 33, 1001, 0, {{250, 0, 250}, {250, 0, 250}, {250, 0, 250}, {251, 0, 251}}},
      {"four, credit 600", 33, 1000, 600, {{250, 250, 0}, {250, 250, 0}, {250, 100, 150}, {250, 0, 250}}},
      {"three", 34, 1000, 0, {null, {333, 0, 333}, {333, 0, 333}, {334, 0, 334}}},
      {"two, odd unit last", 35, 1001, 0, {null, null, {500, 0, 500}, {501, 0, 501}}},
      {"one", 36, 1000, 10, {null, null, null, {1000, 10, 990}}},
      {"credit above total", 33, 500, 900, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
  };
  for (const InstallmentCase& c : cases) {
    restart();
    requiredPayment(c.total);
    carriedOverpayment(c.carried);
    check(c.countBox);
    run();
    EXPECT_EQ(value(37), c.carried) << c.name;
    for (int r = 0; r < 4; ++r) {
      const Row& row = c.rows[r];
      const int fields[3] = {46 + r, 50 + r, 54 + r};
      const double expected[3] = {row.amount, row.credit, row.net};
      for (int k = 0; k < 3; ++k) {
        if (expected[k] == kNull) {
          EXPECT_TRUE(isNull(fields[k])) << c.name << " field " << fields[k];
        } else {
          EXPECT_EQ(value(fields[k]), expected[k]) << c.name << " field " << fields[k];
        }
      }
      // Each voucher block pays its row's net payment.
      const int voucherAmount = 82 + 17 * r;
      if (row.net == kNull) {
        EXPECT_TRUE(isNull(voucherAmount)) << c.name << " voucher " << r + 1;
      } else {
        EXPECT_EQ(value(voucherAmount), row.net) << c.name << " voucher " << r + 1;
      }
      EXPECT_EQ(value(139 + r), c.total) << c.name;
    }
  }
}

TEST_F(EstimatedTaxWorksheetTest, AnUntouchedWorksheetGetsItsDefaultBoxes) {
  run();
  EXPECT_TRUE(marked(7));    // not computed
  EXPECT_FALSE(marked(6));
  EXPECT_TRUE(marked(12));   // amounts from the return
  EXPECT_TRUE(marked(33));   // four installments
  EXPECT_TRUE(marked(39));   // not amended
  EXPECT_FALSE(marked(38));
  EXPECT_TRUE(isNull(40));
  EXPECT_TRUE(isProtected(40));
  for (int f : {23, 23900}) {
    EXPECT_TRUE(isNull(f)) << f;
    EXPECT_TRUE(isProtected(f)) << f;
  }
  EXPECT_FALSE(sheet().isDataEntered());
  EXPECT_FALSE(sheet().getCalcMark());
}

TEST_F(EstimatedTaxWorksheetTest, TheComputeBoxMarksTheWorksheetEntered) {
  check(6);
  run();
  EXPECT_TRUE(sheet().isDataEntered());
  EXPECT_TRUE(sheet().getCalcMark());
}

TEST_F(EstimatedTaxWorksheetTest, TheAmendedCountIsDefaultedAndLimited) {
  const struct {
    bool entered;
    double count, expected;
  } cases[] = {{false, 0, 3}, {true, 5, 3}, {true, 0, 1}, {true, 2, 2}};
  for (const auto& c : cases) {
    restart();
    check(38);
    if (c.entered) enter(40, c.count);
    run();
    EXPECT_EQ(value(40), c.expected) << c.count;
    EXPECT_FALSE(isProtected(40));
  }
}

TEST_F(EstimatedTaxWorksheetTest, AnAmendedEstimateSchedulesTheAmendedAmountOverTheLastRows) {
  requiredPayment(5000);
  carriedOverpayment(100);
  check(38);
  check(33);
  enter(40, 3);
  enter(41, 1000);
  enter(43, 50);
  run();
  EXPECT_EQ(value(42), 100);
  EXPECT_TRUE(isProtected(42));
  EXPECT_EQ(value(44), 150);
  EXPECT_EQ(value(45), 850);
  // Row 1 is before the amended installments but a due row: 0, not null.
  const double amounts[4] = {0, 283, 283, 284};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(value(46 + r), amounts[r]) << r;
    EXPECT_EQ(value(50 + r), 0) << r;  // no credit against an amended amount
    EXPECT_EQ(value(54 + r), amounts[r]) << r;
    EXPECT_EQ(value(139 + r), 1000) << r;  // the amended annual amount
  }
}

TEST_F(EstimatedTaxWorksheetTest, AmendedInstallmentsBeforeTheFirstDueRowAreCaughtUp) {
  check(38);
  check(35);
  enter(40, 3);
  enter(41, 900);
  run();
  for (int f : {46, 47, 50, 51, 54, 55}) EXPECT_TRUE(isNull(f)) << f;
  EXPECT_EQ(value(48), 600);
  EXPECT_EQ(value(56), 600);
  EXPECT_EQ(value(49), 300);
  EXPECT_EQ(value(57), 300);
}

TEST_F(EstimatedTaxWorksheetTest, AClearedAmendedAmountLeavesNothingToSchedule) {
  check(38);
  enter(41, 1200);
  run();
  EXPECT_EQ(value(45), 1200);
  EXPECT_EQ(value(49), 400);

  sheet().setNull(ws(41));
  run();
  EXPECT_TRUE(isNull(45));
  for (int f = 46; f <= 57; ++f) EXPECT_EQ(value(f), 0) << f;
}

TEST_F(EstimatedTaxWorksheetTest, WithoutTheAmendedEstimateItsEntriesAreClosed) {
  enter(41, 1000);
  enter(43, 5);
  run();
  for (int f : {41, 42, 43}) {
    EXPECT_TRUE(isNull(f)) << f;
    EXPECT_TRUE(isProtected(f)) << f;
  }
}

TEST_F(EstimatedTaxWorksheetTest, SkippingTheEstimateClearsTheRequiredPaymentAndItsRows) {
  mark(kFormID_PAReturnInfo, info(106));
  requiredPayment(2000);
  enter(32, 2000);
  enter(46, 500);
  check(34);
  run();
  EXPECT_TRUE(marked(23));  // the default once the information form allows it
  EXPECT_FALSE(isProtected(23));
  for (int f : {24, 25, 27, 32, 185308}) EXPECT_TRUE(isNull(f)) << f;
  EXPECT_TRUE(marked(33));
  EXPECT_TRUE(marked(39));
  for (int f = 46; f <= 57; ++f) EXPECT_EQ(value(f), 0) << f;
}

TEST_F(EstimatedTaxWorksheetTest, NotSkippingWithTheSkipAllowedDefaultsToOneInstallment) {
  mark(kFormID_PAReturnInfo, info(106));
  check(23900);
  requiredPayment(800);
  run();
  EXPECT_FALSE(marked(23));
  EXPECT_TRUE(marked(36));
  EXPECT_EQ(value(49), 800);
  EXPECT_TRUE(isNull(48));
}

class EstimatedTaxVoucherBlocksTest : public EstimatedTaxWorksheetTest {
 protected:
  void SetUp() override {
    EstimatedTaxWorksheetTest::SetUp();
    text(kFormID_PAReturnInfo, info(31), "ANNA");
    text(kFormID_PAReturnInfo, info(32), "B");
    text(kFormID_PAReturnInfo, info(33), "SMITH");
    text(kFormID_PAReturnInfo, info(35), "111-22-3333");
    text(kFormID_PAReturnInfo, info(36), "CARL");
    text(kFormID_PAReturnInfo, info(37), "D");
    text(kFormID_PAReturnInfo, info(38), "JONES");
    text(kFormID_PAReturnInfo, info(40), "444-55-6666");
    text(kFormID_PAReturnInfo, info(43), "HARRISBURG");
    text(kFormID_PAReturnInfo, info(44), "PA");
    text(kFormID_PAReturnInfo, info(45), "17101");
    text(kFormID_PA40, pa40(107), "A107");
    text(kFormID_PA40, pa40(105), "A105");
  }
  // Block b (0-3) of a field given by its block-1 host number: blocks are
  // 17 fields apart.
  static int inBlock(int block1Field, int b) { return block1Field + 17 * b; }
};

TEST_F(EstimatedTaxVoucherBlocksTest, DueDatesFallInTheComingYearAndTheJanuaryAfter) {
  run();
  EXPECT_EQ(text(73), "04-15-19");
  EXPECT_EQ(text(90), "06-17-19");
  EXPECT_EQ(text(107), "09-16-19");
  EXPECT_EQ(text(124), "01-15-20");
}

TEST_F(EstimatedTaxVoucherBlocksTest, EveryBlockCarriesTheFilersTexts) {
  setFilingStatus(2);
  run();
  const struct {
    int field;
    const char* text;
  } expected[] = {{70, "111-22-3333"}, {71, "SM"}, {72, "444-55-6666"}, {74, "SMITH"}, {76, "ANNA"},
                  {77, "B"},           {78, "CARL"}, {79, "D"},         {80, "JONES"}, {81, "A107"},
                  {83, "A105"},        {84, "HARRISBURG"}, {85, "PA"},  {86, "17101"}};
  for (int b = 0; b < 4; ++b) {
    for (const auto& e : expected) EXPECT_EQ(text(inBlock(e.field, b)), e.text) << inBlock(e.field, b);
  }
  EXPECT_NE(text(8), "");
  EXPECT_EQ(text(9), "111-22-3333");
  EXPECT_NE(text(10), "");
}

TEST_F(EstimatedTaxVoucherBlocksTest, WithoutAJointReturnNoBlockHasSpouseTexts) {
  setFilingStatus(1);
  for (int b = 0; b < 4; ++b) text(kFormID_PAEstimatedTaxWorksheet, ws(inBlock(80, b)), "OLD");
  run();
  for (int f : {10, 11}) EXPECT_TRUE(isNull(f)) << f;
  for (int b = 0; b < 4; ++b) {
    for (int f : {72, 78, 79, 80}) EXPECT_TRUE(isNull(inBlock(f, b))) << inBlock(f, b);
  }
}

TEST_F(EstimatedTaxVoucherBlocksTest, TheTelephoneNumberFallsBackToThePA40s) {
  copyOf(kFormID_FedReturn);
  text(kFormID_FedFilerInfo, kFedFilerInfoFieldIds.byNumber(671), "215-555-0100");
  text(kFormID_PA40, pa40(116), "717-555-0199");
  run();
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(text(inBlock(75, b)), "215-555-0100");
    EXPECT_TRUE(isProtected(inBlock(75, b)));
  }

  restart();
  copyOf(kFormID_FedReturn);
  text(kFormID_PA40, pa40(116), "717-555-0199");
  run();
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(text(inBlock(75, b)), "717-555-0199");
    EXPECT_TRUE(isProtected(inBlock(75, b)));
  }

  restart();
  copyOf(kFormID_FedReturn);
  run();
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(text(inBlock(75, b)), "");
    EXPECT_FALSE(isProtected(inBlock(75, b)));
  }
}

}  // namespace
