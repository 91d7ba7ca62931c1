// The rule routines of the PA information form, the PA-40 attachments, the
// local return, Schedule O, the misc-comp worksheet and the interest and
// dividend forms, case by case (their texts are pinned by the golden
// audits).
// NOLINTBEGIN(build/namespaces): each test reads its own form's fields.
#include <cstring>
#include <string>

#include "audit/tests/audit_fixture.h"

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

TEST_F(ReturnRulesTest, InformationFormRules) {
  using namespace PAReturnInfo;
  const char kInitials[] = "For electronic filing, Pennsylvania only allows alpha";
  const char kSchoolEF[] = "you have either not entered the school code for the school";
  const char kSpouseSsn[] = "For electronic filing, Pennsylvania requires you include";
  const char kPOBox[] = "The Pennsylvania Department of Revenue will not accept";
  const Entry code = e(kSchoolCode, textOf("101"));
  const Entry separate = on(kFormID_PA40, PA40::kFilingStatusCode, textOf("M"));
  const Entry street = e(kStreet, textOf("PO Box 12"));
  const Entry deposit = e(kDirectDepositYesBox, marked());
  static const std::string kLong = std::string(130, 'P') + "O Box ";  // then 1 or 2
  auto federalStreet = [](const char* value) {
    return on(kFormID_FedFilerInfo, FedFilerInfo::kStreet, textOf(value));
  };
  // clang-format off
  runCases(&P::auditReturnInfo, kFormID_PAReturnInfo, {
      {"resident", 1, kEF, {infoBox(kFullYearResidentBox), code},
       {{kSchoolEF, kYes, 4, kSchoolCode.number()}}},
      {"married separately", 1, kEF, {separate},
       {{kSpouseSsn, kYes, -1, kSpouseSSNSecondEntry.number()}}},
      {"federal spouse number", 1, kEF, {separate, on(kFormID_FedFilerInfo,
       FedFilerInfo::kSpouseSsn, textOf("1"))}, {{kSpouseSsn, kNo}}},
      {"P.O. box like the federal street", 1, kEF,
       {infoBox(kPOBoxBox), street, federalStreet("po box 12")}, {{kPOBox, kNo}}},
      {"P.O. box lines alike in their first 127 characters", 1, kEF,
       {infoBox(kPOBoxBox), e(kStreet, textOf((kLong + "1").c_str())),
        federalStreet((kLong + "2").c_str())}, {{kPOBox, kYes}}},
      {"deposit without refund", 1, kEF, {street, deposit}, {{"routing", kNo}, {kPOBox, kNone}}},
  });
  // clang-format on
  // A middle initial with a period or a byte beyond ASCII: the refusal, on
  // no form and copy 1, its text ending in the hint (and its quotation
  // mark). The spouse's initial is a letter.
  for (const char* initial : {"J.", "\xC3\x89"}) {
    SetUp();
    text(kFormID_PAReturnInfo, kTaxpayerMiddleInitial, initial);
    text(kFormID_PAReturnInfo, kSpouseMiddleInitial, "K");
    const Seen s = one(info(kEF), kInitials);
    EXPECT_EQ(std::vector<int>({s.answer, s.code, s.form, s.copy}),
              std::vector<int>({1, 6, 0, 1}));
    EXPECT_EQ(s.text.find(kHintText), s.text.size() - std::strlen(kHintText));
  }
}

TEST_F(ReturnRulesTest, AttachmentRuleGuardsAndConditions) {
  using namespace PA40;
  const char kPhone[] = "you must include your daytime phone number";
  const char kPageOne[] = "attach a copy of page 1 of your federal Form 1040 along with";
  // The election as the calculation makes it, no direct deposit and debit
  // form needed: a debit of an amount owed, a deposit of a refund.
  const Entry debit = on(kFormID_Fed183, Fed183::kDirectDebitBox, marked());
  const Entry deposit = infoBox(PAReturnInfo::kDirectDepositYesBox);
  const Entry forgiveness = e(kForgivenessCredit, amount(1));
  auto w2s = [](const NamedField<PAScheduleW2SFieldIds>& field, DataMgmt::FieldValue value) {
    return on(kFormID_PAScheduleW2S, field, value);
  };
  // clang-format off
  runCases(&P::auditReturnAttachments, kFormID_PA40, {
      {"phone without deposit", 1, kEF, {}, {{kPhone, kNone}}},
      {"direct debit, phone", 1, kEF, {debit, e(kTotalPayment, amount(9)),
       e(kDaytimePhone, textOf("555"))}, {{kPhone, kNo}}},
      {"refund by deposit, no phone", 1, kEF, {deposit, e(kRefund, amount(9))}, {{kPhone, kYes}}},
      {"deposit asked, no refund", 1, kEF, {deposit, debit}, {{kPhone, kNone}}},
      {"Schedule SP, full-year", 1, kList,
       {forgiveness, infoBox(PAReturnInfo::kFullYearResidentBox)}, {{kPageOne, kNone}}},
      {"combat zone, e-file", 1, kEList, {infoBox(PAReturnInfo::kCombatZoneYesBox)},
       {{"submit copies of your military orders", kYes}}, -1, 1},
      {"wage statement boxes, e-file", 1, kEList,
       {w2s(PAScheduleW2S::kW2ExplanationBox, marked()),
        w2s(PAScheduleW2S::kMissingW2BothBox, marked())},
       {{"submit copies of your Forms W-2 and a written", kNo},
        {"attach a copy of your Form W-2 as well as", kYes}}},
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
  const char kNonresident[] = "As a Pennsylvania nonresident";
  const Entry entry = e(kMarkerEntry, textOf("X"));
  // clang-format off
  runCases(&P::auditLocalEarnedIncomeTax, kFormID_PALocalIncomeTaxReturn, {
      {"no starting entry", 1, kOrd, {e(kTaxpayerOtherLocalityCredit, amount(500))}, {}, 0},
      // The nonresident answer is read at the local return's copy number.
      {"nonresident of copy 2, copy 1", 1, kOrd, {entry, infoBox(PAReturnInfo::kNonresidentBox, 2)},
       {{kNonresident, kNo}}},
      {"nonresident of copy 2, copy 2", 2, kOrd, {e(kMarkerEntry, textOf("X"), 2),
       infoBox(PAReturnInfo::kNonresidentBox, 2)},
       {{kNonresident, kYes, -1, kMarkerEntry.number()}}},
  });
  const char kAmount[] = "In order to claim a deduction for a contribution to an IRC Section "
                         "529 tuition account, you must enter the amount";
  runCases(&P::auditScheduleO, kFormID_PADeductions, {
      {"number without amount", 1, kOrd, {e({kTuitionBeneficiarySSN, 1}, textOf("1"))},
       {{kAmount, kYes}}},
      {"negative amount", 1, kOrd, {e({kTuitionBeneficiaryName, 1}, textOf("Kid")),
       e({kTaxpayerTuitionContribution, 1}, amount(-50))}, {}, 0},
      {"health savings, e-file", 1, kEList, {e(kTaxpayerHealthSavingsDeduction, amount(10))}, {},
       1, 0},
  });
  // clang-format on
}

TEST_F(ReturnRulesTest, MiscCompensation) {
  using namespace PAMiscCompWorksheet;
  const char kTypeH[] = "Enter the description of your Type H";
  const char kSecondCode[] = "You entered a second distribution code";
  const char* const kRows[] = {"You must indicate who earned", "You have either not entered an",
                               "For each item on this worksheet", "You must enter the total",
                               "The basis field in column F"};
  // clang-format off
  runCases(&P::auditMiscCompensation, kFormID_PAMiscCompWorksheet, {
      {"type H described", 1, kOrd, {e(kCodeHCount, amount(250)),
       e(kCodeHDescription, textOf("Prize"))}, {{kTypeH, kNo}}},
      {"second code on copy 2", 1, kOrd, {e(kSecondDistributionCodeCount, amount(1), 2)},
       {{kSecondCode, kYes}}},
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
               {"T", "M ", nullptr, "P", "10", {0, 1, 0, 0, 0}},  // as the calculation writes it
               {"T", "L ", nullptr, "P", "10", {0, 1, 0, 0, 0}},
               {"T", "AB", nullptr, "P", "10", {0, 1, 0, 0, 0}},
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
  const char* const kForeign[] = {"Enter amount of foreign income",
                                  "Enter your spouse's amount of foreign income",
                                  "Enter amount of current year foreign income",
                                  "Enter your spouse's amount of current year foreign income"};
  const Entry above = on(kFormID_PA40, PA40::kDividendIncome, amount(2501));
  const Entry spouseCurrent = e(kSpouseCurrentYearForeignDividendIncome, amount(5));
  // clang-format off
  runCases(&P::auditInterestDividendWorksheet, kFormID_PAInterestDividendWorksheet, {
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
  // Schedules A and B: totals and partnership income summed over all copies.
  for (double second : {-1.0, -2.0}) {
    SetUp();
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, 1, 1);
    number(kFormID_PAScheduleA, PAScheduleA::kTotalInterest, second, 2);
    const Seen total = one(run(&P::auditScheduleA, kFormID_PAScheduleA, 1, kEF), "Your total");
    EXPECT_EQ(total.answer, second < -1.0);
    EXPECT_EQ(total.field, PAScheduleA::kTotalInterest.number());
  }
  number(kFormID_PAScheduleB, PAScheduleB::kPartnershipDividends, 40, 2);
  const char kPartnership[] = "This program does not support electronic filed returns";
  EXPECT_TRUE(one(run(&P::auditScheduleB, kFormID_PAScheduleB, 1, kEF), kPartnership).answer);
  EXPECT_TRUE(with(run(&P::auditScheduleB, kFormID_PAScheduleB, 1, kOrd), kPartnership).empty());
}

}  // namespace
}  // namespace audit_test
// NOLINTEND(build/namespaces)
