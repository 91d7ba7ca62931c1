// Schedule SP: qualification, dates of death, eligibility income, the
// forgiven tax and Part B with five children or none (the golden returns
// hold which dependents count and the rows they fill), and the forgiveness
// table with its published bounds.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "calc/pa/schedules/schedule_sp_table.h"
#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PACalculationMgmt::ScheduleSP::forgivenessBound;
using PACalculationMgmt::ScheduleSP::forgivenessPercent;
using PACalculationMgmt::ScheduleSP::MaritalClass;
using PADataMgmt::kFilingJoint;
using PADataMgmt::kFilingSeparate;
using PADataMgmt::kFilingSingle;

class ScheduleSPTest : public PA40Test {
 protected:
  // A federal common amount (item 1, the filing status: 1 single, 2 joint,
  // 3 separate).
  void setFederalAmount(int code, long amount) { federal()->setCommonItem(code, amount); }
  // A PA filing status with the same federal status.
  void setStatus(int status) {
    setFilingStatus(status);
    setFederalAmount(1, status);
  }
  // PA-40 copy 1: total PA taxable income, the PA tax and the resident
  // credit taken off it (lines 14 and 18 of the return's line values).
  void setPA40(double income, double tax, double residentCredit) {
    number(kFormID_PA40, PA40::kTotalTaxableIncome, income);
    number(kFormID_PA40, PA40::kTaxLiability, tax);
    number(kFormID_PA40, PA40::kResidentCredit, residentCredit);
  }
  void runSP(uint16_t copy = 1) { engine->computeScheduleSP(holder(kFormID_PAScheduleSP, copy), copy, 1); }

  // Fields of Schedule SP copy 1.
  DataMgmt::TaxForm& schedule() { return copyOf(kFormID_PAScheduleSP); }
  double amount(const FieldId& field) { return pa->getIR(kFormID_PAScheduleSP, 1, field); }
  bool isNull(const FieldId& field) { return pa->isNull(kFormID_PAScheduleSP, 1, field); }
  bool isProtected(const FieldId& field) { return schedule().isProtected(field); }
  bool marked(const FieldId& field) { return pa->formYes(kFormID_PAScheduleSP, 1, field); }
  bool markedNo(const FieldId& field) { return pa->formNo(kFormID_PAScheduleSP, 1, field); }
  std::string textOf(const FieldId& field) { return pa->getFieldAsString(kFormID_PAScheduleSP, 1, field); }
  void enter(const FieldId& field, double value) { number(kFormID_PAScheduleSP, field, value); }
  void check(const FieldId& box) { mark(kFormID_PAScheduleSP, box); }
  bool dataEntered() { return schedule().isDataEntered(); }
  // The taxpayer (or the spouse) claimed as a dependent, both answers Yes.
  void claim(bool spouse) {
    mark(kFormID_FedFilerInfo,
         spouse ? FedFilerInfo::kSpouseClaimedAsDependentBox : FedFilerInfo::kTaxpayerClaimedAsDependentBox);
    check(spouse ? PAScheduleSP::kSpouseClaimedYesBox : PAScheduleSP::kTaxpayerClaimedYesBox);
    check(spouse ? PAScheduleSP::kSpouseClaimantYesBox : PAScheduleSP::kTaxpayerClaimantYesBox);
  }
  // A text field the run left empty and open: what the user types there
  // stays through the next run.
  void expectOpenAndKept(const FieldId& field, const std::string& typed) {
    EXPECT_TRUE(isNull(field)) << field;
    EXPECT_FALSE(isProtected(field)) << field;
    text(kFormID_PAScheduleSP, field, typed);
    runSP();
    EXPECT_EQ(textOf(field), typed);
  }
};

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

// The spouse's name is the federal return's while it has one (closed, a
// run copies it again); once the federal name is emptied the copy goes and
// the field is open to the user's entry, which stays.
TEST_F(ScheduleSPTest, TheSpousesNameFollowsTheFederalName) {
  setStatus(kFilingJoint);
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseFirstName, "Laura");
  runSP();
  ASSERT_EQ(textOf(PAScheduleSP::kSpouseFirstName), "Laura");
  EXPECT_TRUE(isProtected(PAScheduleSP::kSpouseFirstName));

  put(kFormID_FedFilerInfo, FedFilerInfo::kSpouseFirstName, DataMgmt::FieldValue());
  runSP();
  EXPECT_TRUE(marked(PAScheduleSP::kSpouseMissingBox));
  expectOpenAndKept(PAScheduleSP::kSpouseFirstName, "Laurie");
}

// A joint return in two columns (someone claims the spouse): a share the
// spouse's column does not have stays empty, the taxpayer's line keeping
// the whole; a share typed is limited in place to the whole, and a larger
// whole later does not raise it back.
TEST_F(ScheduleSPTest, ASpousesShareOfAJointAmount) {
  setStatus(kFilingJoint);
  claim(true);
  setPA40(20000, 614, 0);
  setFederalAmount(25, 3000);
  runSP();
  ASSERT_TRUE(marked(PAScheduleSP::kMarriedClaimedBox));
  EXPECT_TRUE(isNull(PAScheduleSP::kSpousePA40Income) && isNull(PAScheduleSP::kSpouseFederalEligibilityIncome));
  EXPECT_EQ(amount(PAScheduleSP::kTaxpayerFederalEligibilityIncome), 3000);

  enter(PAScheduleSP::kSpousePA40Income, 25000);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kSpousePA40Income), 20000);
  setPA40(30000, 921, 0);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kSpousePA40Income), 20000);
  EXPECT_EQ(amount(PAScheduleSP::kTaxpayerPA40Income), 10000);
}

// The claimed sub-box takes the taxpayer's claimant while only the
// taxpayer is claimed; once the spouse is claimed too the copy goes and the
// claimant is the user's to enter.
TEST_F(ScheduleSPTest, TheClaimedSubBoxCopiesTheTaxpayersClaimantOnlyWhileAlone) {
  setStatus(kFilingJoint);
  claim(false);
  text(kFormID_PAScheduleSP, PAScheduleSP::kClaimantName, "Ruth Miller");
  runSP();
  ASSERT_EQ(textOf(PAScheduleSP::kMarriedClaimantName), "Ruth Miller");

  claim(true);
  runSP();
  expectOpenAndKept(PAScheduleSP::kMarriedClaimantName, "Ann Hale");
}

// The federal eligibility income of a filer who died in the year is the
// user's to enter (annualized): the federal amount written before goes.
TEST_F(ScheduleSPTest, ADeceasedFilersFederalIncomeIsTheUsers) {
  setStatus(kFilingSingle);
  setFederalAmount(25, 3000);
  runSP();
  ASSERT_EQ(amount(PAScheduleSP::kFederalEligibilityIncome), 3000);
  infoText(PAReturnInfo::kTaxpayerDateOfDeath, "03/15/2018");
  runSP();
  EXPECT_TRUE(isNull(PAScheduleSP::kFederalEligibilityIncome));
  enter(PAScheduleSP::kFederalEligibilityIncome, 4000);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kFederalEligibilityIncome), 4000);
}

class ScheduleSPDependentsTest : public ScheduleSPTest {
 protected:
  // An unmarried filer, so Part B is kept.
  void SetUp() override {
    ScheduleSPTest::SetUp();
    setStatus(PADataMgmt::kFilingSingle);
  }
  void expectRowNull(int row) {
    for (const auto* column : {&PAScheduleSP::kDependentName, &PAScheduleSP::kDependentAge,
                               &PAScheduleSP::kDependentRelationship, &PAScheduleSP::kDependentSSN}) {
      EXPECT_TRUE(isNull(column->at(row))) << "row " << row << " field " << column->at(row);
    }
  }
};

TEST_F(ScheduleSPDependentsTest, FiveChildrenAreListedOnAnAttachment) {
  for (uint16_t copy = 1; copy <= 5; ++copy) {
    mark(kFormID_FedDependents, FedDependents::kIncludedBox, copy);
    text(kFormID_FedDependents, FedDependents::kRelationship, "SON", copy);
  }
  setPA40(54000, 500, 0);
  runSP();
  EXPECT_EQ(amount(PAScheduleSP::kDependentCount), 5);
  EXPECT_EQ(textOf(PAScheduleSP::kDependentName.at(0)), "See attached schedule");
  EXPECT_TRUE(isNull(PAScheduleSP::kDependentAge.at(0)));
  expectRowNull(3);
  EXPECT_EQ(amount(PAScheduleSP::kForgivenessPercentage), 100);  // below the five-child bound 54,001
}

TEST_F(ScheduleSPDependentsTest, NoChildNullsPartB) {
  for (int row = 0; row < 4; ++row) text(kFormID_PAScheduleSP, PAScheduleSP::kDependentName.at(row), "Old");
  enter(PAScheduleSP::kDependentCount, 2);
  runSP();
  EXPECT_TRUE(isNull(PAScheduleSP::kDependentCount));
  for (int row = 0; row < 4; ++row) expectRowNull(row);
}

TEST(ForgivenessTableTest, PublishedBounds) {
  const struct {
    MaritalClass maritalClass;
    int row, children;
    double bound;
  } kBounds[] = {
      {MaritalClass::kUnmarried, 0, 0, 6501}, {MaritalClass::kUnmarried, 0, 1, 16001},
      {MaritalClass::kUnmarried, 9, 0, 8751}, {MaritalClass::kUnmarried, 9, 9, 94251},
      {MaritalClass::kMarried, 0, 0, 13001},  {MaritalClass::kMarried, 9, 0, 15251},
      {MaritalClass::kMarried, 6, 9, 100001}, {MaritalClass::kMarried, 0, -3, 13001}
  };
  for (const auto& b : kBounds) {
    EXPECT_DOUBLE_EQ(forgivenessBound(b.maritalClass, b.row, b.children), b.bound)
        << "row " << b.row << " children " << b.children;
  }
}

TEST(ForgivenessTableTest, PercentAtTheBounds) {
  const struct {
    MaritalClass maritalClass;
    int children;
    double income;
    int percent;
  } kCases[] = {
      {MaritalClass::kUnmarried, 0, 6500, 100},    {MaritalClass::kUnmarried, 0, 6501, 90},
      {MaritalClass::kUnmarried, 0, 8750, 10},     {MaritalClass::kUnmarried, 0, 8751, 0},
      {MaritalClass::kMarried, 2, 32000, 100},     {MaritalClass::kMarried, 2, 34251, 0},
      {MaritalClass::kUnmarried, 12, 120500, 100}, {MaritalClass::kUnmarried, 12, 120501, 90},
      {MaritalClass::kMarried, 0, 13000.5, 100},   {MaritalClass::kUnmarried, 0, -2500, 100}
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(forgivenessPercent(c.maritalClass, c.income, c.children), c.percent)
        << "income " << c.income << " children " << c.children;
  }
}

// The published 2018 eligibility income table, row by row as printed: the
// highest income of each percentage, unmarried and married, without
// dependents; each dependent child raises every row by 9,500. Each row is
// pinned at its last income and the first income of the next one, in the
// columns for no, one and two children.
TEST(ForgivenessTableTest, PublishedRows) {
  const struct {
    int percent;
    double unmarriedTo, marriedTo;
  } kRows[] = {
      {100, 6500, 13000}, {90, 6750, 13250}, {80, 7000, 13500}, {70, 7250, 13750}, {60, 7500, 14000},
      {50, 7750, 14250}, {40, 8000, 14500}, {30, 8250, 14750}, {20, 8500, 15000}, {10, 8750, 15250},
  };
  for (const auto& row : kRows) {
    for (int children = 0; children <= 2; ++children) {
      for (const auto& column : {std::make_pair(MaritalClass::kUnmarried, row.unmarriedTo),
                                 std::make_pair(MaritalClass::kMarried, row.marriedTo)}) {
        const double to = column.second + 9500.0 * children;
        EXPECT_EQ(forgivenessPercent(column.first, to, children), row.percent) << to << " " << children;
        EXPECT_EQ(forgivenessPercent(column.first, to + 1, children), row.percent - 10) << to << " " << children;
      }
    }
  }
}

}  // namespace
