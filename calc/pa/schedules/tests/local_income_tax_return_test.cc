// computeLocalIncomeTaxReturn: header, status boxes, the two columns' tax
// bases, tax, payments, balance and amount due.
#include <gtest/gtest.h>

#include <string>

#include "calc/pa/tests/pa40_fixture.h"

namespace {

class LocalReturnTest : public PA40Test {
 protected:
  static const FieldId& lit(int hostField) { return kPALocalIncomeTaxReturnFieldIds.byNumber(hostField); }

  void run(uint16_t copy = 1) {
    engine->computeLocalIncomeTaxReturn(holder(kFormID_PALocalIncomeTaxReturn, copy), copy, 1);
  }
  void enterLocal(int f, double value) { number(kFormID_PALocalIncomeTaxReturn, lit(f), value); }
  void markLocal(int f) { mark(kFormID_PALocalIncomeTaxReturn, lit(f)); }
  void letter(const std::string& value) { text(kFormID_PA40, pa40(272), value); }
  double local(int f) { return pa->getIR(kFormID_PALocalIncomeTaxReturn, 1, lit(f)); }
  std::string localText(int f) { return pa->getFieldAsString(kFormID_PALocalIncomeTaxReturn, 1, lit(f)); }
  bool localNull(int f) { return pa->isNull(kFormID_PALocalIncomeTaxReturn, 1, lit(f)); }
  bool localProtected(int f) { return copyOf(kFormID_PALocalIncomeTaxReturn).isProtected(lit(f)); }
  bool localMarked(int f) { return pa->formYes(kFormID_PALocalIncomeTaxReturn, 1, lit(f)); }
  bool localNo(int f) { return pa->formNo(kFormID_PALocalIncomeTaxReturn, 1, lit(f)); }
  bool closed(int f) { return localNull(f) && localProtected(f); }

  // A taxpayer tax of `tax` against payments of `paid`, at a rate of 1.
  void taxAgainstPayments(double tax, double paid) {
    enter(36514, 1);  // opens the first entry
    enterLocal(143958, tax);
    enterLocal(144174, 1000000);
    enterLocal(143977, paid);
  }
};

TEST_F(LocalReturnTest, AnEmptyTaxYearGets2018AndAnEnteredYearStays) {
  run();
  EXPECT_EQ(local(143869), 2018);
  enterLocal(143869, 2017);
  run();
  EXPECT_EQ(local(143869), 2017);
}

TEST_F(LocalReturnTest, HeaderTextsCopyNumberAndTextCopy) {
  const int sources[] = {107, 105, 110, 111, 112, 116};
  const int targets[] = {143945, 143948, 143949, 143950, 143951, 143952};
  for (int k = 0; k < 6; ++k) text(kFormID_PA40, pa40(sources[k]), "text " + std::to_string(k));
  text(kFormID_PALocalIncomeTaxReturn, lit(144173), "memo", 3);
  engine->computeLocalIncomeTaxReturn(holder(kFormID_PALocalIncomeTaxReturn, 3), 3, 1);
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(pa->getFieldAsString(kFormID_PALocalIncomeTaxReturn, 3, lit(targets[k])), "text " + std::to_string(k));
  }
  EXPECT_EQ(pa->getIR(kFormID_PALocalIncomeTaxReturn, 3, lit(144161)), 3);
  EXPECT_EQ(pa->getFieldAsString(kFormID_PALocalIncomeTaxReturn, 3, lit(143953)), "memo");
}

TEST_F(LocalReturnTest, NamesFollowTheFilingStatus) {
  useInformationFormLines();
  const char* parts[10] = {"ann", "", "lee", "", "111-22-3333", "bob", "", "lee", "", "444-55-6666"};
  for (short code = 1; code <= 10; ++code) text(kFormID_PAReturnInfo, line(code), parts[code - 1]);
  setFilingStatus(2);
  run();
  EXPECT_EQ(localText(143942), "ann lee");
  EXPECT_EQ(localText(144175), "111-22-3333");
  EXPECT_EQ(localText(143943), "bob lee");
  EXPECT_EQ(localText(144176), "444-55-6666");

  restart();
  useInformationFormLines();
  for (short code = 1; code <= 10; ++code) text(kFormID_PAReturnInfo, line(code), parts[code - 1]);
  setFilingStatus(1);
  text(kFormID_PALocalIncomeTaxReturn, lit(143943), "stale");
  run();
  EXPECT_EQ(localText(143942), "ann lee");
  EXPECT_TRUE(localNull(143943));
  EXPECT_TRUE(localNull(144176));
}

TEST_F(LocalReturnTest, StatusLettersMarkOneBox) {
  struct Case {
    const char* letter;
    int box;
  };
  const Case cases[] = {{"S", 143954}, {"J", 143955}, {"M", 143956}, {"F", 143957}, {"D", 143957}};
  const int boxes[] = {143954, 143955, 143956, 143957};
  for (const Case& c : cases) {
    restart();
    for (int box : boxes) markLocal(box);
    letter(c.letter);
    run();
    for (int box : boxes) {
      EXPECT_EQ(localMarked(box), box == c.box) << c.letter << " " << box;
      EXPECT_EQ(localNo(box), box != c.box) << c.letter << " " << box;
    }
  }
}

TEST_F(LocalReturnTest, UnknownLettersLeaveTheBoxesAsTheUserLeftThem) {
  for (const char* value : {"j", "", "SJ"}) {
    restart();
    markLocal(143956);
    letter(value);
    run();
    EXPECT_TRUE(localMarked(143956)) << value;
    EXPECT_TRUE(localNull(143955)) << value;
  }
}

TEST_F(LocalReturnTest, ReferenceAmountsGateTheirEntries) {
  enter(36514, 40000);
  enter(36526, 0);
  enter(36520, 39000);  // net below gross
  enterLocal(143958, 40000);
  enterLocal(143960, 700);
  enterLocal(143962, 50);
  run();
  EXPECT_EQ(local(144162), 40000);
  EXPECT_FALSE(localProtected(143958));
  EXPECT_EQ(local(143958), 40000);
  EXPECT_EQ(local(144164), 0);
  EXPECT_TRUE(closed(143960));
  EXPECT_EQ(local(144166), -1000);
  EXPECT_TRUE(closed(143962));
  EXPECT_EQ(local(143964), 40000);

  // The next run opens what the PA-40 now allows; the user's entry is gone.
  enter(36526, 300);
  run();
  EXPECT_FALSE(localProtected(143960));
  EXPECT_TRUE(localNull(143960));
}

TEST_F(LocalReturnTest, BusinessAndRentsSplitIntoIncomeAndLoss) {
  struct Case {
    double business, rents;
    bool joint;
    bool closedBoth;
    double income, loss;
  };
  const Case cases[] = {
      {300, 200, false, false, 500, 0},  {100, -400, false, false, 0, 300},
      {100, -100, false, true, 0, 0},    {300, 200, true, false, 500, 0},
      {100, -400, true, false, 0, 300},  {100, -100, true, false, 0, 0},
  };
  for (const Case& c : cases) {
    restart();
    letter("J");
    enter(c.joint ? 293 : 292, c.business);
    enter(c.joint ? 302 : 301, c.rents);
    run();
    const int income = c.joint ? 144169 : 144168;
    const int loss = c.joint ? 144171 : 144170;
    EXPECT_EQ(closed(income), c.closedBoth) << c.business << " " << c.rents << " " << c.joint;
    EXPECT_EQ(closed(loss), c.closedBoth) << c.business << " " << c.rents << " " << c.joint;
    if (!c.closedBoth) {
      EXPECT_FALSE(localNull(income));
      EXPECT_EQ(local(income), c.income);
      EXPECT_EQ(local(loss), c.loss);
    }
  }
}

TEST_F(LocalReturnTest, OnePercentOfFiftyThousandIsFiveHundred) {
  enter(36514, 50000);
  enterLocal(143958, 50000);
  enterLocal(143966, 900);
  enterLocal(143969, 1200);  // the further amount nets to 0, not below
  enterLocal(144174, 10000);
  run();
  EXPECT_EQ(local(143971), 0);
  EXPECT_EQ(local(143973), 50000);
  EXPECT_EQ(local(144191), 10000);
  EXPECT_DOUBLE_EQ(local(143975), 500);
}

TEST_F(LocalReturnTest, EntriesForABaseThatIsNotPositive) {
  enterLocal(144177, 5);
  enterLocal(144183, 6);
  run();  // base 0: open, values kept
  EXPECT_FALSE(localProtected(144177));
  EXPECT_EQ(local(144177), 5);
  EXPECT_EQ(local(144183), 6);

  enter(36514, 100);
  enterLocal(143958, 100);
  run();
  for (int f = 144177; f <= 144183; ++f) EXPECT_TRUE(closed(f)) << f;
}

TEST_F(LocalReturnTest, TaxpayerBalanceCases) {
  struct Case {
    double tax, paid;
    bool due;
    bool overpaid;
    double amount;
  };
  const Case cases[] = {
      {101, 100, false, false, 0},   // exactly the threshold
      {101.5, 100, true, false, 1.5},
      {100.5, 100, false, false, 0}, // a fraction owed is no balance
      {100, 100, false, true, 0},
      {80, 100, false, true, 20},
  };
  for (const Case& c : cases) {
    restart();
    taxAgainstPayments(c.tax, c.paid);
    run();
    EXPECT_DOUBLE_EQ(local(147627), c.tax - c.paid) << c.tax;
    EXPECT_EQ(localNull(143991), !c.due) << c.tax;
    if (c.due) {
      EXPECT_DOUBLE_EQ(local(143991), c.amount) << c.tax;
    }
    EXPECT_EQ(closed(143985), !c.overpaid) << c.tax;
    EXPECT_EQ(closed(143987), !c.overpaid) << c.tax;
    if (c.overpaid) {
      EXPECT_DOUBLE_EQ(local(143985), c.amount) << c.tax;
    }
    EXPECT_TRUE(localNo(143989)) << c.tax;
  }
}

TEST_F(LocalReturnTest, AppliedOverpaymentIsLimitedAndMarked) {
  taxAgainstPayments(80, 100);
  enterLocal(143987, 50);
  run();
  EXPECT_EQ(local(143987), 20);
  EXPECT_FALSE(localProtected(143987));
  EXPECT_TRUE(localMarked(143989));

  enterLocal(143987, 0);
  run();
  EXPECT_TRUE(localNo(143989));
}

TEST_F(LocalReturnTest, AmountDueTakesItsAdditions) {
  taxAgainstPayments(110, 100);
  enterLocal(143993, 2);
  enterLocal(143995, 3);
  run();
  EXPECT_EQ(local(143997), 15);
  EXPECT_EQ(local(144160), 15);

  // Paid in full: the additions close.
  enterLocal(143977, 110);
  run();
  EXPECT_TRUE(closed(143993));
  EXPECT_TRUE(closed(143995));
  EXPECT_TRUE(closed(143997));
  EXPECT_EQ(local(144160), 0);
}

TEST_F(LocalReturnTest, JointReturnFillsTheSpouseColumn) {
  letter("J");
  enter(36515, 30000);
  enter(36527, 500);
  enter(36521, 31000);
  enterLocal(143959, 30000);
  enterLocal(143961, 500);
  enterLocal(143963, 1000);
  enterLocal(143967, 100);
  enterLocal(143970, 40);
  enterLocal(144174, 10000);
  enterLocal(143978, 100);
  enterLocal(143980, 10);
  enterLocal(143982, 5);
  enterLocal(143994, 1);
  run();
  EXPECT_EQ(local(144163), 30000);
  EXPECT_EQ(local(144165), 500);
  EXPECT_EQ(local(144167), 1000);
  EXPECT_EQ(local(143965), 30500);
  EXPECT_EQ(local(143972), 60);
  EXPECT_EQ(local(143974), 30560);
  EXPECT_NEAR(local(143976), 305.6, 1e-9);
  EXPECT_EQ(local(143984), 115);
  EXPECT_NEAR(local(147628), 190.6, 1e-9);
  EXPECT_NEAR(local(143992), 190.6, 1e-9);
  EXPECT_NEAR(local(143998), 191.6, 1e-9);
  EXPECT_NEAR(local(144160), 191.6, 1e-9);
  for (int f = 144184; f <= 144190; ++f) EXPECT_TRUE(closed(f)) << f;
}

TEST_F(LocalReturnTest, WithoutTheJBoxTheSpouseColumnIsClosed) {
  letter("S");
  enter(36515, 30000);
  const int entered[] = {143959, 143961, 143963, 143967, 143970, 143978, 143980, 143982,
                         143994, 143996, 144184, 144190};
  for (int f : entered) enterLocal(f, 7);
  // Spouse balance fields left by an earlier joint calculation.
  enterLocal(147628, 11);
  enterLocal(143986, 12);
  enterLocal(143988, 13);
  markLocal(143990);
  enterLocal(143992, 14);
  run();
  for (int f : {144163, 144165, 144167, 144169, 144171, 143972, 143984, 143998}) {
    EXPECT_TRUE(localNull(f)) << f;
  }
  for (int f : {143967, 143970, 143974, 143976, 143978, 143980, 143982, 143992, 143994, 143996}) {
    EXPECT_TRUE(closed(f)) << f;
  }
  for (int f = 144184; f <= 144190; ++f) EXPECT_TRUE(closed(f)) << f;
  // The gated entries keep their values, and the subtotal still uses them.
  EXPECT_EQ(local(143959), 7);
  EXPECT_EQ(local(143965), 7);
  EXPECT_EQ(local(147628), 11);
  EXPECT_EQ(local(143986), 12);
  EXPECT_EQ(local(143988), 13);
  EXPECT_TRUE(localMarked(143990));
}

TEST_F(LocalReturnTest, CalculatedFlagWaitsForTheMarkerEntry) {
  run();
  EXPECT_TRUE(copyOf(kFormID_PALocalIncomeTaxReturn).isDataEntered());
  EXPECT_FALSE(copyOf(kFormID_PALocalIncomeTaxReturn).getCalcMark());
  enterLocal(144172, 1);
  run();
  EXPECT_TRUE(copyOf(kFormID_PALocalIncomeTaxReturn).getCalcMark());
}

}  // namespace
