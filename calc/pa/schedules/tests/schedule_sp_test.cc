// Schedule SP: qualification, identity, dates of death, filing-status
// boxes, eligibility income and the forgiven tax.
#include <gtest/gtest.h>

#include "calc/pa/schedules/tests/schedule_sp_fixture.h"

namespace {

using PADataMgmt::kFilingJoint;
using PADataMgmt::kFilingSeparate;
using PADataMgmt::kFilingSingle;

TEST_F(ScheduleSPTest, AClaimantAnsweringNoClearsTheComputedPart) {
  setStatus(kFilingSingle);
  mark(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerClaimedAsDependentBox);
  check(PAScheduleSP::kTaxpayerClaimedYesBox);
  check(PAScheduleSP::kTaxpayerClaimantNoBox);
  enter(PAScheduleSP::kEligibilityIncome, 5000);
  enter(PAScheduleSP::kTaxForgiveness, 40);
  check(PAScheduleSP::kUnmarriedBox);
  runSP();
  EXPECT_TRUE(marked(PAScheduleSP::kTaxpayerDependentMark));
  for (const FieldId* field : {&PAScheduleSP::kUnmarriedBox.id(), &PAScheduleSP::kEligibilityIncome.id(),
                               &PAScheduleSP::kTaxForgiveness.id()}) {
    EXPECT_TRUE(isNull(*field)) << *field;
  }
  EXPECT_FALSE(dataEntered());
}

TEST_F(ScheduleSPTest, DeathInTheTaxYear) {
  setStatus(kFilingJoint);
  infoText(PAReturnInfo::kSpouseDateOfDeath, "03/15/2018");
  runSP();
  EXPECT_EQ(textOf(PAScheduleSP::kSpouseDateOfDeath), "03/15/2018");
  EXPECT_TRUE(marked(PAScheduleSP::kDiedThisYearBox));
  EXPECT_TRUE(isNull(PAScheduleSP::kDeceasedBox) && isProtected(PAScheduleSP::kDeceasedBox));  // joint

  restart();
  setStatus(kFilingSingle);
  infoText(PAReturnInfo::kTaxpayerDateOfDeath, "03/15/2018");
  runSP();
  EXPECT_TRUE(marked(PAScheduleSP::kDeceasedBox));
  EXPECT_EQ(textOf(PAScheduleSP::kAnnualizationMethod), "Estimated annualized amount");
  EXPECT_TRUE(isNull(PAScheduleSP::kUnmarriedBox));  // a deceased filer's status boxes are cleared

  // The date removed: no mark of the earlier calculation stays.
  infoText(PAReturnInfo::kTaxpayerDateOfDeath, "");
  runSP();
  EXPECT_TRUE(markedNo(PAScheduleSP::kDiedThisYearBox));
  EXPECT_TRUE(isNull(PAScheduleSP::kTaxpayerDateOfDeath) && isNull(PAScheduleSP::kDeceasedBox));
}

TEST_F(ScheduleSPTest, UnmarriedFilerOneColumn) {
  const struct {
    double income, amendedTax;
    double subject, percent, forgiven;
  } kCases[] = {
      {5000, 0, 150, 100, 150}, {5000, 20, 130, 100, 130},  // the amended addition comes off the tax
      {7000, 0, 150, 60, 90},   {6600, 43, 107, 70, 74.9},  // in cents, not 74.8999... that reads as 74
      {20000, 0, 150, 0, 0},                                // no row met: 0 percent, not null
  };
  for (const auto& c : kCases) {
    restart();
    setStatus(kFilingSingle);
    setPA40(c.income, 200, 50);
    number(kFormID_PA40, PA40::kAmendedTaxAddition, c.amendedTax);
    number(kFormID_PAScheduleA, PAScheduleA::kPAExemptInterest, 60);
    number(kFormID_PAScheduleA, PAScheduleA::kUSObligationInterest, 40);
    number(kFormID_PAScheduleB, PAScheduleB::kDividendsNotTaxed, 25);
    setFederalAmount(25, 300);
    enter(PAScheduleSP::kFourthEligibilityIncome, 10);  // entered by the filer
    enter(PAScheduleSP::kTwoColumnTaxForgiveness, 99);
    runSP();
    SCOPED_TRACE(c.income);
    EXPECT_TRUE(isNull(PAScheduleSP::kIncomeOutsidePA));  // full-year resident
    EXPECT_EQ(amount(PAScheduleSP::kEligibilityIncome), c.income + 435);
    EXPECT_EQ(amount(PAScheduleSP::kTaxSubjectToForgiveness), c.subject);
    EXPECT_FALSE(isNull(PAScheduleSP::kForgivenessPercentage));
    EXPECT_EQ(amount(PAScheduleSP::kForgivenessPercentage), c.percent);
    EXPECT_EQ(amount(PAScheduleSP::kTaxForgiveness), c.forgiven);
    EXPECT_TRUE(isNull(PAScheduleSP::kTwoColumnTaxForgiveness));
    EXPECT_EQ(dataEntered(), c.forgiven > 0);
  }
}

// Income earned outside Pennsylvania: the federal amount less the PA
// income, never below 0, calculated on every run (the PA income grows on
// later passes); a value the user overrides stands.
TEST_F(ScheduleSPTest, IncomeOutsidePennsylvania) {
  setStatus(kFilingSingle);
  setResidency(PADataMgmt::kNonresident);
  setPA40(5000, 200, 50);
  setFederalAmount(80, 9000);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kIncomeOutsidePA), 4000);
  EXPECT_TRUE(isNull(PAScheduleSP::kResidentCredit));  // a nonresident's tax is not reduced
  setPA40(9500, 200, 50);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kIncomeOutsidePA), 0);
  enter(PAScheduleSP::kIncomeOutsidePA, 700);
  schedule().setOverridden(PAScheduleSP::kIncomeOutsidePA, true);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kIncomeOutsidePA), 700);

  // Two columns: the taxpayer's is calculated alike, the spouse's is the
  // user's.
  restart();
  setStatus(kFilingSeparate);
  setResidency(PADataMgmt::kPartYearResident);
  check(PAScheduleSP::kSeparationFourthAnswerBox);  // married, separate schedules
  setPA40(20000, 614, 0);
  setFederalAmount(80, 5000);
  enter(PAScheduleSP::kSpouseIncomeOutsidePA, 100);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kTaxpayerIncomeOutsidePA), 0);
  EXPECT_FALSE(isProtected(PAScheduleSP::kSpouseIncomeOutsidePA));
  EXPECT_EQ(amount(PAScheduleSP::kJointEligibilityIncome), 20100);
  setFederalAmount(80, 26000);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kTaxpayerIncomeOutsidePA), 6000);
}

}  // namespace
