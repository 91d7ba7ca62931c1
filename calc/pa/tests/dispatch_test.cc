// The per-form dispatch, the category routers and the hooks around the
// whole-return calculation.
#include <string>
#include <vector>

#include "calc/pa/form_routes.h"
#include "calc/pa/tests/driver_fixture.h"

namespace {

using PACalculationMgmt::CategoryRouter;
using PACalculationMgmt::FormCalculation;
using PACalculationMgmt::FormCategory;
typedef PACalculationMgmt::PATaxReturnCalcEngine Engine;
using FormId = Primitives::OVImmutableFormIdentifier;
using FieldId = Primitives::OVImmutableIdentifier;

class DispatchTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    engine->calculate = true;
    engine->recordRouters = true;
  }
  // calcStateForm on copy 1 of the form, created for the call.
  void dispatch(const FormId& form, bool markDataEntered) {
    engine->calcStateForm(form, 1, markDataEntered, 1, 1, holder(form, 1));
  }
};

TEST_F(DispatchTest, EachFormReachesItsCategoryRouter) {
  struct Row {
    const FormId* form;
    const char* router;
  };
  const Row rows[] = {
      {&kFormID_State18, "calcCommonStateForms"},
      {&kFormID_State16, "calcCommonStateForms"},
      {&kFormID_State17, "calcCommonStateForms"},
      {&kFormID_PAScheduleE, "calcRentalForms"},
      {&kFormID_PA40, "calcReturnForms"},
      {&kFormID_PAScheduleW2S, "calcReturnForms"},
      {&kFormID_PAMiscCompWorksheet, "calcReturnForms"},
      {&kFormID_PAScheduleA, "calcReturnForms"},
      {&kFormID_PAScheduleB, "calcReturnForms"},
      {&kFormID_PAInterestDividendWorksheet, "calcReturnForms"},
      {&kFormID_PAScheduleD, "calcReturnForms"},
      {&kFormID_PAScheduleGL, "calcReturnForms"},
      {&kFormID_PAScheduleJ, "calcReturnForms"},
      {&kFormID_PAW2GIncome, "calcReturnForms"},
      {&kFormID_PADeductions, "calcReturnForms"},
      {&kFormID_PAScheduleOC, "calcReturnForms"},
      {&kFormID_PAEstimatedTaxWorksheet, "calcEstimatedTaxForms"},
      {&kFormID_PAEstimatedVouchers, "calcEstimatedTaxForms"},
      {&kFormID_PADirectDepositDebit, "calcEstimatedTaxForms"},
      {&kFormID_PAScheduleUE, "calcEmployeeExpenseAndLocalForms"},
      {&kFormID_PALocalIncomeTaxReturn, "calcEmployeeExpenseAndLocalForms"},
      {&kFormID_PAScheduleSP, "calcTaxForgivenessForm"},
      {&kFormID_PAScheduleC, "calcBusinessForms"},
  };
  for (const Row& row : rows) {
    engine->routers.clear();
    dispatch(*row.form, false);
    EXPECT_EQ(engine->routers, std::vector<std::string>{row.router}) << row.form->getNumber();
  }
}

TEST_F(DispatchTest, DirectCalculationsAndUnroutedFormsReachNoRouter) {
  EXPECT_EQ(PACalculationMgmt::directCalculation(kFormID_PAScheduleDWorksheet), &Engine::computeScheduleDWorksheet);
  EXPECT_EQ(PACalculationMgmt::directCalculation(kFormID_PAW2), &Engine::computePAW2);
  for (const FormId* form : {&kFormID_PAScheduleDWorksheet, &kFormID_PAW2, &kFormID_State45316,
                             &kFormID_StateSummary}) {
    engine->routers.clear();
    dispatch(*form, false);
    EXPECT_TRUE(engine->routers.empty()) << form->getNumber();
    EXPECT_EQ(PACalculationMgmt::categoryRouter(*form), nullptr);
  }
}

TEST_F(DispatchTest, MarkDataEnteredMarksRoutedAndUnroutedCopies) {
  for (const FormId* form : {&kFormID_State45316, &kFormID_PAScheduleA}) {
    dispatch(*form, false);
    EXPECT_FALSE(pa->getForm(*form, 1)->isDataEntered()) << form->getNumber();
    dispatch(*form, true);
    EXPECT_TRUE(pa->getForm(*form, 1)->isDataEntered()) << form->getNumber();
  }
}

TEST_F(DispatchTest, CategoryTablesNameTheirCalculations) {
  struct Row {
    FormCategory category;
    const FormId* form;
    FormCalculation calculation;
  };
  const Row rows[] = {
      {FormCategory::kBusiness, &kFormID_PAScheduleC, &Engine::computeScheduleC},
      {FormCategory::kRental, &kFormID_PAScheduleE, &Engine::computeScheduleE},
      {FormCategory::kReturn, &kFormID_PA40, &Engine::computePA40},
      {FormCategory::kReturn, &kFormID_PAScheduleW2S, &Engine::computeScheduleW2S},
      {FormCategory::kReturn, &kFormID_PAMiscCompWorksheet, &Engine::computeMiscCompWorksheet},
      {FormCategory::kReturn, &kFormID_PAInterestDividendWorksheet, &Engine::computeInterestDividendWorksheet},
      {FormCategory::kReturn, &kFormID_PAScheduleA, &Engine::computeScheduleA},
      {FormCategory::kReturn, &kFormID_PAScheduleB, &Engine::computeScheduleB},
      {FormCategory::kReturn, &kFormID_PAScheduleD, &Engine::computeScheduleD},
      {FormCategory::kReturn, &kFormID_PAScheduleGL, &Engine::computeScheduleGL},
      {FormCategory::kReturn, &kFormID_PAScheduleJ, &Engine::computeScheduleJ},
      {FormCategory::kReturn, &kFormID_PAW2GIncome, &Engine::computeW2GIncome},
      {FormCategory::kReturn, &kFormID_PAScheduleOC, &Engine::computeScheduleOC},
      {FormCategory::kReturn, &kFormID_PADeductions, &Engine::computeDeductions},
      {FormCategory::kEstimatedTax, &kFormID_PAEstimatedVouchers, &Engine::computeEstimatedVouchers},
      {FormCategory::kEstimatedTax, &kFormID_PAEstimatedTaxWorksheet, &Engine::computeEstimatedTaxWorksheet},
      {FormCategory::kEstimatedTax, &kFormID_PADirectDepositDebit, &Engine::computeDirectDepositDebit},
      {FormCategory::kEmployeeExpenseLocal, &kFormID_PAScheduleUE, &Engine::computeScheduleUE},
      {FormCategory::kEmployeeExpenseLocal, &kFormID_PALocalIncomeTaxReturn, &Engine::computeLocalIncomeTaxReturn},
      {FormCategory::kTaxForgiveness, &kFormID_PAScheduleSP, &Engine::computeScheduleSP},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PACalculationMgmt::categoryCalculation(row.category, *row.form), row.calculation)
        << row.form->getNumber();
  }
  // A form of another category is nothing to its router.
  EXPECT_EQ(PACalculationMgmt::categoryCalculation(FormCategory::kReturn, kFormID_PAScheduleE), nullptr);
  EXPECT_EQ(PACalculationMgmt::categoryCalculation(FormCategory::kBusiness, kFormID_PA40), nullptr);
  EXPECT_EQ(PACalculationMgmt::categoryCalculation(FormCategory::kTaxForgiveness, kFormID_PAScheduleUE), nullptr);
}

// The interest summary writes its allocated U.S.-obligation line (host
// field 188) only for a residency choice other than 1, which the router
// reads from the information form's boxes.
TEST_F(DispatchTest, InterestSummaryGetsTheResidencyChoice) {
  engine->recordRouters = false;
  const FieldId& allocatedLine = kState16FieldIds.byNumber(188);
  dispatch(kFormID_State16, false);
  EXPECT_TRUE(pa->isNull(kFormID_State16, 1, allocatedLine));

  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(47));
  dispatch(kFormID_State16, false);
  EXPECT_FALSE(pa->isNull(kFormID_State16, 1, allocatedLine));
}

TEST_F(DispatchTest, AllocationFormIsCalculatedThroughTheCommonRouter) {
  engine->recordRouters = false;
  mark(kFormID_PAReturnInfo, kPAReturnInfoFieldIds.byNumber(17));
  dispatch(kFormID_State18, false);
  // The allocation form records the residency choice on the information form.
  EXPECT_EQ(pa->getIN(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds.byNumber(3)), 4);
}

// postCalc: the host's state-summary form from the PA-40 and the
// information form.
class PostCalcTest : public DriverTest {
 protected:
  static const FieldId& summaryField(int hostField) { return kStateSummaryFieldIds.byNumber(hostField); }
  static const FieldId& pa40(int hostField) { return kPA40FieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }
  void enter(int hostField, double value) { number(kFormID_PA40, pa40(hostField), value); }
  double summary(int hostField) { return pa->getIR(kFormID_StateSummary, 1, summaryField(hostField)); }
  bool summaryNull(int hostField) { return pa->isNull(kFormID_StateSummary, 1, summaryField(hostField)); }
  std::string summaryText(int hostField) {
    return pa->getFieldAsString(kFormID_StateSummary, 1, summaryField(hostField));
  }
  void previousBalance(double owed, double refunded) {
    number(kFormID_StateSummary, summaryField(32784), owed);
    number(kFormID_StateSummary, summaryField(32785), refunded);
  }
};

TEST_F(PostCalcTest, Balance) {
  struct Row {
    double due, dueAdditions, refund, donations;
    bool owedNull;
    double owed;
    bool refundedNull;
    double refunded;
  };
  const Row rows[] = {
      // Tax due: due + additions + donations; the refund side is emptied.
      {100, 7, 40, 3, false, 110, true, 0},
      // No tax due: refund less donations, even at zero.
      {0, 7, 0, 5, true, 0, false, -5},
      {0, 0, 40, 3, true, 0, false, 37},
      // A negative refund line leaves both as they were (-1 / -2 below).
      {0, 0, -10, 3, false, -1, false, -2},
  };
  for (const Row& row : rows) {
    engine.reset();
    SetUp();
    previousBalance(-1, -2);
    enter(251, row.due);
    enter(267, row.dueAdditions);
    enter(250, row.refund);
    enter(131111, row.donations);
    engine->postCalc();
    EXPECT_EQ(summaryNull(32784), row.owedNull) << row.due << "/" << row.refund;
    if (!row.owedNull) {
      EXPECT_EQ(summary(32784), row.owed);
    }
    EXPECT_EQ(summaryNull(32785), row.refundedNull) << row.due << "/" << row.refund;
    if (!row.refundedNull) {
      EXPECT_EQ(summary(32785), row.refunded);
    }
  }
}

TEST_F(PostCalcTest, CopiedFieldsAndDataEnteredMark) {
  enter(253, 1234);
  number(kFormID_PAReturnInfo, info(90), 42);
  text(kFormID_PAReturnInfo, info(94), "Allegheny");
  text(kFormID_PAReturnInfo, info(92), "12345");
  engine->postCalc();
  EXPECT_EQ(summary(32787), 1234);
  EXPECT_EQ(summary(32786), 42);
  EXPECT_EQ(summaryText(81494), "Allegheny");
  EXPECT_EQ(summaryText(81495), "12345");
  EXPECT_TRUE(pa->getForm(kFormID_StateSummary, 1)->isDataEntered());
}

TEST_F(PostCalcTest, ResidencyTextAndNonresidentAmounts) {
  struct Row {
    int box;  // 0: none
    const char* text;
    bool nonresident;
  };
  const Row rows[] = {
      {47, "Nonresident", true},
      {48, "Part-year resident", false},
      {46, "Full-year resident", false},
      {0, "", false},
  };
  for (const Row& row : rows) {
    engine.reset();
    SetUp();
    number(kFormID_StateSummary, summaryField(133646), 1);
    number(kFormID_StateSummary, summaryField(133647), 1);
    text(kFormID_StateSummary, summaryField(133645), "old");
    if (row.box != 0) mark(kFormID_PAReturnInfo, info(row.box));
    enter(172, 900);
    enter(173, 1000);
    enter(244, 100);
    enter(245, 20);
    enter(266, 3);
    engine->postCalc();
    EXPECT_EQ(summaryText(133645), row.text) << row.box;
    if (row.box == 0) {
      EXPECT_TRUE(summaryNull(133645));
    }
    if (row.nonresident) {
      EXPECT_EQ(summary(133646), 900);
      EXPECT_EQ(summary(133647), 877);
    } else {
      EXPECT_TRUE(summaryNull(133646)) << row.box;
      EXPECT_TRUE(summaryNull(133647)) << row.box;
    }
  }
}

TEST_F(PostCalcTest, NonresidentBoxWinsOverTheOthers) {
  mark(kFormID_PAReturnInfo, info(46));
  mark(kFormID_PAReturnInfo, info(47));
  engine->postCalc();
  EXPECT_EQ(summaryText(133645), "Nonresident");
}

}  // namespace
