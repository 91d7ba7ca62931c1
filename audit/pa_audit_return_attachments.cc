// Audit rules of the PA-40 (state form 169): the documents a paper return
// must carry (the attachment list, class 8, shown in listing mode), what
// bars electronic filing of the whole return, and a few entries the user
// must complete.
//
// The 42 rules are a table in report order; the routine works out every
// rule's answer first and then reports the rules in order. Three rules are
// reported only under a guard (the e-file military orders, the daytime
// phone number for direct deposit or debit, the Schedule SP page 1); every
// other rule is reported on every call, true or false.
#include <cstdio>

#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "calc/pa/schedules/bank_election.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;

const long kMaxFederalW2GCopies = 20;

// The form a rule's message points at.
enum Target { kOnPA40, kOnNoForm, kOnScheduleGL };

struct AttachmentRule {
  RuleMessage message;
  Target target;
  AnyNamedField field;  // a field of the target form, or kNoField
  const char* text;
};
constexpr AnyNamedField kNoField;

const RuleMessage kAttach = {kAuditPath, kClassAttachment, kCodeNotice, kNoNote};
const RuleMessage kAuditEFileOnly = {kAuditPath, kClassEFile, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kRefusal = {kEFilePath, kClassRefusal, kCodeNoEFile, kStateOnlyNote};
const RuleMessage kEFileNotice = {kEFilePath, kClassOrdinary, kCodeNotice, kNoNote};

#define NO_EFILE_BECAUSE "This program does not support electronic filing for taxpayers "
#define DOR_REFUSES                                                              \
  "The Pennsylvania Department of Revenue does not accept electronically filed " \
  "tax returns from taxpayers who claim a "

// Report order; each entry is headed by its rule number (1-based) used below.
const AttachmentRule kRules[] = {
    // Rule 1
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the PA Schedule RK-1 or PA Schedule NRK-1 for each activity with "
     "income taxable in PA. If the entity did not issue a Schedule RK-1 or NRK-1, then "
     "attach a copy of your Schedule K-1 for that entity.Insert these forms after the "
     "PA-40, the PA Schedule W2-S, and the PA Schedule OC depending on the forms in your "
     "Pennsylvania return"},
    // Rule 2
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your Forms W-2 and a written explanation with your PA return"},
    // Rule 3
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 along with an explanation of the difference "
     "and/or a letter from your employer documenting the difference with your PA return"},
    // Rule 4
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 and a written statement from your employer "
     "verifying the rate and amount of tax withheld for the tax year with your PA return"},
    // Rule 5
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 and a written statement from your employer "
     "regarding the incorrect Form W-2 with your PA return"},
    // Rule 6
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of your Form W-2 as well as Form PA W-2 Reconciliation Worksheet to "
     "your return."},
    // Rule 7
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your Form(s) 1099 and other statements supporting all of your "
     "compensation and PA withholding not reported on a Form W-2."},
    // Rule 8
    {kAttach, kOnPA40, kNoField,
     "Include a statement explaining why PA taxable wages are different from your federal "
     "W-2 wages."},
    // Rule 9
    {kAttach, kOnPA40, kNoField,
     "Submit copies of all your W-2 forms and your military orders assigning you to "
     "active duty outside of PA to your return."},
    // Rule 10
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your military orders assigning you to active duty outside of "
     "Pennsylvania to your PA-8453/PA-8879."},
    // Rule 11
    {kRefusal, kOnPA40, kNoField, "More than 20 copies of federal Form W-2G is not allowed"},
    // Rule 12
    {kEFileNotice, kOnNoForm, kNoField,
     "You claimed employee business expenses on your PA Schedule UE in excess of your "
     "W-2 wages. "
     "Review your Schedule(s) UE to make sure that you checked the proper box "
     "indicating "
     "the correct ownership for each schedule and to make sure that entered the correct "
     "amounts."},
    // Rule 13
    {kRefusal, kOnPA40, PA40::kUnreimbursedExpenses,
     "This program does not support e-filing for taxpayers whose unreimbursed employee "
     "business expenses reported on PA-40 do not equal the amount on PA Schedule UE"},
    // Rule 14
    {kRefusal, kOnPA40, kNoField,
     "This program does not support e-filing for taxpayers with business income/loss "
     "reported on PA Schedule RK-1 or NRK-1"},
    // Rule 15
    {kAuditEFileOnly, kOnPA40, kNoField,
     "This program does not support electronic for taxpayers who earned "
     "business income which was reported on line 21 of their federal return."},
    // Rule 16
    {kEFileNotice, kOnPA40, PA40::kTaxpayerFarmIncome,
     "You reported farm income or loss on your federal return but not on your "
     "Pennsylvania return. If this farming activity is taxable in Pennsylvania, you must "
     "report it on your Pennsylvania return."},
    // Rule 17
    {kAttach, kOnPA40, kNoField,
     "Attach your PA Schedule F for any farm activity where your Pennsylvania income "
     "and/or expenses differs from that reported on your federal Schedule F. If there "
     "are no differences, you can attach either your federal or Pennsylvania Schedule F "
     "for that farm activity."},
    // Rule 18
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your business income/loss not reported on your "
     "federal return on Schedule C or Schedule F."},
    // Rule 19
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your 'Other Income' reported on your PA Schedule C, "
     "line 4."},
    // Rule 20
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your 'Other Pennsylvania Adjustments' reported on "
     "your PA Schedule C, line %s."},
    // Rule 21
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of each federal Schedule C that reports real estate rental "
     "income/loss from a qualified joint venture"},
    // Rule 22
    {kEFileNotice, kOnPA40, PA40::kTaxpayerJointVentureRents,
     "You reported rental real estate income from a joint venture on your federal "
     "return on federal Schedule C. Please enter your net income or loss from all such "
     "activities."},
    // Rule 23
    {kAuditEFileOnly, kOnPA40, kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with rental real estate income or loss from a qualified joint venture and "
                      "reported on federal Schedule C."},
    // Rule 24
    {kAuditEFileOnly, kOnPA40, kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with income or withholding reported on a PA Schedule NRK-1, for nonresident "
                      "partners, shareholders and members."},
    // Rule 25
    {{kEFilePath, kClassEFile, kCodeNoEFile, kStateOnlyNote},
     kOnPA40,
     kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with income from an Estate or Trust and reported on PA Sch J."},
    // Rule 26
    {kRefusal, kOnPA40, kNoField,
     "Efile is not available for taxpayers who claim credits on PA Schedule OC."},
    // Rule 27
    {kAuditEFileOnly, kOnPA40, kNoField,
     DOR_REFUSES "PA Employment Incentive Payment (EIP) Credit."},
    // Rule 28
    {kAuditEFileOnly, kOnPA40, kNoField, DOR_REFUSES "PA Job Creation Credit."},
    // Rule 29
    {kAuditEFileOnly, kOnPA40, kNoField, DOR_REFUSES "PA Research and Development Tax Credit."},
    // Rule 30
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the tax return for each other state identified on your "
     "Schedule(s) G-L also attach a copy of each form or other statment that shows how "
     "the income and taxes were determined for other states for which you are claiming "
     "the credit."},
    // Rule 31
    {{kAuditPath, kClassEFile, kCodeMissing, kNoNote},
     kOnPA40,
     PA40::kDaytimePhone,
     "you must include your daytime phone number if you elect either direct deposit or "
     "direct debit"},
    // Rule 32
    {{kAuditPath, kClassOrdinary, kCodeNotice, kNoNote},
     kOnPA40,
     PA40::kDaytimePhone,
     "daytime telephone number"},
    // Rule 33
    {kAuditEFileOnly, kOnPA40, kNoField,
     "This program does not support electronic filing for taxpayers who have a "
     "Schedule F on their Federal Return."},
    // Rule 34
    {kAttach, kOnPA40, kNoField,
     "Attach the same schedule, explanation or information to "
     "your PA-40 that you provided with your Federal Income Tax Return"},
    // Rule 35
    {kAttach, kOnPA40, kNoField, "attach a copy of page 1 of your federal Form 1040"},
    // Rule 36
    {kAttach, kOnPA40, kNoField,
     "attach a copy of page 1 of your federal Form 1040 along with your PA Schedule "
     "SP."},
    // Rule 37
    {{kAuditPath, kClassOrdinary, kCodeNotice, kNoNote},
     kOnNoForm,
     kNoField,
     "You MUST file Married Filing Separately if either you or your spouse INDIVIDUALLY "
     "claim the Employment Incentive Payment Credit, PA Job Creation Tax Credit, PA "
     "Research and Development Tax Credit, PA Film Production Credit, PA Organ and Bone "
     "Marrow Donor Tax Credit, PA Keystone Innovation Zone Tax Credit, PA Resource "
     "Enhancement Tax Credit, or the PA Neighborhood Assistance Tax Credit. You'll need "
     "to create a 'married filing separate' federal return for each of you, then "
     "complete the PA return."},
    // Rule 38
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the PA Form REV-1630 - Underpayment of Estimated Tax by "
     "Individuals and Fiduciaries to your PA return."},
    // Rule 39
    {{kAuditPath, kClassEFile, kCodeNoEFile, kNoNote},
     kOnPA40,
     PA40::kPenaltyNoBox,
     "You told us you'd like to figure your Pennsylvania underpayment penalty and file "
     "PA Form REV-1630 - Underpayment of Estimated Tax by Individuals and "
     "Fiduciaries. Since this form isn't included in our program, you can't "
     "e-file with it. To e-file, check the box to let the "
     "Pennsylvania Department of Revenue  bill you for any underpayment penalty "
     "you might owe."},
    // Rule 40
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of PA Form REV-459B - consent to Transfer, Adjust or Correct PA "
     "Estimated Personal Income Tax Account to your return."},
    // Rule 41
    {kEFileNotice,
     kOnScheduleGL,
     {PAScheduleGL::kFirstEntityIncome, 0},
     "Because your income from all copies of your Schedule G-L exceeds your PA taxable "
     "income for one or more types of income, you'll need to adjust your other state tax "
     "credit computation. For example, if your total PA compensation subject to tax in "
     "another state from all copies of your Schedule G-L, line 2, column C is more than "
     "your total PA compensation reported on all copies of Schedule G-L, line 2, column "
     "A, reduce the amounts you entered on the appropriate copy of Schedule G-L, Part "
     "II, line 2, column A accordingly."},
    // Rule 42
    {kAttach, kOnNoForm, kNoField,
     " NOTE: Make sure you include both page 1 and page 2 of your PA-40."},
};

#undef NO_EFILE_BECAUSE
#undef DOR_REFUSES

const int kRuleCount = sizeof(kRules) / sizeof(kRules[0]);
static_assert(sizeof(kRules) / sizeof(kRules[0]) == 42, "the PA-40 audit has 42 rules");
const int kAdjustmentsRule = 20;  // the one text naming a line

// The answer of one rule and whether it is reported at all.
struct Finding {
  bool reported = true;
  bool answer = false;
};

// Reads of the audited PA-40 copy; an empty holder reads as empty.
double amountOf(const DataMgmt::TaxFormPtr& form, const OVImmutableIdentifier& field) {
  return form.isNull() ? 0.0 : form->getIR(field);
}
bool markedOn(const DataMgmt::TaxFormPtr& form, const OVImmutableIdentifier& field) {
  return !form.isNull() && form->xMarked(field);
}

// The answers of the rules on one audited PA-40 copy, worked out in two
// steps. Borrows the PA return, the copy's holder and the federal return
// (may be null).
class PA40Findings {
 public:
  using PA40Field = NamedField<PA40FieldIds>;
  using FieldId = OVImmutableIdentifier;
  PA40Findings(const PADataMgmt::PATaxReturn& pa, const DataMgmt::TaxFormPtr& formCopy, unsigned short copy,
               bool paper, const DataMgmt::TaxReturn* federalReturn)
      : pa(pa), formCopy(formCopy), copy(copy), paper(paper), federalReturn(federalReturn) {}

  // Rules 1-23 into f[1..23]: wage statements, military pay, W-2Gs,
  // employee expenses, business, farm and joint-venture income.
  void wageAndIncomeRules(Finding* f) const;
  // Rules 24-42 into f[24..42]: withholding and credits, the daytime
  // phone, farm income, gambling, Schedule SP, penalty and transfer forms,
  // Schedule G-L and the two pages of the PA-40.
  void creditAndPaymentRules(Finding* f) const;

 private:
  double copy1(const PA40Field& field) const { return static_cast<double>(pa.getIN(kFormID_PA40, 1, field)); }
  bool w2sYes(const FieldId& field) const { return pa.formYes(kFormID_PAScheduleW2S, 1, field); }
  double amount(const PA40Field& field) const { return amountOf(formCopy, field); }
  bool marked(const PA40Field& field) const { return markedOn(formCopy, field); }
  bool significant(const PA40Field& field) const { return pa.hasSigValue(kFormID_PA40, copy, field); }
  bool significant1(const PA40Field& field) const { return pa.hasSigValue(kFormID_PA40, 1, field); }
  double ocAmount(const FieldId& field, uint16_t ocCopy) const {
    return static_cast<double>(pa.getIN(kFormID_PAScheduleOC, ocCopy, field));
  }

  const PADataMgmt::PATaxReturn& pa;
  const DataMgmt::TaxFormPtr& formCopy;
  const unsigned short copy;
  const bool paper;
  const DataMgmt::TaxReturn* federalReturn;
};

void PA40Findings::wageAndIncomeRules(Finding* f) const {
  f[1].answer = paper && (marked(PA40::kRK1IncomeBox) || marked(PA40::kNRK1IncomeBox));
  f[2].answer = (paper && w2sYes(PAScheduleW2S::kW2ExplanationBox)) ||
                w2sYes(PAScheduleW2S::kW2ExplanationBothBox) ||
                w2sYes(PAScheduleW2S::kAdditionalW2ExplanationBox) ||
                w2sYes(PAScheduleW2S::kOtherStateWagesBox);
  f[3].answer = (paper && w2sYes(PAScheduleW2S::kTaxpayerWagesDifferenceBox)) ||
                w2sYes(PAScheduleW2S::kSpouseWagesDifferenceBox);
  f[4].answer = paper && w2sYes(PAScheduleW2S::kWithholdingRateBox);
  f[5].answer = paper && w2sYes(PAScheduleW2S::kIncorrectW2Box);
  f[6].answer =
      (paper && w2sYes(PAScheduleW2S::kMissingW2Box)) || w2sYes(PAScheduleW2S::kMissingW2BothBox);
  f[7].answer =
      (paper &&
       (copy1(PA40::kTaxpayerMiscCompensation) > 0 || copy1(PA40::kSpouseMiscCompensation) > 0)) ||
      pa.getIN(kFormID_PAScheduleW2S, copy, PAScheduleW2S::kMiscCompTotalPATaxWithheld) > 0;
  const double paW2Wages =
      static_cast<double>(pa.getAllCopies(kFormID_PAW2, PAW2::kSpouseFederalWages) +
                          pa.getAllCopies(kFormID_PAW2, PAW2::kTaxpayerFederalWages));
  f[8].answer =
      paper && paW2Wages != static_cast<double>(pa.getIN(kFormID_PAScheduleW2S, 1,
                                                         PAScheduleW2S::kWagesTotalPACompensation));
  const bool militaryPay =
      amount(PA40::kTaxpayerMilitaryPay) != 0 || amount(PA40::kSpouseMilitaryPay) != 0;
  f[9].answer = paper && militaryPay;
  f[10].reported = !paper;
  f[10].answer =
      militaryPay || pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kCombatZoneYesBox);
  const long w2gCopies =
      federalReturn == nullptr ? 0 : federalReturn->numFormCopies(kFormID_FedW2G);
  f[11].answer = w2gCopies > kMaxFederalW2GCopies;
  f[12].answer =
      marked(PA40::kTaxpayerExpensesLimitedBox) || marked(PA40::kSpouseExpensesLimitedBox);
  f[13].answer = amount(PA40::kTaxpayerUEExpenses) != amount(PA40::kTaxpayerExpenses) ||
                 amount(PA40::kSpouseUEExpenses) != amount(PA40::kSpouseExpenses);
  const bool rk1Business =
      amount(PA40::kTaxpayerRK1BusinessIncome) != 0 || amount(PA40::kSpouseRK1BusinessIncome) != 0;
  const bool line21Business = amount(PA40::kTaxpayerFederalOtherBusinessIncome) != 0 ||
                              amount(PA40::kSpouseFederalOtherBusinessIncome) != 0;
  f[14].answer = rk1Business;
  f[15].answer = line21Business;
  f[16].answer = (amount(PA40::kTaxpayerFederalFarmIncome) != 0 ||
                  amount(PA40::kSpouseFederalFarmIncome) != 0) &&
                 !significant(PA40::kTaxpayerFarmIncome) && !significant(PA40::kSpouseFarmIncome);
  f[17].answer =
      (paper && significant(PA40::kTaxpayerFarmIncome)) || significant(PA40::kSpouseFarmIncome);
  f[18].answer = paper && (rk1Business || line21Business);
  f[19].answer = paper && pa.getAllCopies(kFormID_PAScheduleC, PAScheduleC::kOtherIncome) > 0;
  f[20].answer =
      paper && pa.getAllCopies(kFormID_PAScheduleC, PAScheduleC::kOtherPAAdjustments) != 0;
  f[21].answer = paper && amount(PA40::kJointVentureScheduleCCount) > 0;
  f[22].answer = copy1(PA40::kJointVentureScheduleCCount) > 0 &&
                 !significant1(PA40::kTaxpayerJointVentureRents) &&
                 !significant1(PA40::kSpouseJointVentureRents);
  f[23].answer = amount(PA40::kJointVentureScheduleCCount) > 0;
}

void PA40Findings::creditAndPaymentRules(Finding* f) const {
  f[24].answer = copy1(PA40::kNonresidentWithholding) > 0;
  f[25].answer = copy1(PA40::kEstateTrustIncome) > 0;
  f[26].answer = copy1(PA40::kOtherCredits) > 0;
  f[27].answer = ocAmount(PAScheduleOC::kEmploymentIncentiveCredit, 1) > 0;
  f[28].answer = ocAmount(PAScheduleOC::kJobCreationCredit, 1) > 0;
  f[29].answer = ocAmount(PAScheduleOC::kResearchDevelopmentCredit, 1) > 0;
  f[30].answer = paper && amount(PA40::kResidentCredit) > 0;
  const bool noPhone = !significant1(PA40::kDaytimePhone);
  // The election as the calculation of the direct deposit and debit form
  // makes it, whether or not that form exists yet.
  f[31].reported = PACalculationMgmt::bankElectionOfReturn(pa, federalReturn) !=
                   PACalculationMgmt::BankElection::kNeither;
  f[31].answer = noPhone;
  f[32].answer = noPhone;
  const double scheduleF =
      federalReturn == nullptr
          ? 0.0
          : static_cast<double>(federalReturn->getIN(kFormID_FedReturn, 1, FedReturn::kFarmIncome));
  f[33].answer = scheduleF > 0;
  f[34].answer = paper && amount(PA40::kGamblingWinnings) > 0;
  f[35].answer =
      paper && pa.getFieldAsString(kFormID_PA40, 1, PA40::kDeductionCodeText) != "N";
  f[36].reported = !pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox);
  f[36].answer = paper && copy1(PA40::kForgivenessCredit) > 0;
  f[37].answer =
      pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kJointBox) &&
      ocAmount(PAScheduleOC::kTotalCredits, 1) != ocAmount(PAScheduleOC::kTotalCredits, 2);
  f[38].answer = paper && marked(PA40::kPenaltyFiguredYesBox);
  f[39].answer = marked(PA40::kPenaltyFiguredYesBox);
  f[40].answer = paper && marked(PA40::kREV459BYesBox);
  f[41].answer = pa.formYes(kFormID_PAScheduleGL, 1, PAScheduleGL::kTaxpayerExcessBox) ||
                 pa.formYes(kFormID_PAScheduleGL, 1, PAScheduleGL::kSpouseExcessBox);
  f[42].answer = paper;
}

}  // namespace

void PATaxFormAuditor::auditReturnAttachments(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  auditPaymentSubmission(3);

  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const PA40Findings findings(pa, formCopy, copy, !eFileAudit, federalReturn);
  Finding f[kRuleCount + 1];  // f[n] is rule n; f[0] is unused
  findings.wageAndIncomeRules(f);
  findings.creditAndPaymentRules(f);

  const OVImmutableFormIdentifier noForm;
  for (int n = 1; n <= kRuleCount; ++n) {
    if (!f[n].reported) continue;
    const AttachmentRule& rule = kRules[n - 1];
    const OVImmutableFormIdentifier& form = rule.target == kOnPA40         ? kFormID_PA40
                                            : rule.target == kOnScheduleGL ? kFormID_PAScheduleGL
                                                                           : noForm;
    const char* text = rule.text;
    char formatted[512];
    if (n == kAdjustmentsRule) {
      char line[32];
      pa.getLineID(line, kFormID_PAScheduleC, PAScheduleC::kOtherPAAdjustmentsText);
      std::snprintf(formatted, sizeof(formatted), rule.text, line);
      text = formatted;
    }
    reportRule(*this, rule.message, f[n].answer, form, copy, rule.field, text);
  }
}

}  // namespace PAAuditMgmt
