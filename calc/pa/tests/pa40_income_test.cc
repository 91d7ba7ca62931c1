// The PA-40's frame, header, income classes and tax (the golden returns
// hold a foreign address).
#include "calc/pa/tests/pa40_fixture.h"

namespace {

using PADataMgmt::kFilingJoint;
using PADataMgmt::kFilingSingle;

// The copy ends up data-entered and calculated; an empty holder is ignored.
// Schedule W2-S runs a second time only when its first run changed
// something (the recording stub changes nothing).
TEST_F(PA40Test, MarksTheCopyEntered) {
  copyOf(kFormID_PAScheduleW2S);
  run();
  EXPECT_EQ(calcCalls(kFormID_PAScheduleW2S), 1);
  EXPECT_TRUE(entered(kFormID_PA40));
  engine->computePA40(DataMgmt::TaxFormPtr(), 2, 1);
  EXPECT_FALSE(pa->formExists(kFormID_PA40, 2));
}

TEST_F(PA40Test, ScheduleUENetSplitsIntoExcessAndExpensesCutToGross) {
  const struct {
    double net, excess, expenses;
    bool limited;
  } kCases[] = {{-300, 300, 0, false}, {300, 0, 300, false}, {7000, 0, 1000, true}};
  for (const auto& c : kCases) {
    restart();
    w2(1, 1000, 0);
    scheduleUE(1, false, c.net);
    copyOf(kFormID_PAScheduleUE, 3);  // neither owner box: adds nothing
    number(kFormID_PAScheduleUE, PAScheduleUE::kNetExpenses, 5000, 3);
    run();
    EXPECT_EQ(amount(PA40::kTaxpayerUEExcess), c.excess) << c.net;
    EXPECT_EQ(amount(PA40::kTaxpayerExpenses), c.expenses) << c.net;
    EXPECT_EQ(marked(PA40::kTaxpayerExpensesLimitedBox), c.limited) << c.net;
    EXPECT_EQ(amount(PA40::kNetCompensation), 1000 + c.excess - c.expenses) << c.net;
  }
}

// A W-2 entered with negative wages never makes line 1b negative, with no
// Schedule UE or with one whose expenses it cuts to 0.
TEST_F(PA40Test, NegativeWagesLeaveLine1bAtZero) {
  const struct {
    double net;
    bool limited;
  } kCases[] = {{0, false}, {300, true}};
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(kFilingJoint);
    w2(1, -55000, 38500);
    if (c.net != 0) scheduleUE(1, false, c.net);
    run();
    EXPECT_EQ(amount(PA40::kUnreimbursedExpenses), 0) << c.net;
    EXPECT_EQ(marked(PA40::kTaxpayerExpensesLimitedBox), c.limited) << c.net;
    EXPECT_EQ(amount(PA40::kNetCompensation), 0) << c.net;  // 1a is -16,500
  }
}

// Added expenses entered below 0 never make line 1b negative (the spouse
// of joint_spouse_home_office_move.txt with -6,000 added to her 5,100).
TEST_F(PA40Test, NegativeAddedExpensesLeaveLine1bAtZero) {
  setFilingStatus(kFilingJoint);
  w2(1, 52000, 48000);
  scheduleUE(1, true, 5100);
  number(kFormID_PAScheduleUE, PAScheduleUE::kSpouseScheduleFlag, 1);
  enter(PA40::kSpouseAddedExpenses, -6000);
  run();
  EXPECT_EQ(amount(PA40::kUnreimbursedExpenses), 0);
  EXPECT_EQ(amount(PA40::kNetCompensation), 100000);
}

TEST_F(PA40Test, AddedExpensesOpenOnlyBesideTheirPersonsScheduleUE) {
  enter(PA40::kTaxpayerAddedExpenses, 50);
  run();
  EXPECT_TRUE(isNull(PA40::kTaxpayerAddedExpenses) && isProtected(PA40::kTaxpayerAddedExpenses));
  EXPECT_TRUE(markedNo(PA40::kAddedExpensesYesBox) && markedNo(PA40::kAddedExpensesNoBox));
  // Beside the taxpayer's copy only, the spouse's added expenses close.
  number(kFormID_PAScheduleUE, PAScheduleUE::kTaxpayerScheduleFlag, 1);
  enter(PA40::kSpouseAddedExpenses, 30);
  run();
  EXPECT_FALSE(isProtected(PA40::kTaxpayerAddedExpenses));
  EXPECT_TRUE(isNull(PA40::kSpouseAddedExpenses) && isProtected(PA40::kSpouseAddedExpenses));
}

// A joint return adds the spouses' amounts of a class when they share a
// sign; a loss against a gain is kept apart. Any other return takes the
// taxpayer's amount alone.
TEST_F(PA40Test, BusinessIncomeNetting) {
  const struct {
    int status;
    double taxpayer, spouse, net;
    bool keptApart;
    const char* lossText;
  } kCases[] = {
      {kFilingJoint, 5000, -2000, 5000, true, "N"},   {kFilingJoint, -2000, 5000, 5000, true, "N"},
      {kFilingJoint, -1000, -500, -1500, false, "Y"}, {kFilingJoint, 3000, 2000, 5000, false, "N"},
      {kFilingSingle, 5000, -2000, 5000, false, "N"}, {kFilingSingle, -100, 0, -100, false, "Y"}
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    scheduleC(1, false, c.taxpayer);
    scheduleC(2, true, c.spouse);
    mark(kFormID_PAScheduleC, PAScheduleC::kTaxpayerBox, 3);  // not included on the return
    number(kFormID_PAScheduleC, PAScheduleC::kNetProfit, 400, 3);
    run();
    SCOPED_TRACE(testing::Message() << c.status << ": " << c.taxpayer << ", " << c.spouse);
    EXPECT_EQ(amount(PA40::kTaxpayerBusinessIncome), c.taxpayer);
    EXPECT_EQ(amount(PA40::kBusinessIncome), c.net);
    EXPECT_EQ(marked(PA40::kBusinessLossKeptApartBox), c.keptApart);
    EXPECT_EQ(textOf(PA40::kBusinessLossText), c.lossText);
    EXPECT_EQ(amount(PA40::kTotalTaxableIncome), c.net > 0 ? c.net : 0);
  }
}

// The PA-40 keeps what it read from every copy of a schedule only while no
// copy changes: a changed amount, a new copy and a changed owner all count.
TEST_F(PA40Test, RunsAgainSeeEveryChangeOfTheCopiesTheyRead) {
  setFilingStatus(kFilingJoint);
  scheduleC(1, false, 1000);
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerBusinessIncome), 1000);
  number(kFormID_PAScheduleC, PAScheduleC::kNetProfit, 2500, 1);
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerBusinessIncome), 2500);
  scheduleC(2, false, 500);
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerBusinessIncome), 3000);
  put(kFormID_PAScheduleC, PAScheduleC::kTaxpayerBox, DataMgmt::FieldValue::null(), 2);
  mark(kFormID_PAScheduleC, PAScheduleC::kSpouseBox, 2);
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerBusinessIncome), 2500);
  EXPECT_EQ(amount(PA40::kSpouseBusinessIncome), 500);
}


// The business income a K-1 passes through is entered beside it, on the
// side of the person whose K-1 it is, for a partnership (federal form 51)
// and an S corporation (federal form 89) alike. A return that is not joint
// has no spouse: a K-1 without an owner mark is the taxpayer's.
TEST_F(PA40Test, EachPersonsK1OpensThatPersonsBusinessAmount) {
  const struct {
    int status;
    const FormId* k1;
    const FieldId* ownerBox;  // none: no owner mark
    bool taxpayerOpen, spouseOpen;
    double line4;
  } kCases[] = {
      {kFilingJoint, &kFormID_Fed89, &Fed89::kSpouseBox.id(), false, true, 5500},
      {kFilingJoint, &kFormID_Fed51, &Fed51::kSpouseBox.id(), false, true, 5500},
      {kFilingJoint, &kFormID_Fed89, &Fed89::kTaxpayerBox.id(), true, false, 1000},
      {kFilingJoint, &kFormID_Fed51, &Fed51::kTaxpayerBox.id(), true, false, 1000},
      {kFilingSingle, &kFormID_Fed89, nullptr, true, false, 1000},
      {kFilingSingle, &kFormID_Fed51, nullptr, true, false, 1000},
  };
  for (const auto& c : kCases) {
    restart();
    setFilingStatus(c.status);
    copyOf(*c.k1);
    if (c.ownerBox != nullptr) mark(*c.k1, *c.ownerBox);
    enter(PA40::kTaxpayerRK1BusinessIncome, 1000);
    enter(PA40::kSpouseRK1BusinessIncome, 5500);
    run();
    SCOPED_TRACE(testing::Message() << c.status << " " << c.k1->getNumber() << " " << (c.ownerBox != nullptr));
    EXPECT_EQ(closed(kFormID_PA40, PA40::kTaxpayerRK1BusinessIncome), !c.taxpayerOpen);
    EXPECT_EQ(closed(kFormID_PA40, PA40::kSpouseRK1BusinessIncome), !c.spouseOpen);
    EXPECT_EQ(amount(PA40::kBusinessIncome), c.line4);
  }
}
TEST_F(PA40Test, RentsFromScheduleE) {
  setFilingStatus(kFilingJoint);
  setResidency(PADataMgmt::kFullYearResident);
  scheduleE(1, PAScheduleE::kJointOwnerBox, 1001);   // halved, the spouse taking the rest
  scheduleE(3, PAScheduleE::kTaxpayerOwnerBox, 40);  // past a missing copy
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerRents), 541);
  EXPECT_EQ(amount(PA40::kSpouseRents), 500);
  restart();
  setResidency(PADataMgmt::kPartYearResident);
  scheduleE(1, PAScheduleE::kTaxpayerOwnerBox, 100);
  scheduleE(2, PAScheduleE::kTaxpayerOwnerBox, 1000);
  mark(kFormID_PAScheduleE, PAScheduleE::kTaxableForPAYesBox, 2);  // only selected copies
  number(kFormID_PAScheduleE, PAScheduleE::kTaxpayerSecondRK1Income, 7);
  run();
  EXPECT_EQ(amount(PA40::kTaxpayerRents), 1007);
}

// Classes never offset each other, and a line without a loss oval (2, 3, 7,
// 8) shows 0 for a schedule total below 0, which the schedule keeps.
TEST_F(PA40Test, ClassesBelowZeroAddNothingToGrossTaxableIncome) {
  const struct {
    const FormId* form;
    const FieldId& field;
    const FieldId& line;
  } kClasses[] = {
      {&kFormID_PAScheduleA, PAScheduleA::kTotalInterest, PA40::kInterestIncome},
      {&kFormID_PAScheduleB, PAScheduleB::kTotalDividends, PA40::kDividendIncome},
      {&kFormID_PAScheduleJ, PAScheduleJ::kTotalIncome, PA40::kEstateTrustIncome},
      {&kFormID_PAW2GIncome, PAW2GIncome::kNetWinnings, PA40::kGamblingWinnings}
  };
  for (const auto& c : kClasses) {
    restart();
    w2(1, 10000, 0);
    number(*c.form, c.field, -500);
    run();
    EXPECT_EQ(amount(c.line), 0) << c.line;
    EXPECT_EQ(valueOf(*c.form, c.field), -500) << c.line;
    EXPECT_EQ(amount(PA40::kTotalTaxableIncome), 10000) << c.line;
    EXPECT_EQ(amount(PA40::kTaxLiability), 307) << c.line;
  }
}

// Each person's interest and dividends follow the residency on every run:
// a return changed to nonresident keeps none of the resident's amounts.
TEST_F(PA40Test, PerPersonInterestAndDividendsOfANonresident) {
  const FieldId* const kPerPerson[] = {&PA40::kTaxpayerInterest.id(), &PA40::kSpouseInterest.id(),
                                       &PA40::kTaxpayerDividends.id(), &PA40::kSpouseDividends.id()};
  setFilingStatus(PADataMgmt::kFilingJoint);
  for (uint16_t copy : {1, 2}) {
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 400 + copy, copy);
    number(kFormID_PAScheduleB, PAScheduleB::kTotalDividends, 600 + copy, copy);
  }
  run();
  EXPECT_EQ(amount(*kPerPerson[1]), 402);
  EXPECT_EQ(amount(*kPerPerson[2]), 601);
  setResidency(PADataMgmt::kNonresident);
  run();
  for (const FieldId* field : kPerPerson) EXPECT_EQ(amount(*field), 0) << *field;
  EXPECT_EQ(amount(PA40::kInterestIncome) + amount(PA40::kDividendIncome), 0);
}

// Each person's interest and dividends follow the floor of lines 2 and 3:
// a loss (a negative amount passed through on an RK-1) shows as 0 and is
// taken off the other person's amount, as off the line.
TEST_F(PA40Test, PerPersonInterestAndDividendsNeverBelowZero) {
  const struct {
    double taxpayer, spouse, taxpayerShown, spouseShown, line;
  } kCases[] = {
      {-500, 0, 0, 0, 0}, {-500, 300, 0, 0, 0}, {-100, 300, 0, 200, 200}, {400, -150, 250, 0, 250},
      {400, 300, 400, 300, 700},
  };
  const struct {
    const FormId* schedule;
    const FieldId& total;
    const FieldId& taxpayer;
    const FieldId& spouse;
    const FieldId& line;
  } kLines[] = {
      {&kFormID_PAScheduleA, PAScheduleA::kTotalInterest, PA40::kTaxpayerInterest, PA40::kSpouseInterest,
       PA40::kInterestIncome},
      {&kFormID_PAScheduleB, PAScheduleB::kTotalDividends, PA40::kTaxpayerDividends, PA40::kSpouseDividends,
       PA40::kDividendIncome},
  };
  for (const auto& line : kLines) {
    for (const auto& c : kCases) {
      restart();
      setFilingStatus(PADataMgmt::kFilingJoint);
      number(*line.schedule, line.total, c.taxpayer, 1);
      number(*line.schedule, line.total, c.spouse, 2);
      run();
      SCOPED_TRACE(testing::Message() << line.line << ": " << c.taxpayer << ", " << c.spouse);
      EXPECT_EQ(amount(line.taxpayer), c.taxpayerShown);
      EXPECT_EQ(amount(line.spouse), c.spouseShown);
      EXPECT_EQ(amount(line.line), c.line);
    }
  }
}

// A spouse counts as deceased only when the information form also says the
// spouse died in the year; a filer no longer marked keeps no date or "Y".
TEST_F(PA40Test, DeceasedTextsAndDatesFollowTheMarks) {
  infoMark(PAReturnInfo::kTaxpayerDeceasedBox);
  infoMark(PAReturnInfo::kSpouseDeceasedBox);
  text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerDeathDate, "3/7/2018");
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpouseDeathDate, "11/22/2018");
  runHeader();
  EXPECT_EQ("Y", textOf(PA40::kDeceasedText));
  EXPECT_EQ("03/07/18", textOf(PA40::kTaxpayerDateOfDeath));
  EXPECT_EQ("N", textOf(PA40::kSpouseDeceasedText));
  EXPECT_TRUE(isNull(PA40::kSpouseDateOfDeath));

  infoMark(PAReturnInfo::kSpouseDiedInYearBox);
  runHeader();
  EXPECT_EQ("11/22/18", textOf(PA40::kSpouseDateOfDeath));

  for (const FieldId* box :
       {&PAReturnInfo::kTaxpayerDeceasedBox.id(), &PAReturnInfo::kSpouseDeceasedBox.id()}) {
    put(kFormID_PAReturnInfo, *box, DataMgmt::FieldValue::no());
  }
  runHeader();
  EXPECT_EQ("N", textOf(PA40::kDeceasedText));
  EXPECT_EQ("N", textOf(PA40::kTaxpayerDeceasedText));
  EXPECT_TRUE(isNull(PA40::kTaxpayerDateOfDeath) && isNull(PA40::kSpouseDateOfDeath));
}

// The school district code: the leading number of the entry, five digits.
TEST_F(PA40Test, SchoolDistrictCode) {
  const struct {
    const char *entry, *code;
  } kCodes[] = {{"987", "00987"}, {"", "00000"}, {"12345 YORK", "12345"}, {"ABC", "00000"}};
  for (const auto& c : kCodes) {
    infoText(PAReturnInfo::kSchoolCode, c.entry);
    runHeader();
    EXPECT_EQ(c.code, textOf(PA40::kSchoolDistrictCode)) << c.entry;
  }
}

}  // namespace
