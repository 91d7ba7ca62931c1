// The rule routines of PA Schedules C, D, E, J, G-L, OC, SP, UE and the
// Schedule D worksheet: what each reports for an empty copy, and the
// answers, codes and fields of their rules, case by case (their texts are
// pinned by the golden audits).
// NOLINTBEGIN(build/namespaces): each test reads its own form's fields.
#include <string>
#include <vector>

#include "audit/tests/audit_fixture.h"

namespace audit_test {
namespace {

const Entry kPartYear = on(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox, marked());

class ScheduleRulesTest : public RuleTest {};

// An empty copy of a full-year resident's return: how many times each
// routine reports (whatever the class), every answer false. Schedules D
// and J without their total, Schedule UE without its amount and the local
// return without its entry report nothing.
TEST_F(ScheduleRulesTest, EmptyCopiesReportEachRuleOnceAnsweringFalse) {
  const struct {
    Rule rule;
    const FormId* form;
    int reports;
  } forms[] = {{&P::auditScheduleSP, &kFormID_PAScheduleSP, 23},
               {&P::auditScheduleOC, &kFormID_PAScheduleOC, 24},
               {&P::auditScheduleDWorksheet, &kFormID_PAScheduleDWorksheet, 8},
               {&P::auditScheduleC, &kFormID_PAScheduleC, 9},
               {&P::auditScheduleE, &kFormID_PAScheduleE, 6},
               {&P::auditScheduleGL, &kFormID_PAScheduleGL, 13},
               {&P::auditMiscCompensation, &kFormID_PAMiscCompWorksheet, 8},
               {&P::auditInterestDividendWorksheet, &kFormID_PAInterestDividendWorksheet, 4},
               {&P::auditScheduleA, &kFormID_PAScheduleA, 2},
               {&P::auditScheduleO, &kFormID_PADeductions, 1},
               {&P::auditScheduleD, &kFormID_PAScheduleD, 0},
               {&P::auditScheduleJ, &kFormID_PAScheduleJ, 0},
               {&P::auditScheduleUE, &kFormID_PAScheduleUE, 0},
               {&P::auditLocalEarnedIncomeTax, &kFormID_PALocalIncomeTaxReturn, 0}};
  for (const auto& f : forms) {
    const std::vector<Seen> seen = run(f.rule, *f.form, 1, kAll);
    EXPECT_EQ(static_cast<int>(seen.size()), f.reports) << f.form->getNumber();
    EXPECT_EQ(trueCount(seen), 0) << f.form->getNumber();
  }
}

// Schedules C, D, E, J and G-L are pinned case by case by the golden
// audits of returns/rule_triggers.txt and returns/rule_boundaries.txt. The
// line A rule of Schedule C depends on the calculation's mark of the copy.
TEST_F(ScheduleRulesTest, ScheduleCLineAOnlyOnCalculatedCopies) {
  using namespace PAScheduleC;
  const char kLineA[] = "You must supply both the \"Main Business Activity\"";
  text(kFormID_PAScheduleC, kMainBusinessActivity, "Farming");
  EXPECT_TRUE(with(run(&P::auditScheduleC, kFormID_PAScheduleC, 1, kEF), kLineA).empty());
  holder(kFormID_PAScheduleC, 1)->setCalcMark(true);
  EXPECT_TRUE(one(run(&P::auditScheduleC, kFormID_PAScheduleC, 1, kOrd), kLineA).answer);
  text(kFormID_PAScheduleC, kProductOrService, "Apples");
  EXPECT_FALSE(one(run(&P::auditScheduleC, kFormID_PAScheduleC, 1, kEF), kLineA).answer);
}

// PA Schedule E copy p stands for the p-th federal rental source (every
// federal Schedule E copy, then every Form 4835 copy). Copy 1 names the
// sources the host's copy limit left without a copy, whose rents are not on
// line 6; other copies do not report it.
TEST_F(ScheduleRulesTest, ScheduleENamesTheRentalsLeftWithoutACopy) {
  const char kLeftOut[] = "PA Schedule E holds at most 999 copies";
  const struct {
    std::vector<uint16_t> scheduleE, form4835;
    int paCopies;
    const char* named;  // "": nothing left out
  } kCases[] = {
      {{1, 2, 3}, {1}, 4, ""},
      {{1, 2, 3}, {1}, 3, " (Form 4835 copy 1)."},
      {{1, 2, 4, 5, 6, 9}, {2, 3}, 2, " (federal Schedule E copies 4 to 6, 9 and Form 4835 copies 2 to 3)."},
      {{1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 20}, {}, 1,
       " (federal Schedule E copies 3, 5, 7, 9, 11, 13, 15, 17 and 2 more)."},
  };
  for (const auto& c : kCases) {
    SetUp();
    for (uint16_t copy : c.scheduleE) holder(kFormID_FedScheduleE, copy);
    for (uint16_t copy : c.form4835) holder(kFormID_FedFarmRental, copy);
    for (int copy = 1; copy <= c.paCopies; ++copy) holder(kFormID_PAScheduleE, static_cast<uint16_t>(copy));
    const Seen seen = one(run(&P::auditScheduleE, kFormID_PAScheduleE, 1, kOrd), kLeftOut);
    SCOPED_TRACE(c.named);
    EXPECT_EQ(seen.answer, c.named[0] != '\0');
    EXPECT_EQ(seen.code, 3);
    EXPECT_EQ(seen.text,
              std::string(kLeftOut) + ", one for each property: line 6 leaves out the rents and royalties of "
                                      "the properties without one" + (c.named[0] != '\0' ? c.named : "."));
    EXPECT_TRUE(with(run(&P::auditScheduleE, kFormID_PAScheduleE, 2, kOrd), kLeftOut).empty());
  }
}

TEST_F(ScheduleRulesTest, ScheduleOC) {
  using namespace PAScheduleOC;
  const char kW[] = "attach a completed Schedule W";
  const char kCertified[] = "attach a copy of your PA Department of Revenue";
  const char kRestricted[] = "you must send documents supporting your restricted";
  const std::vector<Entry> credits = {e(kEmploymentIncentiveCredit, amount(100)),
                                      e(kJobCreationCredit, amount(100)),
                                      e(kRestrictedCredits, amount(100))};
  // clang-format off
  runCases(&P::auditScheduleOC, kFormID_PAScheduleOC, {
      {"credits", 1, kList, credits, {{kW, kYes}, {kCertified, kYes}, {kRestricted, kYes}}},
      {"credits, e-file", 1, kEList, credits, {{kW, kNo}, {kCertified, kNo}, {kRestricted, kNo}}},
      {"row 2, e-file", 1, kEList, {e(kJobCreationCredit, amount(40))}, {{kCertified, kNo}}},
      {"row 5, e-file", 1, kEList, {e({kCreditAmount, 4}, amount(40))}, {{kCertified, kYes}}},
      {"negative amounts", 1, kList,
       {e({kCreditAmount, 18}, amount(-40)), e(kJobCreationCredit, amount(-1))},
       {{kCertified, kNo}}},
      // Each partly filled row: row 2 an amount only, row 5 no tax ID.
      {"partly filled rows", 1, kOrd, {e(kJobCreationCredit, amount(300)),
       e({kCreditDescriptionCode, 4}, textOf("AB")), e({kCreditAmount, 4}, amount(150))},
       {}, 21, 2},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleSP) {
  using namespace PAScheduleSP;
  const char kMarried[] = "You must further indicate your filing status by checking one";
  const char kUnmarried[] = "You must further indicate your filing status by checking either";
  const char kNegative[] = "You cannot e-filed tax returns whose eligibility income";
  const char kOutside[] = "You must enter in Part C - Eligibility Income, line 6";
  const char kSpouse[] = "You must include your spouse's name";
  const std::vector<Entry> boxes = {e(kMarriedBox, marked()), e(kUnmarriedBox, marked()),
                                    e(kUnmarriedNotClaimedBox, marked())};
  const Entry forgiven = e(kTaxForgiveness, amount(300));
  const std::vector<Entry> spouse = {e(kSpouseFirstName, textOf("Pat")),
                                     e(kSpouseLastName, textOf("Doe")),
                                     e(kMarriedBox, marked(), 2)};
  std::vector<Entry> spouseNumber = spouse;
  spouseNumber.push_back(e(kSpouseSSN, textOf("987-65-4321"), 2));
  // clang-format off
  runCases(&P::auditScheduleSP, kFormID_PAScheduleSP, {
      {"married", 1, kOrd, boxes, {{kMarried, kYes, 7, kMarriedJointBox.number()},
                                   {kUnmarried, kNo}}},
      {"married, other box", 1, kOrd, {boxes[0], e(kMarriedOtherBox, marked())}, {{kMarried, kNo}}},
      {"negative line 1", 1, kEF, {e(kPA40Income, amount(-1))}, {{kNegative, kYes, 6}}},
      {"zero spouse line 10", 1, kEF, {e(kSpouseTenthEligibilityIncome, amount(0))},
       {{kNegative, kNo}}},
      {"outside income", 1, kEF, {forgiven, kPartYear, e(kSpouseIncomeOutsidePA, amount(150))},
       {{kOutside, kNo}}},
      // A second copy reads presence on copy 1 and boxes on its own copy.
      {"second copy", 2, kOrd, spouseNumber, {{kSpouse, kNo}}},
      {"second copy, no number", 2, kOrd, spouse, {{kSpouse, kYes, -1, kSpouseFirstName.number()}}},
  });
  // clang-format on
  // The negative-income refusal is stored, its trailing blank kept.
  SetUp();
  armRefusalRecord();
  put(kFormID_PAScheduleSP, kSpouseIncomeOutsidePA, amount(-1));
  run(&P::auditScheduleSP, kFormID_PAScheduleSP, 1, kEF);
  EXPECT_EQ(refusalText(),
            "You cannot e-filed tax returns whose eligibility income calculation in PA Schedule "
            "SP, Part C includes any negative number. .");
  // Listed dependents must be complete (the third is not listed); beyond
  // four (not at four), all four rows are examined and the worksheet is
  // asked for.
  const char kDependents[] = "You must enter the name, age, relationship, and social security";
  const char kWorksheet[] = "you must attach a copy of your Federal Dependent";
  std::vector<Entry> two = {e(kDependentCount, amount(2)),
                            e({kDependentRelationship, 2}, textOf("Son"))};
  for (int k = 0; k < 2; ++k) {
    for (AnyNamedField field : {AnyNamedField(kDependentName, k), AnyNamedField(kDependentAge, k),
                                AnyNamedField(kDependentRelationship, k), AnyNamedField(kDependentSSN, k)}) {
      two.push_back(e(field, textOf("7")));
    }
  }
  std::vector<Entry> four = two, five = two, noNumber = two;
  four.push_back(e(kDependentCount, amount(4)));
  five.push_back(e(kDependentCount, amount(5)));
  noNumber.push_back(e({kDependentSSN, 1}, DataMgmt::FieldValue::null()));
  // Both spouses claimed, dependents claimed for the first time: attachments
  // answer false in an e-file audit, the refusals of the same data do not.
  std::vector<Entry> claimed = {e(kDependentCount, amount(6)),
                                e(kTwoColumnTaxForgiveness, amount(10))};
  for (const NamedField<PAScheduleSPFieldIds>* box :
       {&kTaxpayerClaimedYesBox, &kTaxpayerClaimantYesBox, &kSpouseClaimedYesBox,
        &kSpouseClaimantYesBox, &kNewDependentsYesBox, &kFederalPageOneYesBox}) {
    claimed.push_back(e(*box, marked()));
  }
  // clang-format off
  runCases(&P::auditScheduleSP, kFormID_PAScheduleSP, {
      {"two listed", 1, kEF, two, {{kDependents, kNo, 6, 0}}},
      {"two listed, one without number", 1, kEF, noNumber, {{kDependents, kYes}}},
      {"five listed", 1, kEF, five, {{kDependents, kYes}}},
      {"four listed, listing", 1, kList, four, {{kWorksheet, kNo}}},
      {"five listed, listing", 1, kList, five, {{kWorksheet, kYes}}},
      {"claimed", 1, kList, claimed, {}, -1, 5},
      {"claimed, e-file listing", 1, kEList, claimed, {}, -1, 0},
      {"claimed, e-file", 1, kEF, claimed,
       {{"This program does not support electronic filing for married", kYes},
        {"You can't e-file, since it's the first time", kYes}}},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleUE) {
  using namespace PAScheduleUE;
  const char kLimit[] = "More than 4 copies of PA Schedule UE";
  const char kEIN[] = "The employer ID number (EIN) you entered on Schedule UE";
  const char kMoving[] = "You may only deduct moving expenses";
  const Entry claim = e(kNetExpenses, amount(900));  // a copy is audited when not 0
  const Entry w2[] = {on(kFormID_FedW2, FedW2::kEmployerId, textOf("11-1111111")),
                      on(kFormID_FedW2, FedW2::kEmployerId, textOf("23-4567890"), 2)};
  const Entry moving = e(kMovingExpenses, amount(2000));
  const Entry nonresident = on(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox, marked());
  // clang-format off
  runCases(&P::auditScheduleUE, kFormID_PAScheduleUE, {
      {"no amount, copy 5", 5, kEF, {}, {}, 0},
      {"copy 5", 5, kEF, {e(kNetExpenses, amount(9), 5)}, {{kLimit, kYes}}},
      {"EIN of a W-2", 1, kEF, {claim, w2[0], w2[1], e(kEmployerEIN, textOf("23-4567890"))},
       {{kEIN, kNone}}},
      {"EIN of no W-2", 1, kEF, {claim, w2[0], w2[1], e(kEmployerEIN, textOf("23-456789"))},
       {{kEIN, kYes, 4, kEmployerEIN.number()}}},
      {"no EIN, empty W-2", 1, kEF, {claim, on(kFormID_FedW2, FedW2::kEmployerId, kEmpty, 3)},
       {{kEIN, kNo}}},
      {"attachments", 1, kList, {claim, nonresident, kPartYear, e(kSecondVehicleCost, amount(5)),
       e(kOfficeExpenses, amount(300)), e(kOfficeOtherApportionable, amount(40))}, {}, -1, 4},
      {"attachments, e-file", 1, kEList, {claim, nonresident, e(kSecondVehicleCost, amount(5))},
       {}, -1, 0},
      // The whole EIN is compared, however long.
      {"EIN longer than 19", 1, kEF, {claim, on(kFormID_FedW2, FedW2::kEmployerId,
       textOf("23-45678901234567890")), e(kEmployerEIN, textOf("23-45678901234567899"))},
       {{kEIN, kYes}}},
  });
  // clang-format on
  // The moving refusal (34 miles) has no note and is stored.
  SetUp();
  armRefusalRecord();
  for (const Entry& entry : {claim, moving, e(kMovingDistance, amount(34))}) {
    put(kFormID_PAScheduleUE, entry.field, entry.value);
  }
  const Seen refused = one(run(&P::auditScheduleUE, kFormID_PAScheduleUE, 1, kEF), kMoving);
  EXPECT_EQ(refused.text.find("This issue"), std::string::npos);
  EXPECT_EQ(refusalText(), refused.text);

  // A nonresident's listing (class filter 8): the attachment goes to the
  // report only, counted; a recorded session lists both answers.
  SetUp();
  put(kFormID_PAScheduleUE, kNetExpenses, amount(9));
  mark(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox);
  startAudit(AuditMgmt::kAuditStandard, 8);
  auditor->auditScheduleUE(holder(kFormID_PAScheduleUE), 1);
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(auditor->listingCount, 1);
  ASSERT_EQ(auditor->messageCalls().size(), 1u);
  EXPECT_EQ(AuditMgmt::TaxFormAuditor::describe(auditor->messageCalls()[0]),
            "addMessageToReport | AuditHelp_None | topic 0 | flag 0 | kind 0 | form 0 | copy 1 | "
            "field 0 | \"\" | \"    - attach a PA Schedule NRH to your return.\" | last 1");
  const std::vector<Seen> listed = run(&P::auditScheduleUE, kFormID_PAScheduleUE, 1, kList);
  EXPECT_TRUE(one(listed, "attach a PA Schedule NRH").answer);
  EXPECT_FALSE(one(listed, "attach a statement indicating the method").answer);
}

// The worksheet's sales rows, the incomes refused and the residence are
// pinned case by case by the golden audits; these are the cases the
// returns cannot hold.
TEST_F(ScheduleRulesTest, ScheduleDWorksheet) {
  using namespace PAScheduleDWorksheet;
  const char kForfeited[] = "This program does not support electronically filed returns for "
                            "taxpayers who have";
  const char kDate[] = "PA does not accept electronically filed returns";
  const std::string longDate = "12/31/2018" + std::string(300, '9');
  const std::vector<Entry> undated = {e({kRowDescription, 11}, textOf("XYZ")),
                                      e({kRowDateAcquired, 11}, textOf("01/05/2012")),
                                      e({kRowGroupedSaleBox, 11}, marked()),
                                      e({kRowSalesPrice, 11}, amount(5)),
                                      e({kRowCost, 11}, amount(3)),
                                      e({kRowGain, 11}, amount(2))};
  // clang-format off
  runCases(&P::auditScheduleDWorksheet, kFormID_PAScheduleDWorksheet, {
      // Rules 8 and 9 read copy 1 and are reported on every copy.
      {"copy 1's forfeited interest, copy 2", 2, kEF,
       {e(kTaxpayerForfeitedInterest, amount(5))}, {{kForfeited, kYes}}},
      {"spouse forfeited interest, joint", 1, kEF, {e(kSpouseForfeitedInterest, amount(120)),
       on(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, marked())}, {{kForfeited, kYes}}},
      {"sold on a long text", 1, kEF, {e({kRowDescription, 2}, textOf("XYZ")),
       e({kRowDateSold, 2}, textOf(longDate.c_str()))}, {{kDate, kYes}}},
      {"undated, grouped", 1, kEF, undated, {{kDate, kNo}, {"all information", kNo, 4,
       kRowDescription.at(11).getNumber()}}},
      {"residence loss", 1, kOrd, {e(kResidenceAddress, textOf("1 Main St")),
       e(kResidenceGain, amount(-5000))}, {{"you reported a gain on the sale", kYes},
       {"you may not deduct any loss", kYes, -1, kResidenceGain.number()}}},
  });
  // clang-format on
}

}  // namespace
}  // namespace audit_test
// NOLINTEND(build/namespaces)
