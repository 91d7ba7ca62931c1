// The PA-40's frame, income classes and tax.
#include "calc/pa/tests/pa40_fixture.h"

namespace {

// ---- Frame ----

TEST_F(PA40Test, CalculatesScheduleW2STwiceAndMarksTheCopyEntered) {
  copyOf(kFormID_PAScheduleW2S);
  run();
  int w2sCalls = 0;
  for (const ProbeCall& call : engine->calls) {
    if (call.form != kFormID_PAScheduleW2S.getNumber()) continue;
    ++w2sCalls;
    EXPECT_EQ(call.copy, 1);
    EXPECT_FALSE(call.markDataEntered);
    EXPECT_EQ(call.passOn, 1);
    EXPECT_EQ(call.spare, 0);
    EXPECT_TRUE(call.formGiven);
  }
  EXPECT_EQ(w2sCalls, 2);
  DataMgmt::TaxForm& form = copyOf(kFormID_PA40);
  EXPECT_TRUE(form.isDataEntered());
  EXPECT_TRUE(form.isPrintFlag());
  EXPECT_TRUE(form.getCalcMark());
}

TEST_F(PA40Test, EmptyCopyIsIgnored) {
  engine->computePA40(DataMgmt::TaxFormPtr(), 1, 1);
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 1));
}

// ---- Compensation (line 1) ----

TEST_F(PA40Test, JointCompensationAddsBothSpouses) {
  setFilingStatus(2);
  w2(1, 20000, 10000);
  number(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds.byNumber(9585), 1000);
  number(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds.byNumber(9587), 500);
  enter(36518, 100);  // TP first reduction
  run();
  EXPECT_EQ(amount(36510), 20000);
  EXPECT_EQ(amount(36511), 10000);
  EXPECT_EQ(amount(36520), 20900);
  EXPECT_EQ(amount(36521), 10500);
  EXPECT_EQ(amount(134), 31400);
  EXPECT_EQ(amount(139), 31400);
  EXPECT_TRUE(marked(42782));  // TP reduction entered
  EXPECT_TRUE(markedNo(42783));
}

TEST_F(PA40Test, SingleReturnNullsTheSpouseLines) {
  setFilingStatus(1);
  w2(1, 1000, 500);
  number(kFormID_PAMiscCompWorksheet, kPAMiscCompWorksheetFieldIds.byNumber(9587), 200);
  scheduleUE(1, true, 400);
  scheduleC(1, true, 900);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), 300, 1);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), 700, 2);
  run();
  for (int field : {36511, 36517, 36521, 287}) EXPECT_TRUE(isNull(field)) << field;
  for (int field : {36513, 36523}) {
    EXPECT_TRUE(isNull(field)) << field;
    EXPECT_TRUE(isProtected(field)) << field;
  }
  EXPECT_EQ(amount(145), 300);
  EXPECT_TRUE(markedNo(405));
}

TEST_F(PA40Test, ScheduleUENetSplitsIntoExcessAndExpenses) {
  struct Case {
    double net;
    double excess, expenses, gross;
  };
  for (const Case& c : {Case{-300, 300, 0, 1300}, Case{300, 0, 300, 1000}}) {
    restart();
    w2(1, 1000, 0);
    scheduleUE(1, false, c.net);
    scheduleUE(2, false, 0);
    copyOf(kFormID_PAScheduleUE, 3);  // neither owner mark: adds nothing
    number(kFormID_PAScheduleUE, kPAScheduleUEFieldIds.byNumber(130), 5000, 3);
    run();
    EXPECT_EQ(amount(36512), c.excess) << c.net;
    EXPECT_EQ(amount(36522), c.expenses) << c.net;
    EXPECT_EQ(amount(36514), c.gross) << c.net;
  }
}

TEST_F(PA40Test, FirstReductionIsLimitedToGrossCompensation) {
  w2(1, 5000, 0);
  enter(36518, 9000);
  run();
  EXPECT_EQ(amount(36518), 5000);
  EXPECT_FALSE(isProtected(36518));

  restart();
  enter(36518, 9000);
  run();
  EXPECT_TRUE(isNull(36518));
  EXPECT_TRUE(isProtected(36518));
}

TEST_F(PA40Test, SecondReductionsOnlyForAJointPartYearReturn) {
  setFilingStatus(2);
  setResidency(1);
  w2(1, 5000, 4000);
  enter(74166, 300);
  enter(74167, 9000);
  run();
  EXPECT_EQ(amount(74166), 300);
  EXPECT_EQ(amount(74167), 4000);
  EXPECT_EQ(amount(36520), 4700);

  restart();
  setFilingStatus(2);
  w2(1, 5000, 4000);
  enter(74166, 300);
  run();
  EXPECT_TRUE(isNull(74166));
  EXPECT_TRUE(isProtected(74166));
  EXPECT_EQ(amount(36520), 5000);
}

TEST_F(PA40Test, ExpensesAreLimitedToGrossCompensation) {
  w2(1, 5000, 0);
  scheduleUE(1, false, 7000);
  number(kFormID_PAScheduleUE, kPAScheduleUEFieldIds.byNumber(150), 7000);
  run();
  EXPECT_EQ(amount(36526), 5000);
  EXPECT_TRUE(marked(42784));
  EXPECT_TRUE(markedNo(42785));
  EXPECT_EQ(amount(139), 0);
  EXPECT_FALSE(isProtected(36524));  // added expenses open beside the first total
}

TEST_F(PA40Test, AddedExpensesCloseWithoutScheduleUETotals) {
  enter(36524, 50);
  run();
  EXPECT_TRUE(isNull(36524));
  EXPECT_TRUE(isProtected(36524));
  EXPECT_TRUE(markedNo(316));
  EXPECT_TRUE(markedNo(317));
  EXPECT_TRUE(markedNo(309));

  // Beside the first total only, the spouse's added expenses close.
  number(kFormID_PAScheduleUE, kPAScheduleUEFieldIds.byNumber(150), 100);
  enter(36525, 30);
  run();
  EXPECT_FALSE(isProtected(36524));
  EXPECT_TRUE(isNull(36525));
  EXPECT_TRUE(isProtected(36525));
}

TEST_F(PA40Test, CompensationBoxesFollowPAW2Counts) {
  setFilingStatus(2);
  number(kFormID_PAW2, kPAW2FieldIds.byNumber(42787), 1);
  run();
  EXPECT_TRUE(markedNo(42782));
  EXPECT_TRUE(marked(42783));
  EXPECT_TRUE(isNull(42781));
}

TEST_F(PA40Test, OtherSourcesBoxAndPulledAmounts) {
  run();
  EXPECT_TRUE(markedNo(308));
  EXPECT_TRUE(markedNo(12231));

  restart();
  federal()->setCommonItem(32, 5);
  federal()->setCommonItem(37, 7);
  number(kFormID_Fed57, kFed57FieldIds.byNumber(81), 10);
  number(kFormID_Fed181, kFed181FieldIds.byNumber(46), 100);
  number(kFormID_Fed181, kFed181FieldIds.byNumber(38), 30);
  run();
  EXPECT_EQ(amount(394), 12);
  EXPECT_TRUE(marked(12231));
  EXPECT_EQ(amount(393), 10);
  EXPECT_EQ(amount(392), 70);
  EXPECT_TRUE(marked(308));
}

// ---- Interest and dividends (lines 3, 4) ----

TEST_F(PA40Test, InterestAndDividendsFromSchedulesAAndB) {
  setFilingStatus(2);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), 100, 1);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), 50, 2);
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), 20, 1);
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), 5, 2);
  number(kFormID_State16, kState16FieldIds.byNumber(186), 10);
  number(kFormID_State16, kState16FieldIds.byNumber(187), 20);
  number(kFormID_State17, kState17FieldIds.byNumber(178), 1);
  number(kFormID_State17, kState17FieldIds.byNumber(179), 2);
  run();
  EXPECT_EQ(amount(46956), 100);
  EXPECT_EQ(amount(46957), 50);
  EXPECT_EQ(amount(140), 150);
  EXPECT_EQ(amount(46958), 20);
  EXPECT_EQ(amount(46959), 5);
  EXPECT_EQ(amount(141), 25);
  EXPECT_EQ(amount(331), 175);
  EXPECT_EQ(amount(403), 33);
}

TEST_F(PA40Test, NonresidentHasNoInterestOrDividends) {
  setResidency(2);
  number(kFormID_PAScheduleA, kPAScheduleAFieldIds.byNumber(155736), 100);
  number(kFormID_PAScheduleB, kPAScheduleBFieldIds.byNumber(155775), 20);
  run();
  EXPECT_EQ(amount(140), 0);
  EXPECT_FALSE(isNull(140));
  EXPECT_EQ(amount(141), 0);
  EXPECT_TRUE(isNull(46956));  // not touched
  EXPECT_EQ(amount(170), 0);
}

// ---- Joint class netting (lines 2, 5, 9) ----

TEST_F(PA40Test, BusinessIncomeNetting) {
  struct Case {
    int status;
    double taxpayer, spouse;
    double netBusiness;
    bool lossKeptApart;
    const char* lossText;
    double gross;
  };
  const Case cases[] = {
      {2, 5000, -2000, 5000, true, "N", 5000},     // the spouse's loss is dropped
      {2, -2000, 5000, 5000, true, "N", 5000},
      {2, -1000, -500, -1500, false, "Y", 0},      // a loss adds nothing to gross
      {2, 3000, 2000, 5000, false, "N", 5000},
      {1, 5000, -2000, 5000, false, "N", 5000},    // not joint: the taxpayer's alone
      {1, -100, 0, -100, false, "Y", 0},
  };
  for (const Case& c : cases) {
    restart();
    setFilingStatus(c.status);
    scheduleC(1, false, c.taxpayer);
    scheduleC(2, true, c.spouse);
    run();
    SCOPED_TRACE(testing::Message() << c.status << ": " << c.taxpayer << ", " << c.spouse);
    EXPECT_EQ(amount(292), c.taxpayer);
    EXPECT_EQ(amount(143), c.netBusiness);
    EXPECT_EQ(marked(404), c.lossKeptApart);
    EXPECT_EQ(markedNo(404), !c.lossKeptApart);
    EXPECT_EQ(textOf(274), c.lossText);
    EXPECT_EQ(amount(170), c.gross);
  }
}

TEST_F(PA40Test, ScheduleCCopiesNeedTheInclusionMark) {
  scheduleC(1, false, 1000);
  mark(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56181), 2);
  number(kFormID_PAScheduleC, kPAScheduleCFieldIds.byNumber(56306), 400, 2);
  run();
  EXPECT_EQ(amount(286), 1000);
}

TEST_F(PA40Test, SalesGainNettingOnAJointReturn) {
  setFilingStatus(2);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), 400, 1);
  number(kFormID_PAScheduleD, kPAScheduleDFieldIds.byNumber(105), -100, 2);
  run();
  EXPECT_EQ(amount(145), 400);
  EXPECT_TRUE(marked(405));
  EXPECT_EQ(textOf(275), "N");
}

// ---- Business amounts opened by federal sources ----

TEST_F(PA40Test, EnteredBusinessAmountsOpenBesideTheirSources) {
  run();
  for (int field : {56130, 288, 289}) EXPECT_TRUE(isProtected(field)) << field;
  EXPECT_TRUE(markedNo(285));

  restart();
  setFilingStatus(1);
  federal()->setCommonItem(50, 10);
  mark(kFormID_Fed51, kFed51FieldIds.byNumber(366), 1);
  copyOf(kFormID_Fed51, 2);
  mark(kFormID_Fed51, kFed51FieldIds.byNumber(367), 3);  // the spouse's: skipped
  number(kFormID_State18, kState16To18FieldIds[112], 5);  // host field 101
  enter(56130, 100);
  enter(288, 200);
  enter(290, 300);
  enter(291, 400);
  run();
  EXPECT_EQ(amount(56128), 10);
  EXPECT_FALSE(isProtected(56130));
  EXPECT_EQ(amount(284), 2);
  EXPECT_FALSE(isProtected(288));  // N1
  EXPECT_FALSE(isProtected(289));  // N2
  EXPECT_FALSE(isProtected(290));
  EXPECT_TRUE(isNull(291));        // not joint
  EXPECT_TRUE(marked(285));
  EXPECT_EQ(amount(292), 600);
  EXPECT_EQ(amount(332), 200);
  EXPECT_EQ(amount(333), 300);
}

// ---- Rents and royalties (line 9) ----

TEST_F(PA40Test, JointlyOwnedRentsAreHalvedOnAJointReturn) {
  setFilingStatus(2);
  setResidency(0);
  scheduleE(1, 26, 1001);
  run();
  EXPECT_EQ(amount(297), 501);
  EXPECT_EQ(amount(298), 500);
  EXPECT_EQ(amount(147), 1001);

  restart();
  setFilingStatus(1);
  setResidency(0);
  scheduleE(1, 26, 1001);
  scheduleE(2, 18, 40);
  run();
  EXPECT_EQ(amount(297), 40);
  EXPECT_TRUE(isNull(298));
}

TEST_F(PA40Test, ScheduleEWalkGoesOnPastAMissingCopy) {
  setResidency(0);
  scheduleE(1, 18, 100);
  scheduleE(3, 18, 1000);
  run();
  EXPECT_EQ(amount(297), 1100);
}

TEST_F(PA40Test, PartYearResidentTakesOnlySelectedScheduleECopies) {
  setResidency(1);
  scheduleE(1, 18, 100);
  scheduleE(2, 18, 1000);
  mark(kFormID_PAScheduleE, kPAScheduleEFieldIds.byNumber(21669), 2);
  number(kFormID_PAScheduleE, kPAScheduleEFieldIds.byNumber(221), 7);  // copy 1's own line
  run();
  EXPECT_EQ(amount(297), 1007);
}

TEST_F(PA40Test, ThirdRentsAmountsOpenBesideMarkedFederalScheduleC) {
  setFilingStatus(2);
  copyOf(kFormID_PAScheduleC, 1);
  mark(kFormID_FedScheduleC, kFedScheduleCFieldIds.byNumber(51517), 1);
  enter(52352, 250);
  enter(52353, -50);
  run();
  EXPECT_EQ(amount(52351), 1);
  EXPECT_FALSE(isProtected(52352));
  EXPECT_FALSE(isProtected(52353));
  EXPECT_TRUE(isProtected(299));
  EXPECT_EQ(amount(147), 250);  // the spouse's loss is kept apart
  EXPECT_TRUE(marked(406));
}

// ---- Totals and tax ----

TEST_F(PA40Test, TaxIsTheRateOnNetTaxableIncome) {
  w2(1, 10000, 0);
  run();
  EXPECT_EQ(amount(170), 10000);
  EXPECT_EQ(amount(172), 10000);
  EXPECT_EQ(amount(173), 307);
}

// Classes never offset each other: interest, dividends or estate income
// below 0 stays on its line and takes nothing off the wages.
TEST_F(PA40Test, ClassesBelowZeroAddNothingToGrossTaxableIncome) {
  const struct {
    const FormId* form;
    const FieldId* field;
    int line;
  } kClasses[] = {
      {&kFormID_PAScheduleA, &kPAScheduleAFieldIds.byNumber(155736), 140},
      {&kFormID_PAScheduleB, &kPAScheduleBFieldIds.byNumber(155775), 141},
      {&kFormID_PAScheduleJ, &kPAScheduleJFieldIds.byNumber(42), 148},
  };
  for (const auto& c : kClasses) {
    w2(1, 10000, 0);
    number(*c.form, *c.field, -500);
    run();
    EXPECT_EQ(amount(c.line), -500) << c.line;
    EXPECT_EQ(amount(170), 10000) << c.line;
    EXPECT_EQ(amount(173), 307) << c.line;
    restart();
  }
}

TEST_F(PA40Test, DeductionsAboveGrossLeaveNoTax) {
  w2(1, 10000, 0);
  number(kFormID_PADeductions, kPADeductionsFieldIds.byNumber(36571), 12000);
  text(kFormID_PADeductions, kPADeductionsFieldIds.byNumber(36878), "M");
  run();
  EXPECT_EQ(amount(36093), 12000);
  EXPECT_EQ(textOf(36092), "M");
  EXPECT_EQ(amount(172), 0);
  EXPECT_EQ(amount(173), 0);
}

TEST_F(PA40Test, NoDeductionsGiveCodeN) {
  enter(36093, 500);  // from an earlier run
  run();
  EXPECT_TRUE(isNull(36093));
  EXPECT_EQ(textOf(36092), "N");
}

TEST_F(PA40Test, EstatesLessDeductionsUsesThePreviousRunsDeductions) {
  number(kFormID_PAScheduleJ, kPAScheduleJFieldIds.byNumber(42), 1000);
  number(kFormID_PAW2GIncome, kPAW2GIncomeFieldIds.byNumber(11774), 50);
  number(kFormID_PADeductions, kPADeductionsFieldIds.byNumber(36571), 100);
  run();
  EXPECT_EQ(amount(148), 1000);
  EXPECT_EQ(amount(169), 50);
  EXPECT_EQ(amount(334), 1050);
  run();
  EXPECT_EQ(amount(334), 950);
  EXPECT_EQ(amount(170), 1050);
  EXPECT_EQ(amount(172), 950);
}

}  // namespace
