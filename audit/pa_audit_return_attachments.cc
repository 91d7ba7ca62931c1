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
#include <cstring>

#include "audit/pa_rule_message.h"
#include "audit/pa_tax_form_auditor.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableFormIdentifier;
using Primitives::OVImmutableIdentifier;

// PA-40 members; host field numbers in comments.
const int kRK1Box = 79;                  // 360: check box
const int kNRK1Box = 80;                 // 401: check box
const int kUEExceedsWagesTP = 96;        // 42784: check box
const int kUEExceedsWagesSP = 97;        // 42785: check box
const int kJointVentureIncome = 103;     // 52351
const int kFederalFarmTP = 105;          // 56128
const int kFederalFarmSP = 106;          // 56129
const int kDaytimePhone = 139;           // 116
const int kCompNotOnW2TP = 148;          // 36516
const int kCompNotOnW2SP = 149;          // 36517
const int kMilitaryPayTP = 152;          // 36518
const int kMilitaryPaySP = 153;          // 36519
const int kUEExpensesTP = 163;           // 36522
const int kUEExpensesSP = 164;           // 36523
const int kScheduleUEExpensesTP = 169;   // 36526
const int kScheduleUEExpensesSP = 170;   // 36527
const int kUEMismatchField = 171;        // 138
const int kPAFarmTP = 177;               // 56130
const int kPAFarmSP = 178;               // 56131
const int kRK1BusinessTP = 179;          // 288
const int kRK1BusinessSP = 180;          // 289
const int kLine21BusinessTP = 181;       // 290
const int kLine21BusinessSP = 182;       // 291
const int kJointVentureNetTP = 193;      // 52352
const int kJointVentureNetSP = 194;      // 52353
const int kEstateTrustIncome = 199;      // 148
const int kFederalScheduleAmount = 200;  // 169
const int kPageOneAnswer = 202;          // 36092: text
const int kConsentREV459B = 213;         // 132859: check box
const int kScheduleSPClaimed = 228;      // 244
const int kOtherStateCredit = 231;       // 245
const int kScheduleOCCredits = 232;      // 266
const int kNRK1Income = 219;             // 237
const int kPenaltyField = 252;           // 357
const int kFigurePenaltyBox = 253;       // 15211: check box

// Schedule W2-S members (yes-boxes of copy 1 unless stated).
const int kW2SExplanation = 61;        // 11
const int kW2SIncorrect = 31;          // 12
const int kW2SExplanationBoth = 32;    // 13
const int kW2SDifferenceTP = 28;       // 42775
const int kW2SDifferenceSP = 29;       // 42776
const int kW2SRate = 33;               // 72
const int kW2SMissingW2Both = 34;      // 12233
const int kW2SMissingW2 = 36;          // 36531
const int kW2SSecondExplanation = 37;  // 50652
const int kW2SThirdExplanation = 54;   // 12234
const int kW2SPATaxableWages = 99;     // 50: amount
const int kW2SCompNotOnW2 = 174;       // 9484: amount

// Other forms.
const int kPAW2FederalWagesTP = 155;   // PA W-2 79818
const int kPAW2FederalWagesSP = 158;   // PA W-2 79819
const int kInfoScheduleSPPage1 = 101;  // information form 46: check box
const int kInfoJointBox = 117;         // information form 57: check box
const int kInfoMilitary = 168;         // information form 50936: yes/no
const int kCOtherIncome = 96;          // Schedule C 56219
const int kCAdjustmentsLine = 187;     // Schedule C 56298
const int kCAdjustments = 188;         // Schedule C 56299
const int kOCEIPCredit = 12;           // Schedule OC 8
const int kOCJobCreationCredit = 15;   // Schedule OC 9
const int kOCResearchCredit = 18;      // Schedule OC 10
const int kOCPersonCredits = 71;       // Schedule OC 11
const int kDirectDeposit = 32;         // direct deposit and debit 29: check box
const int kDirectDebit = 34;           // direct deposit and debit 31: check box
const int kGLCompensationExcess = 19;  // Schedule G-L 159108: check box
const int kGLOtherIncomeExcess = 20;   // Schedule G-L 159109: check box
const int kGLMessageField = 69;        // Schedule G-L 158235
const int kFederalScheduleF = 606;     // federal return 91

const long kMaxFederalW2GCopies = 20;

// The form a rule's message points at.
enum Target { kOnPA40, kOnNoForm, kOnScheduleGL };
const int kNoField = -1;

struct AttachmentRule {
  RuleMessage message;
  Target target;
  int field;  // member of the target form's catalog, or kNoField
  const char* text;
};

const RuleMessage kAttach = {kAuditPath, 0x08, 7, 0};
const RuleMessage kAuditEFileOnly = {kAuditPath, 0x02, 6, 1};
const RuleMessage kRefusal = {kEFilePath, 0x22, 6, 1};
const RuleMessage kEFileNotice = {kEFilePath, 0x01, 7, 0};

#define NO_EFILE_BECAUSE "This program does not support electronic filing for taxpayers "
#define DOR_REFUSES                                                              \
  "The Pennsylvania Department of Revenue does not accept electronically filed " \
  "tax returns from taxpayers who claim a "

// Report order; each entry is headed by its rule number (1-based) used below.
const AttachmentRule kRules[] = {
    // 1
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the PA Schedule RK-1 or PA Schedule NRK-1 for each activity with "
     "income taxable in PA. If the entity did not issue a Schedule RK-1 or NRK-1, then "
     "attach a copy of your Schedule K-1 for that entity.Insert these forms after the "
     "PA-40, the PA Schedule W2-S, and the PA Schedule OC depending on the forms in your "
     "Pennsylvania return"},
    // 2
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your Forms W-2 and a written explanation with your PA return"},
    // 3
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 along with an explanation of the difference "
     "and/or a letter from your employer documenting the difference with your PA return"},
    // 4
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 and a written statement from your employer "
     "verifying the rate and amount of tax withheld for the tax year with your PA return"},
    // 5
    {kAttach, kOnPA40, kNoField,
     "Submit a copy of your Form(s) W-2 and a written statement from your employer "
     "regarding the incorrect Form W-2 with your PA return"},
    // 6
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of your Form W-2 as well as Form PA W-2 Reconciliation Worksheet to "
     "your return."},
    // 7
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your Form(s) 1099 and other statements supporting all of your "
     "compensation and PA withholding not reported on a Form W-2."},
    // 8
    {kAttach, kOnPA40, kNoField,
     "Include a statement explaining why PA taxable wages are different from your federal "
     "W-2 wages."},
    // 9
    {kAttach, kOnPA40, kNoField,
     "Submit copies of all your W-2 forms and your military orders assigning you to "
     "active duty outside of PA to your return."},
    // 10
    {kAttach, kOnPA40, kNoField,
     "Submit copies of your military orders assigning you to active duty outside of "
     "Pennsylvania to your PA-8453/PA-8879."},
    // 11
    {kRefusal, kOnPA40, kNoField, "More than 20 copies of federal Form W-2G is not allowed"},
    // 12
    {kEFileNotice, kOnNoForm, kNoField,
     "You claimed employee business expenses on your PA Schedule UE in excess of your "
     "W-2 wages. "
     "Review your Schedule(s) UE to make sure that you checked the proper box "
     "indicating "
     "the correct ownership for each schedule and to make sure that entered the correct "
     "amounts."},
    // 13
    {kRefusal, kOnPA40, kUEMismatchField,
     "This program does not support e-filing for taxpayers whose unreimbursed employee "
     "business expenses reported on PA-40 do not equal the amount on PA Schedule UE"},
    // 14
    {kRefusal, kOnPA40, kNoField,
     "This program does not support e-filing for taxpayers with business income/loss "
     "reported on PA Schedule RK-1 or NRK-1"},
    // 15
    {kAuditEFileOnly, kOnPA40, kNoField,
     "This program does not support electronic for taxpayers who earned "
     "business income which was reported on line 21 of their federal return."},
    // 16
    {kEFileNotice, kOnPA40, kPAFarmTP,
     "You reported farm income or loss on your federal return but not on your "
     "Pennsylvania return. If this farming activity is taxable in Pennsylvania, you must "
     "report it on your Pennsylvania return."},
    // 17
    {kAttach, kOnPA40, kNoField,
     "Attach your PA Schedule F for any farm activity where your Pennsylvania income "
     "and/or expenses differs from that reported on your federal Schedule F. If there "
     "are no differences, you can attach either your federal or Pennsylvania Schedule F "
     "for that farm activity."},
    // 18
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your business income/loss not reported on your "
     "federal return on Schedule C or Schedule F."},
    // 19
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your 'Other Income' reported on your PA Schedule C, "
     "line 4."},
    // 20
    {kAttach, kOnPA40, kNoField,
     "Attach a schedule describing your 'Other Pennsylvania Adjustments' reported on "
     "your PA Schedule C, line %s."},
    // 21
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of each federal Schedule C that reports real estate rental "
     "income/loss from a qualified joint venture"},
    // 22
    {kEFileNotice, kOnPA40, kJointVentureNetTP,
     "You reported rental real estate income from a joint venture on your federal "
     "return on federal Schedule C. Please enter your net income or loss from all such "
     "activities."},
    // 23
    {kAuditEFileOnly, kOnPA40, kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with rental real estate income or loss from a qualified joint venture and "
                      "reported on federal Schedule C."},
    // 24
    {kAuditEFileOnly, kOnPA40, kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with income or withholding reported on a PA Schedule NRK-1, for nonresident "
                      "partners, shareholders and members."},
    // 25
    {{kEFilePath, 0x02, 6, 1},
     kOnPA40,
     kNoField,
     NO_EFILE_BECAUSE "filing a tax return  "
                      "with income from an Estate or Trust and reported on PA Sch J."},
    // 26
    {kRefusal, kOnPA40, kNoField,
     "Efile is not available for taxpayers who claim credits on PA Schedule OC."},
    // 27
    {kAuditEFileOnly, kOnPA40, kNoField,
     DOR_REFUSES "PA Employment Incentive Payment (EIP) Credit."},
    // 28
    {kAuditEFileOnly, kOnPA40, kNoField, DOR_REFUSES "PA Job Creation Credit."},
    // 29
    {kAuditEFileOnly, kOnPA40, kNoField, DOR_REFUSES "PA Research and Development Tax Credit."},
    // 30
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the tax return for each other state identified on your "
     "Schedule(s) G-L also attach a copy of each form or other statment that shows how "
     "the income and taxes were determined for other states for which you are claiming "
     "the credit."},
    // 31
    {{kAuditPath, 0x02, 4, 0},
     kOnPA40,
     kDaytimePhone,
     "you must include your daytime phone number if you elect either direct deposit or "
     "direct debit"},
    // 32
    {{kAuditPath, 0x01, 7, 0}, kOnPA40, kDaytimePhone, "daytime telephone number"},
    // 33
    {kAuditEFileOnly, kOnPA40, kNoField,
     "This program does not support electronic filing for taxpayers who have a "
     "Schedule F on their Federal Return."},
    // 34
    {kAttach, kOnPA40, kNoField,
     "Attach the same schedule, explanation or information to "
     "your PA-40 that you provided with your Federal Income Tax Return"},
    // 35
    {kAttach, kOnPA40, kNoField, "attach a copy of page 1 of your federal Form 1040"},
    // 36
    {kAttach, kOnPA40, kNoField,
     "attach a copy of page 1 of your federal Form 1040 along with your PA Schedule "
     "SP."},
    // 37
    {{kAuditPath, 0x01, 7, 0},
     kOnNoForm,
     kNoField,
     "You MUST file Married Filing Separately if either you or your spouse INDIVIDUALLY "
     "claim the Employment Incentive Payment Credit, PA Job Creation Tax Credit, PA "
     "Research and Development Tax Credit, PA Film Production Credit, PA Organ and Bone "
     "Marrow Donor Tax Credit, PA Keystone Innovation Zone Tax Credit, PA Resource "
     "Enhancement Tax Credit, or the PA Neighborhood Assistance Tax Credit. You'll need "
     "to create a 'married filing separate' federal return for each of you, then "
     "complete the PA return."},
    // 38
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of the PA Form REV-1630 - Underpayment of Estimated Tax by "
     "Individuals and Fiduciaries to your PA return."},
    // 39
    {{kAuditPath, 0x02, 6, 0},
     kOnPA40,
     kPenaltyField,
     "You told us you'd like to figure your Pennsylvania underpayment penalty and file "
     "PA Form REV-1630 - Underpayment of Estimated Tax by Individuals and "
     "Fiduciaries. Since this form isn't included in our program, you can't "
     "e-file with it. To e-file, check the box to let the "
     "Pennsylvania Department of Revenue  bill you for any underpayment penalty "
     "you might owe."},
    // 40
    {kAttach, kOnPA40, kNoField,
     "Attach a copy of PA Form REV-459B - consent to Transfer, Adjust or Correct PA "
     "Estimated Personal Income Tax Account to your return."},
    // 41
    {kEFileNotice, kOnScheduleGL, kGLMessageField,
     "Because your income from all copies of your Schedule G-L exceeds your PA taxable "
     "income for one or more types of income, you'll need to adjust your other state tax "
     "credit computation. For example, if your total PA compensation subject to tax in "
     "another state from all copies of your Schedule G-L, line 2, column C is more than "
     "your total PA compensation reported on all copies of Schedule G-L, line 2, column "
     "A, reduce the amounts you entered on the appropriate copy of Schedule G-L, Part "
     "II, line 2, column A accordingly."},
    // 42
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

const OVImmutableIdentifier& pa40(int member) { return kPA40FieldIds[member]; }
const OVImmutableIdentifier& w2s(int member) { return kPAScheduleW2SFieldIds[member]; }

// Reads of the audited PA-40 copy; an empty holder reads as empty.
double amountOf(const DataMgmt::TaxFormPtr& form, int member) {
  return form.isNull() ? 0.0 : form->getIR(pa40(member));
}
bool markedOn(const DataMgmt::TaxFormPtr& form, int member) {
  return !form.isNull() && form->xMarked(pa40(member));
}

const OVImmutableIdentifier& targetField(const AttachmentRule& rule) {
  if (rule.field == kNoField) return Primitives::kNullFieldID;
  return rule.target == kOnScheduleGL ? kPAScheduleGLFieldIds[rule.field] : pa40(rule.field);
}

}  // namespace

void PATaxFormAuditor::auditReturnAttachments(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  auditPaymentSubmission(3);

  const PADataMgmt::PATaxReturn& pa = *paReturn;
  const bool paper = !eFileAudit;
  auto copy1 = [&pa](int member) {
    return static_cast<double>(pa.getIN(kFormID_PA40, 1, pa40(member)));
  };
  auto w2sYes = [&pa](int member) { return pa.formYes(kFormID_PAScheduleW2S, 1, w2s(member)); };
  auto amount = [&formCopy](int member) { return amountOf(formCopy, member); };
  auto marked = [&formCopy](int member) { return markedOn(formCopy, member); };
  auto significant = [&pa, copy](int member) {
    return pa.hasSigValue(kFormID_PA40, copy, pa40(member));
  };
  auto significant1 = [&pa](int member) { return pa.hasSigValue(kFormID_PA40, 1, pa40(member)); };
  auto ocAmount = [&pa](int member, uint16_t ocCopy) {
    return static_cast<double>(
        pa.getIN(kFormID_PAScheduleOC, ocCopy, kPAScheduleOCFieldIds[member]));
  };

  Finding f[kRuleCount + 1];  // f[n] is rule n; f[0] is unused
  f[1].answer = paper && (marked(kRK1Box) || marked(kNRK1Box));
  f[2].answer = (paper && w2sYes(kW2SExplanation)) || w2sYes(kW2SExplanationBoth) ||
                w2sYes(kW2SThirdExplanation) || w2sYes(kW2SSecondExplanation);
  f[3].answer = (paper && w2sYes(kW2SDifferenceTP)) || w2sYes(kW2SDifferenceSP);
  f[4].answer = paper && w2sYes(kW2SRate);
  f[5].answer = paper && w2sYes(kW2SIncorrect);
  f[6].answer = (paper && w2sYes(kW2SMissingW2)) || w2sYes(kW2SMissingW2Both);
  f[7].answer = (paper && (copy1(kCompNotOnW2TP) > 0 || copy1(kCompNotOnW2SP) > 0)) ||
                pa.getIN(kFormID_PAScheduleW2S, copy, w2s(kW2SCompNotOnW2)) > 0;
  const double paW2Wages =
      static_cast<double>(pa.getAllCopies(kFormID_PAW2, kPAW2FieldIds[kPAW2FederalWagesSP]) +
                          pa.getAllCopies(kFormID_PAW2, kPAW2FieldIds[kPAW2FederalWagesTP]));
  f[8].answer = paper && paW2Wages != static_cast<double>(pa.getIN(kFormID_PAScheduleW2S, 1,
                                                                   w2s(kW2SPATaxableWages)));
  const bool militaryPay = amount(kMilitaryPayTP) != 0 || amount(kMilitaryPaySP) != 0;
  f[9].answer = paper && militaryPay;
  f[10].reported = eFileAudit;
  f[10].answer =
      militaryPay || pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoMilitary]);
  const long w2gCopies =
      federalReturn == nullptr ? 0 : federalReturn->numFormCopies(kFormID_FedW2G);
  f[11].answer = w2gCopies > kMaxFederalW2GCopies;
  f[12].answer = marked(kUEExceedsWagesTP) || marked(kUEExceedsWagesSP);
  f[13].answer = amount(kUEExpensesTP) != amount(kScheduleUEExpensesTP) ||
                 amount(kUEExpensesSP) != amount(kScheduleUEExpensesSP);
  const bool rk1Business = amount(kRK1BusinessTP) != 0 || amount(kRK1BusinessSP) != 0;
  const bool line21Business = amount(kLine21BusinessTP) != 0 || amount(kLine21BusinessSP) != 0;
  f[14].answer = rk1Business;
  f[15].answer = line21Business;
  f[16].answer = (amount(kFederalFarmTP) != 0 || amount(kFederalFarmSP) != 0) &&
                 !significant(kPAFarmTP) && !significant(kPAFarmSP);
  f[17].answer = (paper && significant(kPAFarmTP)) || significant(kPAFarmSP);
  f[18].answer = paper && (rk1Business || line21Business);
  f[19].answer =
      paper && pa.getAllCopies(kFormID_PAScheduleC, kPAScheduleCFieldIds[kCOtherIncome]) > 0;
  f[20].answer =
      paper && pa.getAllCopies(kFormID_PAScheduleC, kPAScheduleCFieldIds[kCAdjustments]) != 0;
  f[21].answer = paper && amount(kJointVentureIncome) > 0;
  f[22].answer = copy1(kJointVentureIncome) > 0 && !significant1(kJointVentureNetTP) &&
                 !significant1(kJointVentureNetSP);
  f[23].answer = amount(kJointVentureIncome) > 0;
  f[24].answer = copy1(kNRK1Income) > 0;
  f[25].answer = copy1(kEstateTrustIncome) > 0;
  f[26].answer = copy1(kScheduleOCCredits) > 0;
  f[27].answer = ocAmount(kOCEIPCredit, 1) > 0;
  f[28].answer = ocAmount(kOCJobCreationCredit, 1) > 0;
  f[29].answer = ocAmount(kOCResearchCredit, 1) > 0;
  f[30].answer = paper && amount(kOtherStateCredit) > 0;
  const bool noPhone = !significant1(kDaytimePhone);
  f[31].reported =
      pa.formYes(kFormID_PADirectDepositDebit, 1, kPADirectDepositDebitFieldIds[kDirectDeposit]) ||
      pa.formYes(kFormID_PADirectDepositDebit, 1, kPADirectDepositDebitFieldIds[kDirectDebit]);
  f[31].answer = noPhone;
  f[32].answer = noPhone;
  const double scheduleF = federalReturn == nullptr
                               ? 0.0
                               : static_cast<double>(federalReturn->getIN(
                                     kFormID_FedReturn, 1, kFedReturnFieldIds[kFederalScheduleF]));
  f[33].answer = scheduleF > 0;
  f[34].answer = paper && amount(kFederalScheduleAmount) > 0;
  char pageOne[128];
  pa.formString(pageOne, sizeof(pageOne), kFormID_PA40, 1, pa40(kPageOneAnswer));
  f[35].answer = paper && std::strcmp(pageOne, "N") != 0;
  f[36].reported =
      !pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoScheduleSPPage1]);
  f[36].answer = paper && copy1(kScheduleSPClaimed) > 0;
  f[37].answer = pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoJointBox]) &&
                 ocAmount(kOCPersonCredits, 1) != ocAmount(kOCPersonCredits, 2);
  f[38].answer = paper && marked(kFigurePenaltyBox);
  f[39].answer = marked(kFigurePenaltyBox);
  f[40].answer = paper && marked(kConsentREV459B);
  f[41].answer =
      pa.formYes(kFormID_PAScheduleGL, 1, kPAScheduleGLFieldIds[kGLCompensationExcess]) ||
      pa.formYes(kFormID_PAScheduleGL, 1, kPAScheduleGLFieldIds[kGLOtherIncomeExcess]);
  f[42].answer = paper;

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
      pa.getLineID(line, kFormID_PAScheduleC, kPAScheduleCFieldIds[kCAdjustmentsLine]);
      std::snprintf(formatted, sizeof(formatted), rule.text, line);
      text = formatted;
    }
    reportRule(*this, rule.message, f[n].answer, form, copy, targetField(rule), text);
  }
}

}  // namespace PAAuditMgmt
