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
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

using SPField = NamedField<PAScheduleSPFieldIds>;

// Line 6 of Part C: income earned outside Pennsylvania.
constexpr SPField kOutsidePAColumns[] = {PAScheduleSP::kIncomeOutsidePA,
                                         PAScheduleSP::kTaxpayerIncomeOutsidePA,
                                         PAScheduleSP::kSpouseIncomeOutsidePA};

// Part C amounts in the order they are tested for a negative value: the
// one-column lines, the taxpayer's, then the spouse's (the spouse's total
// eligibility income closes both the taxpayer's and the spouse's run).
constexpr SPField kPartCAmounts[] = {
    PAScheduleSP::kPA40Income,
    PAScheduleSP::kNontaxableInterestDividends,
    PAScheduleSP::kFederalEligibilityIncome,
    PAScheduleSP::kFourthEligibilityIncome,
    PAScheduleSP::kFifthEligibilityIncome,
    PAScheduleSP::kIncomeOutsidePA,
    PAScheduleSP::kSeventhEligibilityIncome,
    PAScheduleSP::kEighthEligibilityIncome,
    PAScheduleSP::kNinthEligibilityIncome,
    PAScheduleSP::kTenthEligibilityIncome,
    PAScheduleSP::kEligibilityIncome,
    PAScheduleSP::kTaxpayerPA40Income,
    PAScheduleSP::kTaxpayerNontaxableInterestDividends,
    PAScheduleSP::kTaxpayerFederalEligibilityIncome,
    PAScheduleSP::kTaxpayerFourthEligibilityIncome,
    PAScheduleSP::kTaxpayerFifthEligibilityIncome,
    PAScheduleSP::kTaxpayerIncomeOutsidePA,
    PAScheduleSP::kTaxpayerSeventhEligibilityIncome,
    PAScheduleSP::kTaxpayerEighthEligibilityIncome,
    PAScheduleSP::kTaxpayerNinthEligibilityIncome,
    PAScheduleSP::kTaxpayerTenthEligibilityIncome,
    PAScheduleSP::kSpouseEligibilityIncome,
    PAScheduleSP::kSpousePA40Income,
    PAScheduleSP::kSpouseNontaxableInterestDividends,
    PAScheduleSP::kSpouseFederalEligibilityIncome,
    PAScheduleSP::kSpouseFourthEligibilityIncome,
    PAScheduleSP::kSpouseFifthEligibilityIncome,
    PAScheduleSP::kSpouseIncomeOutsidePA,
    PAScheduleSP::kSpouseSeventhEligibilityIncome,
    PAScheduleSP::kSpouseEighthEligibilityIncome,
    PAScheduleSP::kSpouseNinthEligibilityIncome,
    PAScheduleSP::kSpouseTenthEligibilityIncome,
    PAScheduleSP::kSpouseEligibilityIncome,
};

// Part B lists at most this many dependents.
const int kListedDependents = 4;

// Message texts, in report order (rule numbers as below).
const char kSpouseIdentityText[] =  // rules 1-2
    "You must include your spouse's name and social security number";
const char kDeceasedClaimantText[] =  // rule 3
    "If you wish to complete the Schedule SP for a deceased individual, you must describe the "
    "method used to annualize the claimant's income.";
const char kClaimerEFileText[] =  // rule 4
    "You must include the name and social security number of the person claiming you as a "
    "dependent on his/her federal return";
const char kClaimerText[] =  // rule 5
    "You must include the name and social security number of the person claiming you as a "
    "dependent on his/her federal return.";
const char kTaxpayerClaimedText[] =  // rule 6
    "Since you were claimed as a dependent on another person's return, review your information to "
    "verify your eligibility to claim the tax forgiveness credit.";
const char kSpouseClaimedText[] =  // rule 7
    "Since your spouse was claimed as a dependent on another person's return, review your "
    "information to verify your spouse's eligibility to claim the tax forgiveness credit.";
const char kMarriedClaimerText[] =  // rules 8-9
    "You must include the name and social security number of the person claiming you or your "
    "spouse.";
const char kBothClaimedStatementText[] =  // rule 10
    "Attach a statement with the names and social security numbers of the persons claiming you "
    "and your spouse as a dependent and review your information to verify your eligibility to "
    "claim the tax forgiveness credit.";
const char kBirthCertificatesText[] =  // rule 11
    "include a copy of the birth certificates and Social Security cards of all the dependents "
    "listed on Schedule SP, Part B.";
const char kNewDependentsText[] =  // rule 12
    "You can't e-file, since it's the first time you're claiming dependent children for the tax "
    "forgiveness credit or you've added a dependent this year";
const char kUnmarriedBoxesText[] =  // rules 13-14
    "You must further indicate your filing status by checking either one of the boxes under the "
    "Unmarried box ";
const char kMarriedBoxesText[] =  // rules 15-16
    "You must further indicate your filing status by checking one of the boxes under the Married "
    "box ";
const char kOutsideIncomeText[] =  // rule 17
    "You must enter in Part C - Eligibility Income, line 6, all income you earned outside of "
    "Pennsylvania.";
const char kCertificationText[] =  // rules 18-19
    "If you are married, and filing separate PA Schedule(s) SP, you must certify that you and your "
    "spouse are submitting the same information on each PA Schedule SP.";
const char kDependentWorksheetText[] =  // rule 20
    "You must attach a copy of your Federal Dependent Attachment Worksheet to your PA return to "
    "support the dependent information required in Part B of PA Schedule SP.";
const char kDependentIncompleteText[] =  // rule 21
    "You must enter the name, age, relationship, and social security number of every dependent "
    "that you include in Part B of PA Sch. SP. Please go back to the federal Interview and enter "
    "the missing information.";
const char kNegativeIncomeText[] =  // rule 22
    "You cannot e-filed tax returns whose eligibility income calculation in PA Schedule SP, Part "
    "C includes any negative number. ";
const char kBothClaimedRefusalText[] =  // rule 23
    "This program does not support electronic filing for married taxpayers who claim tax "
    "forgiveness if both of you were claimed as a dependent on the federal return of a person who "
    "qualified for PA tax forgiveness.";
const char kBothClaimedAttachmentText[] =  // rule 24
    "You must attach a statement indicating the names and Social Security Numbers of the persons "
    "claiming you and your spouse as dependents on their federal returns.";
const char kOneSpouseDependentText[] =  // rule 25
    "You may not claim the Pennsylvania tax forgiveness credit on a jointly filed return if one "
    "of you satisfies the dependency eligibility requirement but the other does not. In order for "
    "either of you to claim this credit, you must file separate Pennsylvania returns.";
const char kPageOneText[] = "attach a copy of page 1 of your federal Form 1040";  // rule 26

// The rules of one copy of Schedule SP, in two groups; borrows what it is
// given.
class SPRules {
 public:
  using FieldId = Primitives::OVImmutableIdentifier;
  SPRules(const ScheduleRuleReporter& report, PADataMgmt::PATaxReturn& pa, const DataMgmt::TaxForm& sched,
          bool ordinary)
      : report(report), pa(pa), sched(sched), ordinary(ordinary) {}

  // Rules 1-19: spouses, deceased claimants, who claims the filer, the
  // dependents claimed for the first time, the filing-status boxes, income
  // outside Pennsylvania and the separate-schedules certification.
  void claimantRules() const;
  // Rules 20-26: the dependents of Part B, a negative eligibility income and
  // the refusals and attachments that follow from the claims.
  void dependentAndIncomeRules() const;

 private:
  bool marked(const FieldId& field) const { return sched.xMarked(field); }
  bool empty(const FieldId& field) const { return sched.isNull(field); }
  double amount(const FieldId& field) const { return sched.getIR(field); }
  bool present(const FieldId& field) const { return pa.hasSigValue(form, 1, field); }
  // Rule 10: both spouses claimed as dependents.
  bool bothDependents() const {
    return marked(PAScheduleSP::kTaxpayerClaimedYesBox) && marked(PAScheduleSP::kTaxpayerClaimantYesBox) &&
           marked(PAScheduleSP::kSpouseClaimedYesBox) && marked(PAScheduleSP::kSpouseClaimantYesBox);
  }

  const Primitives::OVImmutableFormIdentifier& form = kFormID_PAScheduleSP;
  const ScheduleRuleReporter& report;
  PADataMgmt::PATaxReturn& pa;
  const DataMgmt::TaxForm& sched;
  const bool ordinary;
};

void SPRules::claimantRules() const {
  // Rules 1-2: the spouse's name and number.
  if (marked(PAScheduleSP::kMarriedBox) || marked(PAScheduleSP::kSeparatedBox)) {
    const bool missing = !present(PAScheduleSP::kSpouseFirstName) ||
                         !present(PAScheduleSP::kSpouseLastName) || empty(PAScheduleSP::kSpouseSSN);
    report.requiredPair(missing, PAScheduleSP::kSpouseFirstName, kSpouseIdentityText,
                        kSpouseIdentityText);
  }

  // Rule 3: a deceased claimant's annualized income.
  report.issue(kClassOrdinary,
               pa.formYes(kFormID_PA40, 1, PA40::kDeceasedClaimantYesBox) &&
                   marked(PAScheduleSP::kDeceasedBox) &&
                   !present(PAScheduleSP::kAnnualizationMethod),
               kCodeNotice, PAScheduleSP::kAnnualizationMethod, kDeceasedClaimantText);

  // Rules 4-5: who claims an unmarried claimant.
  const bool claimerMissing =
      marked(PAScheduleSP::kUnmarriedClaimedBox) && (empty(PAScheduleSP::kUnmarriedClaimantName) ||
                                                     !present(PAScheduleSP::kUnmarriedClaimantSSN));
  report.requiredPair(claimerMissing, PAScheduleSP::kUnmarriedClaimantName, kClaimerEFileText,
                      kClaimerText);

  // Rules 6-7: claimed as a dependent elsewhere.
  report.issue(kClassOrdinary, marked(PAScheduleSP::kTaxpayerClaimedYesBox), kCodeNotice,
               PAScheduleSP::kTaxpayerClaimedYesBox, kTaxpayerClaimedText);
  report.issue(kClassOrdinary, marked(PAScheduleSP::kSpouseClaimedYesBox), kCodeNotice,
               PAScheduleSP::kSpouseClaimedYesBox, kSpouseClaimedText);

  // Rules 8-9: who claims a married claimant or the spouse.
  const bool marriedClaimerMissing =
      marked(PAScheduleSP::kMarriedClaimedBox) &&
      (empty(PAScheduleSP::kMarriedClaimantName) || !present(PAScheduleSP::kMarriedClaimantSSN));
  report.requiredPair(marriedClaimerMissing, PAScheduleSP::kMarriedClaimantName,
                      kMarriedClaimerText, kMarriedClaimerText);

  // Rule 10: both spouses claimed as dependents.
  report.issue(kClassAttachment, ordinary && bothDependents(), kCodeNotice, Primitives::kNullFieldID,
               kBothClaimedStatementText);

  // Rules 11-12: dependent children claimed for the first time.
  const bool newDependents =
      marked(PAScheduleSP::kNewDependentsYesBox) && amount(PAScheduleSP::kDependentCount) > 0 &&
      amount(PAScheduleSP::kTaxForgiveness) + amount(PAScheduleSP::kTwoColumnTaxForgiveness) > 0;
  report.issue(kClassAttachment, ordinary && newDependents, kCodeNotice, Primitives::kNullFieldID,
               kBirthCertificatesText);
  report.efile(
      kClassRefusal,
      marked(PAScheduleSP::kNewDependentsYesBox) && sched.gtZero(PAScheduleSP::kDependentCount) &&
          amount(PAScheduleSP::kTwoColumnTaxForgiveness) + amount(PAScheduleSP::kTaxForgiveness) >
              0,
      kCodeNoEFile, Primitives::kNullFieldID, kNewDependentsText, kStateOnlyNote);

  // Rules 13-16: the boxes under Unmarried and Married.
  report.requiredPair(marked(PAScheduleSP::kUnmarriedBox) &&
                          !marked(PAScheduleSP::kUnmarriedNotClaimedBox) &&
                          !marked(PAScheduleSP::kUnmarriedClaimedBox),
                      PAScheduleSP::kUnmarriedNotClaimedBox, kUnmarriedBoxesText,
                      kUnmarriedBoxesText);
  report.requiredPair(
      marked(PAScheduleSP::kMarriedBox) && !marked(PAScheduleSP::kMarriedJointBox) &&
          !marked(PAScheduleSP::kMarriedSeparateSchedulesBox) &&
          !marked(PAScheduleSP::kMarriedOtherBox) && !marked(PAScheduleSP::kMarriedClaimedBox),
      PAScheduleSP::kMarriedJointBox, kMarriedBoxesText, kMarriedBoxesText);

  // Rule 17: income earned outside Pennsylvania by a nonresident or
  // part-year resident.
  if (pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kNonresidentBox) ||
      pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox)) {
    bool noOutsideIncome = true;
    for (const SPField& field : kOutsidePAColumns) {
      noOutsideIncome = noOutsideIncome && amount(field) <= 0;
    }
    report.issue(kClassBothAudits,
                 noOutsideIncome && (amount(PAScheduleSP::kTaxForgiveness) > 0 ||
                                     amount(PAScheduleSP::kTwoColumnTaxForgiveness) > 0),
                 kCodeMissing, PAScheduleSP::kIncomeOutsidePA, kOutsideIncomeText);
  }

  // Rules 18-19: the separate-schedules certification.
  report.requiredPair(marked(PAScheduleSP::kMarriedSeparateSchedulesBox) &&
                          !marked(PAScheduleSP::kSameInformationBox),
                      PAScheduleSP::kSameInformationBox, kCertificationText, kCertificationText);
}

void SPRules::dependentAndIncomeRules() const {
  // Rule 20: more dependents than Part B holds.
  report.issue(kClassAttachment,
               ordinary && pa.getIN(form, 1, PAScheduleSP::kDependentCount) > kListedDependents,
               kCodeNotice, Primitives::kNullFieldID, kDependentWorksheetText);

  // Rule 21: every listed dependent of Part B complete (a message of the
  // whole return).
  const double listed = amount(PAScheduleSP::kDependentCount);
  bool dependentIncomplete = false;
  for (int k = 0; k < kListedDependents && k + 1 <= listed; ++k) {
    if (!present(PAScheduleSP::kDependentName.at(k)) || empty(PAScheduleSP::kDependentAge.at(k)) ||
        !present(PAScheduleSP::kDependentRelationship.at(k)) ||
        !present(PAScheduleSP::kDependentSSN.at(k))) {
      dependentIncomplete = true;
    }
  }
  report.issueOn(Primitives::OVImmutableFormIdentifier(), kClassEFile, dependentIncomplete,
                 kCodeNoEFile, Primitives::kNullFieldID, kDependentIncompleteText, kInterviewHint);

  // Rule 22: a negative eligibility income.
  bool negativeIncome = false;
  for (const SPField& field : kPartCAmounts) {
    if (pa.getIN(form, 1, field) < 0) {
      negativeIncome = true;
      break;
    }
  }
  report.efile(kClassRefusal, negativeIncome, kCodeNoEFile, Primitives::kNullFieldID,
               kNegativeIncomeText, kStateOnlyNote);

  // Rules 23-24: both spouses claimed as dependents.
  report.efile(kClassRefusal, bothDependents(), kCodeNoEFile, Primitives::kNullFieldID,
               kBothClaimedRefusalText, kStateOnlyNote);
  report.efile(kClassAttachment, ordinary && bothDependents(), kCodeNoEFile, Primitives::kNullFieldID,
               kBothClaimedAttachmentText, kStateOnlyNote);

  // Rule 25: a joint return on which only one spouse meets the dependency
  // requirement.
  report.efile(kClassOrdinary,
               pa.formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kJointBox) &&
                   ((marked(PAScheduleSP::kTaxpayerClaimedYesBox) &&
                     marked(PAScheduleSP::kTaxpayerClaimantNoBox)) ||
                    (marked(PAScheduleSP::kSpouseClaimedYesBox) &&
                     marked(PAScheduleSP::kSpouseClaimantNoBox))),
               kCodeNoEFile, Primitives::kNullFieldID, kOneSpouseDependentText, kStateOnlyNote);

  // Rule 26: page 1 of the federal Form 1040.
  report.efile(kClassAttachment, ordinary && marked(PAScheduleSP::kFederalPageOneYesBox),
               kCodeNoEFile, Primitives::kNullFieldID, kPageOneText);
}

}  // namespace

void PATaxFormAuditor::auditScheduleSP(DataMgmt::TaxFormPtr formCopy, unsigned short copy) {
  if (formCopy.isNull()) return;
  const ScheduleRuleReporter report(*this, kFormID_PAScheduleSP, copy);
  const SPRules rules(report, *paReturn, *formCopy, !eFileAudit);
  rules.claimantRules();
  rules.dependentAndIncomeRules();
}

}  // namespace PAAuditMgmt
