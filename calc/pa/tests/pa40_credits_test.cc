// The PA-40 from the PA tax to the refund: amended additions, payments,
// credits, penalty, balance, refund designations and the payment voucher.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/pa/tests/pa40_sections_fixture.h"

namespace {

class PA40CreditsTest : public PA40SectionTest {
 protected:
  static const FieldId& sp(int hostField) { return kPAScheduleSPFieldIds.byNumber(hostField); }
  static const FieldId& gl(int hostField) { return kPAScheduleGLFieldIds.byNumber(hostField); }
  void spNumber(int hostField, double value) { number(kFormID_PAScheduleSP, sp(hostField), value); }
  void spMark(int hostField) { mark(kFormID_PAScheduleSP, sp(hostField)); }
  void glNumber(int hostField, double value, uint16_t copy = 1) {
    number(kFormID_PAScheduleGL, gl(hostField), value, copy);
  }
};

// Designation fields in table order and their letters.
const int kDesignations[] = {258, 254, 20693, 256, 20694, 155698, 155699, 208814};
// Designation rows: code and amount fields.
const int kRowCodes[] = {155700, 155702, 155704, 155706, 155708};
const int kRowAmounts[] = {155701, 155703, 155705, 155707, 155709};

TEST_F(PA40CreditsTest, AmendedTaxAdditionIsAddedToThePATax) {
  infoMark(104);
  enter(173, 1000);
  enter(352, 50);
  runCredits();
  EXPECT_EQ(1000, amount(350));
  EXPECT_EQ(1050, amount(173));
  EXPECT_FALSE(isProtected(351));
  EXPECT_FALSE(isProtected(352));

  // The PA tax is recomputed before this section on every run.
  enter(173, 1000);
  enter(352, 0);
  runCredits();
  EXPECT_TRUE(isNull(350));
  EXPECT_EQ(1000, amount(173));
}

TEST_F(PA40CreditsTest, PaymentsFromTheInformationForm) {
  infoNumber(142114, 1700);
  infoNumber(63, 100);
  infoNumber(88, 200);
  infoNumber(90, 300);
  enter(237, 40);
  runCredits();
  EXPECT_EQ(1700, amount(233));
  EXPECT_EQ(100, amount(234));
  EXPECT_EQ(200, amount(235));
  EXPECT_EQ(300, amount(236));
  // A full-year resident has no payment five.
  EXPECT_EQ(0, amount(237));
  EXPECT_TRUE(isProtected(237));
  EXPECT_EQ(600, amount(238));
  EXPECT_EQ(2300, amount(249));
  // Payment three opens its choice with the second box as the default.
  EXPECT_TRUE(marked(132860));
  EXPECT_EQ("N", textOf(132861));
  EXPECT_FALSE(isProtected(132859));
  EXPECT_TRUE(marked(339));
  EXPECT_TRUE(marked(355));
}

TEST_F(PA40CreditsTest, PaymentFiveIsOpenForPartYearAndNonresidents) {
  setResidency(1);
  enter(237, 40);
  runCredits();
  EXPECT_EQ(40, amount(237));
  EXPECT_FALSE(isProtected(237));
  EXPECT_EQ(40, amount(238));
  // No payment three: its boxes are closed.
  EXPECT_TRUE(isProtected(132859));
  EXPECT_TRUE(isNull(132860));
}

TEST_F(PA40CreditsTest, AmendedPaymentsAdditionGoesIntoPaymentThree) {
  infoMark(104);
  infoNumber(88, 200);
  enter(351, 100);
  runCredits();
  EXPECT_EQ(200, amount(353));
  EXPECT_EQ(300, amount(235));
}

TEST_F(PA40CreditsTest, TaxForgivenessByScheduleSPMarks) {
  struct Case {
    std::vector<int> marks;
    const char* code;
    double forgiven;
    double credit;
  } cases[] = {
      {{21, 22}, "02", 76, 900},  // field 76, credit 9607
      {{21}, "02", 155, 800},     // fields 78 + 77, credit 9608
      {{11}, "01", 76, 900},
      {{18}, "01", 76, 900},
      {{}, "03", 76, 900},
  };
  for (const Case& c : cases) {
    restart();
    spNumber(9607, 900);
    spNumber(9608, 800);
    spNumber(53, 3.7);
    spNumber(76, 76);
    spNumber(78, 100);
    spNumber(77, 55);
    for (int box : c.marks) spMark(box);
    runCredits();
    EXPECT_EQ(1, calcCalls(172)) << c.code;
    EXPECT_EQ(c.code, textOf(277)) << c.code;
    EXPECT_EQ("03", textOf(296)) << c.code;
    EXPECT_EQ(c.forgiven, amount(243)) << c.code;
    EXPECT_EQ(c.credit, amount(244)) << c.code;
  }
}

TEST_F(PA40CreditsTest, NoForgivenessCreditClearsItsLines) {
  enterText(277, "01");
  enterText(296, "02");
  runCredits();
  EXPECT_EQ(0, calcCalls(172));
  EXPECT_TRUE(isNull(277));
  EXPECT_TRUE(isNull(296));
  EXPECT_EQ(0, amount(243));
  EXPECT_FALSE(isNull(244));
  EXPECT_EQ(0, amount(244));
}

TEST_F(PA40CreditsTest, ScheduleSPIsCalculatedWithTheFlagFalse) {
  copyOf(kFormID_PAScheduleSP);
  runCredits();
  ASSERT_EQ(1, calcCalls(172));
  for (const ProbeCall& call : engine->calls) {
    if (call.form != 172) continue;
    EXPECT_EQ(1, call.copy);
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(0, call.passOn);
    EXPECT_TRUE(call.formGiven);
  }
}

TEST_F(PA40CreditsTest, JointResidentCreditAddsBothSumsAndIsCutToTheTax) {
  setFilingStatus(2);
  glNumber(48744, 300);
  glNumber(48745, 200);
  glNumber(14, 50);
  enter(173, 1000);
  runCredits();
  EXPECT_EQ(300, amount(43833));
  EXPECT_EQ(200, amount(48741));
  EXPECT_EQ(500, amount(245));
  EXPECT_FALSE(isProtected(162781));
  EXPECT_TRUE(marked(162781));

  enter(173, 400);
  runCredits();
  EXPECT_EQ(400, amount(245));
}

TEST_F(PA40CreditsTest, SingleResidentCreditIsScheduleGLField14) {
  glNumber(14, 50, 1);
  glNumber(14, 25, 2);
  glNumber(48744, 300);
  glNumber(46172, 1, 2);
  enter(173, 1000);
  runCredits();
  EXPECT_EQ(75, amount(245));
  EXPECT_TRUE(marked(36091));
  EXPECT_TRUE(isProtected(162781));
  EXPECT_TRUE(isNull(162782));
}

TEST_F(PA40CreditsTest, NonresidentHasNoResidentCredit) {
  setResidency(2);
  glNumber(14, 50);
  glNumber(48744, 300);
  enter(173, 1000);
  runCredits();
  EXPECT_TRUE(isNull(43833));
  EXPECT_TRUE(isNull(48741));
  EXPECT_EQ(0, amount(245));
  EXPECT_TRUE(markedNo(36091));
}

TEST_F(PA40CreditsTest, OtherCreditsAndTotals) {
  number(kFormID_PAScheduleOC, kPAScheduleOCFieldIds.byNumber(11), 40, 1);
  number(kFormID_PAScheduleOC, kPAScheduleOCFieldIds.byNumber(11), 60, 2);
  glNumber(14, 50);
  enter(173, 1000);
  infoNumber(142114, 10);
  infoNumber(63, 5);
  spNumber(9607, 7);
  runCredits();
  EXPECT_EQ(100, amount(266));
  EXPECT_EQ(157, amount(38809));
  EXPECT_EQ(172, amount(249));
}

// Balance.

TEST_F(PA40CreditsTest, PenaltyThresholdOpensThePenaltyChoice) {
  struct Case {
    double paymentOne;
    bool open;
  } cases[] = {{1700, true}, {1754, true}, {1755, false}, {1760, false}};
  for (const Case& c : cases) {
    restart();
    enter(173, 2000);
    enter(233, c.paymentOne);
    enter(249, c.paymentOne);
    runBalance();
    EXPECT_EQ(c.open, marked(402)) << c.paymentOne;
    EXPECT_EQ(!c.open, markedNo(402)) << c.paymentOne;
    EXPECT_EQ(c.open, !isProtected(356)) << c.paymentOne;
    EXPECT_EQ(c.open, marked(357)) << c.paymentOne;
    if (!c.open) {
      EXPECT_TRUE(isNull(356) && isNull(357)) << c.paymentOne;
    }
  }
}

TEST_F(PA40CreditsTest, OverpaymentWithoutTaxDue) {
  enter(249, 1000);
  enter(173, 800);
  runBalance();
  EXPECT_EQ(200, amount(251));
  EXPECT_TRUE(isNull(250));
  EXPECT_TRUE(isNull(268));
  EXPECT_EQ(200, amount(252));
  EXPECT_EQ(200, amount(358));
  EXPECT_EQ(0, calcCalls(184));
}

TEST_F(PA40CreditsTest, TaxDueWithPenaltyAndUseTax) {
  enter(173, 1000);
  enter(131111, 30);
  enter(249, 500);
  enter(267, 20);
  markPA40(356);
  runBalance();
  EXPECT_EQ(530, amount(250));
  EXPECT_EQ(550, amount(268));
  EXPECT_TRUE(isNull(251));
  // The penalty opens the method boxes with E as the default.
  EXPECT_TRUE(marked(46456));
  EXPECT_EQ("E", textOf(46459));
  EXPECT_TRUE(isProtected(46458));
  EXPECT_TRUE(marked(15211));
  EXPECT_TRUE(markedNo(15212));
  EXPECT_EQ("Y", textOf(15163));
  // Tax is due: the payment voucher is created and calculated.
  EXPECT_TRUE(pa->formExists(kFormID_PAEstimatedVouchers, 1));
  ASSERT_EQ(1, calcCalls(184));
  for (const ProbeCall& call : engine->calls) {
    if (call.form != 184) continue;
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(1, call.passOn);
    EXPECT_TRUE(call.formGiven);
  }
}

TEST_F(PA40CreditsTest, PenaltyIsTakenOffTheOverpaymentOnce) {
  enter(249, 1000);
  enter(173, 800);
  enter(267, 50);
  markPA40(356);
  runBalance();
  EXPECT_EQ(150, amount(251));
  EXPECT_TRUE(isNull(268));
}

TEST_F(PA40CreditsTest, PenaltyAboveTheOverpaymentIsOwed) {
  enter(249, 1000);
  enter(173, 900);
  enter(267, 150);
  markPA40(356);
  runBalance();
  EXPECT_TRUE(isNull(251));
  EXPECT_TRUE(isNull(250));
  EXPECT_EQ(50, amount(268));
  EXPECT_EQ(1, calcCalls(184));  // the penalty alone is owed: a voucher
}

// Box 356 says a penalty applies; the threshold decides whether it may.
TEST_F(PA40CreditsTest, PenaltyCountsOnlyWhereItMayApply) {
  struct Case {
    double tax, penalty;
    bool applies;
    double owed;
    const char* method;
  } cases[] = {
      {1000, 20, true, 1020, "E"},  // threshold reached: the penalty is owed
      {1000, 0, true, 1000, "X"},   // figured at 0
      {200, 20, false, 200, ""},    // below the threshold: no penalty at all
  };
  for (const Case& c : cases) {
    enter(173, c.tax);
    enter(267, c.penalty);
    markPA40(356);
    // A second run changes nothing.
    for (int run = 0; run < 2; ++run) {
      runBalance();
      EXPECT_EQ(c.owed, amount(268)) << c.tax << " " << c.penalty << " run " << run;
      EXPECT_EQ(c.method, textOf(46459)) << c.tax << " " << c.penalty;
      EXPECT_EQ(c.applies ? "Y" : "N", textOf(15163)) << c.tax << " " << c.penalty;
    }
    restart();
  }
}

TEST_F(PA40CreditsTest, CreditToEstimatedAccountIsCutToTheOverpayment) {
  enter(249, 1000);
  enter(173, 800);
  enter(253, 300);
  enter(258, 50);
  runBalance();
  EXPECT_EQ(200, amount(253));
  EXPECT_EQ(0, amount(358));
  for (int field : kDesignations) {
    EXPECT_TRUE(isNull(field)) << field;
    EXPECT_TRUE(isProtected(field)) << field;
  }
  EXPECT_EQ(0, amount(252));
}

TEST_F(PA40CreditsTest, DesignationsAreCutToWhatRemains) {
  enter(249, 1300);
  enter(173, 800);
  enter(258, 100);   // A
  enter(254, 0);     // B
  enter(20693, 50);  // C
  enter(256, 400);   // D
  runBalance();
  EXPECT_EQ(500, amount(251));
  EXPECT_EQ(100, amount(258));
  EXPECT_EQ(50, amount(20693));
  EXPECT_EQ(350, amount(256));
  EXPECT_EQ(0, amount(252));
  EXPECT_EQ(500, amount(407));
  const char* codes[] = {"A", "C", "D"};
  const double amounts[] = {100, 50, 350};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(codes[row], textOf(kRowCodes[row])) << row;
    EXPECT_EQ(amounts[row], amount(kRowAmounts[row])) << row;
  }
  for (int row = 3; row < 5; ++row) {
    EXPECT_TRUE(isNull(kRowCodes[row])) << row;
    EXPECT_TRUE(isNull(kRowAmounts[row])) << row;
  }
}

TEST_F(PA40CreditsTest, OnlyFiveDesignationsAreTaken) {
  enter(249, 10800);
  enter(173, 800);
  // A, C, D, E, F and G entered; B and I left empty.
  for (int field : {258, 20693, 256, 20694, 155698, 155699}) enter(field, 10);
  runBalance();
  EXPECT_EQ(10000, amount(251));
  // Once five are taken nothing is left for the sixth, which is closed with
  // the empty ones: refund and designations make up the overpayment.
  EXPECT_TRUE(isProtected(254));
  EXPECT_TRUE(isNull(208814));
  EXPECT_TRUE(isNull(155699));
  EXPECT_TRUE(isProtected(155699));
  EXPECT_EQ(50, amount(407));
  EXPECT_EQ(9950, amount(252));
  const char* codes[] = {"A", "C", "D", "E", "F"};
  for (int row = 0; row < 5; ++row) EXPECT_EQ(codes[row], textOf(kRowCodes[row])) << row;
}

TEST_F(PA40CreditsTest, DesignationsComeOutOfTheOverpaymentLessTheCredit) {
  enter(249, 1300);
  enter(173, 800);
  enter(253, 200);
  enter(258, 400);
  runBalance();
  EXPECT_EQ(300, amount(258));
  EXPECT_EQ(0, amount(252));
  EXPECT_EQ(300, amount(358));
}

TEST_F(PA40CreditsTest, NegativeEntriesDoNotRaiseTheRefund) {
  enter(249, 1300);
  enter(173, 800);
  enter(253, -100);
  enter(258, -50);
  runBalance();
  EXPECT_EQ(0, amount(253));
  EXPECT_EQ(0, amount(258));
  EXPECT_EQ(500, amount(252));
}

TEST_F(PA40CreditsTest, AmendedReturnClearsAmountOwedAndOverpayment) {
  infoMark(104);
  enter(249, 1000);
  enter(173, 800);
  runBalance();
  EXPECT_TRUE(isNull(251));
  EXPECT_TRUE(isProtected(251));
  EXPECT_TRUE(isProtected(268));
  EXPECT_EQ(200, amount(252));

  enter(249, 500);
  runBalance();
  EXPECT_EQ(300, amount(250));
  EXPECT_TRUE(isNull(268));
  EXPECT_EQ(1, calcCalls(184));
}

}  // namespace
