// Audit rules of PA Schedule SP, special tax forgiveness: filing-status
// boxes, spouses and persons claiming the filer as a dependent, the
// dependents of Part B, the eligibility income of Part C, and where
// electronic filing must be refused.
//
// Boxes, empty fields and amounts are read on the audited copy; presence,
// Yes answers and whole amounts through the PA return on copy 1 of their
// form, whatever copy is audited.
#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using Primitives::OVImmutableIdentifier;

// PA Schedule SP members; host field numbers in comments.
const int kUnmarried = 38;                    // 11
const int kUnmarriedFirst = 39;               // 12
const int kUnmarriedDependent = 40;           // 13: claimed as a dependent
const int kClaimerName = 41;                  // 14
const int kClaimerSSN = 42;                   // 15
const int kFurtherStatus = 43;                // 18
const int kMarried = 44;                      // 21
const int kMarriedFirst = 45;                 // 22
const int kMarriedSeparate = 46;              // 23: filing separate Schedules SP
const int kMarriedDependent = 48;             // 24: claimed as a dependent
const int kMarriedFourth = 51;                // 32
const int kMarriedClaimerName = 49;           // 25
const int kMarriedClaimerSSN = 50;            // 26
const int kSameInformation = 47;              // 54: separate-schedules certification
const int kSpouseName = 21;                   // 17943
const int kSpouseSSN = 23;                    // 17945
const int kSpouseSSNEntry = 25;               // 10
const int kDeceasedMark = 52;                 // 19
const int kAnnualizeMethod = 53;              // 20
const int kClaimantDependent = 26;            // 36533
const int kClaimantSecond = 28;               // 36535
const int kClaimantThird = 29;                // 36536
const int kSpouseDependent = 30;              // 36874
const int kSpouseSecond = 32;                 // 36876
const int kSpouseThird = 33;                  // 36877
const int kNewDependents = 11;                // 208815
const int kForm1040Page = 9;                  // 139388
const int kDependentCount = 70;               // 53
const int kIncomeOutsidePA[] = {92, 93, 94};  // 66, 67, 9594: line 6 of Part C
const int kFurtherAmountA = 117;              // 9607
const int kFurtherAmountB = 118;              // 9608

// Dependents 1 to 4 of Part B: name, age, relationship, social security number.
struct Dependent {
  int name, age, relationship, ssn;
};
const Dependent kDependents[] = {
    {54, 55, 56, 57},  // 33, 34, 35, 36
    {58, 59, 60, 61},  // 38, 39, 40, 41
    {62, 63, 64, 65},  // 43, 44, 45, 46
    {66, 67, 68, 69},  // 48, 49, 50, 51
};

// Part C amounts in the order they are tested for a negative value
// (the last line's amount 78 is tested twice).
const int kEligibilityIncome[] = {
    71, 80, 83, 86, 89, 92, 95, 98,  101, 104, 107,  // 56, 58, ... 74, 76
    72, 81, 84, 87, 90, 93, 96, 99,  102, 105, 6,    // 57, 59, ... 75, 78
    73, 82, 85, 88, 91, 94, 97, 100, 103, 106, 6,    // 9589 ... 9598, 78
};

// Members of other forms.
const int kInfoNonresident = 102;  // PAReturnInfo 47
const int kInfoPartYear = 103;     // PAReturnInfo 48
const int kInfoJoint = 117;        // PAReturnInfo 57
const int kPA40Deceased = 223;     // PA40 338

const OVImmutableIdentifier& sp(int member) { return kPAScheduleSPFieldIds[member]; }

}  // namespace

void PATaxFormAuditor::auditScheduleSP(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  if (formCopy.isNull()) return;
  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleSP;
  const ScheduleRuleReporter report(*this, form, copy);
  PADataMgmt::PATaxReturn& pa = *paReturn;
  const DataMgmt::TaxForm& sched = *formCopy;
  const bool ordinary = !eFileAudit;
  auto marked = [&sched](int member) { return sched.xMarked(sp(member)); };
  auto empty = [&sched](int member) { return sched.isNull(sp(member)); };
  auto amount = [&sched](int member) { return sched.getIR(sp(member)); };
  auto present = [&pa, &form](int member) { return pa.hasSigValue(form, 1, sp(member)); };

  // Rules 1-2: the spouse's name and number.
  if (marked(kMarried) || marked(kFurtherStatus)) {
    const bool missing = !present(kSpouseName) || !present(kSpouseSSN) || empty(kSpouseSSNEntry);
    const char* text = "You must include your spouse's name and social security number";
    report.requiredPair(missing, sp(kSpouseName), text, text);
  }

  // Rule 3: a deceased claimant's annualized income.
  report.issue(kClassOrdinary,
               pa.formYes(kFormID_PA40, 1, kPA40FieldIds[kPA40Deceased]) && marked(kDeceasedMark) &&
                   !present(kAnnualizeMethod),
               kCodeNotice, sp(kAnnualizeMethod),
               "If you wish to complete the Schedule SP for a deceased individual, you must "
               "describe the method used to annualize the claimant's income.");

  // Rules 4-5: who claims an unmarried claimant.
  const bool claimerMissing =
      marked(kUnmarriedDependent) && (empty(kClaimerName) || !present(kClaimerSSN));
  report.requiredPair(claimerMissing, sp(kClaimerName),
                      "You must include the name and social security number of the person "
                      "claiming you as a dependent on his/her federal return",
                      "You must include the name and social security number of the person "
                      "claiming you as a dependent on his/her federal return.");

  // Rules 6-7: claimed as a dependent elsewhere.
  report.issue(kClassOrdinary, marked(kClaimantDependent), kCodeNotice, sp(kClaimantDependent),
               "Since you were claimed as a dependent on another person's return, review your "
               "information to verify your eligibility to claim the tax forgiveness credit.");
  report.issue(kClassOrdinary, marked(kSpouseDependent), kCodeNotice, sp(kSpouseDependent),
               "Since your spouse was claimed as a dependent on another person's return, review "
               "your information to verify your spouse's eligibility to claim the tax "
               "forgiveness credit.");

  // Rules 8-9: who claims a married claimant or the spouse.
  const bool marriedClaimerMissing =
      marked(kMarriedDependent) && (empty(kMarriedClaimerName) || !present(kMarriedClaimerSSN));
  const char* claimerText =
      "You must include the name and social security number of the person claiming you or "
      "your spouse.";
  report.requiredPair(marriedClaimerMissing, sp(kMarriedClaimerName), claimerText, claimerText);

  // Rule 10: both spouses claimed as dependents.
  const bool bothDependents = marked(kClaimantDependent) && marked(kClaimantSecond) &&
                              marked(kSpouseDependent) && marked(kSpouseSecond);
  report.issue(kClassAttachment, ordinary && bothDependents, kCodeNotice, Primitives::kNullFieldID,
               "Attach a statement with the names and social security numbers of the persons "
               "claiming you and your spouse as a dependent and review your information to verify "
               "your eligibility to claim the tax forgiveness credit.");

  // Rules 11-12: dependent children claimed for the first time.
  const bool newDependents = marked(kNewDependents) && amount(kDependentCount) > 0 &&
                             amount(kFurtherAmountA) + amount(kFurtherAmountB) > 0;
  report.issue(kClassAttachment, ordinary && newDependents, kCodeNotice, Primitives::kNullFieldID,
               "include a copy of the birth certificates and Social Security cards of all the "
               "dependents listed on Schedule SP, Part B.");
  report.efile(kClassRefusal,
               marked(kNewDependents) && sched.gtZero(sp(kDependentCount)) &&
                   amount(kFurtherAmountB) + amount(kFurtherAmountA) > 0,
               kCodeNoEFile, Primitives::kNullFieldID,
               "You can't e-file, since it's the first time you're claiming dependent children "
               "for the tax forgiveness credit or you've added a dependent this year",
               kStateOnlyNote);

  // Rules 13-16: the boxes under Unmarried and Married.
  const char* unmarriedText =
      "You must further indicate your filing status by checking either "
      "one of the boxes under the Unmarried box ";
  report.requiredPair(
      marked(kUnmarried) && !marked(kUnmarriedFirst) && !marked(kUnmarriedDependent),
      sp(kUnmarriedFirst), unmarriedText, unmarriedText);
  const char* marriedText =
      "You must further indicate your filing status by checking "
      "one of the boxes under the Married box ";
  report.requiredPair(marked(kMarried) && !marked(kMarriedFirst) && !marked(kMarriedSeparate) &&
                          !marked(kMarriedFourth) && !marked(kMarriedDependent),
                      sp(kMarriedFirst), marriedText, marriedText);

  // Rule 17: income earned outside Pennsylvania by a nonresident or
  // part-year resident.
  if (pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoNonresident]) ||
      pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoPartYear])) {
    bool noOutsideIncome = true;
    for (int member : kIncomeOutsidePA) noOutsideIncome = noOutsideIncome && amount(member) <= 0;
    report.issue(kClassBothAudits,
                 noOutsideIncome && (amount(kFurtherAmountA) > 0 || amount(kFurtherAmountB) > 0),
                 kCodeMissing, sp(kIncomeOutsidePA[0]),
                 "You must enter in Part C - Eligibility Income, line 6, all income "
                 "you earned outside of Pennsylvania.");
  }

  // Rules 18-19: the separate-schedules certification.
  const char* certificationText =
      "If you are married, and filing separate PA Schedule(s) SP, "
      "you must certify that you and your spouse are submitting the same "
      "information on each PA Schedule SP.";
  report.requiredPair(marked(kMarriedSeparate) && !marked(kSameInformation), sp(kSameInformation),
                      certificationText, certificationText);

  // Rule 20: more dependents than Part B holds.
  report.issue(kClassAttachment, ordinary && pa.getIN(form, 1, sp(kDependentCount)) > 4,
               kCodeNotice, Primitives::kNullFieldID,
               "You must attach a copy of your Federal Dependent Attachment Worksheet to your PA "
               "return to support the dependent information required in Part B of PA Schedule "
               "SP.");

  // Rule 21: every listed dependent of Part B complete (a message of the
  // whole return).
  const double listed = amount(kDependentCount);
  bool dependentIncomplete = false;
  for (int k = 0; k < 4 && k + 1 <= listed; ++k) {
    const Dependent& d = kDependents[k];
    if (!present(d.name) || empty(d.age) || !present(d.relationship) || !present(d.ssn)) {
      dependentIncomplete = true;
    }
  }
  report.issueOn(Primitives::OVImmutableFormIdentifier(), kClassEFile, dependentIncomplete,
                 kCodeNoEFile, Primitives::kNullFieldID,
                 "You must enter the name, age, relationship, and social security number of "
                 "every dependent that you include in Part B of PA Sch. SP. Please go back to "
                 "the federal Interview and enter the missing information.",
                 kInterviewHint);

  // Rule 22: a negative eligibility income.
  bool negativeIncome = false;
  for (int member : kEligibilityIncome) {
    if (pa.getIN(form, 1, sp(member)) < 0) {
      negativeIncome = true;
      break;
    }
  }
  report.efile(kClassRefusal, negativeIncome, kCodeNoEFile, Primitives::kNullFieldID,
               "You cannot e-filed tax returns whose eligibility income calculation in PA "
               "Schedule SP, Part C includes any negative number. ",
               kStateOnlyNote);

  // Rules 23-24: both spouses claimed as dependents.
  report.efile(kClassRefusal, bothDependents, kCodeNoEFile, Primitives::kNullFieldID,
               "This program does not support electronic filing for married taxpayers who claim "
               "tax forgiveness if both of you were claimed as a dependent on the federal return "
               "of a person who qualified for PA tax forgiveness.",
               kStateOnlyNote);
  report.efile(kClassAttachment, ordinary && bothDependents, kCodeNoEFile, Primitives::kNullFieldID,
               "You must attach a statement indicating the names and Social Security Numbers of "
               "the persons claiming you and your spouse as dependents on their federal returns.",
               kStateOnlyNote);

  // Rule 25: a joint return on which only one spouse meets the dependency
  // requirement.
  report.efile(kClassOrdinary,
               pa.formYes(kFormID_PAReturnInfo, 1, kPAReturnInfoFieldIds[kInfoJoint]) &&
                   ((marked(kClaimantDependent) && marked(kClaimantThird)) ||
                    (marked(kSpouseDependent) && marked(kSpouseThird))),
               kCodeNoEFile, Primitives::kNullFieldID,
               "You may not claim the Pennsylvania tax forgiveness credit on a jointly filed "
               "return if one of you satisfies the dependency eligibility requirement but the "
               "other does not. In order for either of you to claim this credit, you must file "
               "separate Pennsylvania returns.",
               kStateOnlyNote);

  // Rule 26: page 1 of the federal Form 1040.
  report.efile(kClassAttachment, ordinary && marked(kForm1040Page), kCodeNoEFile,
               Primitives::kNullFieldID, "attach a copy of page 1 of your federal Form 1040");
}

}  // namespace PAAuditMgmt
