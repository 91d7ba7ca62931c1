// The whole-return driver (copy synchronisation with the federal return,
// fixed forms and the calculation order), the per-form dispatch and the
// hooks around the whole-return calculation.
#include <string>
#include <vector>

#include "calc/pa/form_routes.h"
#include "calc/pa/tests/driver_fixture.h"

namespace {

class CalcStateReturnTest : public DriverTest {};

TEST_F(CalcStateReturnTest, WalksTheFixedCalculationOrderOverEveryCopy) {
  holder(kFormID_PAScheduleA, 3);
  engine->calcStateReturn();
  const std::vector<int> expected = {
      168, 169, 16, 17, 18, 179, 187, 186, 181, 170, 178, 155696, 155697, 173, 174, 56126, 177, 9341, 36090,
      169, 170, 155696, 155697, 173, 174, 56126, 177, 9341, 178,  // 20-29
      169, 176, 488, 169, 176, 172,                                // 30-35
      169, 488, 183, 184, 185, 143868};
  EXPECT_EQ(engine->walked, expected);
  std::vector<int> scheduleACopies;  // highest first, never marked data-entered
  for (const FormCopyCall& call : engine->forms) {
    if (call.form == kFormID_PAScheduleA.getNumber()) scheduleACopies.push_back(call.copy);
    EXPECT_FALSE(call.markDataEntered) << call.form << "/" << call.copy;
  }
  EXPECT_EQ(scheduleACopies, (std::vector<int>{3, 1, 3, 1}));
}

// Without federal forms copy 1 of every fixed form exists, and copy 2 of
// the spouse's forms on a joint return only.
TEST_F(CalcStateReturnTest, FixedFormsAndTheSpouseCopies) {
  const FormId* const kFixed[] = {
      &kFormID_PA40,          &kFormID_PAScheduleSP, &kFormID_PAInterestDividendWorksheet,
      &kFormID_PAScheduleA,   &kFormID_PAScheduleB,  &kFormID_PAScheduleD,
      &kFormID_PAScheduleW2S, &kFormID_PAW2,         &kFormID_PAMiscCompWorksheet,
      &kFormID_PAScheduleE,   &kFormID_PAScheduleJ,  &kFormID_PAScheduleOC,
      &kFormID_PAW2GIncome,   &kFormID_PADeductions, &kFormID_State45316};
  for (bool joint : {false, true}) {
    engine.reset();
    SetUp();
    if (joint) setJoint();
    engine->calcStateReturn();
    for (const FormId* form : kFixed) EXPECT_TRUE(exists(*form, 1)) << form->getNumber();
    for (const FormId* form :
         {&kFormID_PAScheduleA, &kFormID_PAScheduleB, &kFormID_PAScheduleD, &kFormID_State45316}) {
      EXPECT_EQ(exists(*form, 2), joint) << form->getNumber();
    }
    EXPECT_FALSE(exists(kFormID_PAW2, 2));
    EXPECT_TRUE(pa->formNo(kFormID_PAReturnInfo, 1, PAReturnInfo::kSaleRecordsBox));
  }
}

// PA W-2 copy k lists federal copies 18k-17 .. 18k; the count the driver
// works from starts at one, and a W-2 above a gap still gets its copy.
TEST_F(CalcStateReturnTest, PAW2CopiesFollowTheFederalW2s) {
  // Federal copies 1..n, a further copy above a gap, the PA copies.
  const int kRows[][3] = {{0, 0, 1}, {17, 0, 1}, {18, 0, 2}, {36, 0, 3}, {1, 40, 3}};
  for (const auto& row : kRows) {
    engine.reset();
    SetUp();
    federalCopies(kFormID_FedW2, row[0]);
    if (row[1] != 0) holder(kFormID_FedW2, static_cast<uint16_t>(row[1]));
    engine->calcStateReturn();
    EXPECT_EQ(pa->getMaxCopies(kFormID_PAW2), row[2]) << row[0] << "/" << row[1];
    EXPECT_TRUE(exists(kFormID_PAW2, static_cast<uint16_t>(row[2])));
  }
}

// Copy 1 without a federal source keeps the property the user entered; a
// copy 1 still linked to a source that is gone loses the link and what
// came from it. Either keeps the filer-level amounts.
TEST_F(CalcStateReturnTest, ScheduleECopyOneWithoutAFederalSource) {
  for (const FieldId* linkBox : {static_cast<const FieldId*>(nullptr), &PAScheduleE::kFromScheduleEBox.id(),
                                 &PAScheduleE::kFromForm4835Box.id()}) {
    engine.reset();
    SetUp();
    if (linkBox != nullptr) {
      mark(kFormID_PAScheduleE, *linkBox);
      number(kFormID_PAScheduleE, PAScheduleE::kFederalCopyNumber, 1);
    }
    number(kFormID_PAScheduleE, PAScheduleE::kPANetIncome, 5000);
    number(kFormID_PAScheduleE, PAScheduleE::kTaxpayerFirstRK1Income, 40);
    engine->calcStateReturn();
    EXPECT_EQ(pa->isNull(kFormID_PAScheduleE, 1, PAScheduleE::kPANetIncome), linkBox != nullptr);
    EXPECT_EQ(pa->getIN(kFormID_PAScheduleE, 1, PAScheduleE::kTaxpayerFirstRK1Income), 40);
    EXPECT_FALSE(linkBox != nullptr && pa->formYes(kFormID_PAScheduleE, 1, *linkBox));
  }
}

// A PA Schedule C copy that stands for another federal copy once one above
// it is deleted takes that copy's figures: line A and the amounts filled
// in once are not the deleted copy's; the user's entries stay with the
// copy.
TEST_F(CalcStateReturnTest, ScheduleCCopyStandingForAnotherFederalCopy) {
  engine->calculate = true;
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  text(kFormID_FedScheduleC, FedScheduleC::kBusinessName, "FIRST", 1);
  number(kFormID_FedScheduleC, FedScheduleC::kMortgageInterest, 500, 1);
  number(kFormID_FedScheduleC, FedScheduleC::kDepletion, 300, 1);
  text(kFormID_FedScheduleC, FedScheduleC::kPrincipalBusiness, "SECOND", 2);
  number(kFormID_FedScheduleC, FedScheduleC::kMortgageInterest, 800, 2);
  number(kFormID_PAScheduleC, PAScheduleC::kEnteredExpense, 40, 1);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAScheduleC, 1, PAScheduleC::kMainBusinessActivity), "FIRST");
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, PAScheduleC::kInterest), 500);
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, PAScheduleC::kPADepletion), 300);
  federal()->deleteForm(kFormID_FedScheduleC, 1);
  engine->calcStateReturn();
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, PAScheduleC::kFederalCopyNumber), 2);
  EXPECT_EQ(pa->getFieldAsString(kFormID_PAScheduleC, 1, PAScheduleC::kMainBusinessActivity), "SECOND");
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, PAScheduleC::kInterest), 800);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleC, 1, PAScheduleC::kPADepletion));
  EXPECT_EQ(pa->getIN(kFormID_PAScheduleC, 1, PAScheduleC::kEnteredExpense), 40);
  EXPECT_TRUE(pa->isNull(kFormID_PAScheduleC, 2, PAScheduleC::kInterest));
}

// A PA Schedule E copy that stands for another source once one above it
// is deleted keeps nothing of the deleted property (a farm rental after a
// spouse's house has no address and is the taxpayer's unless the user says
// otherwise); once no source stands for copy 1 it keeps only what the user
// entered, open to the user, as the same entries loaded afresh.
TEST_F(CalcStateReturnTest, ScheduleECopyStandingForAnotherSourceOrNone) {
  engine->calculate = true;
  federal()->setCommonItem(0, 1, 2);  // joint
  setJoint();
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  mark(kFormID_FedScheduleE, FedScheduleE::kRentalPropertyBox);
  mark(kFormID_FedScheduleE, FedScheduleE::kSpouseBox);
  text(kFormID_FedScheduleE, FedScheduleE::kPropertyCity, "READING");
  number(kFormID_FedFarmRental, FedFarmRental::kGrossFarmRentalIncome, 5000);
  text(kFormID_PAScheduleE, PAScheduleE::kPropertyDescription, "HOUSE");
  auto shown = [&] {
    engine->calcStateReturn();
    std::string marks;
    for (const FieldId* f : {&PAScheduleE::kFromForm4835Box.id(), &PAScheduleE::kTaxpayerOwnerBox.id(),
                             &PAScheduleE::kSpouseOwnerBox.id(), &PAScheduleE::kTaxableForPAYesBox.id()}) {
      marks += pa->formYes(kFormID_PAScheduleE, 1, *f) ? "X" : "-";
      if (isProtected(kFormID_PAScheduleE, *f)) marks += "p";
    }
    return marks + "/" + pa->getFieldAsString(kFormID_PAScheduleE, 1, PAScheduleE::kPropertyCity) + "/" +
           pa->getFieldAsString(kFormID_PAScheduleE, 1, PAScheduleE::kPropertyDescription) + "/" +
           std::to_string(pa->getIN(kFormID_PAScheduleE, 1, PAScheduleE::kRentsReceived));
  };
  EXPECT_EQ(shown(), "--pXpXp/READING/HOUSE/0");
  federal()->deleteForm(kFormID_FedScheduleE, 1);
  EXPECT_EQ(shown(), "XX-Xp//HOUSE/5000");
  federal()->deleteForm(kFormID_FedFarmRental, 1);
  EXPECT_EQ(shown(), "----//HOUSE/0");  // the taxable answer fixed for a source went with it
  EXPECT_TRUE(pa->getForm(kFormID_PAScheduleE, 1)->isDataEntered());
}

class DispatchTest : public DriverTest {
 protected:
  void dispatch(const FormId& form, bool markDataEntered = false) {
    engine->calculate = true;
    engine->calcStateForm(form, 1, markDataEntered, 1, 1, holder(form, 1));
  }
  double summary(const FieldId& field) { return pa->getIR(kFormID_StateSummary, 1, field); }
  bool summaryNull(const FieldId& field) { return pa->isNull(kFormID_StateSummary, 1, field); }
};

// No routed form goes uncalculated: the form-to-category table and the
// category-to-calculation table agree.
TEST_F(DispatchTest, TheTwoRoutingLevelsAgree) {
  for (const FormId& form : PACalculationMgmt::formsTheRoutingLevelsDisagreeOn()) {
    ADD_FAILURE() << "form " << form.getNumber();
  }
}

// A routed and an unrouted copy alike are marked only when asked.
TEST_F(DispatchTest, MarkDataEnteredMarksRoutedAndUnroutedCopies) {
  for (const FormId* form : {&kFormID_State45316, &kFormID_PAScheduleA}) {
    dispatch(*form, false);
    EXPECT_FALSE(pa->getForm(*form, 1)->isDataEntered()) << form->getNumber();
    dispatch(*form, true);
    EXPECT_TRUE(pa->getForm(*form, 1)->isDataEntered()) << form->getNumber();
  }
}

// postCalc's balance: an overpayment line above 0 with penalties and use
// tax; else the tax due less the use tax, even at 0 (a tax due above 0: a
// golden return); a tax due below 0 leaves both as they were (-1 / -2).
TEST_F(DispatchTest, SummaryBalance) {
  const double kRows[][6] = {// overpayment, penalties, tax due, use tax, owed, refund (-9: null)
                             {100, 7, 40, 3, 110, -9},
                             {0, 7, 0, 5, -9, -5},
                             {0, 0, -10, 3, -1, -2}};
  for (const auto& row : kRows) {
    engine.reset();
    SetUp();
    number(kFormID_StateSummary, StateSummary::kAmountOwed, -1);
    number(kFormID_StateSummary, StateSummary::kRefund, -2);
    const FieldId* const kLines[] = {&PA40::kOverpayment.id(), &PA40::kPenaltiesInterest.id(),
                                     &PA40::kTaxDue.id(), &PA40::kUseTax.id()};
    for (int k = 0; k < 4; ++k) number(kFormID_PA40, *kLines[k], row[k]);
    engine->postCalc();
    const FieldId* const kResults[] = {&StateSummary::kAmountOwed.id(), &StateSummary::kRefund.id()};
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(summaryNull(*kResults[k]), row[4 + k] == -9) << row[0] << "/" << row[2];
      EXPECT_EQ(summary(*kResults[k]), row[4 + k] == -9 ? 0 : row[4 + k]) << row[0] << "/" << row[2];
    }
  }
}

// The residency text (none: null; the nonresident box wins), and the
// nonresident amounts, which no other return keeps.
TEST_F(DispatchTest, SummaryResidencyAndNonresidentAmounts) {
  number(kFormID_StateSummary, StateSummary::kNonresidentNetTax, 1);
  text(kFormID_StateSummary, StateSummary::kResidencyText, "old");
  engine->postCalc();
  EXPECT_TRUE(summaryNull(StateSummary::kResidencyText) && summaryNull(StateSummary::kNonresidentNetTax));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kFullYearResidentBox);
  number(kFormID_PA40, PA40::kTaxLiability, 1000);
  number(kFormID_PA40, PA40::kForgivenessCredit, 100);
  number(kFormID_PA40, PA40::kResidentCredit, 20);
  number(kFormID_PA40, PA40::kOtherCredits, 3);
  engine->postCalc();
  EXPECT_EQ(pa->getFieldAsString(kFormID_StateSummary, 1, StateSummary::kResidencyText), "Nonresident");
  EXPECT_EQ(summary(StateSummary::kNonresidentNetTax), 877);
}

}  // namespace
