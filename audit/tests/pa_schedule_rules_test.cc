// The rule routines of PA Schedules C, D, E, J, G-L, OC, SP, UE and the
// Schedule D worksheet: what each reports for an empty copy, and the
// answers, codes and fields of their rules, case by case.
// NOLINTBEGIN(build/namespaces): each test reads its own form's fields.
#include <string>

#include "audit/tests/audit_fixture.h"

namespace audit_test {
namespace {

const Entry kPartYear = on(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox, marked());

class ScheduleRulesTest : public RuleTest {};

// An empty copy: every rule of the kind of audit is reported, answering
// false (Schedule D without a total and Schedule UE without an amount are
// not audited).
TEST_F(ScheduleRulesTest, EmptyCopiesReportEachRuleOnceAnsweringFalse) {
  const struct {
    Rule rule;
    const FormId* form;
    int counts[3];  // ordinary, e-file, listing
  } forms[] = {{&P::auditScheduleSP, &kFormID_PAScheduleSP, {9, 9, 5}},
               {&P::auditScheduleDWorksheet, &kFormID_PAScheduleDWorksheet, {3, 3, 2}},
               {&P::auditScheduleOC, &kFormID_PAScheduleOC, {21, 0, 3}},
               {&P::auditScheduleD, &kFormID_PAScheduleD, {0, 0, 0}},
               {&P::auditScheduleUE, &kFormID_PAScheduleUE, {0, 0, 0}}};
  for (const auto& f : forms) {
    const Kind kinds[] = {kOrd, kEF, kList};
    for (int k = 0; k < 3; ++k) {
      const std::vector<Seen> seen = run(f.rule, *f.form, 1, kinds[k]);
      EXPECT_EQ(static_cast<int>(seen.size()), f.counts[k]) << f.form->getNumber() << " " << k;
      EXPECT_EQ(trueCount(seen), 0);
    }
  }
}

TEST_F(ScheduleRulesTest, ScheduleC) {
  using namespace PAScheduleC;
  const char kLimit[] = "More than 4 copies";
  const char kOther[] = "This program does not support electronic filing";
  const char kDepr[] = "You reported federal depreciation";
  const char kEINText[] = "You reported wage expense";
  const Entry federal = e(kFederalDepreciation, amount(900));
  // clang-format off
  runCases(&P::auditScheduleC, kFormID_PAScheduleC, {
      {"four copies", 4, kEF, {e(kOtherIncome, amount(-4), 4)}, {{kLimit, kNo}, {kOther, kNo}}},
      {"five copies", 5, kEF, {e(kOtherIncome, amount(4), 5)},
       {{kLimit, kYes, 6, 0}, {kOther, kYes}}},
      {"not calculated", 5, kOrd, {}, {{kLimit, kNone}, {"You must supply both", kNone}}},
      {"federal depreciation", 1, kOrd, {federal}, {{kDepr, kYes, 7, kPADepreciation.number()}}},
      {"PA depreciation", 1, kOrd, {federal, e(kDepreciationAdjustment, amount(9))},
       {{kDepr, kNo}}},
      {"wages", 1, kOrd, {e(kWages, amount(3000))}, {{kEINText, kYes, 4, kBusinessEIN.number()}}},
      // Columns (c), (d) and (g) of a depreciation line: all or none.
      {"top asset 4 partly", 1, kEF, {e({kTopAssetDepreciation, 3}, amount(1))}, {}, -1, 1},
      {"listed asset partly", 1, kEF, {e({kAssetBasis, 0}, amount(1)),
       e({kAssetPriorDepreciation, 0}, amount(1))}, {}, -1, 1},
      {"listed asset complete", 1, kEF, {e({kAssetBasis, 0}, amount(1)),
       e({kAssetPriorDepreciation, 0}, amount(1)), e({kAssetDepreciation, 0}, amount(1))},
       {}, 8, 0},
  });
  // clang-format on
  // Line A is checked only on a copy the calculation filled.
  holder(kFormID_PAScheduleC, 1)->setCalcMark(true);
  text(kFormID_PAScheduleC, kMainBusinessActivity, "Farming");
  const char kLineA[] = "You must supply both the \"Main Business Activity\"";
  EXPECT_TRUE(one(run(&P::auditScheduleC, kFormID_PAScheduleC, 1, kOrd), kLineA).answer);
  text(kFormID_PAScheduleC, kProductOrService, "Apples");
  EXPECT_FALSE(one(run(&P::auditScheduleC, kFormID_PAScheduleC, 1, kEF), kLineA).answer);
}

TEST_F(ScheduleRulesTest, ScheduleD) {
  using namespace PAScheduleD;
  const char kPartner[] = "This program does not support electronic filed";
  const char kHome[] = "This program does not support e-filing for returns with a taxable";
  const char kD1[] = "This program does not support e-filing for returns with PA Schedule D-1";
  const Entry net = e(kTotalGain, amount(10));
  // clang-format off
  runCases(&P::auditScheduleD, kFormID_PAScheduleD, {
      {"total reads as 0", 1, kList, {e(kScheduleD1Gain, amount(9)), e(kTotalGain, amount(0.4))},
       {}, 0},
      {"D-71", 1, kList, {net, e(kScheduleD71Gain, amount(-100))},
       {{"attach Schedule D-71", kYes}}},
      {"D-1 below 0, e-file", 1, kEList, {net, e(kScheduleD1Gain, amount(-100))}, {}, 2, 0},
      {"D-1", 1, kEF, {net, e(kScheduleD1Gain, amount(100))}, {{kD1, kYes}}, 5, 1},
      {"RK-1 gain -1", 1, kEF, {net, e(kRK1Gain, amount(-1))}, {{kPartner, kYes}}, 5, 1},
      {"third RK-1 gain -1", 1, kEF, {net, e(kRK1ThirdGain, amount(-1))}, {}, 5, 0},
      {"residence gain", 1, kEF, {net, e(kResidenceGain, amount(5))}, {{kHome, kYes, 6, 0}}},
      {"insurance, copy 2", 2, kEF,
       {e(kTotalGain, amount(10), 2), e(kInsuranceAnnuityGain, amount(-3), 2)}, {}, 5, 1},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleE) {
  using namespace PAScheduleE;
  const char kTaxable[] = "Check to make sure that this checkbox";
  const char kDescribe[] = "Enter description of the property";
  const char kLicense[] = "Enter the PA sales tax license number";
  const Entry loss = e(kDeductibleLoss, amount(800));
  const Entry rental[] = {e(kTotalIncome, amount(1200), 2), e(kShortTermRentalYesBox, marked(), 2),
                          e(kPAPropertyYesBox, marked(), 2)};
  const Entry nonresident = on(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox, marked());
  // clang-format off
  runCases(&P::auditScheduleE, kFormID_PAScheduleE, {
      {"full-year resident", 1, kOrd, {loss}, {{kTaxable, kNone}}},
      {"part-year resident", 1, kOrd, {loss, kPartYear},
       {{kTaxable, kYes, 7, kTaxableForPAYesBox.number()}}},
      {"nonresident, no amount", 1, kOrd, {nonresident}, {{kTaxable, kNo}}},
      {"10 copies", 1, kEF, {e(kFederalCopyUsed, amount(10))}, {{"More than 10", kNo}}, -1, 0},
      {"11 copies", 2, kEF, {e(kFederalCopyUsed, amount(11), 2)}, {{"More than 10", kYes, 6, 0}}},
      {"RK-1", 3, kEF, {e(kRK1Income, amount(-5), 3)},
       {{"This program does not support e-", kYes}}},
      {"Form 4835", 1, kEF, {e(kForm4835SourceBox, marked())}, {}, -1, 1},
      {"rental", 2, kOrd, {rental[0], rental[1], rental[2]},
       {{kDescribe, kYes, 4, kPropertyDescription.number()}, {kLicense, kYes}}},
      {"rental described", 2, kOrd, {rental[0], rental[1], rental[2],
       e(kPropertyDescription, textOf("Duplex"), 2), e(kSalesTaxLicense, textOf("123"), 2)},
       {{kDescribe, kNo}, {kLicense, kNo}}},
  });
  // clang-format on
  put(kFormID_PAReturnInfo, PAReturnInfo::kPartYearResidentBox, marked());
  put(kFormID_PAScheduleE, kDeductibleLoss, amount(800));
  EXPECT_EQ(one(run(&P::auditScheduleE, kFormID_PAScheduleE, 1, kOrd), kTaxable).text,
            "Check to make sure that this checkbox correctly reflects whether this property is "
            "taxable for PA purposes. If the designation is incorrect, click on the correct box.");
}

TEST_F(ScheduleRulesTest, ScheduleJ) {
  using namespace PAScheduleJ;
  const char kLoss[] = "Schedule J, Losses from estates and trusts are not deductible";
  const char kRow[] = "you must enter the name, address";
  const Entry total = e(kTotalIncome, amount(100));
  // Row 0 complete with income, row 1 without its EIN.
  const std::vector<Entry> rows = {total,
                                   e({kRowIncome, 0}, amount(600)),
                                   e({kRowName, 0}, textOf("Trust")),
                                   e({kRowOwner, 0}, textOf("T")),
                                   e({kRowEIN, 0}, textOf("J")),
                                   e({kRowName, 1}, textOf("Trust")),
                                   e({kRowOwner, 1}, textOf("T"))};
  std::vector<Entry> incomplete = rows, lastRowLoss = rows;
  incomplete.push_back(e({kRowIncome, 1}, amount(500)));
  lastRowLoss.push_back(e({kRowIncome, 4}, amount(-1)));
  // clang-format off
  runCases(&P::auditScheduleJ, kFormID_PAScheduleJ, {
      {"no total", 1, kOrd, {e({kRowIncome, 0}, amount(-400))}, {}, 0},
      {"row without income", 1, kOrd, rows, {{kRow, kNo}, {kLoss, kNo}}, 2},
      {"row with income", 1, kOrd, incomplete, {{kRow, kYes, 7, kRowIncome.at(0).getNumber()}}},
      {"loss on row 5", 1, kOrd, lastRowLoss, {{kLoss, kYes, 3, 0}, {kRow, kNo}}},
      {"further loss", 1, kOrd, {total, e(kFurtherIncome, amount(-1))}, {{kLoss, kYes}}},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleGL) {
  using namespace PAScheduleGL;
  const char kState[] = "Schedule G, name of other state";
  const char kDomicile[] = "attach a copy of the state's commercial domicile rules";
  const Entry interest = e(kInterestDividendsFlag, amount(40), 2);
  // clang-format off
  runCases(&P::auditScheduleGL, kFormID_PAScheduleGL, {
      {"empty", 1, kEF, {}, {{kState, kNo}}},
      {"credit", 1, kOrd, {e(kCredit, amount(250))}, {{kState, kYes, 4, kOtherState.number()}}},
      {"credit, e-file", 1, kEF, {e(kCredit, amount(250))}, {{kState, kYes, 4}}},
      {"interest on copy 2", 1, kList, {interest}, {{kDomicile, kYes}}},
      {"interest, e-file", 1, kEList, {interest}, {{kDomicile, kNo}}},
      {"interest summed", 1, kList, {interest, e(kInterestDividendsFlag, amount(-40))},
       {{kDomicile, kNo}}},
      // Reciprocal states: the exact code, once blanks are stripped.
      {"NJ", 1, kOrd, {e(kOtherState, textOf(" NJ "))}, {{"Because New Jersey does not tax "
       "compensation earned by Pennsylvania residents in New Jersey, you may not", kYes}}, 7, 1},
      {"nj", 1, kOrd, {e(kOtherState, textOf("nj"))}, {}, 7, 0},
      // Source entities: a name for each positive income, an income for each
      // name (two incomes of entity 1, a name without income for entity 2).
      {"entities", 1, kEF, {e({kFirstEntityIncome, 0}, amount(100)),
       e({kFirstEntityIncome, 7}, amount(50)), e({kFirstEntityIncome, 3}, amount(-20)),
       e(kSecondEntityName, textOf("Keystone")), e({kThirdEntityIncome, 2}, amount(75)),
       e(kThirdEntityName, textOf("Allegheny"))}, {}, 8, 3},
      {"entity name alone", 1, kEF, {e(kFourthEntityName, textOf("X"))}, {}, 5, 1},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleOC) {
  using namespace PAScheduleOC;
  const char kW[] = "attach a completed Schedule W";
  const char kCertified[] = "attach a copy of your PA Department of Revenue";
  const char kRestricted[] = "you must send documents supporting your restricted";
  const char kType[] = "Enter the credit type for other restricted credits";
  const std::vector<Entry> credits = {e(kEmploymentIncentiveCredit, amount(100)),
                                      e(kJobCreationCredit, amount(100)),
                                      e(kRestrictedCredits, amount(100))};
  // clang-format off
  runCases(&P::auditScheduleOC, kFormID_PAScheduleOC, {
      {"credits", 1, kList, credits, {{kW, kYes}, {kCertified, kYes}, {kRestricted, kYes}}},
      {"credits, e-file", 1, kEList, credits, {{kW, kNo}, {kCertified, kNo}, {kRestricted, kNo}}},
      {"row 19, e-file", 1, kEList, {e({kCreditAmount, 18}, amount(40))}, {{kCertified, kYes}}},
      {"negative amounts", 1, kList,
       {e({kCreditAmount, 18}, amount(-40)), e(kJobCreationCredit, amount(-1))},
       {{kCertified, kNo}}},
      {"restricted without type", 1, kOrd, {credits[2]},
       {{kType, kYes, -1, kRestrictedCreditType.number()}}},
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
      {"negative spouse total", 1, kEF, {e(kSpouseEligibilityIncome, amount(-1))},
       {{kNegative, kYes}}},
      {"zero spouse line 10", 1, kEF, {e(kSpouseTenthEligibilityIncome, amount(0))},
       {{kNegative, kNo}}},
      {"forgiveness, full-year", 1, kOrd, {forgiven}, {{kOutside, kNone}}},
      {"forgiveness, part-year", 1, kOrd, {forgiven, kPartYear},
       {{kOutside, kYes, -1, kIncomeOutsidePA.number()}}},
      {"outside income", 1, kEF, {forgiven, kPartYear, e(kSpouseIncomeOutsidePA, amount(150))},
       {{kOutside, kNo}}},
      // A second copy reads presence on copy 1 and boxes on its own copy.
      {"second copy", 2, kOrd, spouseNumber, {{kSpouse, kNo}}},
      {"second copy, no number", 2, kOrd, spouse, {{kSpouse, kYes, -1, kSpouseFirstName.number()}}},
  });
  // clang-format on
  // Listed dependents must be complete (the third is not listed); beyond
  // four, all four rows are examined and the worksheet is asked for.
  const char kDependents[] = "You must enter the name, age, relationship, and social security";
  std::vector<Entry> two = {e(kDependentCount, amount(2)),
                            e({kDependentRelationship, 2}, textOf("Son"))};
  for (int k = 0; k < 2; ++k) {
    for (AnyNamedField field : {AnyNamedField(kDependentName, k), AnyNamedField(kDependentAge, k),
                                AnyNamedField(kDependentRelationship, k), AnyNamedField(kDependentSSN, k)}) {
      two.push_back(e(field, textOf("7")));
    }
  }
  std::vector<Entry> five = two, noNumber = two;
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
      {"five listed, listing", 1, kList, five,
       {{"you must attach a copy of your Federal Dependent", kYes}}},
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
  const char kClothes[] = "amount paid for work clothes";
  const Entry claim = e(kNetExpenses, amount(900));  // a copy is audited when not 0
  const Entry w2[] = {on(kFormID_FedW2, FedW2::kEmployerId, textOf("11-1111111")),
                      on(kFormID_FedW2, FedW2::kEmployerId, textOf("23-4567890"), 2)};
  const Entry moving = e(kMovingExpenses, amount(2000));
  const Entry uniforms = e(kWorkClothesDescription, textOf("Uniforms"));
  const Entry nonresident = on(kFormID_PAReturnInfo, PAReturnInfo::kNonresidentBox, marked());
  const char k36[] = "123456789012345678901234567890123456";
  const char* const k35 = k36 + 1;
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
      {"34 miles", 1, kEF, {claim, moving, e(kMovingDistance, amount(34))},
       {{kMoving, kYes, -1, kMovingDistance.number()}}},
      {"35 miles", 1, kEF, {claim, moving, e(kMovingDistance, amount(35))}, {{kMoving, kNo}}},
      {"expense lines", 1, kEF, {claim, uniforms, e(kSmallTools, amount(60))},
       {{kClothes, kYes, 4, kWorkClothes.number()}, {"description of work clothes", kNo},
        {"description of small tools", kYes, 4, kSmallToolsDescription.number()}}},
      {"attachments", 1, kList, {claim, nonresident, kPartYear, e(kSecondVehicleCost, amount(5)),
       e(kOfficeExpenses, amount(300)), e(kOfficeOtherApportionable, amount(40))}, {}, -1, 4},
      {"attachments, e-file", 1, kEList, {claim, nonresident, e(kSecondVehicleCost, amount(5))},
       {}, -1, 0},
      // Description lengths of the e-file record, and words for a date acquired.
      {"35 characters", 1, kEF, {claim, e(kJobDescription, textOf(k35))},
       {{"The job description you entered is too long", kNo}}},
      {"36 characters", 1, kEF, {claim, e(kJobDescription, textOf(k36))},
       {{"The job description you entered is too long", kYes, 6, kJobDescription.number()}}},
      {"union name of 33", 1, kEF, {claim, e(kUnionName, textOf(k36 + 3))},
       {{"The union name you entered is too long", kYes}}},
      // (Seven of the employer's entries are missing in these.)
      {"var-l", 1, kEF, {claim, e(kThirdPropertyDateAcquired, textOf("var-l"))}, {}, -1, 8},
      {"Inherit", 1, kEF, {claim, e(kThirdPropertyDateAcquired, textOf("Inherit"))}, {}, -1, 8},
      {"VARIOUS", 1, kEF, {claim, e(kThirdPropertyDateAcquired, textOf("VARIOUS"))}, {}, -1, 7},
  });
  // clang-format on
}

TEST_F(ScheduleRulesTest, ScheduleDWorksheet) {
  using namespace PAScheduleDWorksheet;
  const char kColumns[] = "all information requested in columns A-F";
  const char kForfeited[] =
      "This program does not support electronically filed returns for "
      "taxpayers who have";
  const char kIncomplete[] = "you reported a gain on the sale of your residence";
  const char kAttach[] = "attach PA Schedule 19";
  const char kBoxes[] = "An X in the first checkbox";
  const Entry spouseInterest = e(kSpouseForfeitedInterest, amount(120));
  const Entry address = e(kResidenceAddress, textOf("1 Main St"));
  const Entry loss = e(kResidenceGain, amount(-5000));
  const std::vector<Entry> home = {address,
                                   e(kResidenceGain, amount(8000)),
                                   e(kResidenceDateAcquired, textOf("03/01/2005")),
                                   e(kResidenceDateSold, textOf("07/01/2018")),
                                   e(kResidenceSalesPrice, amount(250000)),
                                   e(kResidenceCost, amount(0))};
  const Entry firstGain = e({kRowGain, 0}, amount(400));
  // clang-format off
  runCases(&P::auditScheduleDWorksheet, kFormID_PAScheduleDWorksheet, {
      {"empty, e-file", 1, kEF, {}, {{kColumns, kNone}}},
      {"second other gain", 1, kOrd, {e({kRowGain, 13}, amount(700))},
       {{kColumns, kYes, 7, kRowDescription.at(13).getNumber()}}},
      {"other gain, e-file", 1, kEF, {e({kRowGain, 13}, amount(700))}, {}, -1, 1},
      {"spouse forfeited interest", 1, kEF, {spouseInterest}, {{kForfeited, kNo}}},
      {"spouse forfeited interest, joint", 1, kEF,
       {spouseInterest, on(kFormID_PAReturnInfo, PAReturnInfo::kJointBox, marked())},
       {{kForfeited, kYes}}},
      {"residence address only", 1, kOrd, {address}, {{kIncomplete, kNo}}},
      {"residence loss", 1, kOrd, {address, loss},
       {{kIncomplete, kYes}, {"you may not deduct any loss", kYes, -1, kResidenceGain.number()}}},
      {"residence complete", 1, kOrd, home, {}, -1, 0},
      {"residence complete, listing", 1, kList, home, {{kAttach, kYes}}},
      {"taxable boxes, full-year", 1, kOrd, {firstGain}, {{kBoxes, kNo}}},
      {"taxable boxes, part-year", 1, kOrd, {firstGain, kPartYear},
       {{kBoxes, kYes, -1, kRowTaxableInPABox.at(0).getNumber()}}},
  });
  // clang-format on
  // The sales rows: dates of sale within the tax year (a grouped sale
  // excuses them and a missing one), bankrupt sales, refusals by row.
  const char kDate[] = "PA does not accept electronically filed returns";
  auto sale = [](int r, const char* sold) {
    return std::vector<Entry>{e({kRowDescription, r}, textOf("XYZ")),
                              e({kRowDateAcquired, r}, textOf("01/05/2012")),
                              e({kRowDateSold, r}, textOf(sold)),
                              e({kRowSalesPrice, r}, amount(5)),
                              e({kRowCost, r}, amount(3)),
                              e({kRowGain, r}, amount(2))};
  };
  std::vector<Entry> excused = sale(2, "01/01/2019"), undated = sale(11, "BANKRUPT"),
                     refused = sale(0, "06/15/2018");
  excused.push_back(e({kRowGroupedSaleBox, 2}, marked()));
  undated.push_back(e({kRowDateSold, 11}, kEmpty));
  undated.push_back(e({kRowGroupedSaleBox, 11}, marked()));
  for (const Entry& entry : sale(1, "06/15/2018")) refused.push_back(entry);
  refused.push_back(e({kRowSalesPrice, 0}, amount(-10)));
  refused.push_back(e({kRowExemptObligationBox, 1}, marked()));
  // clang-format off
  runCases(&P::auditScheduleDWorksheet, kFormID_PAScheduleDWorksheet, {
      {"sold in 2018", 1, kEF, sale(2, "01/01/2018"), {{kDate, kNo}, {kColumns, kNo}}},
      {"sold in 2019", 1, kEF, sale(2, "01/01/2019"),
       {{kDate, kYes, 6, kRowDateSold.at(2).getNumber()}, {kColumns, kNo}}},
      {"sold in 2019, grouped", 1, kEF, excused, {{kDate, kNo}}},
      {"sold on no date", 1, kEF, sale(2, "VARIOUS"), {{kDate, kYes}}},
      {"bankrupt", 1, kEF, sale(11, "BANKRUPT"), {{kDate, kNone}}},
      {"undated, grouped", 1, kEF, undated,
       {{kDate, kNo}, {kColumns, kNo, 4, kRowDescription.at(11).getNumber()}}},
      // Row 1 negative proceeds, row 2 an obligation: two refusals of four.
      {"row refusals", 1, kEF, refused, {}, 11, 2},
  });
  // clang-format on
}

}  // namespace
}  // namespace audit_test
// NOLINTEND(build/namespaces)
