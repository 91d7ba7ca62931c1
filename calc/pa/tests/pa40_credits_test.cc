// The PA-40 from the PA tax to the refund: credits, use tax, penalty,
// balance, refund designations and the payment voucher.
#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PACalculationMgmt::PATaxReturnCalcEngine;

class PA40CreditsTest : public PA40Test {
 protected:
  void sp(const FieldId& field, double value) { number(kFormID_PAScheduleSP, field, value); }
  void gl(const FieldId& field, double value, uint16_t copy = 1) {
    number(kFormID_PAScheduleGL, field, value, copy);
  }
  // Payments and credits against the PA tax, as the credits section left them.
  void balanceOf(double payments, double tax) {
    enter(PA40::kTotalPaymentsCredits, payments);
    enter(PA40::kTaxLiability, tax);
  }
  void penalty(double amount) {
    enter(PA40::kPenaltiesInterest, amount);
    mark(kFormID_PA40, PA40::kPenaltyYesBox);
  }
  std::string rowCode(int row) { return textOf(PA40::kDonationRowCode.at(row)); }
};

// The forgiveness code by the Schedule SP class: 01 unmarried or separated,
// 03 otherwise (the golden returns hold married filers, whose spouse's
// income apart takes the two-column lines). Without forgiveness the lines
// are cleared.
TEST_F(PA40CreditsTest, TaxForgivenessByScheduleSPBoxes) {
  const struct {
    const FieldId* box;
    const char* code;
  } kCases[] = {{&PAScheduleSP::kSeparatedBox.id(), "01"}, {nullptr, "03"}};
  for (const auto& c : kCases) {
    restart();
    sp(PAScheduleSP::kTaxForgiveness, 900);
    sp(PAScheduleSP::kTwoColumnTaxForgiveness, 800);
    sp(PAScheduleSP::kEligibilityIncome, 76);
    sp(PAScheduleSP::kSpouseEligibilityIncome, 100);
    sp(PAScheduleSP::kTaxpayerEligibilityIncome, 55);
    if (c.box != nullptr) mark(kFormID_PAScheduleSP, *c.box);
    runCredits();
    EXPECT_EQ(1, calcCalls(kFormID_PAScheduleSP)) << c.code;
    EXPECT_EQ(c.code, textOf(PA40::kForgivenessCode)) << c.code;
    EXPECT_EQ(76, amount(PA40::kEligibilityIncome)) << c.code;
    EXPECT_EQ(900, amount(PA40::kForgivenessCredit)) << c.code;
  }
  restart();
  text(kFormID_PA40, PA40::kForgivenessCode, "01");
  runCredits();
  EXPECT_TRUE(isNull(PA40::kForgivenessCode));
  EXPECT_FALSE(isNull(PA40::kForgivenessCredit));
}

// Schedule SP forgives the tax less the resident credit of the same run:
// the PA-40 works the credit out before it has the schedule calculated.
TEST_F(PA40CreditsTest, ScheduleSPSeesThisRunsResidentCredit) {
  enter(PA40::kTaxLiability, 900);
  enter(PA40::kResidentCredit, 20);  // as a run before this one left it
  gl(PAScheduleGL::kCredit, 300);
  sp(PAScheduleSP::kTaxForgiveness, 0);
  double seen = -1;
  engine->onCalc = [&](const FormId& form) {
    if (form == kFormID_PAScheduleSP) seen = amount(PA40::kResidentCredit);
  };
  runCredits();
  EXPECT_EQ(300, seen);
}

TEST_F(PA40CreditsTest, ResidentCreditByFilingStatusCutToTheTax) {
  const struct {
    int status, residency;
    double tax, credit;
  } kCases[] = {{PADataMgmt::kFilingJoint, PADataMgmt::kFullYearResident, 1000, 500},  // both persons' sums
                {PADataMgmt::kFilingJoint, PADataMgmt::kFullYearResident, 400, 400},
                {PADataMgmt::kFilingSingle, PADataMgmt::kFullYearResident, 1000, 75},  // every copy's credit
                {PADataMgmt::kFilingSingle, PADataMgmt::kNonresident, 1000, 0}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    setResidency(c.residency);
    gl(PAScheduleGL::kTaxpayerCredit, 300);
    gl(PAScheduleGL::kSpouseCredit, 200);
    gl(PAScheduleGL::kCredit, 50, 1);
    gl(PAScheduleGL::kCredit, 25, 2);
    enter(PA40::kTaxLiability, c.tax);
    runCredits();
    EXPECT_EQ(c.credit, amount(PA40::kResidentCredit)) << c.status << " " << c.tax;
    EXPECT_EQ(c.status == PADataMgmt::kFilingJoint, marked(PA40::kJointResidentCreditYesBox)) << c.status;
  }
}

// Schedule OC credits are not refunded: line 23 takes off no more than the
// tax the forgiveness (line 21) and resident (line 22) credits leave, and
// the refund is what was withheld. The schedule keeps its total.
TEST_F(PA40CreditsTest, OtherCreditsNoMoreThanTheTaxLeft) {
  const struct {
    double forgiveness, resident, otherCredits, line23, refund;
  } kCases[] = {
      {0, 0, 2000, 1596, 1596},    // a credit above the tax
      {0, 0, 500, 500, 500},       // within the tax: as entered
      {100, 300, 2000, 1196, 1596},
      {1000, 596, 2000, 0, 1596},  // nothing left
      {0, 1700, 2000, 0, 1596},    // the resident credit alone takes the tax
  };
  for (const auto& c : kCases) {
    restart();
    number(kFormID_PAReturnInfo, PAReturnInfo::kTotalTaxWithheld, 1596.40);
    enter(PA40::kTaxLiability, 1596);
    sp(PAScheduleSP::kTaxForgiveness, c.forgiveness);
    gl(PAScheduleGL::kCredit, c.resident);
    number(kFormID_PAScheduleOC, PAScheduleOC::kTotalCredits, c.otherCredits);
    runCredits();
    runBalance();
    SCOPED_TRACE(testing::Message() << c.forgiveness << " " << c.resident << " " << c.otherCredits);
    EXPECT_EQ(c.line23, amount(PA40::kOtherCredits));
    EXPECT_EQ(c.refund, amount(PA40::kRefund));
    EXPECT_EQ(c.otherCredits, valueOf(kFormID_PAScheduleOC, PAScheduleOC::kTotalCredits));
  }
}

// The penalty box says a penalty applies; the tax not paid through
// withholding and credits decides whether it may (246 or more opens the
// choice). A second run changes nothing.
TEST_F(PA40CreditsTest, PenaltyCountsOnlyWhereItMayApply) {
  const struct {
    double tax, penalty;
    bool applies;
    double owed;
    const char* method;
  } kCases[] = {
      {246, 20, true, 266, "E"},    // threshold reached: the penalty is owed
      {1000, 0, true, 1000, "X"},   // figured at 0
      {245, 20, false, 245, ""},    // below the threshold: no penalty at all
  };
  for (const auto& c : kCases) {
    restart();
    balanceOf(0, c.tax);
    penalty(c.penalty);
    for (int run = 0; run < 2; ++run) {
      runBalance();
      SCOPED_TRACE(testing::Message() << c.tax << " " << c.penalty << " run " << run);
      EXPECT_EQ(c.owed, amount(PA40::kTotalPayment));
      EXPECT_EQ(c.method, textOf(PA40::kPenaltyMethodCode));
      EXPECT_EQ(c.applies ? "Y" : "N", textOf(PA40::kPenaltyFiguredText));
      EXPECT_EQ(c.applies, marked(PA40::kPenaltyThresholdBox));
    }
  }
}

TEST_F(PA40CreditsTest, PenaltyComesOffTheOverpaymentOnce) {
  const struct {
    double tax, penalty, overpayment, owed;
  } kCases[] = {
      {800, 0, 200, 0}, {800, 50, 150, 0}, {900, 150, 0, 50},  // the penalty alone is owed: a voucher
  };
  for (const auto& c : kCases) {
    restart();
    balanceOf(1000, c.tax);
    if (c.penalty > 0) penalty(c.penalty);
    runBalance();
    EXPECT_EQ(c.overpayment, amount(PA40::kOverpayment)) << c.penalty;
    EXPECT_EQ(c.owed, amount(PA40::kTotalPayment)) << c.penalty;
    EXPECT_TRUE(isNull(PA40::kTaxDue)) << c.penalty;
    EXPECT_EQ(c.owed > 0 ? 1 : 0, calcCalls(kFormID_PAEstimatedVouchers)) << c.penalty;
  }
}

TEST_F(PA40CreditsTest, CreditAndDesignationsComeOutOfTheOverpayment) {
  const struct {
    double payments, credit, designationA, creditKept, designationKept, refund;
  } kCases[] = {
      {1000, 300, 50, 200, 0, 0},     // the credit is cut to the overpayment
      {1300, 200, 400, 200, 300, 0},  // a designation to what the credit leaves
      {1300, -100, -50, 0, 0, 500},   // negative entries do not raise the refund
  };
  for (const auto& c : kCases) {
    restart();
    balanceOf(c.payments, 800);
    enter(PA40::kEstimatedAccountCredit, c.credit);
    enter(PA40::kRefundDonationA, c.designationA);
    runBalance();
    EXPECT_EQ(c.creditKept, amount(PA40::kEstimatedAccountCredit)) << c.payments << " " << c.credit;
    EXPECT_EQ(c.designationKept, amount(PA40::kRefundDonationA)) << c.payments << " " << c.credit;
    EXPECT_EQ(c.refund, amount(PA40::kRefund)) << c.payments << " " << c.credit;
  }
}

// The credit to the estimated account and the designations are limited in
// place: a larger overpayment later does not raise them back to what was
// typed (the entry is the user's as the calculation left it).
TEST_F(PA40CreditsTest, LimitedEntriesStayAsLimited) {
  balanceOf(1000, 800);
  enter(PA40::kEstimatedAccountCredit, 300);
  enter(PA40::kRefundDonationA, 50);
  runBalance();
  ASSERT_EQ(200, amount(PA40::kEstimatedAccountCredit));
  ASSERT_EQ(0, amount(PA40::kRefundDonationA));
  balanceOf(2000, 800);
  runBalance();
  EXPECT_EQ(200, amount(PA40::kEstimatedAccountCredit));
  EXPECT_EQ(0, amount(PA40::kRefundDonationA));
  EXPECT_EQ(1000, amount(PA40::kRefund));
}

// Designations above 0 fill the rows in table order. Once five are taken
// nothing is left for the sixth, which is closed with the empty ones: refund
// and designations make up the overpayment.
TEST_F(PA40CreditsTest, DesignationRowsTakeAtMostFive) {
  balanceOf(10800, 800);
  for (const FieldId* field :
       {&PA40::kRefundDonationA.id(), &PA40::kRefundDonationC.id(), &PA40::kRefundDonationD.id(),
        &PA40::kRefundDonationE.id(), &PA40::kRefundDonationF.id(), &PA40::kRefundDonationG.id()}) {
    enter(*field, 10);
  }
  runBalance();
  EXPECT_TRUE(isProtected(PA40::kRefundDonationB));
  EXPECT_TRUE(isNull(PA40::kRefundDonationG) && isProtected(PA40::kRefundDonationG));
  EXPECT_EQ(50, amount(PA40::kTotalRefundDonations));
  EXPECT_EQ(9950, amount(PA40::kRefund));
  EXPECT_EQ("A", rowCode(0));
  EXPECT_EQ("F", rowCode(4));
}

// The published 2018 table, row by row as printed (income from, to; the
// amount for Allegheny, Philadelphia and every other county), pinned at both
// ends of each row; above 200,000 the factor applies unrounded up to the
// cap. The county text is compared whole and exactly.
TEST(UseTaxTable, EstimateByIncomeAndCounty) {
  const char* const kCounties[] = {"Allegheny", "Philadelphia", "Bucks"};
  const struct {
    double from, to, amount[3];
  } kPublished[] = {
      {0, 15000, {7, 8, 6}},         {15001, 30000, {14, 17, 12}},   {30001, 50000, {19, 22, 17}},
      {50001, 75000, {26, 30, 23}},  {75001, 100000, {37, 43, 32}},  {100001, 150000, {52, 59, 44}},
      {150001, 200000, {66, 76, 57}},
  };
  for (const auto& row : kPublished) {
    for (int c = 0; c < 3; ++c) {
      for (double income : {row.from, row.to}) {
        EXPECT_EQ(PATaxReturnCalcEngine::estimatedUseTax(income, kCounties[c]), row.amount[c])
            << kCounties[c] << " " << income;
      }
    }
  }
  const struct {
    const char* county;
    double income, estimate;
  } kAbove[] = {
      {"Allegheny", 200001, 200001 * 0.00035}, {"Allegheny", 300000, 88}, {"Philadelphia", 240000, 96},
      {"Philadelphia", 1000000, 100},          {"Bucks", 210000, 63},     {"Bucks", 250001, 75},
      {"", 75000, 23},                         {"ALLEGHENY", 15000, 6},   {"Allegheny ", 15000, 6},
  };
  for (const auto& row : kAbove) {
    EXPECT_DOUBLE_EQ(PATaxReturnCalcEngine::estimatedUseTax(row.income, row.county), row.estimate)
        << "'" << row.county << "' " << row.income;
  }
  EXPECT_EQ(PATaxReturnCalcEngine::estimatedUseTax(20000, nullptr), 12);
}

// Purchases at the county's rate; without purchases there is no rate (the
// golden returns hold the estimate and its credit).
TEST_F(PA40CreditsTest, UseTaxOnPurchasesAtTheCountyRate) {
  infoText(PAReturnInfo::kCounty, "Philadelphia");
  enter(PA40::kPurchasesPartOne, 600);
  enter(PA40::kPurchasesPartThree, 400);
  engine->computePA40UseTax(holder(kFormID_PA40));
  EXPECT_EQ(amount(PA40::kUseTaxRate), 8);
  EXPECT_DOUBLE_EQ(amount(PA40::kUseTax), 80);
  restart();
  enter(PA40::kUseTaxRate, 8);
  engine->computePA40UseTax(holder(kFormID_PA40));
  EXPECT_TRUE(isNull(PA40::kUseTaxRate) && isProtected(PA40::kUseTaxRate));
}

}  // namespace
