// The rule routines of the PA information form, the PA-40 attachments, the
// local return, Schedule O, the misc-comp worksheet and the interest and
// dividend forms: report counts, texts, and their rules case by case.
// NOLINTBEGIN(build/namespaces): each test reads its own form's fields.
#include <string>

#include "audit/tests/audit_fixture.h"
#include "host/efile.h"

namespace audit_test {
namespace {


class ReturnRulesTest : public RuleTest {
 protected:
  std::vector<Seen> info(Kind kind) {
    return run(&P::auditReturnInfo, kFormID_PAReturnInfo, 1, kind);
  }
  std::vector<Seen> pa40(Kind kind) {
    return run(&P::auditReturnAttachments, kFormID_PA40, 1, kind);
  }
};

TEST_F(ReturnRulesTest, InformationFormTexts) {
  mark(kFormID_PAReturnInfo, PAReturnInfo::kCombatZoneYesBox);
  EXPECT_TRUE(with(info(kOrd), "Print COMBAT ZONE").empty());
  seenIn(
      kList, [&] { auditor->auditReturnInfo(holder(kFormID_PAReturnInfo), 1); }, 0x10 | 0x08);
  EXPECT_EQ(reportLines(), (std::vector<std::string>{
                               "Y    - the last four digits of your Social Security number, "
                               "\"2018 PA-V\", and your daytime phone number.",
                               "Y    - don't staple or otherwise attach the payment to the "
                               "voucher. Instead, just place it loose in the envelope with the "
                               "voucher.",
                               "Y    - print COMBAT ZONE at the top of your return and submit "
                               "your military orders with your return."}));
  EXPECT_FALSE(one(info(kEList), "print COMBAT ZONE").answer);
  // Different residency statuses: the ordinary message, and the refusal
  // stored on federal form 183.
  mark(kFormID_PAReturnInfo, PAReturnInfo::kDifferentResidencyYesBox);
  mark(kFormID_PAReturnInfo, PAReturnInfo::kJointBox);
  const std::string residency =
      "Because you and your spouse had different residency statuses or different tax years "
      "during 2018 you must file separate PA tax returns. You may, however, file a joint return "
      "if you have different residency statuses if you both elect to file as Residents.";
  EXPECT_EQ(one(info(kOrd), "Because you and").text, residency);
  EXPECT_EQ(one(info(kOrd), "Because you and").field, PAReturnInfo::kJointBox.number());
  number(kFormID_Fed183, Fed183::kRefusalStatus, 1);
  EFileMgmt::EFileMgrHandle::setCurFileReturnType(pa->getReturnType());
  EXPECT_EQ(one(info(kEF), "Because you and").field, 0);
  EXPECT_EQ(federal()->getFieldAsString(kFormID_Fed183, 1, Fed183::kRefusalText), residency);
}

TEST_F(ReturnRulesTest, InformationFormRules) {
  using namespace PAReturnInfo;
  const char kInitials[] = "For electronic filing, Pennsylvania only allows alpha";
  const char kSchoolEF[] = "you have either not entered the school code for the school";
  const char kSchool[] = "you have either not entered the school code for the Pennsylvania";
  const char kSpouseSsn[] = "For electronic filing, Pennsylvania requires you include";
  const char kPOBox[] = "The Pennsylvania Department of Revenue will not accept";
  const Entry code = e(kSchoolCode, textOf("101"));
  const Entry separate = on(kFormID_PA40, PA40::kFilingStatusCode, textOf("M"));
  const Entry street = e(kStreet, textOf("PO Box 12"));
  const Entry deposit = e(kDirectDepositYesBox, marked());
  auto federalStreet = [](const char* value) {
    return on(kFormID_FedFilerInfo, FedFilerInfo::kStreet, textOf(value));
  };
  // clang-format off
  runCases(&P::auditReturnInfo, kFormID_PAReturnInfo, {
      {"initials A", 1, kEF, {e(kTaxpayerMiddleInitial, textOf("A"))}, {{kInitials, kNo, 6, 0}}},
      {"initials J.", 1, kEF, {e(kSpouseMiddleInitial, textOf("J."))}, {{kInitials, kYes, 6, 0}}},
      {"resident", 1, kEF, {infoBox(kFullYearResidentBox), code},
       {{kSchoolEF, kYes, 4, kSchoolCode.number()}}},
      {"with district", 1, kOrd, {infoBox(kFullYearResidentBox), code,
       e(kSchoolDistrict, textOf("Abington"))}, {{kSchool, kNo}}},
      {"part-year asked", 1, kOrd, {infoBox(kPartYearResidentBox), infoBox(kSchoolDistrictBox)},
       {{kSchool, kYes}, {kSchoolEF, kNone}}},
      {"married separately", 1, kEF, {separate},
       {{kSpouseSsn, kYes, -1, kSpouseSSNSecondEntry.number()}}},
      {"federal spouse number", 1, kEF, {separate, on(kFormID_FedFilerInfo,
       FedFilerInfo::kSpouseSsn, textOf("1"))}, {{kSpouseSsn, kNo}}},
      {"P.O. box like the federal street", 1, kEF,
       {infoBox(kPOBoxBox), street, federalStreet("po box 12")}, {{kPOBox, kNo}}},
      {"P.O. box unlike it", 1, kEF, {infoBox(kPOBoxBox), street, federalStreet("1 Main")},
       {{kPOBox, kYes, -1, 0}}},
      {"deposit without refund", 1, kEF, {street, deposit}, {{"routing", kNo}, {kPOBox, kNone}}},
      {"deposit of a refund", 1, kEF, {deposit, on(kFormID_PA40, PA40::kRefund, amount(100))},
       {{"routing", kYes}, {"Select one of the options for your driver's", kYes}}},
  });
  // clang-format on
  // The payer of PA unemployment compensation on each federal 1099-G.
  const FormId& form = kFormID_Fed1099G;
  auto payer = [&](uint16_t copy, const char* state, double paid) {
    text(form, Fed1099G::kSecondState, state, copy);
    number(form, Fed1099G::kSecondStateTaxWithheld, paid, copy);
    text(form, Fed1099G::kPayerName, "Department of Labor", copy);
  };
  payer(1, "pa", 500);  // lower case: not PA
  payer(2, "PA", 0);    // nothing paid
  payer(3, "PA", 500);  // street without city
  text(form, Fed1099G::kPayerStreet, "1 Main St", 3);
  payer(4, "PA", 500);  // no address, no payer name
  put(form, Fed1099G::kPayerName, DataMgmt::FieldValue(), 4);
  const std::vector<Seen> seen = info(kEF);
  const std::vector<Seen> names = with(seen, "Please review your Unemployment Compensation. The");
  const std::vector<Seen> addresses =
      with(seen, "Please review your Unemployment Compensation and");
  ASSERT_EQ(names.size(), 2u);
  ASSERT_EQ(addresses.size(), 2u);
  EXPECT_TRUE(!names[0].answer && names[1].answer && addresses[0].answer && !addresses[1].answer);
  EXPECT_EQ(names[0].copy, 3);
  EXPECT_EQ(addresses[1].copy, 4);
}

// An empty PA-40 reports 6 rules in an ordinary audit, 13 in an e-file
// one, 21 in listing mode (22 during an e-file audit: the military orders
// added); it answers true the daytime phone (ordinary), and the page 1 of
// Form 1040 and the page 2 note (paper listing).
TEST_F(ReturnRulesTest, AttachmentRuleCountsAndTexts) {
  const struct {
    Kind kind;
    int count, trues;
  } kinds[] = {{kOrd, 6, 1}, {kEF, 13, 0}, {kList, 21, 2}, {kEList, 22, 0}};
  for (const auto& k : kinds) {
    EXPECT_EQ(static_cast<int>(pa40(k.kind).size()), k.count);
    EXPECT_EQ(trueCount(pa40(k.kind)), k.trues);
  }
  EXPECT_EQ(one(pa40(kList), " NOTE").text,
            " NOTE: Make sure you include both page 1 and page 2 of your PA-40.");
  mark(kFormID_PA40, PA40::kTaxpayerExpensesLimitedBox);
  mark(kFormID_PAScheduleGL, PAScheduleGL::kTaxpayerExcessBox);
  number(kFormID_PA40, PA40::kTaxpayerFederalFarmIncome, 1);
  const std::vector<Seen> ordinary = pa40(kOrd);
  const Seen ue = one(ordinary, "You claimed employee business expenses");
  EXPECT_EQ(ue.form, 0);
  EXPECT_EQ(ue.code, 7);
  EXPECT_EQ(ue.text,
            "You claimed employee business expenses on your PA Schedule UE in excess of your W-2 "
            "wages. Review your Schedule(s) UE to make sure that you checked the proper box "
            "indicating the correct ownership for each schedule and to make sure that entered the "
            "correct amounts.");
  const Seen gl = one(ordinary, "Because your income from all copies of your Schedule G-L");
  EXPECT_EQ(gl.form, kFormID_PAScheduleGL.getNumber());
  EXPECT_EQ(gl.field, PAScheduleGL::kFirstEntityIncome.at(0).getNumber());
  EXPECT_EQ(one(ordinary, "You reported farm income").field, PA40::kTaxpayerFarmIncome.number());
  EXPECT_EQ(one(ordinary, "You reported rental real estate").field,
            PA40::kTaxpayerJointVentureRents.number());

  number(kFormID_PA40, PA40::kJointVentureScheduleCCount, 1);
  mark(kFormID_PA40, PA40::kPenaltyFiguredYesBox);
  number(kFormID_PAScheduleOC, PAScheduleOC::kEmploymentIncentiveCredit, 1);
  const std::vector<Seen> eFile = pa40(kEF);
  EXPECT_EQ(one(eFile, "This program does not support e-filing for taxpayers whose").field,
            PA40::kUnreimbursedExpenses.number());
  const char kVenture[] =
      "This program does not support electronic filing for taxpayers filing a tax return  with "
      "rental real estate income or loss from a qualified joint venture and reported on federal "
      "Schedule C.";
  EXPECT_EQ(one(eFile, kVenture).text, kVenture + std::string(kStateOnlyText));
  const char kEIP[] =
      "The Pennsylvania Department of Revenue does not accept electronically filed tax returns "
      "from taxpayers who claim a PA Employment Incentive Payment (EIP) Credit.";
  EXPECT_EQ(one(eFile, kEIP).text, kEIP + std::string(kStateOnlyText));
  const Seen penalty = one(eFile, "You told us you'd like to figure");
  EXPECT_EQ(penalty.field, PA40::kPenaltyNoBox.number());
  EXPECT_EQ(penalty.text,
            "You told us you'd like to figure your Pennsylvania underpayment penalty and file PA "
            "Form REV-1630 - Underpayment of Estimated Tax by Individuals and Fiduciaries. Since "
            "this form isn't included in our program, you can't e-file with it. To e-file, check "
            "the box to let the Pennsylvania Department of Revenue  bill you for any underpayment "
            "penalty you might owe.");
  EXPECT_EQ(one(eFile, "More than 20 copies of federal Form W-2G").form, kFormID_PA40.getNumber());
  number(kFormID_PAScheduleC, PAScheduleC::kOtherPAAdjustments, 12);
  EXPECT_EQ(one(pa40(kList), "attach a schedule describing your 'Other Pennsylvania").text,
            "attach a schedule describing your 'Other Pennsylvania Adjustments' reported on your "
            "PA Schedule C, line F56298.");
}

TEST_F(ReturnRulesTest, AttachmentRuleGuardsAndConditions) {
  using namespace PA40;
  const char kPhone[] = "you must include your daytime phone number";
  const char kPageOne[] = "attach a copy of page 1 of your federal Form 1040 along with";
  const Entry debit =
      on(kFormID_PADirectDepositDebit, PADirectDepositDebit::kDirectDebitBox, marked());
  const Entry forgiveness = e(kForgivenessCredit, amount(1));
  auto w2s = [](const NamedField<PAScheduleW2SFieldIds>& field, DataMgmt::FieldValue value) {
    return on(kFormID_PAScheduleW2S, field, value);
  };
  // clang-format off
  runCases(&P::auditReturnAttachments, kFormID_PA40, {
      {"phone without deposit", 1, kEF, {}, {{kPhone, kNone}}},
      {"direct debit", 1, kEF, {debit}, {{kPhone, kYes, 4, kDaytimePhone.number()}}},
      {"direct debit, phone", 1, kEF, {debit, e(kDaytimePhone, textOf("555"))}, {{kPhone, kNo}}},
      {"Schedule SP", 1, kList, {forgiveness}, {{kPageOne, kYes}}},
      {"Schedule SP, full-year", 1, kList,
       {forgiveness, infoBox(PAReturnInfo::kFullYearResidentBox)}, {{kPageOne, kNone}}},
      {"military pay", 1, kList, {e(kSpouseMilitaryPay, amount(-1))},
       {{"submit copies of all your W-2 forms and your military", kYes}}, -1, 3},
      {"combat zone, e-file", 1, kEList, {infoBox(PAReturnInfo::kCombatZoneYesBox)},
       {{"submit copies of your military orders", kYes}}, -1, 1},
      {"wage statement boxes, e-file", 1, kEList,
       {w2s(PAScheduleW2S::kW2ExplanationBox, marked()),
        w2s(PAScheduleW2S::kMissingW2BothBox, marked())},
       {{"submit copies of your Forms W-2 and a written", kNo},
        {"attach a copy of your Form W-2 as well as", kYes}}},
      {"PA W-2 wages against W2-S", 1, kList,
       {on(kFormID_PAW2, PAW2::kTaxpayerFederalWages, amount(100)),
        on(kFormID_PAW2, PAW2::kSpouseFederalWages, amount(50), 2),
        w2s(PAScheduleW2S::kWagesTotalPACompensation, amount(100))},
       {{"include a statement explaining why PA taxable wages", kYes}}},
      {"federal and PA farm", 1, kOrd,
       {e(kTaxpayerFederalFarmIncome, amount(5)), e(kSpouseFarmIncome, amount(5))},
       {{"You reported farm income", kNo}}},
      {"page 1 answered N", 1, kList, {e(kDeductionCodeText, textOf("N"))},
       {{"attach a copy of page 1 of your federal Form 1040.", kNo}}},
      {"credits differ on a joint return", 1, kOrd,
       {infoBox(PAReturnInfo::kJointBox), on(kFormID_PAScheduleOC, PAScheduleOC::kTotalCredits,
        amount(5)), on(kFormID_PAScheduleOC, PAScheduleOC::kTotalCredits, amount(3), 2)},
       {{"You MUST file Married Filing Separately", kYes, -1, 0}}},
  });
  // clang-format on
  for (int copies : {20, 21}) {
    SetUp();
    for (int c = 1; c <= copies; ++c) holder(kFormID_FedW2G, static_cast<uint16_t>(c));
    EXPECT_EQ(one(pa40(kEF), "More than 20 copies of federal Form W-2G").answer, copies == 21);
  }
}

TEST_F(ReturnRulesTest, LocalReturnAndScheduleO) {
  using namespace PALocalIncomeTaxReturn;
  using namespace PADeductions;
  const char kCredit[] = "If your credit is for taxes paid";
  const char kNonresident[] = "As a Pennsylvania nonresident";
  const Entry entry = e(kMarkerEntry, textOf("X"));
  const std::vector<Entry> taxes = {entry, e(kTaxpayerTax, amount(100)), e(kSpouseTax, amount(9))};
  std::vector<Entry> atLiability = taxes, aboveIt = taxes;
  atLiability.push_back(e(kTaxpayerOtherLocalityCredit, amount(100)));
  aboveIt.push_back(e(kSpouseOtherLocalityCredit, amount(10)));
  // clang-format off
  runCases(&P::auditLocalEarnedIncomeTax, kFormID_PALocalIncomeTaxReturn, {
      {"no starting entry", 1, kOrd, {e(kTaxpayerOtherLocalityCredit, amount(500))}, {}, 0},
      {"credit at the liability", 1, kOrd, atLiability,
       {{kCredit, kNo, 7, kTaxpayerOtherLocalityCredit.number()}}, 2},
      {"spouse credit above", 1, kOrd, aboveIt, {{kCredit, kYes}}},
      // The nonresident answer is read at the local return's copy number.
      {"nonresident of copy 2, copy 1", 1, kOrd, {entry, infoBox(PAReturnInfo::kNonresidentBox, 2)},
       {{kNonresident, kNo}}},
      {"nonresident of copy 2, copy 2", 2, kOrd, {e(kMarkerEntry, textOf("X"), 2),
       infoBox(PAReturnInfo::kNonresidentBox, 2)},
       {{kNonresident, kYes, -1, kMarkerEntry.number()}}},
  });
  const char kIdentity[] = "In order to claim a deduction for a contribution to an IRC Section "
                           "529 tuition account, you must enter the name";
  const char kAmount[] = "In order to claim a deduction for a contribution to an IRC Section "
                         "529 tuition account, you must enter the amount";
  runCases(&P::auditScheduleO, kFormID_PADeductions, {
      {"empty", 1, kOrd, {}, {}, 0},
      {"amount without number", 1, kEF, {e({kTaxpayerTuitionContribution, 0}, amount(500)),
       e({kTuitionBeneficiaryName, 0}, textOf("Kid")), e({kSpouseTuitionContribution, 2},
       amount(300))}, {{kIdentity, kYes, 4, 0}, {kAmount, kNone}}},
      {"number without amount", 1, kOrd, {e({kTuitionBeneficiarySSN, 1}, textOf("1"))},
       {{kAmount, kYes}}},
      {"negative amount", 1, kOrd, {e({kTuitionBeneficiaryName, 1}, textOf("Kid")),
       e({kTaxpayerTuitionContribution, 1}, amount(-50))}, {}, 0},
      {"health savings", 1, kList, {e(kTaxpayerHealthSavingsDeduction, amount(10)),
       e(kSpouseHealthSavingsDeduction, amount(-5))}, {}, 1, 1},
      {"health savings, e-file", 1, kEList, {e(kTaxpayerHealthSavingsDeduction, amount(10))}, {},
       1, 0},
  });
  // clang-format on
  EXPECT_EQ(one(run(&P::auditScheduleO, kFormID_PADeductions, 1, kList), "attach").text,
            "attach a copy of your federal Form 1040 Schedule 1 and page 1 and 2 of your federal "
            "Form 1040.");
}

TEST_F(ReturnRulesTest, MiscCompensation) {
  using namespace PAMiscCompWorksheet;
  const char kTypeH[] = "Enter the description of your Type H";
  const char kSecondCode[] = "You entered a second distribution code";
  const char kLimit[] = "More than 5 copies of PA Schedule MC";
  const char* const kRows[] = {"You must indicate who earned", "You have either not entered an",
                               "For each item on this worksheet", "You must enter the total",
                               "The basis field in column F"};
  // clang-format off
  runCases(&P::auditMiscCompensation, kFormID_PAMiscCompWorksheet, {
      {"empty, copy 3", 3, kEF, {},
       {{kRows[0], kNo, 6, kRowOwner.at(0).getNumber()},
        {kRows[1], kNo, 6, kRowCodeLetter.at(0).getNumber()},
        {kTypeH, kNo, 6, kCodeHDescription.number()},
        {kRows[2], kNo, 6, kRowPayer.at(0).getNumber()},
        {kSecondCode, kNo, 7, kRowDistributionCode.at(0).getNumber()},
        {kRows[3], kNo, 6, kRowAmount.at(0).getNumber()},
        {kRows[4], kNo, 6, kRowReduction.at(0).getNumber()}, {kLimit, kNo}}, 8},
      {"empty, ordinary", 1, kOrd, {}, {{kLimit, kNone}}, 7, 0},
      {"type H amount", 1, kOrd, {e(kCodeHCount, amount(250))}, {{kTypeH, kYes}}},
      {"type H described", 1, kOrd, {e(kCodeHCount, amount(250)),
       e(kCodeHDescription, textOf("Prize"))}, {{kTypeH, kNo}}},
      {"second code on copy 2", 1, kOrd, {e(kSecondDistributionCodeCount, amount(1), 2)},
       {{kSecondCode, kYes}}},
      {"five copies", 5, kEF, {}, {{kLimit, kNo}}},
      {"six copies", 6, kEF, {}, {{kLimit, kYes, 6, 0}}},
  });
  // clang-format on
  // The rows in use: row 3 as the case says (null: left empty), beside a
  // complete row 0; the answers of the five row messages in report order.
  auto rowAnswers = [&](uint16_t copy) {
    const std::vector<Seen> seen =
        run(&P::auditMiscCompensation, kFormID_PAMiscCompWorksheet, copy, kOrd);
    std::vector<bool> answers;
    for (const char* text : kRows) answers.push_back(one(seen, text).answer);
    return answers;
  };
  auto enter = [&](const NamedColumn<PAMiscCompWorksheetFieldIds>& column, int row,
                   const char* value, uint16_t copy = 1) {
    if (value != nullptr) text(kFormID_PAMiscCompWorksheet, column.at(row), value, copy);
  };
  const struct {
    const char *earner, *type, *code, *payer, *distribution;
    std::vector<bool> answers;  // earner, type, payer, distribution, basis
  } cases[] = {{"s", "h", nullptr, "P", "10", {0, 0, 0, 0, 0}},
               {"T", "N", nullptr, "P", "10", {0, 1, 0, 0, 0}},
               {"X", "M", nullptr, "P", "10", {1, 0, 0, 0, 0}},
               {nullptr, nullptr, "1", nullptr, nullptr, {1, 1, 1, 1, 1}},
               {"S", "B", "j", "P", "10", {0, 0, 0, 0, 0}},
               {"S", "B", "L", "P", "10", {0, 0, 0, 0, 1}}};
  for (const auto& c : cases) {
    SetUp();
    for (int row : {0, 3}) {
      const bool complete = row == 0;
      enter(kRowOwner, row, complete ? "T" : c.earner);
      enter(kRowCodeLetter, row, complete ? "A" : c.type);
      enter(kRowDistributionCode, row, complete ? nullptr : c.code);
      enter(kRowPayer, row, complete ? "P" : c.payer);
      enter(kRowAmount, row, complete ? "10" : c.distribution);
    }
    EXPECT_EQ(rowAnswers(1), c.answers) << c.earner << c.type << c.code;
  }
  number(kFormID_PAMiscCompWorksheet, kRowReduction.at(3), 0);  // an entered basis of 0
  EXPECT_EQ(rowAnswers(1), std::vector<bool>(5, false));
  // The walk reaches the last row; rows are read on the audited copy.
  SetUp();
  number(kFormID_PAMiscCompWorksheet, kRowPACompensation.at(19), 1);
  enter(kRowDistributionCode, 0, "S", 2);
  EXPECT_EQ(rowAnswers(1), std::vector<bool>({true, true, true, true, false}));
  EXPECT_EQ(rowAnswers(2), std::vector<bool>(5, true));
}

TEST_F(ReturnRulesTest, InterestAndDividends) {
  using namespace PAInterestDividendWorksheet;
  const char kEstate[] = "The Pennsylvania Department of Revenue will not accept";
  const char kAnnuity[] =
      "This program does not support electronic filing for taxpayers who "
      "have interest from annuities";
  const char kObligations[] =
      "This program does not support electronic filing for taxpayers "
      "who have interest or dividend income from obligations";
  const char* const kForeign[] = {"Enter amount of foreign income",
                                  "Enter your spouse's amount of foreign income",
                                  "Enter amount of current year foreign income",
                                  "Enter your spouse's amount of current year foreign income"};
  const Entry above = on(kFormID_PA40, PA40::kDividendIncome, amount(2501));
  const Entry spouseCurrent = e(kSpouseCurrentYearForeignDividendIncome, amount(5));
  // clang-format off
  runCases(&P::auditInterestDividendWorksheet, kFormID_PAInterestDividendWorksheet, {
      {"at the threshold", 1, kEF, {on(kFormID_PA40, PA40::kInterestIncome, amount(2500)),
       e(kAnnuityInterest, amount(10))}, {{kEstate, kNone}, {kAnnuity, kNone}}},
      {"above it", 1, kEF, {above, e(kAnnuityInterest, amount(10))},
       {{kEstate, kNo}, {kAnnuity, kYes, 6}, {kObligations, kNo}}, -1, 1},
      {"estate dividends, copy 2", 2, kEF, {above, e(kEstateTrustDividendsRemainder, amount(1))},
       {{kEstate, kYes}}, -1, 1},
      {"foreign income, copy 2", 2, kOrd, {e(kTaxpayerCurrentYearForeignDividendIncome,
       amount(7)), e(kTaxpayerForeignDividendIncome, amount(100), 2)},
       {{kForeign[0], kNo}, {kForeign[2], kYes}}, 4, 1},
      {"spouse current income", 1, kOrd, {spouseCurrent},
       {{kForeign[1], kYes, 4, kSpouseForeignDividendIncome.number()}}, 4, 1},
      {"both spouse amounts", 1, kOrd, {spouseCurrent, e(kSpouseForeignDividendIncome,
       amount(50))}, {}, 4, 0},
  });
  // clang-format on
  const std::vector<Seen> seen =
      run(&P::auditInterestDividendWorksheet, kFormID_PAInterestDividendWorksheet, 1, kOrd);
  EXPECT_EQ(one(seen, kForeign[0]).text, "Enter amount of foreign income on line F210230.");
  EXPECT_EQ(one(seen, kForeign[3]).text,
            "Enter your spouse's amount of current year foreign income on line F210237.");
  // Schedules A and B: totals and partnership income summed over all copies.
  number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 1, 1);
  number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, -2, 2);
  const Seen below = one(run(&P::auditScheduleA, kFormID_PAScheduleA, 1, kEF), "Your total");
  EXPECT_TRUE(below.answer);
  EXPECT_EQ(below.field, PAScheduleA::kTotalInterest.number());
  EXPECT_EQ(below.text.substr(0, 46), "Your total interest can't be less than zero. .");
  number(kFormID_PAScheduleB, PAScheduleB::kPartnershipDividends, 40, 2);
  const std::vector<Seen> b = run(&P::auditScheduleB, kFormID_PAScheduleB, 1, kEF);
  EXPECT_EQ(one(b, "This program does not support electronic filed returns").text,
            "This program does not support electronic filed returns for taxpayers who earned "
            "dividend income from a PA partnership or S Corp. and who must include a copy of their "
            "PA Schedule RK-1 or NRK-1 with their return." +
                std::string(kStateOnlyText));
  EXPECT_FALSE(one(b, "Your total dividends can't be less than zero.").answer);
  EXPECT_TRUE(with(run(&P::auditScheduleB, kFormID_PAScheduleB, 1, kOrd), "This program").empty());
}

}  // namespace
}  // namespace audit_test
// NOLINTEND(build/namespaces)
