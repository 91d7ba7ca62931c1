// Rules of the Local Income Tax Return (state form 143868) and of PA
// Schedule O, the deductions schedule (state form 36090). Both read the PA
// return only; every message concerns the audited copy.
#include "audit/pa_tax_form_auditor.h"
#include "audit/schedule_rule_reporter.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"

namespace PAAuditMgmt {

namespace {

typedef Primitives::OVImmutableIdentifier FieldId;

// The Section 529 beneficiary rows of Schedule O (the first three rows of
// the tuition table).
const int kBeneficiaryRows = 3;

const char kCreditLimitText[] =
    "If your credit is for taxes paid to Philadelphia or a locality outside Pennsylvania, limit "
    "the credit to your tax liability.";
const char kNonresidentText[] =
    "As a Pennsylvania nonresident, check with your employer or your tax collector for advice on "
    "the Local Earned Income Tax in your situation.";
const char kBeneficiaryIdentityText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the name and social security number of each person on whose behalf you made the "
    "contribution.";
const char kBeneficiaryAmountText[] =
    "In order to claim a deduction for a contribution to an IRC Section 529 tuition account, you "
    "must enter the amount you and/or your spouse contributed on behalf of each beneficiary.";
const char kAttachFederalText[] =
    "Attach a copy of your federal Form 1040 Schedule 1 and page 1 and 2 of your federal Form "
    "1040";

}  // namespace

void PATaxFormAuditor::auditLocalEarnedIncomeTax(DataMgmt::TaxFormPtr /*formCopy*/,
                                                 unsigned short copy) {
  const FormId& form = kFormID_PALocalIncomeTaxReturn;
  if (!paReturn->hasSigValue(form, copy, PALocalIncomeTaxReturn::kMarkerEntry)) return;
  const ScheduleRuleReporter report(*this, form, copy);

  auto amount = [&](const FieldId& field) { return paReturn->getIN(form, copy, field); };
  const bool creditAboveLiability = amount(PALocalIncomeTaxReturn::kTaxpayerOtherLocalityCredit) >
                                        amount(PALocalIncomeTaxReturn::kTaxpayerTax) ||
                                    amount(PALocalIncomeTaxReturn::kSpouseOtherLocalityCredit) >
                                        amount(PALocalIncomeTaxReturn::kSpouseTax);
  report.issue(kClassOrdinary, creditAboveLiability, kCodeNotice,
               PALocalIncomeTaxReturn::kTaxpayerOtherLocalityCredit, kCreditLimitText);

  // The nonresident answer is read at this local return's copy number.
  const bool nonresident =
      paReturn->formYes(kFormID_PAReturnInfo, copy, PAReturnInfo::kNonresidentBox);
  report.issue(kClassOrdinary, nonresident, kCodeNotice, PALocalIncomeTaxReturn::kMarkerEntry,
               kNonresidentText);
}

void PATaxFormAuditor::auditScheduleO(DataMgmt::TaxFormPtr /*formCopy*/, unsigned short copy) {
  const FormId& form = kFormID_PADeductions;
  const ScheduleRuleReporter report(*this, form, copy);

  bool amountWithoutIdentity = false;
  bool identityWithoutAmount = false;
  for (int row = 0; row < kBeneficiaryRows; ++row) {
    const bool hasName =
        paReturn->hasSigValue(form, copy, PADeductions::kTuitionBeneficiaryName.at(row));
    const bool hasSSN =
        paReturn->hasSigValue(form, copy, PADeductions::kTuitionBeneficiarySSN.at(row));
    const bool identified = hasName && hasSSN;
    const bool anyIdentity = hasName || hasSSN;
    const long first =
        paReturn->getIN(form, copy, PADeductions::kTaxpayerTuitionContribution.at(row));
    const long second =
        paReturn->getIN(form, copy, PADeductions::kSpouseTuitionContribution.at(row));
    if ((first > 0 || second > 0) && !identified) amountWithoutIdentity = true;
    if (anyIdentity && first == 0 && second == 0) identityWithoutAmount = true;
  }
  // The two table rules are reported only when some row fails them.
  if (amountWithoutIdentity) {
    report.issue(kClassBothAudits, true, kCodeMissing, Primitives::kNullFieldID,
                 kBeneficiaryIdentityText);
  }
  if (identityWithoutAmount) {
    report.issue(kClassBothAudits, true, kCodeMissing, Primitives::kNullFieldID,
                 kBeneficiaryAmountText);
  }

  // The health savings deductions ask for the federal pages that carry them.
  const long attachmentSum =
      paReturn->getIN(form, copy, PADeductions::kTaxpayerHealthSavingsDeduction) +
      paReturn->getIN(form, copy, PADeductions::kSpouseHealthSavingsDeduction);
  const bool attachFederal = !eFileAudit && attachmentSum > 0;
  report.issue(kClassAttachment, attachFederal, kCodeNotice, Primitives::kNullFieldID,
               kAttachFederalText);
}

}  // namespace PAAuditMgmt
