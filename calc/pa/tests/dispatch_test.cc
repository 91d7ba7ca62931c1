// The per-form dispatch and the hooks around the whole-return calculation.
#include <string>

#include "calc/pa/form_routes.h"
#include "calc/pa/tests/driver_fixture.h"

namespace {

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

// The common forms get the residency choice of the information form: the
// interest summary writes its allocated line only for a choice other than
// full-year; the allocation form records the choice.
TEST_F(DispatchTest, CommonFormsGetTheResidencyChoice) {
  const FieldId& allocatedLine = State16::kTaxpayerNetUSObligationsAllocated;
  dispatch(kFormID_State16);
  EXPECT_TRUE(pa->isNull(kFormID_State16, 1, allocatedLine));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  dispatch(kFormID_State16);
  EXPECT_FALSE(pa->isNull(kFormID_State16, 1, allocatedLine));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kPartYearAllocatedBox);
  dispatch(kFormID_State18);
  EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, PAReturnInfo::kResidencyChoice), 4);
}

// postCalc's balance: an overpayment line above 0 with penalties and use
// tax; else the tax due less the use tax, even at 0; a tax due below 0
// leaves both as they were (-1 / -2).
TEST_F(DispatchTest, SummaryBalance) {
  const double kRows[][6] = {// overpayment, penalties, tax due, use tax, owed, refund (-9: null)
                             {100, 7, 40, 3, 110, -9},
                             {0, 7, 0, 5, -9, -5},
                             {0, 0, 40, 3, -9, 37},
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

// The residency text (the nonresident box wins; none: null), and the
// nonresident amounts, which no other return keeps.
TEST_F(DispatchTest, SummaryResidencyAndNonresidentAmounts) {
  const struct {
    const FieldId* boxes[2];
    const char* text;
  } kRows[] = {
      {{&PAReturnInfo::kNonresidentBox.id(), &PAReturnInfo::kFullYearResidentBox.id()}, "Nonresident"},
      {{&PAReturnInfo::kPartYearResidentBox.id(), nullptr}, "Part-year resident"},
      {{nullptr, nullptr}, ""},
  };
  for (const auto& row : kRows) {
    engine.reset();
    SetUp();
    number(kFormID_StateSummary, StateSummary::kNonresidentNetTax, 1);
    text(kFormID_StateSummary, StateSummary::kResidencyText, "old");
    for (const FieldId* box : row.boxes) {
      if (box != nullptr) mark(kFormID_PAReturnInfo, *box);
    }
    number(kFormID_PA40, PA40::kTaxLiability, 1000);
    number(kFormID_PA40, PA40::kForgivenessCredit, 100);
    number(kFormID_PA40, PA40::kResidentCredit, 20);
    number(kFormID_PA40, PA40::kOtherCredits, 3);
    engine->postCalc();
    EXPECT_EQ(pa->getFieldAsString(kFormID_StateSummary, 1, StateSummary::kResidencyText), row.text);
    EXPECT_EQ(summaryNull(StateSummary::kResidencyText), row.boxes[0] == nullptr);
    const bool nonresident = row.boxes[1] != nullptr;
    EXPECT_EQ(summaryNull(StateSummary::kNonresidentNetTax), !nonresident) << row.text;
    EXPECT_EQ(summary(StateSummary::kNonresidentNetTax), nonresident ? 877 : 0);
  }
}

}  // namespace
